// The real system services: starting the launcher and the dialog's filters.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "platform/Services.h"

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
