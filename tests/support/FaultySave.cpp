#include "tests/support/FaultySave.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <set>

#include "store/RecordFile.h"
#include "store/SafeSave.h"

using baza_regions::BlockBytes;
using baza_regions::kRegions;

namespace {

class FaultyFile : public platform::OpenFile {
public:
    FaultyFile(std::unique_ptr<platform::OpenFile> real, FaultyFileSystem& files, std::filesystem::path path)
        : real_(std::move(real)), files_(files), path_(std::move(path)) {}

    std::int64_t size() const override { return real_->size(); }
    std::size_t readAt(std::int64_t offset, void* buffer, std::size_t size) override {
        return real_->readAt(offset, buffer, files_.step("read", path_) ? size / 2 : size);
    }
    void writeAt(std::int64_t offset, const void* buffer, std::size_t size) override {
        if (!files_.step("write", path_)) {
            real_->writeAt(offset, buffer, size);
        }
    }
    void sync() override {
        if (!files_.step("sync", path_)) {
            real_->sync();
        }
    }
    FileStamp stamp() override {
        files_.step("stamp", path_);
        return real_->stamp();
    }
    FileIdentity identity() const override { return real_->identity(); }
    std::filesystem::path currentPath() const override { return real_->currentPath(); }
    void close() override {
        try {
            files_.step("close", path_);
        } catch (...) {
            // A close that reports an error has still let go of the file.
            try {
                real_->close();
            } catch (const FileError&) {
            }
            throw;
        }
        real_->close();
    }

private:
    std::unique_ptr<platform::OpenFile> real_;
    FaultyFileSystem& files_;
    std::filesystem::path path_;
};

const char* modeName(BinaryFile::Mode mode) {
    switch (mode) {
        case BinaryFile::Mode::Read:
            return "open";
        case BinaryFile::Mode::ReadWrite:
            return "open for update";
        case BinaryFile::Mode::CreateNew:
            return "create";
    }
    return "open";
}

// A block whose bytes differ from its neighbours' in every region.
BlockBytes pattern(int seed) {
    BlockBytes bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7 + seed * 31 + 1);
    }
    return bytes;
}

struct UseFiles {
    explicit UseFiles(platform::FileSystem* files) { platform::useFileSystem(files); }
    ~UseFiles() { platform::useFileSystem(nullptr); }
};

// A fresh folder of its own, gone again with the object.
struct Folder {
    std::filesystem::path path;
    Folder() {
        static std::atomic<int> count{0};
        path = std::filesystem::temp_directory_path() /
               ("kelvory-faults-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + "-" +
                std::to_string(count++));
        std::filesystem::create_directories(path);
    }
    ~Folder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

std::string readRange(const std::filesystem::path& file, std::int64_t offset, std::size_t size) {
    std::ifstream in(file, std::ios::binary);
    in.seekg(offset);
    std::string bytes(size, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(size));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

void writeRange(const std::filesystem::path& file, std::int64_t offset, const std::string& bytes) {
    std::fstream out(file, std::ios::binary | std::ios::in | std::ios::out);
    out.seekp(offset);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

BlockBytes regionsOf(const std::filesystem::path& game) {
    BlockBytes bytes{};
    std::size_t at = 0;
    for (const baza_regions::Region& region : kRegions) {
        const std::string got = readRange(game, region.offset, region.size);
        std::copy(got.begin(), got.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
        at += region.size;
    }
    return bytes;
}

void putRegions(const std::filesystem::path& game, const BlockBytes& bytes) {
    std::size_t at = 0;
    for (const baza_regions::Region& region : kRegions) {
        writeRange(game, region.offset,
                   std::string(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                               bytes.begin() + static_cast<std::ptrdiff_t>(at + region.size)));
        at += region.size;
    }
}

// Every byte of the file that a save must never touch and a test can afford
// to read: the first 64 KiB and the area around the block, regions left out.
std::string untouchable(const std::filesystem::path& game) {
    std::string around =
        readRange(game, Baza::LigaOffset - 4096, std::size_t(Baza::BlockEnd - Baza::LigaOffset + 4096));
    for (const baza_regions::Region& region : kRegions) {
        around.replace(static_cast<std::size_t>(region.offset - Baza::LigaOffset + 4096), region.size, region.size,
                       '-');
    }
    return readRange(game, 0, kIdentityBytes) + around;
}

std::optional<OriginalRecord> recordIn(const std::filesystem::path& records, const std::filesystem::path& game,
                                       std::string& broken) {
    try {
        return RecordPlace(records, game).read();
    } catch (const std::exception& error) {
        broken = std::string("the record cannot be read: ") + error.what();
        return std::nullopt;
    }
}

std::string outcomeOf(const SafeSaveError& error) {
    switch (error.kind()) {
        case SafeSaveError::Kind::RecordUnwritable:
            return "record unwritable";
        case SafeSaveError::Kind::RecordUnreadable:
            return "record unreadable";
        case SafeSaveError::Kind::Busy:
            return "busy";
        case SafeSaveError::Kind::PutBack:
            return "put back";
        case SafeSaveError::Kind::PartlyWritten:
            return "partly written";
        case SafeSaveError::Kind::Swapped:
            return "swapped";
    }
    return "?";
}

}  // namespace

bool FaultyFileSystem::step(const std::string& what, const std::filesystem::path& path) {
    steps_.push_back((path == game_ ? "game " : "other ") + what);
    const auto fault = faults_.find(static_cast<int>(steps_.size()));
    if (fault == faults_.end()) {
        return false;
    }
    faulted_.push_back(steps_.back());
    switch (fault->second) {
        case Fault::Error:
            throw FileError(path, "injected failure (Input/output error)");
        case Fault::Crash:
            throw SimulatedCrash{};
        case Fault::Lie:
            return true;
        case Fault::Missing:
            throw FileError(path, "injected failure (No such file or directory)", FileError::Kind::Missing);
        case Fault::Swap:
            if (swap_ && swappedBefore_ == 0 && swap_()) {
                swappedBefore_ = steps_.size();
            }
            return false;
    }
    return false;
}

std::unique_ptr<platform::OpenFile> FaultyFileSystem::open(const std::filesystem::path& path, BinaryFile::Mode mode) {
    step(modeName(mode), path);
    return std::make_unique<FaultyFile>(platform::FileSystem::open(path, mode), *this, path);
}

void FaultyFileSystem::rename(const std::filesystem::path& from, const std::filesystem::path& to) {
    step("rename", to);
    platform::FileSystem::rename(from, to);
}

void FaultyFileSystem::renameNoReplace(const std::filesystem::path& from, const std::filesystem::path& to) {
    step("rename", to);
    platform::FileSystem::renameNoReplace(from, to);
}

void FaultyFileSystem::remove(const std::filesystem::path& path) {
    step("remove", path);
    platform::FileSystem::remove(path);
}

void FaultyFileSystem::createFolder(const std::filesystem::path& folder) {
    step("create folder", folder);
    platform::FileSystem::createFolder(folder);
}

void FaultyFileSystem::syncFolder(const std::filesystem::path& folder) {
    if (!step("sync folder", folder)) {
        platform::FileSystem::syncFolder(folder);
    }
}

std::unique_ptr<platform::FileLock> FaultyFileSystem::lock(const std::filesystem::path& path,
                                                           std::chrono::milliseconds wait) {
    step("lock", path);
    return platform::FileSystem::lock(path, wait);
}

std::vector<std::filesystem::path> FaultyFileSystem::folderEntries(const std::filesystem::path& folder) {
    step("list folder", folder);
    return platform::FileSystem::folderEntries(folder);
}

std::filesystem::path FaultyFileSystem::finalPath(const std::filesystem::path& path) {
    step("find path", path);
    return platform::FileSystem::finalPath(path);
}

namespace {

// A stand-in game executable at `game`: a first 64 KiB of its own, the block,
// zeros elsewhere (a hole on disk).
void makeGame(const std::filesystem::path& game, const BlockBytes& block) {
    { std::ofstream out(game, std::ios::binary | std::ios::trunc); }
    std::filesystem::resize_file(game, static_cast<std::uintmax_t>(Baza::BlockEnd));
    std::string head(kIdentityBytes, '\0');
    for (std::size_t i = 0; i < head.size(); ++i) {
        head[i] = static_cast<char>((i * 131) >> 3);
    }
    writeRange(game, 0, head);
    putRegions(game, block);
}

// Which bytes of the block differ from `before` without the error naming
// their region; empty when every change is named.
std::string unnamedChange(const BlockBytes& now, const BlockBytes& before, const SafeSaveError& error) {
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (now[i] == before[i]) {
            continue;
        }
        // Which region the byte lies in, and whether the error names it.
        std::size_t at = i;
        bool named = false;
        for (const baza_regions::Region& region : kRegions) {
            if (at < region.size) {
                for (const auto& [offset, length] : error.mayHaveChanged()) {
                    named = named || (offset == region.offset && length == region.size);
                }
                break;
            }
            at -= region.size;
        }
        if (!named) {
            return "byte " + std::to_string(i) + " of the block changed, and the message does not say so";
        }
    }
    return {};
}

}  // namespace

FaultySaveRun runSaveWithFaults(bool laterSave, const std::map<int, Fault>& faults) {
    FaultySaveRun run;
    const Folder folder;
    const std::filesystem::path game = folder.path / "Game.exe";
    const std::filesystem::path swappedOut = folder.path / "Game.exe.swapped-out";
    const std::filesystem::path records = folder.path / "records";
    const BlockBytes original = pattern(1);
    const BlockBytes after = pattern(3);
    makeGame(game, original);
    BlockBytes before = original;
    const auto never = [&run](const DiskState&) {
        run.broken = "an outside change was seen where there was none";
        return OutsideChangeAnswer::Cancel;
    };
    if (laterSave) {
        before = pattern(2);
        saveSafely(baza_regions::blockOf(before), game, Expected{baza_regions::blockOf(original), FileStamp{}}, records,
                   never);
    }
    std::string broken;
    const std::optional<OriginalRecord> recordBefore = recordIn(records, game, broken);
    const std::string kept = untouchable(game);
    const Expected expected{baza_regions::blockOf(before), platform::stampOf(game)};

    // The save under faults. A swap puts a file of the same bytes and name
    // in the game's place: only which file it is tells it apart.
    FaultyFileSystem files(game, faults);
    files.onSwap([&] {
        std::error_code refused;
        std::filesystem::rename(game, swappedOut, refused);
        if (!refused) {
            makeGame(game, before);
        }
        return !refused;
    });
    std::optional<SafeSaveError> failure;
    try {
        const UseFiles use(&files);
        // Another file in the game's place before the save opened it is a
        // change the save is rightly asked about.
        const SafeSaveResult result =
            saveSafely(baza_regions::blockOf(after), game, expected, records, [&](const DiskState& disk) {
                return files.swappedBefore() > 0 ? OutsideChangeAnswer::Cancel : never(disk);
            });
        run.outcome = result.status == SafeSaveResult::Status::Saved ? "saved" : "cancelled";
    } catch (const SafeSaveError& error) {
        run.outcome = outcomeOf(error);
        failure = error;
    } catch (const FileError&) {
        run.outcome = "not opened";
    } catch (const SimulatedCrash&) {
        run.outcome = "crashed";
    }
    run.steps = files.steps();

    // The file the save opened, and the one it must never have written.
    const auto opened = std::find(run.steps.begin(), run.steps.end(), "game open for update");
    const std::size_t openedAt = static_cast<std::size_t>(opened - run.steps.begin()) + 1;
    const bool swappedAfterOpen = files.swappedBefore() > openedAt;
    std::filesystem::path subject = game;
    std::filesystem::path untouched;
    if (files.swappedBefore() > 0) {
        subject = swappedAfterOpen ? swappedOut : game;
        untouched = swappedAfterOpen ? game : swappedOut;
    }
    if (!untouched.empty() && (regionsOf(untouched) != before || untouchable(untouched) != kept)) {
        run.broken = "the file that was swapped in (or out) was written";
    }

    // What the file holds.
    const BlockBytes now = regionsOf(subject);
    if (run.broken.empty() && failure) {
        run.broken = unnamedChange(now, before, *failure);
    }
    if (run.broken.empty() && untouchable(subject) != kept) {
        run.broken = "a byte outside the league block changed";
    }
    const bool partial = run.outcome == "partly written" || run.outcome == "crashed" ||
                         (run.outcome == "swapped" && !failure->mayHaveChanged().empty());
    for (std::size_t i = 0; i < now.size() && run.broken.empty(); ++i) {
        if (now[i] != before[i] && now[i] != after[i]) {
            run.broken = "byte " + std::to_string(i) + " of the block is neither old nor new";
        }
    }
    if (run.broken.empty() && run.outcome == "saved" && now != after) {
        run.broken = "a save called done left other bytes than it wrote";
    }
    if (run.broken.empty() && !partial && run.outcome != "saved" && now != before) {
        run.broken = "a save that says it changed nothing changed the file";
    }

    // What the record holds.
    const std::optional<OriginalRecord> record = recordIn(records, game, broken);
    if (!broken.empty() && run.broken.empty()) {
        run.broken = broken;
    }
    if (run.broken.empty() && recordBefore) {
        if (!record) {
            run.broken = "the record is gone";
        } else if (record->executables.empty() ||
                   !(record->executables.front().original == recordBefore->executables.front().original)) {
            run.broken = "the original in the record changed";
        }
    }
    if (run.broken.empty() && record) {
        std::set<BlockBytes> allowed{before};
        for (const RecordedExecutable& executable :
             recordBefore ? recordBefore->executables : std::vector<RecordedExecutable>{}) {
            for (const BlockSnapshot& entry : executable.history) {
                allowed.insert(entry.bytes);
            }
        }
        if (!recordBefore && record->executables.front().original.bytes != before) {
            run.broken = "the first original is not what the file held";
        }
        for (const BlockSnapshot& entry : record->executables.front().history) {
            if (!allowed.count(entry.bytes)) {
                run.broken = "the history holds bytes the file never held";
            }
        }
        // A save that wrote nothing leaves the history as it was: only when
        // putting the record back failed too may it keep one entry of the
        // bytes the file still holds (never twice: the same bytes are not
        // noted again), so failed saves cannot push out real entries.
        const bool wrote = run.outcome == "saved" || partial;
        if (!wrote && recordBefore) {
            std::size_t entriesBefore = 0;
            for (const RecordedExecutable& executable : recordBefore->executables) {
                entriesBefore += executable.history.size();
            }
            std::size_t entries = 0;
            for (const RecordedExecutable& executable : record->executables) {
                entries += executable.history.size();
            }
            const bool onlyFault = files.faulted().size() == 1 && files.faulted()[0] != "other sync folder";
            if (entries > entriesBefore + (onlyFault ? 0 : 1) ||
                (entries > entriesBefore && record->executables.back().history.back().bytes != before)) {
                run.broken = "a save that wrote nothing added to the history";
            }
        }
        const bool saysWriting = record->writing && record->writing->bytes == after;
        if (now != before && now != after && !saysWriting) {
            run.broken = "the file holds a partly written block, and the record does not say what was written";
        }
        if (run.outcome == "saved" && !saysWriting && !(record->lastWritten && record->lastWritten->bytes == after)) {
            run.broken = "a save called done is not in the record";
        }
    } else if (run.broken.empty() && now != before) {
        run.broken = "the file changed, and there is no record of what it held";
    }
    if (!run.broken.empty()) {
        return run;
    }

    // Another window that loaded the old block, and saves it as it is: any
    // other bytes in the file are a change it has not seen.
    try {
        bool asked = false;
        const bool changed = regionsOf(game) != before;
        saveSafely(baza_regions::blockOf(before), game, expected, records, [&asked](const DiskState&) {
            asked = true;
            return OutsideChangeAnswer::Cancel;
        });
        if (!asked && changed) {
            run.broken = "a window that loaded the old block would save over the new one unasked";
        }
    } catch (const std::exception& error) {
        run.broken = std::string("a save of the old block failed: ") + error.what();
    }
    if (!run.broken.empty()) {
        return run;
    }

    // The way back: restoring the original as the console program does. A
    // file swapped in after the save is a change it is rightly asked about.
    const auto overwrite = [](const DiskState&) { return OutsideChangeAnswer::Overwrite; };
    try {
        const BlockBytes atPath = regionsOf(game);
        const SafeSaveResult restored = saveSafely(
            baza_regions::blockOf(original), game, Expected{baza_regions::blockOf(atPath), FileStamp{}, true}, records,
            swappedAfterOpen ? OutsideChangeQuestion(overwrite) : OutsideChangeQuestion(never));
        if (restored.status != SafeSaveResult::Status::Saved || regionsOf(game) != original) {
            run.broken = "restoring the original did not put it back";
        }
    } catch (const std::exception& error) {
        run.broken = std::string("restoring the original failed: ") + error.what();
    }
    return run;
}

std::string checkSaveFaultsInput(std::string_view input) {
    if (input.empty()) {
        return {};
    }
    std::map<int, Fault> faults;
    for (std::size_t i = 1; i + 1 < input.size() && faults.size() < 8; i += 2) {
        const auto step = static_cast<unsigned char>(input[i]);
        const auto fault = static_cast<unsigned char>(input[i + 1]);
        faults[step % 64 + 1] = static_cast<Fault>(fault % 5);
    }
    const FaultySaveRun run = runSaveWithFaults((input[0] & 1) != 0, faults);
    return run.broken.empty() ? std::string() : run.outcome + ": " + run.broken;
}
