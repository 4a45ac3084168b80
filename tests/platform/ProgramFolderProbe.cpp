// Started by ServicesTest from a copy in a folder of its own: prints the
// program folder that the platform layer finds, as hex bytes on the first
// line and as the text shown to the user on the second.

#include <QByteArray>
#include <cstdio>

#include "platform/Paths.h"

int main() {
    const std::filesystem::path folder = platform::executableFolder();
#ifdef _WIN32
    const QByteArray bytes = QByteArray::fromStdString(folder.u8string());
#else
    const QByteArray bytes = QByteArray::fromStdString(folder.native());
#endif
    std::printf("%s\n%s\n", bytes.toHex().constData(), platform::pathToText(folder).toUtf8().constData());
    return folder.empty() ? 1 : 0;
}
