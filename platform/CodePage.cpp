#include "platform/CodePage.h"

#include <array>
#include <cstdint>

namespace codepage {
namespace {

// Code page 1252 differs from Latin-1 only in 0x80-0x9F.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

char32_t toUnicode(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        return kHighControls[byte - 0x80];
    }
    return byte;
}

// Returns the byte for a character, or -1 when code page 1252 has none.
int fromUnicode(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<int>(c);
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c) {
            return static_cast<int>(0x80 + i);
        }
    }
    return -1;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

constexpr char32_t kMalformed = 0xFFFD;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Reads one UTF-8 sequence starting at `pos`; advances `pos`. Returns
// kMalformed for a malformed sequence (consuming one byte); `malformed`, when
// given, tells that apart from a well-formed U+FFFD in the text.
char32_t nextUtf8(std::string_view s, std::size_t& pos, bool* malformed = nullptr) {
    if (malformed) {
        *malformed = true;
    }
    const auto lead = static_cast<unsigned char>(s[pos]);
    int extra = 0;
    char32_t c = 0;
    if (lead < 0x80) {
        ++pos;
        if (malformed) {
            *malformed = false;
        }
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        c = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        c = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        c = lead & 0x07;
    } else {
        ++pos;
        return kMalformed;
    }
    if (pos + extra >= s.size()) {
        // Not enough bytes left for the sequence.
        ++pos;
        return kMalformed;
    }
    for (int i = 1; i <= extra; ++i) {
        const auto b = static_cast<unsigned char>(s[pos + i]);
        if ((b & 0xC0) != 0x80) {
            ++pos;
            return kMalformed;
        }
        c = (c << 6) | (b & 0x3F);
    }
    // Overlong forms and UTF-16 surrogates are malformed too.
    static constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (c < kSmallest[extra] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
        ++pos;
        return kMalformed;
    }
    pos += extra + 1;
    if (malformed) {
        *malformed = false;
    }
    return c;
}

}  // namespace

std::string decode(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char ch : bytes) {
        appendUtf8(out, toUnicode(static_cast<unsigned char>(ch)));
    }
    return out;
}

std::string encode(std::string_view utf8, bool* lossy) {
    std::string out;
    out.reserve(utf8.size());
    bool lost = false;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const int byte = fromUnicode(nextUtf8(utf8, pos));
        if (byte < 0) {
            lost = true;
            out.push_back('?');
        } else {
            out.push_back(static_cast<char>(byte));
        }
    }
    if (lossy) {
        *lossy = lost;
    }
    return out;
}

bool isValidUtf8(std::string_view bytes) {
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        bool malformed = false;
        nextUtf8(bytes, pos, &malformed);
        if (malformed) {
            return false;
        }
    }
    return true;
}

TextForm detectTextForm(std::string_view wholeFile) {
    if (wholeFile.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        return {Encoding::Utf8, kByteOrderMark.size()};
    }
    bool high = false;
    for (char ch : wholeFile) {
        if (static_cast<unsigned char>(ch) > 127) {
            high = true;
            break;
        }
    }
    // Plain ASCII reads the same either way; only a file that uses UTF-8's
    // multi-byte forms, and nothing else above 127, counts as UTF-8.
    return {high && isValidUtf8(wholeFile) ? Encoding::Utf8 : Encoding::CodePage1252, 0};
}

std::string toUtf8(std::string_view bytes, Encoding encoding) {
    if (encoding == Encoding::CodePage1252) {
        return decode(bytes);
    }
    std::string out;
    out.reserve(bytes.size());
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        appendUtf8(out, nextUtf8(bytes, pos));
    }
    return out;
}

}  // namespace codepage
