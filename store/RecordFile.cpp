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
