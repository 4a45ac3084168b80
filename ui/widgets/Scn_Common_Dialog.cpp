#include "ui/widgets/Scn_Common_Dialog.h"

#include <QStringList>
#include <algorithm>

QList<platform::FileFilter> Scn_Common_Dialog::parseFilter(const QString& filter) {
    QList<platform::FileFilter> pairs;
    if (filter.isEmpty()) {
        return pairs;
    }
    const QStringList pieces = filter.split(QLatin1Char('|'), Qt::KeepEmptyParts);
    for (qsizetype i = 0; i + 1 < pieces.size(); i += 2) {
        pairs.append({pieces[i], pieces[i + 1]});
    }
    return pairs;
}

std::optional<QString> Scn_Common_Dialog::OpenFileName(QWidget* FrmName, const QString& DialogTitle,
                                                       const QString& DirPath, const QString& Filter) {
    Q_UNUSED(DirPath);  // the system chooses the initial folder
    QString path = platform::services().openFileDialog(FrmName, DialogTitle, QString(), parseFilter(Filter), 0);
    // The dialog returns the name exactly as chosen; blanks are kept, since on
    // some systems they can be part of a file name. Nothing after a NUL is.
    const qsizetype nul = path.indexOf(QChar(u'\0'));
    if (nul >= 0) {
        path.truncate(nul);
    }
    if (path.isEmpty()) {
        return std::nullopt;
    }
    chosen_ = path;
    return chosen_;
}

QString Scn_Common_Dialog::TitleName() const {
    // The dialog hands back native paths: '\' separates on Windows, and '/'
    // does on every system.
    qsizetype cut = chosen_.lastIndexOf(QLatin1Char('\\'));
    cut = std::max(cut, chosen_.lastIndexOf(QLatin1Char('/')));
    QString title = chosen_.mid(cut + 1);
    const qsizetype nul = title.indexOf(QChar(u'\0'));
    if (nul >= 0) {
        title.truncate(nul);
    }
    return title;
}
