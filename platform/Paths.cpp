#include "platform/Paths.h"

#include <QCoreApplication>
#include <QFile>
#include <QUrl>
#include <system_error>
#include <vector>

#include "platform/FileNames.h"
#include "platform/Text.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace platform {

QString pathToText(const std::filesystem::path& path) {
#ifdef _WIN32
    return QString::fromStdWString(path.native());
#else
    return fromUtf8(pathToShow(path));
#endif
}

std::filesystem::path textToPath(const QString& text) {
#ifdef _WIN32
    return std::filesystem::path(text.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(text).toStdString());
#endif
}

QString pathToFileUrl(const std::filesystem::path& path) {
#ifdef _WIN32
    return QUrl::fromLocalFile(QString::fromStdWString(path.native())).toString(QUrl::FullyEncoded);
#else
    // Percent-encoded bytes, so a name that is not UTF-8 keeps its bytes.
    const QByteArray bytes = QByteArray::fromStdString(path.native());
    return QStringLiteral("file://") + QString::fromLatin1(bytes.toPercentEncoding("/"));
#endif
}

std::filesystem::path executableFolder() {
    std::error_code error;
#if defined(_WIN32)
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            return std::filesystem::path(std::wstring(buffer.data(), length)).parent_path();
        }
        buffer.resize(buffer.size() * 2);  // the name was cut: try a larger buffer
    }
#elif defined(__linux__)
    // The kernel's link to the running executable holds its real path as bytes.
    const std::filesystem::path program = std::filesystem::canonical("/proc/self/exe", error);
    return error ? std::filesystem::path() : program.parent_path();
#else
    const std::filesystem::path folder = textToPath(QCoreApplication::applicationDirPath());
    return folder.is_absolute() ? folder : std::filesystem::path();
#endif
}

}  // namespace platform
