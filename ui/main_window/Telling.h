#pragma once

// How the window tells the user things: message boxes and the session's words
// in the window's language (the session's own sentences: session/Messages.h).

#include <QCoreApplication>
#include <QString>

#include "core/Words.h"
#include "platform/Services.h"
#include "platform/Text.h"
#include "session/LeagueSession.h"

class QWidget;

// The application's title: the caption of every message box.
inline const QString kApplicationTitle = QStringLiteral("Kelvory");

// Words of the session (or the layers below it) as the window shows them:
// each text through the application's translation, then its places filled.
inline QString shown(const Words& words) {
    return platform::fromUtf8(words.text([](const char* context, const char* source) {
        return QCoreApplication::translate(context, source).toStdString();
    }));
}

// Shows `text` in a message box owned by `owner`, under the application's title.
inline void tellUser(QWidget* owner, platform::MessageIcon icon, const QString& text) {
    platform::services().showMessage(owner, icon, kApplicationTitle, text);
}

inline platform::MessageIcon iconOf(Tone tone) {
    return tone == Tone::Information ? platform::MessageIcon::Information
           : tone == Tone::Warning   ? platform::MessageIcon::Warning
                                     : platform::MessageIcon::Critical;
}

// Shows what the session tells, with the icon of its tone; nothing when it
// has nothing to tell.
inline void tell(QWidget* owner, const Told& told) {
    if (!told.words.empty()) {
        tellUser(owner, iconOf(told.tone), shown(told.words));
    }
}
