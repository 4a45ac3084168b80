#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "platform/BinaryFile.h"

// Small files that Kelvory keeps for itself (records of the game's original
// bytes), written so that a reader only ever finds the old file or the whole
// new one. Standard library and the system's file calls only.
namespace platform {

// Writes `bytes` as the file `target`: into a temporary file beside it
// ("<name>.new"), pushed to the storage device, then renamed over the target.
// Creates the folder when it is missing. Throws FileError (with the path that
// failed) and leaves no temporary file behind.
void writeFileReplacing(const std::filesystem::path& target, const std::string& bytes);

// Reads a whole regular file of at most `limit` bytes. Throws FileError:
// Kind::Missing when there is none, Kind::Failed with the reason when it cannot
// be read or is longer than `limit` (then nothing beyond the limit is read).
std::string readSmallFile(const std::filesystem::path& path, std::size_t limit);

}  // namespace platform
