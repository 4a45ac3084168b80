// The window against real files in a program folder of its own: which folder
// it reads, which file it saves into, and what it does when a file is gone,
// too short, or not a file at all. Messages, settings and program starts are
// recording fakes.

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <memory>
#include <random>

#include "../common/FifoWatchdog.h"
#include "core/Baza.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "ui/main_window/frmMain.h"

namespace fs = std::filesystem;

namespace {

void writeFile(const fs::path& path, const QByteArray& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.constData(), bytes.size());
    if (!out.flush())
        qFatal("cannot write %s", path.u8string().c_str());
}

QByteArray readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return QByteArray::fromStdString(std::string(std::istreambuf_iterator<char>(in), {}));
}

QByteArray gameBytes(qsizetype length) {
    QByteArray bytes(length, Qt::Uninitialized);
    std::mt19937 generator(8);
    for (char& b : bytes)
        b = static_cast<char>(generator());
    return bytes;
}

// A program folder and, beside it, a decoy folder laid out the same way, which
// serves as the current folder: nothing may ever be read from it or written to it.
struct Folders {
    QTemporaryDir dir;
    fs::path root, program, decoy;

    explicit Folders(const std::string& programName)
        : root(fs::canonical(dir.path().toStdString())), program(root / programName), decoy(root / "decoy") {
        for (const fs::path& folder : {program, decoy})
            fs::create_directories(folder / "Setting");
        writeFile(program / "Leagues.ini", "Kelvory\r\nGame File.exe\r\n");
        writeFile(program / "Setting" / "Structure.ini", "Own list\r\n");
        writeFile(program / "Setting" / "ID_Name_League.ini", "1,Own\r\n");
        writeFile(program / "Game File.exe", gameBytes(Baza::BlockEnd));
        writeFile(decoy / "Leagues.ini", "Decoy\r\nvictim.bin\r\n");
        writeFile(decoy / "Setting" / "Structure.ini", "Decoy list\r\n");
        writeFile(decoy / "Setting" / "ID_Name_League.ini", "1,Decoy\r\n");
        writeFile(decoy / "victim.bin", gameBytes(100));
    }
    ~Folders() { fs::remove_all(root); }  // QTemporaryDir cannot name every folder below it
    fs::path game() const { return program / "Game File.exe"; }
};

}  // namespace

class ProgramFilesTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Folders> folders_;
    fs::path programFolder_;
    std::unique_ptr<frmMain> window_;
    QList<QPair<platform::MessageIcon, QString>> messages_;
    QStringList started_;
    QString previousCurrent_;

    void makeFolders(const std::string& programName = "Kelvory") {
        folders_ = std::make_unique<Folders>(programName);
        programFolder_ = folders_->program;
        QVERIFY(QDir::setCurrent(QString::fromStdString(folders_->decoy.u8string())));
    }

    bool start() {
        window_ = std::make_unique<frmMain>();
        if (!window_->Form_Load())
            return false;
        window_->afterFirstPaint();  // as the window does once it is shown
        return true;
    }

    QStringList listItems() const {
        QStringList items;
        for (int i = 0; i < window_->controls().List1->count(); ++i)
            items << window_->controls().List1->item(i)->text();
        return items;
    }

    void decoyUntouched() {
        QCOMPARE(readFile(folders_->decoy / "victim.bin"), gameBytes(100));
        QCOMPARE(std::distance(fs::directory_iterator(folders_->decoy), fs::directory_iterator()), 3);
    }

private slots:
    void init() {
        previousCurrent_ = QDir::currentPath();
        messages_.clear();
        started_.clear();
        platform::Services& s = platform::services();
        s.programFolder = [this] { return programFolder_; };
        s.showMessage = [this](QWidget*, platform::MessageIcon icon, const QString&, const QString& text) {
            messages_.append({icon, text});
        };
        s.startProgram = [this](const QString& commandLine) {
            started_.append(commandLine);
            return platform::StartResult{true, {}};
        };
        s.readSetting = [](const QString&, const QString&, const QString&, const QString& def) { return def; };
        s.saveSetting = [](const QString&, const QString&, const QString&, const QString&) { return true; };
    }

    void cleanup() {
        window_.reset();
        QDir::setCurrent(previousCurrent_);
        folders_.reset();
        platform::resetServices();
    }

    // Started from another folder, Kelvory reads and saves its own folder's
    // files, even when that folder's name is not UTF-8.
    void ownFolderWhateverItsName_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("inAddress");
        QTest::newRow("plain") << QByteArray("Kelvory") << "Kelvory"
                               << "Kelvory";
#ifndef Q_OS_WIN
        QTest::newRow("not UTF-8") << QByteArray("caf\xE9") << "caf\u00E9"
                                   << "caf%E9";
#endif
    }

    void ownFolderWhateverItsName() {
        QFETCH(QByteArray, name);
        QFETCH(QString, shown);
        QFETCH(QString, inAddress);
        makeFolders(name.toStdString());
        QStringList opened;
        platform::services().openAddress = [&opened](const QString& address) {
            opened << address;
            return true;
        };
        QVERIFY(start());
        QVERIFY(window_->baza().loaded());
        QCOMPARE(window_->controls().Lokalizacja->text(),
                 QString::fromStdString(folders_->root.u8string()) + '/' + shown + "/Game File.exe");
        QCOMPARE(listItems(), QStringList{"Own list"});
        window_->txt(5)->setText(QStringLiteral("7"));
        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
        QByteArray expected = gameBytes(Baza::BlockEnd);
        expected.replace(Baza::LigaOffset + 20, 4, QByteArray("\x07\x00\x00\x00", 4));
        QVERIFY(readFile(folders_->game()) == expected);
        decoyUntouched();
        // The user guide beside the program, addressed with every byte of its folder.
        window_->action(QStringLiteral("cmdCommunitySiteA"))->trigger();
        QCOMPARE(opened, QStringList{"file://" + QString::fromStdString(folders_->root.u8string()) + '/' + inAddress +
                                     "/UserGuide.html"});
    }

    // Without its own folder, Kelvory stops with a message before reading
    // anything, rather than taking the current folder for it.
    void noProgramFolderStops() {
        makeFolders();
        programFolder_.clear();
        QVERIFY(!start());
        QCOMPARE(messages_.size(), 1);
        QVERIFY(messages_[0].first == platform::MessageIcon::Critical);
        QVERIFY2(messages_[0].second.contains("folder"), qPrintable(messages_[0].second));
        QVERIFY(listItems().isEmpty());
        QCOMPARE(window_->combo(14)->count(), 0);
        decoyUntouched();
    }

    // A save that would create or grow the file is refused with a message
    // that says why; nothing is written and the launcher is not started.
    void saveRefused_data() {
        QTest::addColumn<bool>("vanished");  // otherwise: a 1,000-byte file
        QTest::addColumn<QStringList>("said");
        QTest::newRow("file deleted after start") << true << QStringList{"no longer exists", "Game File.exe"};
        QTest::newRow("1,000-byte file") << false
                                         << QStringList{"1,000 bytes", "15,612,412 to 15,613,091", "Game File.exe"};
    }

    void saveRefused() {
        QFETCH(bool, vanished);
        QFETCH(QStringList, said);
        makeFolders();
        if (!vanished)
            writeFile(folders_->game(), gameBytes(1000));
        QVERIFY(start());
        QVERIFY(window_->baza().loaded());
        if (!vanished)
            QCOMPARE(window_->txt(39)->text(), QStringLiteral("0"));  // zeros past the end
        if (vanished)
            QVERIFY(fs::remove(folders_->game()));
        window_->controls().Text1->setText(QStringLiteral("/opt/vozi.exe"));
        window_->cmd_Save_Start_Game_Click();
        QCOMPARE(messages_.size(), 1);
        QVERIFY(messages_[0].first == platform::MessageIcon::Critical);
        for (const QString& words : said)
            QVERIFY2(messages_[0].second.contains(words), qPrintable(messages_[0].second));
        QVERIFY(started_.isEmpty());
        if (vanished)
            QVERIFY(!fs::exists(folders_->game()));
        else
            QVERIFY(readFile(folders_->game()) == gameBytes(1000));
        decoyUntouched();
    }

    // A file named on line 2 in UTF-8, or in code page 1252, is found; the
    // name box shows it readably.
    void gameNamedOnLine2_data() {
        QTest::addColumn<QByteArray>("line2");
        QTest::addColumn<QString>("shown");
        QTest::newRow("UTF-8") << QByteArray("Gr\xC3\xA9 \xC5\xBB\xC3\xB3\xC5\x82w.exe")
                               << QStringLiteral("Gr\u00E9 \u017B\u00F3\u0142w.exe");
#ifndef Q_OS_WIN
        QTest::newRow("code page 1252") << QByteArray("Gr\xE9.exe") << QStringLiteral("Gr\u00E9.exe");
#endif
    }

    void gameNamedOnLine2() {
        QFETCH(QByteArray, line2);
        QFETCH(QString, shown);
        makeFolders();
        writeFile(folders_->program / "Leagues.ini", "Kelvory\r\n" + line2 + "\r\n");
        fs::rename(folders_->game(), folders_->program / line2.toStdString());
        QVERIFY(start());
        QVERIFY(window_->baza().loaded());
        QCOMPARE(window_->controls().Nazwa_Exe->text(), shown);
        QVERIFY(window_->controls().Lokalizacja->text().endsWith('/' + shown));
        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
    }

    // A pipe in place of one of Kelvory's files never holds start-up.
    void pipeInPlaceOf_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("starts");
        QTest::addColumn<bool>("loaded");
        QTest::addColumn<int>("listItems");
        QTest::addColumn<int>("pickerItems");
        QTest::newRow("game file") << "Game File.exe" << true << false << 1 << 2;
        // A start that stops is never shown, so the pickers' lists stay unfilled.
        QTest::newRow("Leagues.ini") << "Leagues.ini" << false << false << 1 << 0;
        QTest::newRow("Structure.ini") << "Setting/Structure.ini" << true << true << 0 << 2;
        QTest::newRow("ID_Name_League.ini") << "Setting/ID_Name_League.ini" << true << true << 1 << 0;
    }

    void pipeInPlaceOf() {
#ifdef Q_OS_WIN
        QSKIP("Windows folders hold no named pipes");
#else
        QFETCH(QString, file);
        QFETCH(bool, starts);
        QFETCH(bool, loaded);
        QFETCH(int, listItems);
        QFETCH(int, pickerItems);
        makeFolders();
        const fs::path pipe = folders_->program / file.toStdString();
        fs::remove(pipe);
        QVERIFY(makeFifo(pipe));
        bool started = !starts;
        QVERIFY(finishesWithin(std::chrono::seconds(1), pipe, [&] { started = start(); }));
        QCOMPARE(started, starts);
        QCOMPARE(window_->baza().loaded(), loaded);
        QCOMPARE(this->listItems().size(), listItems);
        QCOMPARE(window_->combo(26)->count(), pickerItems);
        QCOMPARE(messages_.size(), starts ? 0 : 1);
        QVERIFY(starts || messages_[0].second.contains("Leagues.ini"));
#endif
    }
};

QTEST_MAIN(ProgramFilesTest)
#include "ProgramFilesTest.moc"
