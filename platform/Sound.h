#pragma once

#include <QString>
#include <memory>

class QLibrary;

// Playing a sound file: the click of the owner-drawn button.
//
// Outside Windows the sound comes from a small plug-in beside the program
// (kelvory_sound_qt), loaded when the first sound plays, so that starting the
// program does not load an audio stack and its codecs. A missing plug-in, a
// missing file or a file the plug-in cannot play gives silence and no message.
namespace platform {

// Plays `file` asynchronously. A relative path is taken from the current folder.
void playSoundFile(const QString& file);

#ifndef _WIN32

// The plug-in that plays sounds, loaded on first use. One lives behind
// playSoundFile() for the rest of the run; tests make their own.
//
// The object owns its QLibrary handle. Destroying the handle does not unload
// the plug-in (only QLibrary::unload() would), so a sound still playing when
// its SoundPlugin goes away, at the end of the run say, is not cut off.
class SoundPlugin {
public:
    // `library` is the plug-in's path, with or without its "lib" prefix and
    // ".so" suffix.
    explicit SoundPlugin(QString library);
    ~SoundPlugin();
    SoundPlugin(const SoundPlugin&) = delete;
    SoundPlugin& operator=(const SoundPlugin&) = delete;

    // Hands an existing `file` to the plug-in, loading the plug-in on the
    // first call. Returns whether the plug-in took the sound: false for a
    // missing file or when there is no usable plug-in (then it is not looked
    // for again).
    bool play(const QString& file);

    // Whether the plug-in has been loaded.
    bool isLoaded() const { return entry_ != nullptr; }

    // Where playSoundFile() looks: the program's own folder.
    static QString defaultLibrary();

    // The plug-in's one entry point, exported as "kelvory_play_sound": plays
    // the file whose absolute path is `path` (UTF-16, `length` code units).
    using Entry = void (*)(const char16_t* path, int length);
    static constexpr const char* EntryName = "kelvory_play_sound";

private:
    bool load();

    QString fileName_;
    bool tried_ = false;
    std::unique_ptr<QLibrary> library_;  // set once the plug-in has loaded with its entry point
    Entry entry_ = nullptr;
};

// Whether playSoundFile() has loaded its plug-in yet.
bool soundPluginLoaded();

#endif

}  // namespace platform
