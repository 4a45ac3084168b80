#pragma once

#include <QString>
#include <QStringList>

#include "platform/Services.h"

class QWidget;

// The window's two list dialogs, in its face: text above a list, buttons
// below, the list named after the dialog for assistive technology.

// Shows `lines` to select and copy; with an `acceptCaption` asks, and returns
// whether that button was chosen (platform::Services::reviewList).
bool reviewList(QWidget* owner, const QString& caption, const QString& text, const QStringList& lines,
                const QString& acceptCaption);

// Lets the user pick one of `lines`; returns its index, or -1
// (platform::Services::chooseFromList).
int chooseFromList(QWidget* owner, const QString& caption, const QString& text, const QStringList& lines,
                   int preselected, const QString& acceptCaption);

// Puts the two into `services` where nothing stands yet (a test's fake stays).
void useListDialogs(platform::Services& services);
