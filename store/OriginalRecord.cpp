#include "store/OriginalRecord.h"

#include "core/Hex.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <optional>

namespace {

const char* const kMagic = "kelvory-original-block";

std::string regionsText() {
    std::string text;
    for (const baza_regions::Region& region : baza_regions::kRegions) {
        text += (text.empty() ? "" : " ") + std::to_string(region.offset) + "+" + std::to_string(region.size);
    }
    return text;
}

std::string hexOf(const baza_regions::BlockBytes& bytes) {
    std::string digits;
    for (const std::uint8_t b : bytes) {
        digits += hex::byte(b);
    }
    return digits;
}

int hexValue(char c) {
    return hex::value(c);
}

std::string escapePath(const std::string& path) {
    std::string text;
    for (const char c : path) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '\\') {
            text += "\\\\";
        } else if (b < 32 || b == 127) {
            text += "\\x" + hex::byte(b);
        } else {
            text.push_back(c);
        }
    }
    return text;
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

// A length or size as the record writes it: decimal, no sign, no leading zero.
bool isCount(const std::string& text) {
    return !text.empty() && text.size() <= 15 && isDigits(text, 0, text.size()) && (text.size() == 1 || text[0] != '0');
}

bool isHex(const std::string& text, std::size_t digits) {
    if (text.size() != digits) {
        return false;
    }
    for (const char c : text) {
        if (hexValue(c) < 0) {
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

std::string snapshotLine(const char* key, const BlockSnapshot& snapshot) {
    return std::string(key) + " " + snapshot.date + " " + hexOf(snapshot.bytes) + "\n";
}

ExecutableIdentity parseIdentity(const Lines& lines, const std::string& value) {
    const std::size_t space = value.find(' ');
    ExecutableIdentity identity;
    if (space == std::string::npos || !isCount(value.substr(0, space)) || !isHex(value.substr(space + 1), 64)) {
        lines.fail("a size in bytes and 64 hex digits expected");
    }
    identity.size = std::stoll(value.substr(0, space));
    identity.headSha256 = value.substr(space + 1);
    return identity;
}

// The history entries that follow an original, counted against the limit.
void parseHistory(Lines& lines, RecordedExecutable& executable, std::size_t& entries) {
    while (std::optional<std::string> before = lines.take("before-save")) {
        if (++entries > kHistoryLimit) {
            lines.fail("more than " + std::to_string(kHistoryLimit) + " history entries");
        }
        executable.history.push_back(parseSnapshot(lines, *before));
    }
}

// The first format: one executable, its identity on two lines of their own.
void parseFormat1(Lines& lines, OriginalRecord& record) {
    RecordedExecutable executable;
    const std::string size = lines.need("size");
    if (!isCount(size)) {
        lines.fail("a size in bytes expected");
    }
    executable.identity.size = std::stoll(size);
    executable.identity.headSha256 = lines.need("sha256-of-first-" + std::to_string(kIdentityBytes) + "-bytes");
    if (!isHex(executable.identity.headSha256, 64)) {
        lines.fail("64 hex digits 0-9 and a-f expected");
    }
    if (lines.need("regions") != regionsText()) {
        lines.fail("the regions must be " + regionsText());
    }
    executable.original = parseSnapshot(lines, lines.need("original"));
    std::size_t entries = 0;
    parseHistory(lines, executable, entries);
    record.executables.push_back(std::move(executable));
}

// Formats 2 and 3, the latter with "carried-from" lines.
void parseExecutables(Lines& lines, OriginalRecord& record, bool carried) {
    if (lines.need("regions") != regionsText()) {
        lines.fail("the regions must be " + regionsText());
    }
    std::size_t entries = 0;
    std::optional<std::string> identity = lines.take("executable");
    if (!identity) {
        lines.fail("\"executable\" expected");
    }
    for (; identity; identity = lines.take("executable")) {
        if (record.executables.size() == kExecutableLimit) {
            lines.fail("more than " + std::to_string(kExecutableLimit) + " executables");
        }
        RecordedExecutable executable;
        executable.identity = parseIdentity(lines, *identity);
        if (std::optional<std::string> from = carried ? lines.take("carried-from") : std::nullopt) {
            if (from->size() < 22 || (*from)[20] != ' ' || !isDate(from->substr(0, 20))) {
                lines.fail("a date and a path expected");
            }
            executable.carriedFrom = CarriedFrom{from->substr(0, 20), unescapePath(lines, from->substr(21))};
        }
        executable.original = parseSnapshot(lines, lines.need("original"));
        parseHistory(lines, executable, entries);
        record.executables.push_back(std::move(executable));
    }
}

}  // namespace

const RecordedExecutable* OriginalRecord::find(const ExecutableIdentity& identity) const {
    for (const RecordedExecutable& executable : executables) {
        if (executable.identity == identity) {
            return &executable;
        }
    }
    return nullptr;
}

const RecordedExecutable& OriginalRecord::lastSavedInto() const {
    const RecordedExecutable* last = &executables.front();
    std::string newest;
    for (const RecordedExecutable& executable : executables) {
        const std::string& date =
            executable.history.empty() ? executable.original.date : executable.history.back().date;
        if (date >= newest) {
            newest = date;
            last = &executable;
        }
    }
    return *last;
}

std::optional<std::string> OriginalRecord::wroteDate(const baza_regions::BlockBytes& block) const {
    std::optional<std::string> date;
    for (const std::optional<BlockSnapshot>* line : {&lastWritten, &writing}) {
        if (*line && (*line)->bytes == block && (!date || (*line)->date > *date)) {
            date = (*line)->date;
        }
    }
    return date;
}

std::string recordText(const OriginalRecord& record) {
    std::string text = std::string(kMagic) + " " + std::to_string(kRecordFormat) + "\n" + "path " +
                       escapePath(record.path) + "\n" + "regions " + regionsText() + "\n";
    for (const RecordedExecutable& executable : record.executables) {
        text += "executable " + std::to_string(executable.identity.size) + " " + executable.identity.headSha256 + "\n";
        if (executable.carriedFrom) {
            text +=
                "carried-from " + executable.carriedFrom->date + " " + escapePath(executable.carriedFrom->path) + "\n";
        }
        text += snapshotLine("original", executable.original);
        for (const BlockSnapshot& before : executable.history) {
            text += snapshotLine("before-save", before);
        }
    }
    if (record.lastWritten) {
        text += snapshotLine("last-written", *record.lastWritten);
    }
    if (record.writing) {
        text += snapshotLine("writing", *record.writing);
    }
    return text + "end\n";
}

OriginalRecord parseRecord(const std::string& text) {
    if (text.size() > kRecordFileLimit) {
        throw RecordError("the record is longer than " + std::to_string(kRecordFileLimit) + " bytes");
    }
    Lines lines(text);
    OriginalRecord record;
    const std::string format = lines.need(kMagic);
    if (format != "1" && format != "2" && format != std::to_string(kRecordFormat)) {
        lines.fail("format 1, 2 or " + std::to_string(kRecordFormat) + " expected");
    }
    record.path = unescapePath(lines, lines.need("path"));
    if (format == "1") {
        parseFormat1(lines, record);
    } else {
        parseExecutables(lines, record, format != "2");
    }
    if (std::optional<std::string> written = lines.take("last-written")) {
        record.lastWritten = parseSnapshot(lines, *written);
    }
    if (format != "1") {
        if (std::optional<std::string> writing = lines.take("writing")) {
            record.writing = parseSnapshot(lines, *writing);
        }
    }
    lines.needEnd();
    return record;
}

namespace {

void addExecutable(OriginalRecord& record, RecordedExecutable executable) {
    record.executables.push_back(std::move(executable));
    if (record.executables.size() > kExecutableLimit) {
        // The very first original is the one most worth keeping.
        record.executables.erase(record.executables.begin() + 1);
    }
}

// The entry for `identity` carrying `from`'s original and history, from the
// record at `path` whose line of `date` held the block.
RecordedExecutable carried(const ExecutableIdentity& identity, const RecordedExecutable& from, const std::string& date,
                           const std::string& path) {
    return {identity, from.original, from.history, CarriedFrom{date, path}};
}

}  // namespace

MetExecutable meetExecutable(const std::optional<OriginalRecord>& atPath, const ExecutableIdentity& identity,
                             const baza_regions::BlockBytes& block, const std::vector<OriginalRecord>& elsewhere) {
    if (atPath) {
        const std::optional<std::string> date = atPath->wroteDate(block);
        if (atPath->find(identity) || !date) {
            return {atPath, 0};
        }
        OriginalRecord record = *atPath;
        addExecutable(record, carried(identity, atPath->lastSavedInto(), *date, atPath->path));
        return {std::move(record), 1};
    }
    const OriginalRecord* chosen = nullptr;
    std::string chosenDate;
    std::size_t candidates = 0;
    for (const OriginalRecord& other : elsewhere) {
        const std::optional<std::string> date = other.wroteDate(block);
        if (!date) {
            continue;
        }
        ++candidates;
        // One that knows this executable beats one that does not; then the newest.
        const bool knows = other.find(identity) != nullptr;
        const bool chosenKnows = chosen && chosen->find(identity) != nullptr;
        if (!chosen || (knows && !chosenKnows) || (knows == chosenKnows && *date > chosenDate)) {
            chosen = &other;
            chosenDate = *date;
        }
    }
    if (!chosen) {
        return {};
    }
    const RecordedExecutable* known = chosen->find(identity);
    OriginalRecord record;  // its path is set where it is written
    record.executables.push_back(carried(identity, known ? *known : chosen->lastSavedInto(), chosenDate, chosen->path));
    return {std::move(record), candidates};
}

void noteBeforeSave(OriginalRecord& record, const ExecutableIdentity& identity, const BlockSnapshot& before) {
    auto known = std::find_if(record.executables.begin(), record.executables.end(),
                              [&](const RecordedExecutable& executable) { return executable.identity == identity; });
    if (known == record.executables.end()) {
        addExecutable(record, {identity, before, {}});
        return;
    }
    const BlockSnapshot& newest = known->history.empty() ? known->original : known->history.back();
    if (newest.bytes == before.bytes) {
        return;
    }
    known->history.push_back(before);
    std::size_t entries = 0;
    for (const RecordedExecutable& executable : record.executables) {
        entries += executable.history.size();
    }
    for (RecordedExecutable& executable : record.executables) {
        while (entries > kHistoryLimit && !executable.history.empty()) {
            executable.history.erase(executable.history.begin());
            --entries;
        }
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

namespace {

// Days from 1970-01-01 to the given date of the proleptic Gregorian calendar.
long long daysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

long long secondsSinceEpoch(long long year, int month, int day, int hour, int minute, int second) {
    return ((daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) * 24 + hour) * 60 + minute) *
               60 +
           second;
}

// A record's date in local time, and how far local time is ahead of UTC
// then, in seconds; none when `utc` is not a record's date.
struct LocalTime {
    std::tm local;
    long long offset;
};

std::optional<LocalTime> localTimeOf(const std::string& utc) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    char zone = 0;
    if (utc.size() != 20 ||
        std::sscanf(utc.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%c", &year, &month, &day, &hour, &minute, &second, &zone) !=
            7 ||
        zone != 'Z') {
        return std::nullopt;
    }
    const long long at = secondsSinceEpoch(year, month, day, hour, minute, second);
    const auto time = static_cast<std::time_t>(at);
    // Everything runs on one thread, so localtime's shared result is safe here.
    const std::tm* local = std::localtime(&time);
    if (!local) {
        return std::nullopt;
    }
    // The offset as the local clock shows it against UTC: worked out from the
    // two, as the C library's own %z is not an offset on every system.
    const long long shown = secondsSinceEpoch(local->tm_year + 1900LL, local->tm_mon + 1, local->tm_mday,
                                              local->tm_hour, local->tm_min, local->tm_sec);
    return LocalTime{*local, shown - at};
}

}  // namespace

std::string localDate(const std::string& utc) {
    const std::optional<LocalTime> local = localTimeOf(utc);
    char text[32];
    if (!local || std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local->local) == 0) {
        return utc;
    }
    return text;
}

std::string localIsoDate(const std::string& utc) {
    const std::optional<LocalTime> local = localTimeOf(utc);
    char text[32];
    if (!local || std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local->local) == 0) {
        return utc;
    }
    const long long minutes = (local->offset < 0 ? -local->offset : local->offset) / 60;
    char offset[48];
    std::snprintf(offset, sizeof offset, "%c%02lld:%02lld", local->offset < 0 ? '-' : '+', minutes / 60, minutes % 60);
    return std::string(text) + offset;
}
