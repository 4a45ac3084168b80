#include "store/RecordFile.h"

#include <system_error>

#include "store/Sha256.h"

namespace {

// The path as a record writes it: UTF-8 on Windows; elsewhere its bytes.
std::string pathText(const std::filesystem::path& path) {
    return path.u8string();
}

std::filesystem::path fileFor(const std::filesystem::path& folder, const std::string& gameText) {
    return folder / ("league-block-" + sha256Hex(gameText).substr(0, 24) + ".txt");
}

std::string reasonOf(const FileError& error) {
    return error.reason();
}

const std::string kPrefix = "league-block-";
const std::string kSuffix = ".txt";

bool isHexDigits(const std::string& text, std::size_t from, std::size_t count) {
    if (text.size() < from + count) {
        return false;
    }
    for (std::size_t i = from; i < from + count; ++i) {
        if (!((text[i] >= '0' && text[i] <= '9') || (text[i] >= 'a' && text[i] <= 'f'))) {
            return false;
        }
    }
    return true;
}

// "league-block-" and 24 hex digits, ".txt": a record, not its lock, a
// temporary file of it or one set aside.
bool isRecordName(const std::string& name) {
    return name.size() == kPrefix.size() + 24 + kSuffix.size() && name.compare(0, kPrefix.size(), kPrefix) == 0 &&
           isHexDigits(name, kPrefix.size(), 24) && name.compare(kPrefix.size() + 24, kSuffix.size(), kSuffix) == 0;
}

// The record's name, ".", 16 hex digits, ".new": a temporary file of it
// (writeFileReplacing's names).
bool isLeftoverOf(const std::string& name, const std::string& record) {
    const std::string ending = ".new";
    return name.size() == record.size() + 1 + 16 + ending.size() && name.compare(0, record.size(), record) == 0 &&
           name[record.size()] == '.' && isHexDigits(name, record.size() + 1, 16) &&
           name.compare(name.size() - ending.size(), ending.size(), ending) == 0;
}

// The names in the folder; none when it cannot be read (or is not there).
std::vector<std::filesystem::path> entriesOf(const std::filesystem::path& folder) {
    try {
        return platform::fileSystem().folderEntries(folder);
    } catch (const FileError&) {
        return {};
    }
}

std::optional<OriginalRecord> readAt(const std::filesystem::path& file) {
    std::string text;
    try {
        text = platform::readSmallFile(file, kRecordFileLimit);
    } catch (const FileError& error) {
        // Only "nothing there" means no record; any other failure (a stat or
        // a read that went wrong) leaves the question open, and a record that
        // may exist is never replaced.
        if (error.kind() == FileError::Kind::Missing) {
            return std::nullopt;
        }
        throw RecordError(reasonOf(error));
    }
    return parseRecord(text);
}

}  // namespace

RecordPlace::RecordPlace(const std::filesystem::path& folder, const std::filesystem::path& game) : folder_(folder) {
    if (folder.empty()) {
        throw RecordError("the system names no folder for Kelvory's data", RecordError::Kind::Unwritable);
    }
    const std::filesystem::path own = platform::fileSystem().finalPath(game);
    gameText_ = pathText(own);
    file_ = fileFor(folder, gameText_);
    // Earlier versions named the record after the absolute path as given.
    std::error_code error;
    std::filesystem::path spelt = std::filesystem::absolute(game, error);
    earlierFile_ = error ? file_ : fileFor(folder, pathText(spelt.lexically_normal()));
}

bool RecordPlace::exists() const {
    return platform::fileSystem().entryKind(file_) == platform::EntryKind::RegularFile ||
           platform::fileSystem().entryKind(earlierFile_) == platform::EntryKind::RegularFile;
}

std::unique_ptr<platform::FileLock> RecordPlace::lock(std::chrono::milliseconds wait) const {
    std::filesystem::path lockFile = file_;
    lockFile += ".lock";
    try {
        platform::fileSystem().createFolder(folder_);
        return platform::fileSystem().lock(lockFile, wait);
    } catch (const FileError& error) {
        if (error.kind() == FileError::Kind::Busy) {
            throw RecordError("another Kelvory is saving into this game executable", RecordError::Kind::Busy);
        }
        throw RecordError(reasonOf(error), RecordError::Kind::Unwritable);
    }
}

std::optional<OriginalRecord> RecordPlace::read() const {
    std::optional<OriginalRecord> record = readAt(file_);
    if (!record && earlierFile_ != file_) {
        record = readAt(earlierFile_);
    }
    return record;
}

void RecordPlace::write(const OriginalRecord& record) const {
    OriginalRecord named = record;
    named.path = gameText_;
    try {
        platform::writeFileReplacing(file_, recordText(named), true);
    } catch (const FileError& error) {
        throw RecordError(reasonOf(error), RecordError::Kind::Unwritable);
    }
}

void RecordPlace::create(const OriginalRecord& record) const {
    OriginalRecord named = record;
    named.path = gameText_;
    try {
        platform::writeFileNew(file_, recordText(named), true);
    } catch (const FileError& error) {
        throw RecordError(reasonOf(error), error.kind() == FileError::Kind::Exists ? RecordError::Kind::Appeared
                                                                                   : RecordError::Kind::Unwritable);
    }
}

void RecordPlace::removeLeftovers() const {
    const std::string record = file_.filename().u8string();
    for (const std::filesystem::path& name : entriesOf(folder_)) {
        if (isLeftoverOf(name.u8string(), record)) {
            try {
                platform::fileSystem().remove(folder_ / name);
            } catch (const FileError&) {
            }
        }
    }
}

std::vector<OriginalRecord> RecordPlace::others() const {
    std::vector<OriginalRecord> records;
    for (const std::filesystem::path& name : entriesOf(folder_)) {
        const std::filesystem::path file = folder_ / name;
        if (!isRecordName(name.u8string()) || file == file_ || file == earlierFile_) {
            continue;
        }
        try {
            if (std::optional<OriginalRecord> record = readAt(file)) {
                records.push_back(std::move(*record));
            }
        } catch (const RecordError&) {
        }
    }
    return records;
}

std::optional<std::filesystem::path> RecordPlace::setAside() const {
    // The file read() would read: this name, else the earlier one.
    std::filesystem::path damaged;
    for (const std::filesystem::path& file : {file_, earlierFile_}) {
        try {
            if (readAt(file)) {
                return std::nullopt;
            }
        } catch (const RecordError&) {
            damaged = file;
            break;
        }
    }
    if (damaged.empty()) {
        return std::nullopt;
    }
    // "2026-12-06T23:15:39Z" as "20261206T231539Z": no colons, which Windows
    // does not take in a name.
    std::string stamp;
    for (const char c : recordDateNow()) {
        if (c != '-' && c != ':') {
            stamp.push_back(c);
        }
    }
    std::string stem = damaged.filename().u8string();
    stem.resize(stem.size() - kSuffix.size());
    for (int attempt = 1;; ++attempt) {
        const std::filesystem::path aside =
            folder_ / std::filesystem::u8path(stem + ".damaged-" + stamp +
                                              (attempt > 1 ? "-" + std::to_string(attempt) : "") + kSuffix);
        try {
            platform::fileSystem().renameNoReplace(damaged, aside);
        } catch (const FileError& error) {
            if (error.kind() == FileError::Kind::Exists && attempt < 100) {
                continue;
            }
            throw RecordError(reasonOf(error), RecordError::Kind::Unwritable);
        }
        try {
            platform::fileSystem().syncFolder(folder_);
        } catch (const FileError&) {
            // Set aside all the same; should the system lose the rename, the
            // record is found damaged again, nothing worse.
        }
        return aside;
    }
}
