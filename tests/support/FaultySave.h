#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

// Saving under faults: a file layer that fails, lies or stops dead at chosen
// steps, and the promises a save keeps whatever happens. The test suite walks
// a fault through every step of a save in turn; the fuzz target draws whole
// schedules of faults from its input. Standard library only.

// What a step of the file layer does instead of its work.
enum class Fault {
    Error,    // fails with a FileError, as a full disk, a lost device or a refused call does
    Lie,      // seems to succeed: a read returns fewer bytes than asked, a write or sync changes nothing
    Crash,    // the program dies here: nothing after it runs but the system's closing of its files
    Missing,  // fails with "no such file", as a flaky network folder may say of a file that is there
    Swap,     // before the step, another file takes the game executable's place (the first time only)
};

// Thrown by Fault::Crash; nothing in the program catches it.
struct SimulatedCrash {};

// The system's file layer, with faults at chosen steps. Steps are counted
// from 1 over every call a save makes (opening, reading, writing, syncing,
// learning the time, closing, renaming, removing, creating folders, syncing
// folders, locking, finding paths); each is logged as "game read",
// "other rename", ...: "game" for the game executable, "other" for the record,
// its temporary files, its lock and folder.
class FaultyFileSystem : public platform::FileSystem {
public:
    FaultyFileSystem(std::filesystem::path game, std::map<int, Fault> faults)
        : game_(std::move(game)), faults_(std::move(faults)) {}

    const std::vector<std::string>& steps() const { return steps_; }
    // The steps whose fault was made, in order.
    const std::vector<std::string>& faulted() const { return faulted_; }

    // What Fault::Swap does: put another file in the game executable's place;
    // false when the system refuses (Windows keeps a file that is open in its
    // place).
    void onSwap(std::function<bool()> swap) { swap_ = std::move(swap); }
    // The step before which the game was swapped (from 1); 0: it was not.
    std::size_t swappedBefore() const { return swappedBefore_; }

    std::unique_ptr<platform::OpenFile> open(const std::filesystem::path& path, BinaryFile::Mode mode) override;
    void rename(const std::filesystem::path& from, const std::filesystem::path& to) override;
    void renameNoReplace(const std::filesystem::path& from, const std::filesystem::path& to) override;
    void remove(const std::filesystem::path& path) override;
    void createFolder(const std::filesystem::path& folder) override;
    void syncFolder(const std::filesystem::path& folder) override;
    std::unique_ptr<platform::FileLock> lock(const std::filesystem::path& path,
                                             std::chrono::milliseconds wait) override;
    std::vector<std::filesystem::path> folderEntries(const std::filesystem::path& folder) override;
    std::filesystem::path finalPath(const std::filesystem::path& path) override;

    // Counts one step; returns the fault to make there, if any, after
    // throwing for Error and Crash.
    bool step(const std::string& what, const std::filesystem::path& path);

private:
    std::filesystem::path game_;
    std::map<int, Fault> faults_;
    std::vector<std::string> steps_;
    std::vector<std::string> faulted_;
    std::function<bool()> swap_;
    std::size_t swappedBefore_ = 0;
};

// How a save under faults ended, in a word: "saved", "cancelled", "put back",
// "partly written", "swapped", "record unwritable", "record unreadable",
// "busy", "not opened" (a SaveError), "crashed".
struct FaultySaveRun {
    std::string outcome;
    std::vector<std::string> steps;  // the steps the save took
    std::string broken;              // empty when every promise held, else which one broke
};

// Makes a stand-in game executable (and, for a later save, a record of an
// earlier one) in a fresh folder under the system's temporary folder, saves a
// new block into it with `faults`, and checks what must hold afterwards:
// - the game file the save opened holds exactly the old block or exactly the
//   new one, or the save says that the bytes it names may differ (and only
//   those do); no other byte of the file changed; "saved" means the new
//   block is there;
// - a file swapped in while the save had the game open is never written
//   (nor is the game swapped out before the save opened anything);
// - the record is a whole, valid record whose originals are unchanged, and
//   it says what was being written whenever the file may hold it in part;
// - a save from a window that loaded the old block and saves it unchanged is
//   asked about the change whenever the file holds anything else;
// - afterwards a save without faults that puts back the original values, as
//   Restore Original Values does, goes through without an outside-change
//   question (unless another file was swapped in) and leaves the original
//   block in the file.
FaultySaveRun runSaveWithFaults(bool laterSave, const std::map<int, Fault>& faults);

// The fuzz target's input read as a schedule: each pair of bytes is a step
// (1..64) and a fault (the byte modulo 5, in the order of Fault); the first
// byte chooses a first or a later save. Returns the broken promise, or an
// empty text.
std::string checkSaveFaultsInput(std::string_view input);
