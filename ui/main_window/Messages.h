#pragma once

#include <QString>

#include "platform/Services.h"

class QWidget;

// The application's title: the caption of every message box.
inline const QString kApplicationTitle = QStringLiteral("Kelvory");

// Shows `text` in a message box owned by `owner`, under the application's title.
inline void tellUser(QWidget* owner, platform::MessageIcon icon, const QString& text) {
    platform::services().showMessage(owner, icon, kApplicationTitle, text);
}
