#pragma once

#include <QList>
#include <QString>
#include <optional>

#include "platform/Services.h"

class QWidget;

// Shows the system's open-file dialog and hands back the chosen path.
// A new object is made for each use.
class Scn_Common_Dialog {
public:
    static inline const QString DefaultFilter = QStringLiteral("Wszystkie Pliki (*.*)|*.*");

    // Shows the dialog, modal to `FrmName`, and returns the chosen full path,
    // or nothing when the user cancelled. `Filter` lists description|pattern
    // pairs separated by '|'; the first pair is preselected. `DirPath` is not
    // used: the system picks the folder the dialog opens in.
    std::optional<QString> OpenFileName(QWidget* FrmName, const QString& DialogTitle, const QString& DirPath,
                                        const QString& Filter = DefaultFilter);

    // The last component of the path chosen most recently ("" when none).
    QString TitleName() const;

    // Splits "desc|pattern|desc|pattern" into pairs, keeping every piece as it
    // stands (a leading blank in a description stays). An empty text gives no
    // filter; a description without a pattern is dropped.
    static QList<platform::FileFilter> parseFilter(const QString& filter);

private:
    QString chosen_;
};
