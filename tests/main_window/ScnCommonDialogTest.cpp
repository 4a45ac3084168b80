// The open-file dialog wrapper: filter parsing, cancel, and the chosen name.

#include <QTest>

#include "platform/Services.h"
#include "ui/widgets/Scn_Common_Dialog.h"

class ScnCommonDialogTest : public QObject {
    Q_OBJECT

    QList<platform::FileFilter> seenFilters_;
    QString seenTitle_;

    void answer(const QString& path) {
        platform::services().openFileDialog = [this, path](QWidget*, const QString& title, const QString&,
                                                           const QList<platform::FileFilter>& filters, int selected) {
            seenTitle_ = title;
            seenFilters_ = filters;
            return selected == 0 ? path : QStringLiteral("wrong filter selected");
        };
    }

private slots:
    void cleanup() { platform::resetServices(); }

    void filterSplitsIntoPairs_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("pieces");  // description, pattern, description, pattern ...
        QTest::newRow("launcher") << "vozi.exe (*.exe)|*.exe| All Files (*.*)|*.*"
                                  << QStringList{"vozi.exe (*.exe)", "*.exe", " All Files (*.*)", "*.*"};
        QTest::newRow("default") << Scn_Common_Dialog::DefaultFilter << QStringList{"Wszystkie Pliki (*.*)", "*.*"};
        QTest::newRow("empty gives none") << "" << QStringList{};
        QTest::newRow("empty pieces kept") << "|*.a|B|" << QStringList{"", "*.a", "B", ""};
        QTest::newRow("odd piece dropped") << "A|*.a|B" << QStringList{"A", "*.a"};
    }

    void filterSplitsIntoPairs() {
        QFETCH(QString, filter);
        QFETCH(QStringList, pieces);
        QStringList flat;
        for (const platform::FileFilter& f : Scn_Common_Dialog::parseFilter(filter))
            flat << f.description << f.pattern;
        QCOMPARE(flat, pieces);
    }

    void cancelReturnsMinusOneAndKeepsTheLastChoice() {
        Scn_Common_Dialog dialog;
        answer(QString());
        QCOMPARE(dialog.OpenFileName(nullptr, "Open vozi.exe", QString(), "A|*.a"), QStringLiteral("-1"));
        QCOMPARE(dialog.TitleName(), QString());
        answer(QStringLiteral("/games/tools/vozi.exe"));
        QCOMPARE(dialog.OpenFileName(nullptr, "Open vozi.exe", QString(), "A|*.a"),
                 QStringLiteral("/games/tools/vozi.exe"));
        QCOMPARE(seenTitle_, QStringLiteral("Open vozi.exe"));
        QCOMPARE(seenFilters_.size(), 1);
        answer(QString());
        QCOMPARE(dialog.OpenFileName(nullptr, "Open vozi.exe", QString()), QStringLiteral("-1"));
        QCOMPARE(dialog.TitleName(), QStringLiteral("vozi.exe"));
    }

    void titleName_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("title");
        QTest::newRow("windows path") << "C:\\Games\\PES\\vozi.exe"
                                      << "vozi.exe";
        QTest::newRow("unix path") << "/home/me/vozi.exe"
                                   << "vozi.exe";
        QTest::newRow("ends in separator") << "C:\\Games\\"
                                           << "";
        QTest::newRow("no folder") << "vozi.exe"
                                   << "vozi.exe";
        QTest::newRow("name with spaces") << "D:\\My Games\\Start Game.exe"
                                          << "Start Game.exe";
        QTest::newRow("NUL ends the name") << QStringLiteral("C:\\a\\b.exe") + QChar(0) + "junk"
                                           << "b.exe";
    }

    void titleName() {
        QFETCH(QString, chosen);
        QFETCH(QString, title);
        Scn_Common_Dialog dialog;
        answer(chosen);
        dialog.OpenFileName(nullptr, "t", QString(), "A|*.a");
        QCOMPARE(dialog.TitleName(), title);
    }
};

QTEST_MAIN(ScnCommonDialogTest)
#include "ScnCommonDialogTest.moc"
