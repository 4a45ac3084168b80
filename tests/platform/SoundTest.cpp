// The click sound: the plug-in that plays it is loaded on the first sound and
// used for every later one; a missing plug-in or file is silent.
//
// This test runs beside a fake plug-in that carries the real one's name, so
// the program's own look-up finds it there.

#include <QDir>
#include <QLibrary>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

#include "../common/TestFiles.h"
#include "platform/Services.h"
#include "platform/Sound.h"
#include "ui/widgets/Button_XP.h"

namespace {

QStringList messages;

// Collects every qDebug/qWarning/... while it lives.
class MessageRecorder {
public:
    MessageRecorder()
        : previous_(qInstallMessageHandler(
              [](QtMsgType, const QMessageLogContext&, const QString& text) { messages << text; })) {
        messages.clear();
    }
    ~MessageRecorder() { qInstallMessageHandler(previous_); }

private:
    QtMessageHandler previous_;
};

// What the fake plug-in was asked to play, read through its own functions.
QStringList played() {
    QLibrary fake(platform::SoundPlugin::defaultLibrary());
    auto count = reinterpret_cast<int (*)()>(fake.resolve("fake_sound_count"));
    auto file = reinterpret_cast<const char16_t* (*)(int, int*)>(fake.resolve("fake_sound_played"));
    if (!count || !file)
        return {QStringLiteral("<no fake plug-in>")};
    QStringList files;
    for (int i = 0; i < count(); ++i) {
        int length = 0;
        const char16_t* path = file(i, &length);
        files << QString::fromUtf16(path, length);
    }
    return files;
}

}  // namespace

class SoundTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("resources")));
        QVERIFY(testfiles::writeFile(dir_.filePath(QStringLiteral("resources/click.wav")), "RIFF"));
        QVERIFY(testfiles::writeFile(dir_.filePath(QStringLiteral("other.wav")), "RIFF"));
    }

    // A real button's clicks reach the plug-in through the platform seam,
    // which loads it on the first sound and keeps using it.
    void buttonClicksLoadThePlugInOnceAndKeepUsingIt() {
        const std::optional<bool> before = testfiles::libraryLoaded(QStringLiteral("libkelvory_sound_qt"));
        if (!before)
            QSKIP("this system does not list a process's libraries");
        QVERIFY(!*before);
        MessageRecorder recorder;
        // A file that is not there plays nothing and loads nothing.
        platform::services().playSound(dir_.filePath(QStringLiteral("missing.wav")));
        QVERIFY(!platform::soundPluginLoaded());

        // The button's sound, ".\resources\click.wav", is taken from the current folder.
        QVERIFY(QDir::setCurrent(dir_.path()));
        const QString click = QDir(dir_.path()).absoluteFilePath(QStringLiteral("resources/click.wav"));
        const QString other = QDir(dir_.path()).absoluteFilePath(QStringLiteral("other.wav"));
        Button_XP button;
        button.resize(121, 25);
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        QVERIFY(!platform::soundPluginLoaded());  // showing the button loads nothing

        QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(60, 12));
        QVERIFY(platform::soundPluginLoaded());
        QCOMPARE(testfiles::libraryLoaded(QStringLiteral("libkelvory_sound_qt")), std::optional<bool>(true));
        QCOMPARE(played(), QStringList{click});

        QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::keyClick(&button, Qt::Key_Space);
        QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(60, 12));  // released outside: no click
        QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(200, 12));
        platform::services().playSound(other);
        platform::services().playSound(dir_.filePath(QStringLiteral("resources")));  // a folder, not a sound
        QCOMPARE(played(), (QStringList{click, click, click, other}));
        QCOMPARE(messages, QStringList());
    }

    void noPlugInOrNoFileIsSilent_data() {
        QTest::addColumn<QString>("library");
        QTest::addColumn<QString>("file");
        const QString here = QCoreApplication::applicationDirPath();
        const QString click = dir_.filePath(QStringLiteral("resources/click.wav"));
        QTest::newRow("no plug-in") << QDir(here).filePath(QStringLiteral("no_such_plugin")) << click;
        QTest::newRow("plug-in without the entry point")
            << QDir(here).filePath(QStringLiteral("sound_plugin_without_entry")) << click;
        QTest::newRow("no file") << platform::SoundPlugin::defaultLibrary()
                                 << dir_.filePath(QStringLiteral("gone.wav"));
    }

    void noPlugInOrNoFileIsSilent() {
        QFETCH(QString, library);
        QFETCH(QString, file);
        const qsizetype before = played().size();
        MessageRecorder recorder;
        platform::SoundPlugin plugin(library);
        QVERIFY(!plugin.play(file));
        QVERIFY(!plugin.play(file));  // and again, once the plug-in was looked for
        QCOMPARE(messages, QStringList());
        QCOMPARE(played().size(), before);
    }

    void theRealPlugInHasItsEntryPoint() {
        QLibrary real(QStringLiteral(KELVORY_REAL_SOUND_PLUGIN));
        QVERIFY2(real.load(), qPrintable(real.errorString()));
        QVERIFY(real.resolve(platform::SoundPlugin::EntryName));
    }
};

QTEST_MAIN(SoundTest)
#include "SoundTest.moc"
