#pragma once

#ifdef _WIN32

#include <QString>
#include <functional>

// The click on Windows goes through the system's own player (winmm), so the
// Windows build needs no multimedia library.
namespace platform {

// Stands in for winmm's PlaySoundW(file, no module, flags) in tests.
using WinmmPlaySound = std::function<bool(const wchar_t* file, unsigned long flags)>;

// Replaces the winmm call; an empty function puts the real one back.
void setWinmmPlaySound(WinmmPlaySound call);

// Starts playing the sound file `file` and returns at once. A file that cannot
// be played stays silent: never the system's default sound instead.
bool playSoundWithWinmm(const QString& file);

}  // namespace platform

#endif
