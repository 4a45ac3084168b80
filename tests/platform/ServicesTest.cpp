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

#include "../common/TestFiles.h"
#include "platform/Services.h"

namespace fs = std::filesystem;

class ServicesTest : public QObject {
    Q_OBJECT

    // Writes an executable script that leaves `marker` behind when it runs,
    // holding the folder it runs in: a batch file on Windows, a shell script
    // elsewhere.
    static QString writeLauncher(QString path, const QString& marker) {
#ifdef Q_OS_WIN
        path += QStringLiteral(".cmd");
        const QString text = QStringLiteral("@cd> \"%1\"\r\n").arg(QDir::toNativeSeparators(marker));
#else
        const QString text = QStringLiteral("#!/bin/sh\npwd > \"%1\"\n").arg(marker);
#endif
        if (!testfiles::writeFile(path, text.toUtf8()))
            return {};
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner | QFile::ExeUser);
        return path;
    }

    // The folder a launcher's marker names, once it is written whole.
    static QString ranIn(const QString& marker) {
        QFile file(marker);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        const QString folder = QString::fromLocal8Bit(file.readAll()).trimmed();
        return folder.isEmpty() ? QString() : QFileInfo(folder).canonicalFilePath();
    }

private slots:
    // A path with spaces starts whole, in the program's own folder, not
    // Kelvory's current one.
    void startsAPathWithSpacesWhole() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Game Tools")));
        const QString marker = dir.filePath(QStringLiteral("ran"));
        const QString launcher = writeLauncher(dir.filePath(QStringLiteral("Game Tools/my launcher")), marker);
        QVERIFY(QDir::current() != QDir(dir.filePath(QStringLiteral("Game Tools"))));
        const platform::StartResult result = platform::systemServices().startProgram(launcher);
        QVERIFY2(result.started, qPrintable(result.error));
        QTRY_VERIFY_WITH_TIMEOUT(!ranIn(marker).isEmpty(), 5000);
        QCOMPARE(ranIn(marker), QFileInfo(dir.filePath(QStringLiteral("Game Tools"))).canonicalFilePath());
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

    // Every question and message box speaks in the window's face, not in the
    // application's default one: Arial, else Liberation Sans, which has
    // Arial's widths (the build machines have it, not Arial), else the
    // system's own. It shows the icon asked for. The save
    // question's Enter takes Save, its close box Cancel; a choice's Enter takes
    // the preselected button, its close box (as Escape) the last, also with
    // none preselected.
    void questionsAnswerInTheWindowsFace_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("answer");
        const auto row = [](const char* kind, const char* action, int icon, int answer) {
            QTest::addRow("%s: %s", kind, action) << kind << action << icon << answer;
        };
        row("critical", "close", QMessageBox::Critical, -1);
        row("save", "enter", QMessageBox::Question, int(platform::SaveChangesAnswer::Save));
        row("save", "close", QMessageBox::Question, int(platform::SaveChangesAnswer::Cancel));
        row("choice", "enter", QMessageBox::Warning, 1);
        row("choice", "close", QMessageBox::Warning, 2);
    }

    void questionsAnswerInTheWindowsFace() {
        QFETCH(QString, kind);
        QFETCH(QString, action);
        QFETCH(int, icon);
        QFETCH(int, answer);
        const platform::Services real = platform::systemServices();
        int given = -1, shownIcon = -1;
        QStringList captions, faces;  // faces: what each text of the box is drawn in
        QTimer::singleShot(0, [&] {   // once the box is up
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            for (const QLabel* label : box->findChildren<QLabel*>())
                if (!label->text().isEmpty())
                    faces << QFontInfo(label->font()).family();
            shownIcon = int(box->icon());
            for (QAbstractButton* button : box->buttons()) {
                captions << button->text();
                faces << QFontInfo(button->font()).family();
            }
            if (action == "close")
                box->close();
            else
                QTest::keyClick(box, Qt::Key_Return);
        });
        if (kind == "save")
            given = int(real.askSaveChanges(nullptr, "Kelvory", "Save the changes?"));
        else if (kind == "choice")
            given = real.askChoice(nullptr, platform::MessageIcon::Warning, "Kelvory", "The file changed.",
                                   {"&Overwrite", "&Reload", "Cancel"}, action == "enter" ? 1 : -1);
        else
            real.showMessage(nullptr, platform::MessageIcon::Critical, "Kelvory", "Nothing was saved.");
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
    void dialogFilterTexts() {
#ifdef Q_OS_WIN
        const QString everyFile = " All Files (*.*)";
#else
        const QString everyFile = " All Files (*)";
#endif
        QCOMPARE(platform::dialogFilterTexts(
                     {{" All Files (*.*)", "*.*"}, {"vozi.exe (*.exe)", "*.exe"}, {"Pictures", "*.png;*.bmp"}}),
                 (QStringList{everyFile, "vozi.exe (*.exe)", "Pictures (*.png *.bmp)"}));
    }
};

QTEST_MAIN(ServicesTest)
#include "ServicesTest.moc"
