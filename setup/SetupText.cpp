#include "setup/SetupText.h"

#include <algorithm>

#include "core/Hex.h"

namespace setuptext {

namespace {

// How much of a text the messages quote before cutting it short.
constexpr std::size_t kQuoteLimit = 40;

}  // namespace

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && isBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

std::string asciiLower(std::string_view s) {
    std::string lower(s);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

std::string hexByte(unsigned char byte) {
    return hex::byte(byte, true);
}

std::size_t sequenceLength(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        return 2;
    }
    if ((lead & 0xF0) == 0xE0) {
        return 3;
    }
    return 4;
}

char32_t codePoint(std::string_view sequence) {
    const auto lead = static_cast<unsigned char>(sequence[0]);
    if (sequence.size() == 1) {
        return lead;
    }
    char32_t c = lead & (0x7F >> sequence.size());
    for (std::size_t i = 1; i < sequence.size(); ++i) {
        c = (c << 6) | (static_cast<unsigned char>(sequence[i]) & 0x3F);
    }
    return c;
}

std::string unicodeName(char32_t c) {
    std::string digits;
    for (int shift = c > 0xFFFF ? 16 : 12; shift >= 0; shift -= 4) {
        digits += hex::digit(static_cast<unsigned>(c >> shift), true);
    }
    return "U+" + digits;
}

std::string quoted(std::string_view text) {
    std::string out = "\"";
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (pos >= kQuoteLimit) {
            out += "…";
            break;
        }
        const auto byte = static_cast<unsigned char>(text[pos]);
        const std::size_t length = std::min(sequenceLength(byte), text.size() - pos);
        if (byte < 0x20 || byte == 0x7F) {
            out += "\\x" + hexByte(byte);
        } else {
            out.append(text.substr(pos, length));
        }
        pos += length;
    }
    return out + "\"";
}

bool writtenAsEscape(unsigned char byte) {
    return byte < 0x20 || byte == 0x7F || byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 ||
           byte == 0x9D || byte == 0xA0 || byte == 0xAD;
}

bool isControl(char32_t c) {
    return c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F);
}

}  // namespace setuptext
