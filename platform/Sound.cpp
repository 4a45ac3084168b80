#include "platform/Sound.h"

#include <QFileInfo>
#include <memory>
#include <utility>

#ifdef _WIN32
#include "platform/WindowsSound.h"
#else
#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#endif

namespace platform {

#ifdef _WIN32

void playSoundFile(const QString& file) {
    if (QFileInfo(file).isFile()) {
        playSoundWithWinmm(file);  // silence for anything else, never the default sound
    }
}

#else

SoundPlugin::SoundPlugin(QString library) : fileName_(std::move(library)) {}

SoundPlugin::~SoundPlugin() = default;

QString SoundPlugin::defaultLibrary() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("kelvory_sound_qt"));
}

bool SoundPlugin::load() {
    if (!tried_) {
        tried_ = true;
        auto library = std::make_unique<QLibrary>(fileName_);
        if (library->load()) {
            entry_ = reinterpret_cast<Entry>(library->resolve(EntryName));
        }
        if (entry_) {
            library_ = std::move(library);  // kept: the sounds it plays outlive the call
        } else {
            library->unload();  // loaded but of no use
        }
    }
    return entry_ != nullptr;
}

bool SoundPlugin::play(const QString& file) {
    const QFileInfo info(file);
    if (!info.isFile() || !load()) {
        return false;
    }
    const QString path = info.absoluteFilePath();
    entry_(reinterpret_cast<const char16_t*>(path.utf16()), static_cast<int>(path.size()));
    return true;
}

namespace {

SoundPlugin& programSoundPlugin() {
    static SoundPlugin plugin(SoundPlugin::defaultLibrary());
    return plugin;
}

}  // namespace

void playSoundFile(const QString& file) {
    programSoundPlugin().play(file);
}

bool soundPluginLoaded() {
    return programSoundPlugin().isLoaded();
}

#endif

}  // namespace platform
