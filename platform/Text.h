#pragma once

#include <QString>
#include <string>

// Conversions between the game's single-byte texts and what Qt shows.
namespace platform {

// Code-page bytes (as stored in the game file) -> display text.
QString fromCodePage(const std::string& bytes);

// Display text -> code-page bytes; characters the code page lacks become '?'.
std::string toCodePage(const QString& text);

inline QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string toUtf8(const QString& text) {
    return text.toStdString();
}

}  // namespace platform
