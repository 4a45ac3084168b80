// What the window adds to saving: the messages and their icons, the launcher
// that starts only after a save that wrote, the outside-change question and
// its answers in the boxes, Restore Original Values, the launcher's picker and
// leaving with unsaved changes. The rules behind them are the session's
// (tests/session); expected bytes come from the file layout (BlockBytes.h).

#include <QAction>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

#include "../common/Rows.h"
#include "../setup/BlockBytes.h"
#include "WindowFixture.h"
#include "platform/FileSystem.h"
#include "platform/RunningGame.h"
#include "session/LeagueSession.h"
#include "ui/widgets/Button_XP.h"

namespace {

struct ExitCase {
    QString typed;  // into box 0, which loads as 5
    bool viaCloseBox;
    platform::SaveChangesAnswer answer;
    bool asked, closes;
    QByteArray liga1;  // in the file afterwards
};

// Makes every read after a write find one byte other than was written.
class LyingFiles : public platform::FileSystem {
public:
    std::unique_ptr<platform::OpenFile> open(const std::filesystem::path& path, BinaryFile::Mode mode) override {
        wrote_ = wrote_ || mode == BinaryFile::Mode::ReadWrite;
        auto real = platform::FileSystem::open(path, mode);
        if (mode != BinaryFile::Mode::Read || !wrote_ || path.extension() != ".exe") {
            return real;
        }
        class Lying : public platform::OpenFile {
        public:
            explicit Lying(std::unique_ptr<platform::OpenFile> real) : real_(std::move(real)) {}
            std::int64_t size() const override { return real_->size(); }
            std::size_t readAt(std::int64_t offset, void* buffer, std::size_t size) override {
                const std::size_t got = real_->readAt(offset, buffer, size);
                if (offset == Baza::MapOffset && got > 0)
                    static_cast<unsigned char*>(buffer)[0] ^= 0x40;
                return got;
            }
            void writeAt(std::int64_t o, const void* b, std::size_t s) override { real_->writeAt(o, b, s); }
            void sync() override { real_->sync(); }
            FileStamp stamp() override { return real_->stamp(); }
            void close() override { real_->close(); }

        private:
            std::unique_ptr<platform::OpenFile> real_;
        };
        return std::make_unique<Lying>(std::move(real));
    }

private:
    bool wrote_ = false;
};

}  // namespace

Q_DECLARE_METATYPE(ExitCase)
Q_DECLARE_METATYPE(platform::MessageIcon)

class SavingTest : public WindowFixture {
    Q_OBJECT

    QAction* restoreAction() const { return window_->action("mnuRestoreOriginal"); }
    QStringList texts() const {
        QStringList list;
        for (const RecordingServices::Message& message : services_.messages)
            list << message.text;
        return list;
    }
    // Liga1 = 5 and America = 2 in the file before start-up.
    void startKnown() {
        startLoaded([](Baza& b) {
            b.setLiga1(5);
            b.setAmerica(2);
        });
    }

private slots:
    // A save that does not write says why, with the icon of its weight; Save
    // and Start Game then starts nothing, and the edits stay.
    void failedSaves_data() {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<platform::MessageIcon>("icon");
        QTest::addColumn<QString>("start");
        QTest::newRow("nothing loaded") << "nothing loaded" << platform::MessageIcon::Warning
                                        << "Nothing was saved: no game executable was loaded when Kelvory started.";
        QTest::newRow("a box that cannot be stored")
            << "unstorable" << platform::MessageIcon::Warning
            << "Nothing was saved: the game executable was not changed.\n\nThese boxes hold values that cannot be "
               "stored:\nNational Slot, row 1: \"7x\" (allowed: whole numbers from -2147483648 to 2147483647)\n\n";
#ifdef Q_OS_WIN
        // Held open by another program, as the running game holds it.
        QTest::newRow("the file cannot be written")
            << "unwritable" << platform::MessageIcon::Critical
            << "Nothing was saved: another program holds the game executable open and lets nobody write it";
#else
        QTest::newRow("the file cannot be written")
            << "unwritable" << platform::MessageIcon::Critical << "The game executable could not be saved.";
#endif
        QTest::newRow("the file does not hold what was written")
            << "lying" << platform::MessageIcon::Critical
            << "The save failed: the game executable does not hold what was written.";
    }
    void failedSaves() {
        QFETCH(QString, failure);
        QFETCH(platform::MessageIcon, icon);
        QFETCH(QString, start);
        if (failure == "nothing loaded") {
            folder_->write("Leagues.ini", ProgramFolder::MissingGame);
            QVERIFY(this->start());
        } else {
            startKnown();
        }
        setLauncher("/opt/vozi.exe");
        type(txt(0), failure == "unstorable" ? "7x" : "7");
        const QByteArray before = folder_->game();
        const QString game = folder_->file(ProgramFolder::GameName);
        LyingFiles lying;
        if (failure == "lying") {
            platform::useFileSystem(&lying);
        }
#ifdef Q_OS_WIN
        // Held open by another program that lets others read but not write,
        // as the running game holds its executable.
        const HANDLE held = failure != "unwritable" ? INVALID_HANDLE_VALUE
                                                    : CreateFileW(reinterpret_cast<LPCWSTR>(game.utf16()), GENERIC_READ,
                                                                  FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        window_->cmd_Save_Start_Game_Click();
        if (held != INVALID_HANDLE_VALUE)
            CloseHandle(held);
#else
        // Permission bits do not stop root; an immutable file stops everyone.
        if (failure == "unwritable" && QProcess::execute("chattr", {"+i", game}) != 0)
            QSKIP("chattr +i is not available here (needs Linux, root and a file system that supports it)");
        window_->cmd_Save_Start_Game_Click();
        if (failure == "unwritable")
            QProcess::execute("chattr", {"-i", game});
#endif
        platform::useFileSystem(nullptr);
        QCOMPARE(services_.messages.size(), 1);
        QCOMPARE(services_.messages[0].icon, icon);
        QVERIFY2(texts()[0].startsWith(start), qPrintable(texts()[0]));
        QVERIFY(services_.started.isEmpty());
        QCOMPARE(window_->hasUnsavedChanges(), failure != "nothing loaded");
        QCOMPARE(txt(0)->text(), failure == "unstorable" ? "7x" : "7");
        if (failure != "lying")
            QVERIFY(folder_->game() == before);
    }

    // The message comes first; only once the user has closed it does the
    // launcher start. A launcher that does not start is reported.
    void saveAndStartOrdersMessageAndLaunch_data() {
        QTest::addColumn<bool>("starts");
        QTest::addColumn<QStringList>("events");
        QTest::newRow("started") << true << QStringList{"message: Save Successfully", "start: /opt/vozi.exe"};
        QTest::newRow("start fails") << false
                                     << QStringList{"message: Save Successfully", "start: /opt/vozi.exe",
                                                    "message: The launcher could not be started.\n\n/opt/vozi.exe\n"
                                                    "No such file\n\nChoose the launcher with the \"...\" button "
                                                    "beside its box."};
    }
    void saveAndStartOrdersMessageAndLaunch() {
        QFETCH(bool, starts);
        QFETCH(QStringList, events);
        startLoaded();
        services_.startAnswer = {starts, QStringLiteral("No such file")};
        setLauncher(QStringLiteral("/opt/vozi.exe"));
        emit window_->controls().cmd_Save_Start_Game->Click();
        QCOMPARE(services_.events, events);
    }

    // Another program changes the file between load and save: each answer to
    // the question does what it says, in the file and in the boxes; after a
    // reload the next save asks nothing.
    void outsideChange_data() {
        QTest::addColumn<int>("answer");  // 0 Overwrite, 1 Reload, 2 Cancel
        QTest::addColumn<QString>("liga1Box");
        QTest::addColumn<QString>("americaBox");
        QTest::addColumn<bool>("written");
        QTest::newRow("overwrite") << 0 << "7"
                                   << "2" << true;
        QTest::newRow("reload") << 1 << "5"
                                << "9" << false;
        QTest::newRow("cancel") << 2 << "7"
                                << "2" << false;
    }
    void outsideChange() {
        QFETCH(int, answer);
        QFETCH(QString, liga1Box);
        QFETCH(QString, americaBox);
        QFETCH(bool, written);
        startKnown();
        type(txt(0), "7");
        QVERIFY(blockbytes::writeAt(folder_->gamePath(), blockbytes::kMap + 2, QByteArray("\x09")));
        QByteArray expected = folder_->game();
        services_.choiceAnswer = answer;
        window_->Cmd_Zapisz_Click();
        QCOMPARE(services_.choiceTexts.size(), 1);
        QVERIFY2(services_.choiceTexts[0].startsWith("The league block in the game executable was changed by another "
                                                     "program since Kelvory loaded it.\n\nOverwrite saves"),
                 qPrintable(services_.choiceTexts[0]));
        if (written) {
            expected[blockbytes::kLiga] = '\x07';
            expected[blockbytes::kMap + 2] = '\x02';
        }
        QVERIFY(folder_->game() == expected);
        QCOMPARE(txt(0)->text(), liga1Box);
        QCOMPARE(txt(41)->text(), americaBox);
        QCOMPARE(window_->hasUnsavedChanges(), answer == 2);
        QCOMPARE(texts(), written ? QStringList{"Save Successfully"} : QStringList{});
        if (answer == 1) {
            type(txt(0), "6");
            QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
            QCOMPARE(services_.choiceTexts.size(), 1);
        }
    }

    // Once a save has taken the record, Restore Original Values offers its
    // blocks; the one chosen goes into the boxes as unsaved changes, and one
    // Save writes it back. A window started again finds the record.
    void restoreOriginal_data() {
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QString>("liga1");  // shown in box 0 afterwards
        QTest::newRow("original") << 0 << "5";
        QTest::newRow("cancelled") << -1 << "8";
    }
    void restoreOriginal() {
        QFETCH(int, chosen);
        QFETCH(QString, liga1);
        startKnown();
        const QByteArray original = folder_->game();
        QVERIFY(!restoreAction()->isEnabled());
        for (const char* value : {"7", "8"}) {
            type(txt(0), value);
            QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
        }
        QVERIFY(restoreAction()->isEnabled());
        services_.listAnswer = chosen;
        restoreAction()->trigger();
        QCOMPARE(services_.listChoices.size(), 1);
        const QStringList lines = services_.listChoices.front().lines;
        const QString date = R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)";
        QCOMPARE(lines.size(), 2);
        QVERIFY2(QRegularExpression("^Original values, recorded " + date + ": 1 field differs from the window$")
                     .match(lines[0])
                     .hasMatch(),
                 qPrintable(lines[0]));
        QVERIFY2(QRegularExpression("^Before the save of " + date + ": 1 field differs from the window$")
                     .match(lines[1])
                     .hasMatch(),
                 qPrintable(lines[1]));
        QCOMPARE(txt(0)->text(), liga1);
        QCOMPARE(window_->hasUnsavedChanges(), chosen >= 0);
        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
        QCOMPARE(folder_->game() == original, chosen == 0);
        QVERIFY(start());
        QVERIFY(restoreAction()->isEnabled());
    }

    // The record of another executable is offered only after saying so.
    void otherExecutable_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("listsOffered");
        QTest::newRow("show them") << 0 << 1;
        QTest::newRow("cancel") << 1 << 0;
    }
    void otherExecutable() {
        QFETCH(int, answer);
        QFETCH(int, listsOffered);
        startKnown();
        type(txt(0), "7");
        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
        QVERIFY(blockbytes::writeAt(folder_->gamePath(), 100, QByteArray("\x5a\x5b")));  // a game update
        services_.choiceAnswer = answer;
        restoreAction()->trigger();
        QCOMPARE(services_.choiceTexts.size(), 1);
        QVERIFY2(services_.choiceTexts[0].endsWith("\n\nShow the recorded values anyway?"),
                 qPrintable(services_.choiceTexts[0]));
        QCOMPARE(services_.listChoices.size(), listsOffered);
    }

    // Before it writes, Save asks about values the game is not known to take
    // (their boxes marked), about bytes that do not look like a league block
    // (said at start-up too, asked at every save), and about a running game
    // (Retry checks again). Each "no" writes nothing; each "yes" saves.
    void questionsBeforeWriting_data() {
        QTest::addColumn<QString>("question");
        QTest::addColumn<QList<int>>("answers");  // in turn; -1: the last button
        QTest::addColumn<QStringList>("asked");   // how each question starts
        QTest::addColumn<bool>("written");
        const QString outside =
            "These boxes hold values the game is not known to take:\nMaps Load u_1426.bin "
            "->dt06.img, row 1, Europe: 11 (the game takes 0 to 10)\n\nSave them anyway?";
        const QString block = "The bytes where Kelvory expects the league block do not look like one.";
        const QString running = "The game is running (process 4242). Close it before saving";
        QTest::newRow("outside, cancel") << "outside" << QList<int>{-1} << QStringList{outside} << false;
        QTest::newRow("outside, save anyway") << "outside" << QList<int>{0} << QStringList{outside} << true;
        // Its odd category text is also one the game does not take: asked first.
        const QString text = "These boxes hold values the game is not known to take:";
        QTest::newRow("not a block, cancel") << "block" << QList<int>{0, -1} << QStringList{text, block} << false;
        QTest::newRow("not a block, save anyway") << "block" << QList<int>{0, 0} << QStringList{text, block} << true;
        QTest::newRow("running, retry, cancel")
            << "running" << QList<int>{0, -1} << QStringList{running, running} << false;
        QTest::newRow("running, save anyway") << "running" << QList<int>{1} << QStringList{running} << true;
    }
    void questionsBeforeWriting() {
        QFETCH(QString, question);
        QFETCH(QList<int>, answers);
        QFETCH(QStringList, asked);
        QFETCH(bool, written);
        struct Running : platform::ProcessTable {
            std::filesystem::path game;
            std::vector<platform::RunningProcess> processes() const override { return {{4242, game, {}, false}}; }
        } runningGame;
        startLoaded([&](Baza& b) {
            if (question == "block")
                b.setCat1(
                    std::string("cat\x01"
                                "egory_0",
                                11));  // a control byte: not a text
        });
        QCOMPARE(services_.messages.size(), question == "block" ? 1 : 0);
        if (question == "block")
            QVERIFY2(texts()[0].startsWith(asked[1]), qPrintable(texts()[0]));  // said at start-up
        if (question == "running") {
            runningGame.game = std::filesystem::canonical(folder_->gamePath());
            window_->session().useProcessTable(runningGame);
        }
        type(txt(39), question == "outside" ? "11" : "7");
        if (question == "outside") {
            QCOMPARE(txt(39)->toolTip(), QString("Outside what the game takes: map codes 0 to 10\nChanged: was 0"));
            QVERIFY(txt(0)->toolTip().isEmpty());
        }
        const QByteArray before = folder_->game();
        services_.choiceAnswers = answers;
        services_.messages.clear();
        window_->Cmd_Zapisz_Click();
        QCOMPARE(services_.choiceTexts.size(), asked.size());
        for (int i = 0; i < asked.size(); ++i)
            QVERIFY2(services_.choiceTexts[i].startsWith(asked[i]), qPrintable(services_.choiceTexts[i]));
        QCOMPARE(folder_->game() != before, written);
        QCOMPARE(texts(), written ? QStringList{"Save Successfully"} : QStringList{});
        QCOMPARE(window_->hasUnsavedChanges(), !written);
    }

    // The choice, or the text kept, is remembered in the settings store for
    // the next run.
    void launcherPicker_data() {
        QTest::addColumn<QString>("answer");  // "@" stands for the program folder
        QTest::addColumn<bool>("taken");
        QTest::newRow("cancelled") << QString() << false;
        QTest::newRow("nonexistent") << QStringLiteral("@/nowhere/vozi.exe") << false;
        QTest::newRow("existing") << QStringLiteral("@/Leagues.ini") << true;
    }
    void launcherPicker() {
        QFETCH(QString, answer);
        QFETCH(bool, taken);
        QTemporaryDir store;
        QSettings::setDefaultFormat(QSettings::IniFormat);  // a file, never the registry
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, store.path());
        platform::services().readSetting = platform::systemServices().readSetting;
        platform::services().saveSetting = platform::systemServices().saveSetting;
        startLoaded();
        QCOMPARE(window_->controls().Text1->text(), QStringLiteral("Change..."));
        services_.dialogAnswer = answer.replace(QLatin1Char('@'), folder_->path());
        setLauncher(QStringLiteral("typed by hand"));
        emit window_->controls().Open->Click();
        const QString expected = taken ? answer : QStringLiteral("typed by hand");
        QCOMPARE(window_->controls().Text1->text(), expected);
        QVERIFY(start());
        QCOMPARE(window_->controls().Text1->text(), expected);
    }

    void exitAsksAboutUnsavedEdits_data() {
        using A = platform::SaveChangesAnswer;
        const QByteArray five("\x05\0\0\0", 4), seventySeven("\x4d\0\0\0", 4);
        rows<ExitCase>({
            {"Save, Exit", {"77", false, A::Save, true, true, seventySeven}},
            {"Discard", {"77", true, A::Discard, true, true, five}},
            {"Cancel", {"77", false, A::Cancel, true, false, five}},
            {"Save refused", {"77x", true, A::Save, true, false, five}},
            {"typed back to the loaded value", {"5", false, A::Cancel, false, true, five}},
        });
    }
    void exitAsksAboutUnsavedEdits() {
        QFETCH(ExitCase, row);
        const auto& [typed, viaCloseBox, answer, asked, closes, liga1] = row;
        startShown([](Baza& b) { b.setLiga1(5); });
        type(txt(0), typed);
        services_.closeAnswer = answer;
        if (viaCloseBox)
            window_->close();
        else
            window_->action(QStringLiteral("Exit"))->trigger();
        QCOMPARE(services_.questions, asked ? 1 : 0);
        QCOMPARE(window_->isVisible(), !closes);
        QCOMPARE(folder_->game().mid(Baza::LigaOffset, 4), liga1);
        if (!closes)
            QCOMPARE(txt(0)->text(), typed);
    }
};

QTEST_MAIN(SavingTest)
#include "SavingTest.moc"
