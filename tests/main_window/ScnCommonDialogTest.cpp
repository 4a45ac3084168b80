// The open-file dialog wrapper: filter parsing, and what a choice or a
// cancel leaves behind.

#include <QTest>

#include "platform/Services.h"
#include "ui/widgets/Scn_Common_Dialog.h"

class ScnCommonDialogTest : public QObject {
    Q_OBJECT

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

    // After "/games/vozi.exe" was chosen, the system's dialog answers: a
    // choice gives its path up to a NUL and names its file; nothing chosen
    // gives no path and keeps the name chosen before.
    void choosing_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("path");  // empty: none
        QTest::addColumn<QString>("title");
        const auto row = [](const char* name, const QString& answer, const char* path, const char* title) {
            QTest::newRow(name) << answer << path << title;
        };
        row("windows path", "D:\\My Games\\Start.exe", "D:\\My Games\\Start.exe", "Start.exe");
        row("ends in separator", "C:\\Games\\", "C:\\Games\\", "");
        row("NUL ends the name", QStringLiteral("C:\\a\\b.exe") + QChar(0) + "junk", "C:\\a\\b.exe", "b.exe");
        row("cancelled", "", "", "vozi.exe");
        row("nothing before a NUL", QString(QChar(0)) + "junk", "", "vozi.exe");
    }

    void choosing() {
        QFETCH(QString, answer);
        QFETCH(QString, path);
        QFETCH(QString, title);
        Scn_Common_Dialog dialog;
        for (const QString& given : {QStringLiteral("/games/vozi.exe"), answer}) {
            platform::services().openFileDialog = [given](QWidget*, const QString&, const QString&,
                                                          const QList<platform::FileFilter>&, int) { return given; };
            const std::optional<QString> chosen = dialog.OpenFileName(nullptr, "t", QString(), "A|*.a");
            QCOMPARE(chosen.value_or(QString()), given == answer ? path : given);
        }
        QCOMPARE(dialog.TitleName(), title);
    }
};

QTEST_MAIN(ScnCommonDialogTest)
#include "ScnCommonDialogTest.moc"
