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

    void choosingGivesTheFullPath() {
        Scn_Common_Dialog dialog;
        answer(QStringLiteral("/games/vozi.exe"));
        const std::optional<QString> chosen = dialog.OpenFileName(nullptr, "t", QString(), "A|*.a");
        QVERIFY(chosen.has_value());
        QCOMPARE(*chosen, QStringLiteral("/games/vozi.exe"));
    }

    // Nothing chosen: no path comes back, and the name chosen before stays.
    void cancelGivesNothingAndKeepsTitleName_data() {
        QTest::addColumn<QString>("answer");  // what the system's dialog hands back
        QTest::newRow("cancelled") << QString();
        QTest::newRow("nothing before a NUL") << QStringLiteral("") + QChar(0) + "junk";
    }

    void cancelGivesNothingAndKeepsTitleName() {
        QFETCH(QString, answer);
        Scn_Common_Dialog dialog;
        this->answer(QStringLiteral("/games/vozi.exe"));
        dialog.OpenFileName(nullptr, "t", QString(), "A|*.a");
        this->answer(answer);
        QVERIFY(!dialog.OpenFileName(nullptr, "t", QString(), "A|*.a").has_value());
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
