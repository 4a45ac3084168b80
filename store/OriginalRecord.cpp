#include "store/OriginalRecord.h"

#include <chrono>
#include <ctime>
#include <sstream>

#include "platform/FileSystem.h"
#include "store/Sha256.h"

namespace {

const char* const kMagic = "kelvory-original-block";
const char* const kHexDigits = "0123456789abcdef";

std::string regionsText() {
    std::string text;
    for (const baza_regions::Region& region : baza_regions::kRegions) {
        text += (text.empty() ? "" : " ") + std::to_string(region.offset) + "+" + std::to_string(region.size);
    }
    return text;
}

std::string hexOf(const baza_regions::BlockBytes& bytes) {
    std::string hex;
    for (const std::uint8_t b : bytes) {
        hex.push_back(kHexDigits[b >> 4]);
        hex.push_back(kHexDigits[b & 0xf]);
    }
    return hex;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

std::string escapePath(const std::string& path) {
    std::string text;
    for (const char c : path) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '\\') {
            text += "\\\\";
        } else if (b < 32 || b == 127) {
            text += "\\x";
            text.push_back(kHexDigits[b >> 4]);
            text.push_back(kHexDigits[b & 0xf]);
        } else {
            text.push_back(c);
        }
    }
    return text;
}

std::string snapshotText(const BlockSnapshot& snapshot) {
    return snapshot.date + " " + hexOf(snapshot.bytes);
}

// Walks the record's lines, each "key value", in their fixed order.
class Lines {
public:
    explicit Lines(const std::string& text) : text_(text) {}

    [[noreturn]] void fail(const std::string& what) const {
        throw RecordError("line " + std::to_string(number_) + ": " + what);
    }

    // The next line's value when its key is `key`; nothing (and the line not
    // taken) when another key stands there.
    std::optional<std::string> take(const std::string& key) {
        if (!peeked_) {
            peek();
        }
        if (line_.compare(0, key.size() + 1, key + " ") != 0) {
            return std::nullopt;
        }
        peeked_ = false;
        return line_.substr(key.size() + 1);
    }

    std::string need(const std::string& key) {
        std::optional<std::string> value = take(key);
        if (!value) {
            fail("\"" + key + "\" expected");
        }
        return *value;
    }

    void needEnd() {
        if (!peeked_) {
            peek();
        }
        if (line_ != "end") {
            fail("\"end\" expected");
        }
        if (at_ != text_.size()) {
            ++number_;
            fail("nothing may follow \"end\"");
        }
    }

private:
    void peek() {
        ++number_;
        if (at_ >= text_.size()) {
            fail("the record ends too early");
        }
        const std::size_t end = text_.find('\n', at_);
        if (end == std::string::npos) {
            fail("the line has no end");
        }
        line_ = text_.substr(at_, end - at_);
        at_ = end + 1;
        peeked_ = true;
    }

    const std::string& text_;
    std::size_t at_ = 0;
    int number_ = 0;
    std::string line_;
    bool peeked_ = false;
};

bool isDigits(const std::string& text, std::size_t from, std::size_t count) {
    for (std::size_t i = from; i < from + count; ++i) {
        if (i >= text.size() || text[i] < '0' || text[i] > '9') {
            return false;
        }
    }
    return true;
}

bool isDate(const std::string& text) {
    // 2026-12-06T23:15:39Z
    return text.size() == 20 && isDigits(text, 0, 4) && text[4] == '-' && isDigits(text, 5, 2) && text[7] == '-' &&
           isDigits(text, 8, 2) && text[10] == 'T' && isDigits(text, 11, 2) && text[13] == ':' &&
           isDigits(text, 14, 2) && text[16] == ':' && isDigits(text, 17, 2) && text[19] == 'Z';
}

BlockSnapshot parseSnapshot(const Lines& lines, const std::string& value) {
    BlockSnapshot snapshot;
    if (value.size() != 21 + 2 * baza_regions::kBlockBytes || value[20] != ' ' || !isDate(value.substr(0, 20))) {
        lines.fail("a date and " + std::to_string(2 * baza_regions::kBlockBytes) + " hex digits expected");
    }
    snapshot.date = value.substr(0, 20);
    for (std::size_t i = 0; i < baza_regions::kBlockBytes; ++i) {
        const int high = hexValue(value[21 + 2 * i]);
        const int low = hexValue(value[22 + 2 * i]);
        if (high < 0 || low < 0) {
            lines.fail("hex digits 0-9 and a-f expected");
        }
        snapshot.bytes[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return snapshot;
}

std::string unescapePath(const Lines& lines, const std::string& text) {
    std::string path;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 32 || b == 127) {
            lines.fail("a control character in the path");
        }
        if (text[i] != '\\') {
            path.push_back(text[i]);
        } else if (i + 1 < text.size() && text[i + 1] == '\\') {
            path.push_back('\\');
            ++i;
        } else if (i + 3 < text.size() && text[i + 1] == 'x' && hexValue(text[i + 2]) >= 0 &&
                   hexValue(text[i + 3]) >= 0) {
            // Only the bytes the writer escapes: one way of writing each path.
            const int value = hexValue(text[i + 2]) * 16 + hexValue(text[i + 3]);
            if (value >= 32 && value != 127) {
                lines.fail("\"\\xHH\" stands only for a control character in the path");
            }
            path.push_back(static_cast<char>(value));
            i += 3;
        } else {
            lines.fail("\"\\\\\" or \"\\xHH\" expected after a backslash in the path");
        }
    }
    if (path.empty()) {
        lines.fail("the path is empty");
    }
    return path;
}

}  // namespace

std::string recordText(const OriginalRecord& record) {
    std::ostringstream out;
    out << kMagic << " " << kRecordFormat << "\n"
        << "path " << escapePath(record.path) << "\n"
        << "size " << record.size << "\n"
        << "sha256-of-first-" << kIdentityBytes << "-bytes " << record.headSha256 << "\n"
        << "regions " << regionsText() << "\n"
        << "original " << snapshotText(record.original) << "\n";
    for (const BlockSnapshot& before : record.history) {
        out << "before-save " << snapshotText(before) << "\n";
    }
    if (record.lastWritten) {
        out << "last-written " << snapshotText(*record.lastWritten) << "\n";
    }
    out << "end\n";
    return out.str();
}

OriginalRecord parseRecord(const std::string& text) {
    if (text.size() > kRecordFileLimit) {
        throw RecordError("the record is longer than " + std::to_string(kRecordFileLimit) + " bytes");
    }
    Lines lines(text);
    OriginalRecord record;
    if (lines.need(kMagic) != std::to_string(kRecordFormat)) {
        lines.fail("format " + std::to_string(kRecordFormat) + " expected");
    }
    record.path = unescapePath(lines, lines.need("path"));
    const std::string size = lines.need("size");
    if (size.empty() || size.size() > 15 || !isDigits(size, 0, size.size()) || (size.size() > 1 && size[0] == '0')) {
        lines.fail("a size in bytes expected");
    }
    record.size = std::stoll(size);
    record.headSha256 = lines.need("sha256-of-first-" + std::to_string(kIdentityBytes) + "-bytes");
    if (record.headSha256.size() != 64) {
        lines.fail("64 hex digits expected");
    }
    for (const char c : record.headSha256) {
        if (hexValue(c) < 0) {
            lines.fail("hex digits 0-9 and a-f expected");
        }
    }
    if (lines.need("regions") != regionsText()) {
        lines.fail("the regions must be " + regionsText());
    }
    record.original = parseSnapshot(lines, lines.need("original"));
    while (std::optional<std::string> before = lines.take("before-save")) {
        if (record.history.size() == kHistoryLimit) {
            lines.fail("more than " + std::to_string(kHistoryLimit) + " history entries");
        }
        record.history.push_back(parseSnapshot(lines, *before));
    }
    if (std::optional<std::string> written = lines.take("last-written")) {
        record.lastWritten = parseSnapshot(lines, *written);
    }
    lines.needEnd();
    return record;
}

void addToHistory(OriginalRecord& record, const BlockSnapshot& before) {
    record.history.push_back(before);
    if (record.history.size() > kHistoryLimit) {
        record.history.erase(
            record.history.begin(),
            record.history.begin() + static_cast<std::ptrdiff_t>(record.history.size() - kHistoryLimit));
    }
}

std::string recordPathText(const std::filesystem::path& game) {
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(game, error);
    if (error) {
        absolute = game;
    }
    // UTF-8 on Windows; elsewhere the bytes of the path as they are.
    return absolute.lexically_normal().u8string();
}

std::filesystem::path recordFileFor(const std::filesystem::path& folder, const std::filesystem::path& game) {
    return folder / ("league-block-" + sha256Hex(recordPathText(game)).substr(0, 24) + ".txt");
}

std::optional<OriginalRecord> readRecordFile(const std::filesystem::path& file) {
    // Nothing there, or a folder on the way that is a file: no record (and
    // writing one will say why it cannot).
    std::error_code error;
    if (!std::filesystem::exists(file, error)) {
        return std::nullopt;
    }
    std::string text;
    try {
        text = platform::readSmallFile(file, kRecordFileLimit);
    } catch (const FileError& error) {
        if (error.kind() == FileError::Kind::Missing) {
            return std::nullopt;
        }
        throw RecordError(error.reason());
    }
    return parseRecord(text);
}

void writeRecordFile(const std::filesystem::path& file, const OriginalRecord& record) {
    try {
        platform::writeFileReplacing(file, recordText(record));
    } catch (const FileError& error) {
        throw RecordError(error.reason());
    }
}

std::string recordDateNow() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    // Everything runs on one thread, so gmtime's shared result is safe here.
    const std::tm* utc = std::gmtime(&now);
    char text[32] = "1970-01-01T00:00:00Z";
    if (utc) {
        std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", utc);
    }
    return text;
}
