// The real system services: starting the launcher and the dialog's filters.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>

#include "platform/Services.h"

namespace fs = std::filesystem;

class ServicesTest : public QObject {
    Q_OBJECT

    // Writes an executable script that leaves `marker` behind when it runs.
    static QString writeLauncher(const QString& path, const QString& marker) {
        QFile script(path);
        if (!script.open(QIODevice::WriteOnly))
            return {};
        script.write(QStringLiteral("#!/bin/sh\necho started > \"%1\"\n").arg(marker).toUtf8());
        script.close();
        script.setPermissions(script.permissions() | QFile::ExeOwner | QFile::ExeUser);
        return path;
    }

    static bool appears(const QString& file) {
        QElapsedTimer timer;
        timer.start();
        while (!QFile::exists(file) && timer.elapsed() < 5000)
            QTest::qWait(20);
        return QFile::exists(file);
    }

private slots:
    void startsAPathWithSpacesWhole() {
#ifdef Q_OS_WIN
        QSKIP("uses a shell script");
#endif
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Game Tools")));
        const QString marker = dir.filePath(QStringLiteral("ran"));
        const QString launcher = writeLauncher(dir.filePath(QStringLiteral("Game Tools/my launcher")), marker);
        const platform::StartResult result = platform::systemServices().startProgram(launcher);
        QVERIFY2(result.started, qPrintable(result.error));
        QVERIFY(appears(marker));
    }

    void unchosenLauncherIsRefused() {
        const platform::StartResult result = platform::systemServices().startProgram(QStringLiteral("Change..."));
        QVERIFY(!result.started);
        QVERIFY(!result.error.isEmpty());
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
    // written; a store that could not be read before does not count.
    void savingASetting_data() {
        QTest::addColumn<QString>("store");  // what stands where the settings file goes
        QTest::addColumn<bool>("written");
        QTest::newRow("no store yet") << "none" << true;
        QTest::newRow("damaged store") << "damaged" << true;
        QTest::newRow("a folder in place of the file") << "folder" << false;
        QTest::newRow("a file in place of its folder") << "blocked" << false;
    }

    void savingASetting() {
        QFETCH(QString, store);
        QFETCH(bool, written);
        QTemporaryDir dir;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
        const QString file = QSettings(QSettings::NativeFormat, QSettings::UserScope, "Kelvory", "vozi").fileName();
        QVERIFY(file.startsWith(dir.path()));
        const QString folder = QFileInfo(file).path();
        if (store == "blocked") {
            QFile blocker(folder);
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        } else if (store != "none") {
            QVERIFY(QDir().mkpath(folder));
        }
        if (store == "folder") {
            QVERIFY(QDir().mkpath(file));
        } else if (store == "damaged") {
            QFile damaged(file);
            QVERIFY(damaged.open(QIODevice::WriteOnly));
            damaged.write("[Options]\nvozi=/old/vozi.exe\n[broken\n\x01=\n");
        }
        const QString launcher = QStringLiteral("/opt/game/vozi.exe");
        QCOMPARE(platform::systemServices().saveSetting("vozi", "Options", "vozi", launcher), written);
        if (written) {
            QFile saved(file);
            QVERIFY(saved.open(QIODevice::ReadOnly));
            QVERIFY(saved.readAll().contains("vozi=" + launcher.toUtf8()));
        }
    }

    void everyFileFilter() {
#ifdef Q_OS_WIN
        const QString shown = QStringLiteral(" All Files (*.*)");
#else
        const QString shown = QStringLiteral(" All Files (*)");  // *.* would hide files without a dot
#endif
        QCOMPARE(platform::dialogFilterTexts({{QStringLiteral(" All Files (*.*)"), QStringLiteral("*.*")}}),
                 QStringList{shown});
    }
};

QTEST_MAIN(ServicesTest)
#include "ServicesTest.moc"
