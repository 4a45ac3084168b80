// The real system services: starting the launcher, the settings store, the
// click sound, the dialog's filters, the window's face and the message boxes
// that speak in it.

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "platform/Fonts.h"
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
        QFile script(path);
        if (!script.open(QIODevice::WriteOnly))
            return {};
        script.write(text.toUtf8());
        script.close();
        script.setPermissions(script.permissions() | QFile::ExeOwner | QFile::ExeUser);
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
            if (box == nullptr) {
                return;
            }
            for (const QLabel* label : box->findChildren<QLabel*>()) {
                if (!label->text().isEmpty()) {
                    faces << QFontInfo(label->font()).family();
                }
            }
            for (const QAbstractButton* button : box->findChildren<QAbstractButton*>()) {
                faces << QFontInfo(button->font()).family();
            }
            act(box);
        });
        open();
        return faces;
    }

private slots:
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
    }

    void unchosenLauncherIsRefused() {
        const platform::StartResult result = platform::systemServices().startProgram(QStringLiteral("Change..."));
        QVERIFY(!result.started);
        QCOMPARE(result.error, QStringLiteral("There is no program “Change...”."));
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
        QTest::newRow("a file in place of its folder") << "blocked" << false;
    }

    void savingASetting() {
        QFETCH(QString, store);
        QFETCH(bool, written);
        QTemporaryDir dir;
        QSettings::setDefaultFormat(QSettings::IniFormat);  // a file on every system, never the registry
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
        const QString file = dir.filePath("Kelvory/vozi.ini");
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
        QFile wav(dir.filePath("sounds/my click.wav"));
        QVERIFY(wav.open(QIODevice::WriteOnly));
        wav.write("RIFF");
        wav.close();
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

    // Arial first, then Liberation Sans, which has Arial's widths, then the
    // system's own face, which the offscreen platform the tests run on names
    // "Sans Serif"; the window gets the first of them the machine has. The
    // build machines have Liberation Sans (fonts-liberation2) but not Arial.
    void windowFaceFallsBack() {
        QCOMPARE(platform::windowFontFamilies(), (QStringList{"Arial", "Liberation Sans", "Sans Serif"}));
        const QFont font = platform::windowFont(9.75);
        QCOMPARE(font.pointSizeF(), 9.75);
        if (QFontDatabase::hasFamily(QStringLiteral("Arial")))
            QSKIP("this machine has Arial, so it shows no fall-back");
        QCOMPARE(QFontInfo(font).family(), QStringLiteral("Liberation Sans"));
    }

    // Message boxes and the save question draw their text and buttons in the
    // window's face, as the window falls back to it (Liberation Sans on the
    // build machines), not in the application's default face.
    void messageBoxesSpeakInTheWindowsFace_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("information") << "information";
        QTest::newRow("warning") << "warning";
        QTest::newRow("critical") << "critical";
        QTest::newRow("save question") << "question";
        QTest::newRow("choice") << "choice";
    }

    void messageBoxesSpeakInTheWindowsFace() {
        QFETCH(QString, kind);
        const platform::Services real = platform::systemServices();
        const QStringList faces = facesOfMessageBox(
            [&] {
                if (kind == "question") {
                    real.askSaveChanges(nullptr, "Kelvory", "Save the changes?");
                    return;
                }
                if (kind == "choice") {
                    real.askChoice(nullptr, platform::MessageIcon::Warning, "Kelvory", "The file changed.",
                                   {"&Overwrite", "Cancel"}, 0);
                    return;
                }
                const platform::MessageIcon icon = kind == "information" ? platform::MessageIcon::Information
                                                   : kind == "warning"   ? platform::MessageIcon::Warning
                                                                         : platform::MessageIcon::Critical;
                real.showMessage(nullptr, icon, "Kelvory", "Nothing was saved.");
            },
            [](QMessageBox* box) { box->close(); });
        QVERIFY(faces.size() >= 2);  // the text and at least one button
        const QString expected = QFontDatabase::hasFamily(QStringLiteral("Arial")) ? QStringLiteral("Arial")
                                                                                   : QStringLiteral("Liberation Sans");
        QCOMPARE(faces, QStringList(faces.size(), expected));
    }

    // The save question answers with the button chosen; Enter takes Save, and
    // a box closed without a choice answers Cancel.
    void saveQuestionAnswers_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("answer");
        QTest::newRow("Enter") << "enter" << int(platform::SaveChangesAnswer::Save);
        QTest::newRow("Discard clicked") << "discard" << int(platform::SaveChangesAnswer::Discard);
        QTest::newRow("Cancel clicked") << "cancel" << int(platform::SaveChangesAnswer::Cancel);
        QTest::newRow("closed") << "close" << int(platform::SaveChangesAnswer::Cancel);
    }

    void saveQuestionAnswers() {
        QFETCH(QString, action);
        QFETCH(int, answer);
        platform::SaveChangesAnswer given = platform::SaveChangesAnswer::Save;
        facesOfMessageBox([&] { given = platform::systemServices().askSaveChanges(nullptr, "Kelvory", "Save?"); },
                          [&](QMessageBox* box) {
                              if (action == "enter") {
                                  QTest::keyClick(box, Qt::Key_Return);
                              } else if (action == "discard") {
                                  box->button(QMessageBox::Discard)->click();
                              } else if (action == "cancel") {
                                  box->button(QMessageBox::Cancel)->click();
                              } else {
                                  box->close();
                              }
                          });
        QCOMPARE(int(given), answer);
    }

    // A question with buttons of the program's own answers with the index
    // of the button chosen; Enter takes the preselected one, and Escape or
    // the close box the last one.
    void choiceAnswers_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("answer");
        QTest::newRow("Enter") << "enter" << 1;
        QTest::newRow("first clicked") << "first" << 0;
        QTest::newRow("Escape") << "escape" << 2;
        QTest::newRow("closed") << "close" << 2;
    }

    void choiceAnswers() {
        QFETCH(QString, action);
        QFETCH(int, answer);
        int given = -5;
        QStringList captions;
        facesOfMessageBox(
            [&] {
                given = platform::systemServices().askChoice(nullptr, platform::MessageIcon::Warning, "Kelvory",
                                                             "The file changed.",
                                                             {"&Overwrite", "&Reload", "Cancel"}, 1);
            },
            [&](QMessageBox* box) {
                for (QAbstractButton* button : box->buttons()) {
                    captions << button->text();
                }
                if (action == "enter") {
                    QTest::keyClick(box, Qt::Key_Return);
                } else if (action == "first") {
                    box->buttons().at(captions.indexOf("&Overwrite"))->click();
                } else if (action == "escape") {
                    QTest::keyClick(box, Qt::Key_Escape);
                } else {
                    box->close();
                }
            });
        captions.sort();
        QCOMPARE(captions, QStringList({"&Overwrite", "&Reload", "Cancel"}));
        QCOMPARE(given, answer);
    }

    // The list box shows the lines as selectable, read-only text, and answers
    // true only when it asked and its accepting button was chosen.
    void reviewListAnswers_data() {
        QTest::addColumn<QString>("acceptCaption");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<bool>("answer");
        QTest::newRow("apply chosen") << "Apply" << true << true;
        QTest::newRow("cancelled") << "Apply" << false << false;
        QTest::newRow("only shown") << "" << true << false;
    }

    void reviewListAnswers() {
        QFETCH(QString, acceptCaption);
        QFETCH(bool, accept);
        QFETCH(bool, answer);
        QString shown;
        bool readOnly = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto* list = dialog->findChild<QPlainTextEdit*>();
            QVERIFY(list);
            shown = list->toPlainText();
            readOnly = list->isReadOnly();
            accept ? dialog->accept() : dialog->reject();
        });
        const bool given = platform::systemServices().reviewList(nullptr, "Show Changes", "Two changes:",
                                                                 {"Club Name, row 3: 12 → 300", "Cat1: A → B"},
                                                                 acceptCaption);
        QCOMPARE(shown, QString("Club Name, row 3: 12 → 300\nCat1: A → B"));
        QVERIFY(readOnly);
        QCOMPARE(given, answer);
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
