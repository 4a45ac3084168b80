#pragma once

#include <QString>
#include <filesystem>

// Conversions between file-system paths and the text shown to the user.
namespace platform {

// A path as readable text. On Linux a part of the path that is not valid
// UTF-8 is shown in code page 1252; the text is for showing only, and may
// not turn back into the same path.
QString pathToText(const std::filesystem::path& path);
std::filesystem::path textToPath(const QString& text);

// A "file:" address of the path that keeps every byte of it.
QString pathToFileUrl(const std::filesystem::path& path);

// The folder that holds the running program's executable, with every byte of
// its name; empty when the system cannot tell.
std::filesystem::path executableFolder();

}  // namespace platform
