#pragma once

#include <QString>
#include <filesystem>

// Conversions between file-system paths and the text shown to the user.
namespace platform {

QString pathToText(const std::filesystem::path& path);
std::filesystem::path textToPath(const QString& text);

}  // namespace platform
