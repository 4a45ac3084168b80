// The button's click sound, end to end: a click on a real Button_XP goes
// through the platform seam to the sound plug-in, which is loaded on the
// first click and used for every later one.
//
// This test runs beside a fake plug-in that carries the real one's name (see
// tests/platform), so the program's own look-up finds it there.

#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QTemporaryDir>
#include <QTest>

#include "platform/Sound.h"
#include "ui/widgets/Button_XP.h"

class ButtonClickSoundTest : public QObject {
    Q_OBJECT

    // What the fake plug-in was asked to play.
    static QStringList played() {
        QLibrary fake(platform::SoundPlugin::defaultLibrary());
        auto count = reinterpret_cast<int (*)()>(fake.resolve("fake_sound_count"));
        auto file = reinterpret_cast<const char16_t* (*)(int, int*)>(fake.resolve("fake_sound_played"));
        if (!count || !file) {
            return {QStringLiteral("<no fake plug-in>")};
        }
        QStringList files;
        for (int i = 0; i < count(); ++i) {
            int length = 0;
            const char16_t* path = file(i, &length);
            files << QString::fromUtf16(path, length);
        }
        return files;
    }

private slots:
    void firstAndLaterClicksPlayTheClickFile() {
        // The button's default sound, ".\resources\click.wav", is taken from
        // the current folder.
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("resources")));
        const QString click = QDir(dir.path()).absoluteFilePath(QStringLiteral("resources/click.wav"));
        QFile wav(click);
        QVERIFY(wav.open(QIODevice::WriteOnly) && wav.write("RIFF") == 4);
        wav.close();
        QVERIFY(QDir::setCurrent(dir.path()));

        Button_XP button;
        button.setCaption(QStringLiteral("Save and Start Game"));
        button.resize(121, 25);
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        QVERIFY(!platform::soundPluginLoaded());  // showing the button loads nothing

        QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(60, 12));
        QVERIFY(platform::soundPluginLoaded());
        QCOMPARE(played(), QStringList{click});

        QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::keyClick(&button, Qt::Key_Space);
        QCOMPARE(played(), (QStringList{click, click, click}));

        // A release outside the button is no click, and plays nothing.
        QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(60, 12));
        QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(200, 12));
        QCOMPARE(played().size(), 3);
    }
};

QTEST_MAIN(ButtonClickSoundTest)
#include "ButtonClickSoundTest.moc"
