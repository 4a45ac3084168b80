#include "store/SafeSave.h"

#include <tuple>

#include "store/Sha256.h"

using baza_regions::BlockBytes;
using baza_regions::kRegions;
using baza_regions::Region;

namespace {

class SystemFile : public GameFile {
public:
    SystemFile(const std::filesystem::path& path, BinaryFile::Mode mode) : file_(path, mode) {}
    std::int64_t size() const override { return file_.size(); }
    std::size_t readAt(std::int64_t offset, void* buffer, std::size_t size) override {
        return file_.readAt(offset, buffer, size);
    }
    void writeAt(std::int64_t offset, const void* buffer, std::size_t size) override {
        file_.writeAt(offset, buffer, size);
    }
    void flushToDisk() override { file_.flushToDisk(); }
    void close() override { file_.close(); }

private:
    BinaryFile file_;
};

GameFiles& systemFiles() {
    static GameFiles files;
    return files;
}

GameFiles* filesInUse = nullptr;

// Where region `index` starts within the 199 bytes.
std::size_t startOf(std::size_t index) {
    std::size_t at = 0;
    for (std::size_t i = 0; i < index; ++i) {
        at += kRegions[i].size;
    }
    return at;
}

// The 199 bytes at the five regions; a file that ends early is refused.
BlockBytes readRegions(GameFile& file, const std::filesystem::path& game) {
    if (file.size() < Baza::BlockEnd) {
        throw Baza::tooShortError(game, file.size());
    }
    BlockBytes bytes{};
    for (std::size_t i = 0; i < kRegions.size(); ++i) {
        const Region& region = kRegions[i];
        if (file.readAt(region.offset, bytes.data() + startOf(i), region.size) != region.size) {
            throw FileError(game, "the file ended while the league block was read");
        }
    }
    return bytes;
}

// Writes regions 0..count-1 of `bytes`.
void writeRegions(GameFile& file, const BlockBytes& bytes, std::size_t count, std::size_t& started) {
    for (std::size_t i = 0; i < count; ++i) {
        started = i + 1;
        file.writeAt(kRegions[i].offset, bytes.data() + startOf(i), kRegions[i].size);
    }
}

}  // namespace

std::unique_ptr<GameFile> GameFiles::open(const std::filesystem::path& path, BinaryFile::Mode mode) {
    return std::make_unique<SystemFile>(path, mode);
}

GameFiles& gameFiles() {
    return filesInUse ? *filesInUse : systemFiles();
}

void useGameFiles(GameFiles* files) {
    filesInUse = files;
}

FileStamp stampOf(const std::filesystem::path& file) {
    FileStamp stamp;
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error) {
        return stamp;
    }
    const std::filesystem::file_time_type time = std::filesystem::last_write_time(file, error);
    if (error) {
        return stamp;
    }
    stamp.size = static_cast<std::int64_t>(size);
    stamp.time = time;
    return stamp;
}

DiskState inspectGame(const std::filesystem::path& game, const Baza::Block& expected, const FileStamp& expectedStamp) {
    DiskState state;
    try {
        std::unique_ptr<GameFile> file = gameFiles().open(game, BinaryFile::Mode::Read);
        state.bytes = readRegions(*file, game);
        file->close();
    } catch (const FileError& error) {
        if (error.kind() == FileError::Kind::Missing) {
            throw SaveError(game, "the file no longer exists", error.kind());
        }
        throw;
    }
    state.block = baza_regions::blockOf(state.bytes);
    state.stamp = stampOf(game);
    if (state.bytes != baza_regions::bytesOf(expected)) {
        state.change = OutsideChange::Block;
    } else if (expectedStamp.size >= 0 && state.stamp != expectedStamp) {
        state.change = OutsideChange::SizeOrTime;
    }
    return state;
}

SafeSaveError::SafeSaveError(Kind kind, std::filesystem::path file, std::string reason,
                             std::vector<std::pair<std::int64_t, std::size_t>> mayHaveChanged)
    : std::runtime_error(reason),
      kind_(kind),
      file_(std::move(file)),
      reason_(std::move(reason)),
      mayHaveChanged_(std::move(mayHaveChanged)) {}

std::pair<std::int64_t, std::string> identityOf(const std::filesystem::path& game) {
    std::unique_ptr<GameFile> file = gameFiles().open(game, BinaryFile::Mode::Read);
    std::string head(kIdentityBytes, '\0');
    head.resize(file->readAt(0, head.data(), head.size()));
    const std::int64_t size = file->size();
    file->close();
    return {size, sha256Hex(head)};
}

SafeSaveResult writeGameSafely(const Baza::Block& values, const std::filesystem::path& game, const DiskState& before,
                               const std::filesystem::path& recordFolder) {
    using Kind = SafeSaveError::Kind;
    SafeSaveResult result;
    if (recordFolder.empty()) {
        throw SafeSaveError(Kind::RecordUnwritable, recordFolder, "the system names no folder for Kelvory's data");
    }
    result.record = recordFileFor(recordFolder, game);

    // 1. The record, complete on disk before the game executable is touched.
    std::optional<OriginalRecord> record;
    try {
        record = readRecordFile(result.record);
    } catch (const RecordError& error) {
        throw SafeSaveError(Kind::RecordUnreadable, result.record, error.what());
    }
    const std::string now = recordDateNow();
    if (record) {
        addToHistory(*record, {now, before.bytes});
    } else {
        record.emplace();
        record->path = recordPathText(game);
        std::tie(record->size, record->headSha256) = identityOf(game);
        record->original = {now, before.bytes};
        result.recordCreated = true;
    }
    try {
        writeRecordFile(result.record, *record);
    } catch (const RecordError& error) {
        throw SafeSaveError(Kind::RecordUnwritable, result.record, error.what());
    }

    // 2. The 199 bytes, in place.
    const BlockBytes bytes = baza_regions::bytesOf(values);
    {
        std::unique_ptr<GameFile> file = gameFiles().open(game, BinaryFile::Mode::ReadWrite);
        if (file->size() < Baza::BlockEnd) {
            throw Baza::tooShortError(game, file->size());
        }
        std::size_t started = 0;
        try {
            writeRegions(*file, bytes, kRegions.size(), started);
            file->flushToDisk();
            file->close();
        } catch (const FileError& error) {
            // A failed flush may leave any region half on disk.
            const std::size_t touched = started == kRegions.size() ? kRegions.size() : started;
            std::size_t putBack = 0;
            try {
                writeRegions(*file, before.bytes, touched, putBack);
                file->flushToDisk();
                file->close();
            } catch (const FileError&) {
                std::vector<std::pair<std::int64_t, std::size_t>> changed;
                for (std::size_t i = 0; i < touched; ++i) {
                    changed.emplace_back(kRegions[i].offset, kRegions[i].size);
                }
                throw SafeSaveError(Kind::PartlyWritten, game, error.reason(), changed);
            }
            throw SafeSaveError(Kind::PutBack, game, error.reason());
        }
    }

    // 3. Proof: what a new open finds there.
    try {
        std::unique_ptr<GameFile> file = gameFiles().open(game, BinaryFile::Mode::Read);
        const BlockBytes found = readRegions(*file, game);
        file->close();
        if (found != bytes) {
            throw SafeSaveError(Kind::NotAsWritten, game, "the bytes read back differ from the bytes written");
        }
    } catch (const FileError& error) {
        throw SafeSaveError(Kind::NotAsWritten, game, "the bytes could not be read back: " + error.reason());
    }

    // What this save wrote, so that a later run can tell another program's
    // change from Kelvory's own. The save itself has succeeded: when only this
    // note cannot be written, the record still holds the original and the
    // history, and the next check merely asks once more.
    record->lastWritten = BlockSnapshot{now, bytes};
    try {
        writeRecordFile(result.record, *record);
    } catch (const RecordError&) {
    }
    result.stamp = stampOf(game);
    return result;
}
