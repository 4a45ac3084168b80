#include "platform/Paths.h"

#include <QCoreApplication>
#include <QFile>
#include <QUrl>

#include "platform/ConsoleProgram.h"
#include "platform/FileNames.h"
#include "platform/Text.h"

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
#if defined(_WIN32) || defined(__linux__)
    // The console program asks the system the same way.
    return runningProgramFolder();
#else
    const std::filesystem::path folder = textToPath(QCoreApplication::applicationDirPath());
    return folder.is_absolute() ? folder : std::filesystem::path();
#endif
}

}  // namespace platform
