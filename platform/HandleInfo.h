#pragma once

// Windows only: what the system tells of an open file or folder, shared by
// the file layer and the running-game check.
#ifdef _WIN32

#include <filesystem>
#include <optional>
#include <string>

#include <windows.h>

#include "platform/BinaryFile.h"

namespace platform {

// "\\?\C:\..." as "C:\...", "\\?\UNC\server\share" as "\\server\share".
std::wstring withoutLongPrefix(std::wstring path);

// The path of the file or folder open as `handle`, links and substituted
// drives followed, letter case and short names as the file system keeps them;
// empty when the system cannot tell (GetLastError() says why).
std::filesystem::path finalPathOf(HANDLE handle);

// The volume serial number and file ID of the file open as `handle`; none
// when the system cannot tell (GetLastError() says why).
std::optional<FileIdentity> identityOfHandle(HANDLE handle);

}  // namespace platform

#endif
