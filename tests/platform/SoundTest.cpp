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
#include <string>
#include <vector>

#include "../common/TestFiles.h"
#include "platform/Services.h"
#include "platform/Sound.h"
#include "ui/widgets/Button_XP.h"

namespace {

// What the fake plug-in was asked to play, read through its own record.
QStringList played() {
    using Record = const std::vector<std::u16string>* (*)();
    const auto record =
        reinterpret_cast<Record>(QLibrary(platform::SoundPlugin::defaultLibrary()).resolve("fake_sound_played"));
    if (!record)
        return {QStringLiteral("<no fake plug-in>")};
    QStringList files;
    for (const std::u16string& file : *record())
        files << QString::fromStdU16String(file);
    return files;
}

}  // namespace

class SoundTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

private slots:
    // Silent means no warning either.
    void init() { QTest::failOnWarning(QRegularExpression(QStringLiteral(".*"))); }

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
    }

    // Without the plug-in nothing plays, also once it was looked for.
    void noPlugInIsSilent() {
        platform::SoundPlugin plugin(QDir(QCoreApplication::applicationDirPath()).filePath("no_such_plugin"));
        QVERIFY(!plugin.play(dir_.filePath(QStringLiteral("resources/click.wav"))));
        QVERIFY(!plugin.play(dir_.filePath(QStringLiteral("resources/click.wav"))));
    }

    void theRealPlugInHasItsEntryPoint() {
        QLibrary real(QStringLiteral(KELVORY_REAL_SOUND_PLUGIN));
        QVERIFY2(real.load(), qPrintable(real.errorString()));
        QVERIFY(real.resolve(platform::SoundPlugin::EntryName));
    }
};

QTEST_MAIN(SoundTest)
#include "SoundTest.moc"
