#include "platform/WindowsSound.h"

#ifdef _WIN32

#include <QDir>
#include <QFileInfo>
#include <string>

// clang-format off
#include <windows.h>
#include <mmsystem.h>
// clang-format on

namespace platform {
namespace {

WinmmPlaySound& replacement() {
    static WinmmPlaySound call;
    return call;
}

}  // namespace

void setWinmmPlaySound(WinmmPlaySound call) {
    replacement() = std::move(call);
}

bool playSoundWithWinmm(const QString& file) {
    // By name, without waiting, and no default beep when the file is unplayable.
    const DWORD flags = SND_ASYNC | SND_FILENAME | SND_NODEFAULT;
    const std::wstring name = QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath()).toStdWString();
    if (replacement()) {
        return replacement()(name.c_str(), flags);
    }
    return ::PlaySoundW(name.c_str(), nullptr, flags) != FALSE;
}

}  // namespace platform

#endif
