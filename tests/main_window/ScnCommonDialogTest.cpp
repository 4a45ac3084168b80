// The open-file dialog wrapper: filter parsing, cancel, and the chosen name.

#include <QTest>

#include "platform/Services.h"
#include "ui/widgets/Scn_Common_Dialog.h"

class ScnCommonDialogTest : public QObject {
    Q_OBJECT

    static void answer(const QString& path) {
        platform::services().openFileDialog = [path](QWidget*, const QString&, const QString&,
                                                     const QList<platform::FileFilter>&, int) { return path; };
    }

private slots:
    void cleanup() { platform::resetServices(); }

    void parseFilter_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("pieces");  // description, pattern, ...
        QTest::newRow("launcher") << "vozi.exe (*.exe)|*.exe| All Files (*.*)|*.*"
                                  << QStringList{"vozi.exe (*.exe)", "*.exe", " All Files (*.*)", "*.*"};
        QTest::newRow("empty") << "" << QStringList{};
        QTest::newRow("empty pieces kept") << "|*.a|B|" << QStringList{"", "*.a", "B", ""};
        QTest::newRow("odd piece dropped") << "A|*.a|B" << QStringList{"A", "*.a"};
    }

    void parseFilter() {
        QFETCH(QString, filter);
        QFETCH(QStringList, pieces);
        QStringList flat;
        for (const platform::FileFilter& f : Scn_Common_Dialog::parseFilter(filter))
            flat << f.description << f.pattern;
        QCOMPARE(flat, pieces);
    }

    void cancelReturnsMinusOneAndKeepsTitleName() {
        Scn_Common_Dialog dialog;
        answer(QStringLiteral("/games/vozi.exe"));
        QCOMPARE(dialog.OpenFileName(nullptr, "t", QString(), "A|*.a"), QStringLiteral("/games/vozi.exe"));
        answer(QString());
        QCOMPARE(dialog.OpenFileName(nullptr, "t", QString(), "A|*.a"), QStringLiteral("-1"));
        QCOMPARE(dialog.TitleName(), QStringLiteral("vozi.exe"));
    }

    void titleName_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("title");
        QTest::newRow("windows path") << QStringLiteral("D:\\My Games\\Start Game.exe")
                                      << QStringLiteral("Start Game.exe");
        QTest::newRow("unix path") << QStringLiteral("/home/me/vozi.exe") << QStringLiteral("vozi.exe");
        QTest::newRow("ends in separator") << QStringLiteral("C:\\Games\\") << QString();
        QTest::newRow("NUL ends the name")
            << QStringLiteral("C:\\a\\b.exe") + QChar(0) + "junk" << QStringLiteral("b.exe");
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
