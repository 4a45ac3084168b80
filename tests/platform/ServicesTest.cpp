// The real system services: starting the launcher, the settings store, the
// click sound, the dialog's filters, the window's face and the message boxes
// that speak in it.

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "../common/TestFiles.h"
#include "platform/Services.h"
#ifdef Q_OS_WIN
#include "platform/WindowsSound.h"
#endif

namespace fs = std::filesystem;

class ServicesTest : public QObject {
    Q_OBJECT

    // Writes an executable script that leaves `marker` behind when it runs: a
    // batch file on Windows, a shell script elsewhere.
    static QString writeLauncher(QString path, const QString& marker) {
#ifdef Q_OS_WIN
        path += QStringLiteral(".cmd");
        const QString text = QStringLiteral("@echo started> \"%1\"\r\n").arg(QDir::toNativeSeparators(marker));
#else
        const QString text = QStringLiteral("#!/bin/sh\necho started > \"%1\"\n").arg(marker);
#endif
        if (!testfiles::writeFile(path, text.toUtf8()))
            return {};
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner | QFile::ExeUser);
        return path;
    }

    // Runs `act` on the message box that `open` shows, once it is up, after
    // noting the face each of its texts is drawn in; `open` returns when the
    // box is gone.
    static QStringList facesOfMessageBox(const std::function<void()>& open,
                                         const std::function<void(QMessageBox*)>& act) {
        QStringList faces;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr)
                return;
            for (const QLabel* label : box->findChildren<QLabel*>())
                if (!label->text().isEmpty())
                    faces << QFontInfo(label->font()).family();
            for (const QAbstractButton* button : box->findChildren<QAbstractButton*>())
                faces << QFontInfo(button->font()).family();
            act(box);
        });
        open();
        return faces;
    }

private slots:
    // The system's services are all there: none is left empty but the
    // window's own list dialogs.
    void everyServiceIsTheSystems() {
        const platform::Services s = platform::systemServices();
        QVERIFY(s.programFolder && s.readSetting && s.saveSetting && s.startProgram && s.openAddress && s.playSound);
        QVERIFY(s.openFileDialog && s.saveFileDialog && s.showMessage && s.askSaveChanges && s.askChoice);
        QVERIFY(s.dataFolder && !s.reviewList && !s.chooseFromList);
    }

    void startsAPathWithSpacesWhole() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Game Tools")));
        const QString marker = dir.filePath(QStringLiteral("ran"));
        const QString launcher = writeLauncher(dir.filePath(QStringLiteral("Game Tools/my launcher")), marker);
        const platform::StartResult result = platform::systemServices().startProgram(launcher);
        QVERIFY2(result.started, qPrintable(result.error));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 5000);
        // The folder can go once the launcher has let go of it (Windows keeps a
        // folder that a running program uses).
        QTRY_VERIFY_WITH_TIMEOUT(QDir(dir.filePath(QStringLiteral("Game Tools"))).removeRecursively(), 5000);
        // A launcher never chosen is no program.
        const platform::StartResult refused = platform::systemServices().startProgram(QStringLiteral("Change..."));
        QVERIFY(!refused.started);
        QCOMPARE(refused.error, QStringLiteral("There is no program “Change...”."));
    }

    // The folder comes from the executable's own path, byte for byte, whatever
    // the current folder is.
    void programFolderIsTheExecutablesOwn() {
#ifndef Q_OS_LINUX
        QSKIP("folder names that are not UTF-8 exist only where file names are bytes");
#else
        QTemporaryDir dir;
        const fs::path root = fs::canonical(dir.path().toStdString());
        const fs::path folder = root / "caf\xE9";  // code page 1252 e acute: not UTF-8
        QVERIFY(fs::create_directory(folder));
        QVERIFY(fs::create_directory(root / "elsewhere"));
        QVERIFY(fs::copy_file(KELVORY_PROBE, folder / "probe"));
        // Qt cannot name the folder, so the copy is started through a link.
        fs::create_symlink(folder / "probe", root / "probe-link");
        QProcess probe;
        probe.setWorkingDirectory(QString::fromStdString((root / "elsewhere").native()));
        probe.start(QString::fromStdString((root / "probe-link").native()), {});
        QVERIFY(probe.waitForFinished(10000));
        const QList<QByteArray> lines = probe.readAllStandardOutput().split('\n');
        fs::remove_all(root / "caf\xE9");  // beyond QTemporaryDir, which cannot name it
        QCOMPARE(probe.exitCode(), 0);
        QVERIFY(lines.size() >= 2);
        QCOMPARE(lines[0], QByteArray::fromStdString(root.native()).toHex() + "2f636166e9");  // "/caf" E9
        QCOMPARE(QString::fromUtf8(lines[1]), QString::fromStdString(root.native()) + QStringLiteral("/caf\u00E9"));
#endif
    }

    // Saving the launcher path reports failure only when the value was not
    // written; a store that could not be read before does not count. The store
    // follows the default format, so a test (this one) keeps it in a folder of
    // its own and never touches the user's registry or settings.
    void savingASetting_data() {
        QTest::addColumn<QString>("store");  // what stands where the settings file goes
        QTest::addColumn<bool>("written");
        QTest::newRow("no store yet") << "none" << true;
        QTest::newRow("damaged store") << "damaged" << true;
        QTest::newRow("a folder in place of the file") << "folder" << false;
    }

    void savingASetting() {
        QFETCH(QString, store);
        QFETCH(bool, written);
        QTemporaryDir dir;
        QSettings::setDefaultFormat(QSettings::IniFormat);  // a file on every system, never the registry
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
        const QString file = dir.filePath("Kelvory/vozi.ini");
        const QString folder = QFileInfo(file).path();
        if (store != "none")
            QVERIFY(QDir().mkpath(folder));
        if (store == "folder")
            QVERIFY(QDir().mkpath(file));
        else if (store == "damaged")
            QVERIFY(testfiles::writeFile(file, "[Options]\nvozi=/old/vozi.exe\n[broken\n\x01=\n"));
        const QString launcher = QStringLiteral("C:\\Program Files\\Game Tools\\my launcher.exe");
        const platform::Services real = platform::systemServices();
        QCOMPARE(real.saveSetting("vozi", "Options", "vozi", launcher), written);
        if (written) {
            QCOMPARE(real.readSetting("vozi", "Options", "vozi", "Change..."), launcher);
            QCOMPARE(QSettings(file, QSettings::IniFormat).value("Options/vozi").toString(), launcher);
        }
    }

#ifdef Q_OS_WIN
    void clickGoesToWinmm_data() {
        QTest::addColumn<QString>("file");  // inside the test's folder
        QTest::addColumn<bool>("played");
        QTest::newRow("name with spaces") << "sounds/my click.wav" << true;
        QTest::newRow("missing file") << "sounds/none.wav" << false;
        QTest::newRow("folder") << "sounds" << false;
    }

    // The click reaches PlaySoundW as a full Windows path with the flags for
    // "by file name", "do not wait" and "no default sound when unplayable"
    // (SND_FILENAME 0x20000, SND_ASYNC 0x1, SND_NODEFAULT 0x2 in mmsystem.h).
    void clickGoesToWinmm() {
        QFETCH(QString, file);
        QFETCH(bool, played);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("sounds"));
        QVERIFY(testfiles::writeFile(dir.filePath("sounds/my click.wav"), "RIFF"));
        QStringList files;
        QList<unsigned long> flags;
        platform::setWinmmPlaySound([&](const wchar_t* name, unsigned long how) {
            files << QString::fromWCharArray(name);
            flags << how;
            return true;
        });
        platform::systemServices().playSound(dir.filePath(file));
        platform::setWinmmPlaySound({});
        if (!played) {
            QVERIFY(files.isEmpty());
            return;
        }
        QCOMPARE(files, QStringList{QDir::toNativeSeparators(dir.path()) + "\\sounds\\my click.wav"});
        QCOMPARE(flags, QList<unsigned long>{0x20000UL | 0x1UL | 0x2UL});
    }
#endif

    // Every question and message box speaks in the window's face, not in the
    // application's default one: Arial, else Liberation Sans, which has
    // Arial's widths (the build machines have it, not Arial), else the
    // system's own. It shows the icon asked for. The save
    // question's Enter takes Save, its close box Cancel; a choice's Enter takes
    // the preselected button, Escape and the close box the last.
    void questionsAnswerInTheWindowsFace_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("answer");
        const int question = QMessageBox::Question, warning = QMessageBox::Warning;
        QTest::newRow("critical") << "critical"
                                  << "close" << int(QMessageBox::Critical) << -1;
        QTest::newRow("save: Enter") << "save"
                                     << "enter" << question << int(platform::SaveChangesAnswer::Save);
        QTest::newRow("save: closed") << "save"
                                      << "close" << question << int(platform::SaveChangesAnswer::Cancel);
        QTest::newRow("choice: Enter") << "choice"
                                       << "enter" << warning << 1;
        QTest::newRow("choice: Escape") << "choice"
                                        << "escape" << warning << 2;
        QTest::newRow("choice: closed") << "choice"
                                        << "close" << warning << 2;
    }

    void questionsAnswerInTheWindowsFace() {
        QFETCH(QString, kind);
        QFETCH(QString, action);
        QFETCH(int, icon);
        QFETCH(int, answer);
        const platform::Services real = platform::systemServices();
        int given = -1, shownIcon = -1;
        QStringList captions;
        const QStringList faces = facesOfMessageBox(
            [&] {
                if (kind == "save")
                    given = int(real.askSaveChanges(nullptr, "Kelvory", "Save the changes?"));
                else if (kind == "choice")
                    given = real.askChoice(nullptr, platform::MessageIcon::Warning, "Kelvory", "The file changed.",
                                           {"&Overwrite", "&Reload", "Cancel"}, 1);
                else
                    real.showMessage(
                        nullptr,
                        kind == "critical" ? platform::MessageIcon::Critical : platform::MessageIcon::Information,
                        "Kelvory", "Nothing was saved.");
            },
            [&](QMessageBox* box) {
                shownIcon = int(box->icon());
                for (QAbstractButton* button : box->buttons())
                    captions << button->text();
                if (action == "close")
                    box->close();
                else
                    QTest::keyClick(box, action == "enter" ? Qt::Key_Return : Qt::Key_Escape);
            });
        QVERIFY(faces.size() >= 2);  // the text and at least one button
        const QString expected = QFontDatabase::hasFamily(QStringLiteral("Arial")) ? QStringLiteral("Arial")
                                                                                   : QStringLiteral("Liberation Sans");
        QCOMPARE(faces, QStringList(faces.size(), expected));
        QCOMPARE(shownIcon, icon);
        QCOMPARE(given, answer);
        if (kind == "choice") {
            captions.sort();
            QCOMPARE(captions, QStringList({"&Overwrite", "&Reload", "Cancel"}));
        }
    }

    // The dialog's filter texts: patterns in parentheses, separated by blanks;
    // "*.*" shows every file, also one without a dot, where names are not Windows'.
    void dialogFilterTexts_data() {
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("shown");
#ifdef Q_OS_WIN
        QTest::newRow("every file") << " All Files (*.*)"
                                    << "*.*"
                                    << " All Files (*.*)";
#else
        QTest::newRow("every file") << " All Files (*.*)"
                                    << "*.*"
                                    << " All Files (*)";
#endif
        QTest::newRow("own wording") << "vozi.exe (*.exe)"
                                     << "*.exe"
                                     << "vozi.exe (*.exe)";
        QTest::newRow("patterns added") << "Pictures"
                                        << "*.png;*.bmp"
                                        << "Pictures (*.png *.bmp)";
    }

    void dialogFilterTexts() {
        QFETCH(QString, description);
        QFETCH(QString, pattern);
        QFETCH(QString, shown);
        QCOMPARE(platform::dialogFilterTexts({{description, pattern}}), QStringList{shown});
    }
};

QTEST_MAIN(ServicesTest)
#include "ServicesTest.moc"
