#pragma once

#include <QString>

#include "platform/Services.h"
#include "platform/Text.h"
#include "session/LeagueSession.h"

class QWidget;

// The application's title: the caption of every message box.
inline const QString kApplicationTitle = QStringLiteral("Kelvory");

// Shows `text` in a message box owned by `owner`, under the application's title.
inline void tellUser(QWidget* owner, platform::MessageIcon icon, const QString& text) {
    platform::services().showMessage(owner, icon, kApplicationTitle, text);
}

// Shows what the session tells, with the icon of its tone; nothing when it
// has nothing to tell.
inline void tell(QWidget* owner, const Told& told) {
    if (told.text.empty()) {
        return;
    }
    const platform::MessageIcon icon = told.tone == Tone::Information ? platform::MessageIcon::Information
                                       : told.tone == Tone::Warning   ? platform::MessageIcon::Warning
                                                                      : platform::MessageIcon::Critical;
    tellUser(owner, icon, platform::fromUtf8(told.text));
}
