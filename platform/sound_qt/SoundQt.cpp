// The sound plug-in for systems other than Windows: plays sound files with Qt
// Multimedia. The program loads it when the first sound plays (see
// platform/Sound.h), so the audio stack stays out of its start-up.

#include <QCoreApplication>
#include <QHash>
#include <QPointer>
#include <QSoundEffect>
#include <QUrl>
#include <type_traits>

#include "platform/Sound.h"

extern "C" Q_DECL_EXPORT void kelvory_play_sound(const char16_t* path, int length) {
    static_assert(std::is_same_v<decltype(&kelvory_play_sound), platform::SoundPlugin::Entry>);
    QCoreApplication* application = QCoreApplication::instance();
    if (!application || !path || length <= 0) {
        return;
    }
    // One effect per file, kept as long as the application object, so a click does
    // not cut itself off and the file is decoded once.
    static QHash<QString, QPointer<QSoundEffect>> effects;
    const QString file = QString::fromUtf16(path, length);
    QPointer<QSoundEffect>& effect = effects[file];
    if (!effect) {
        effect = new QSoundEffect(application);
        effect->setSource(QUrl::fromLocalFile(file));
    }
    effect->play();
}
