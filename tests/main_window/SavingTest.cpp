// What the window adds to saving: the messages and their icons, the launcher
// that starts only after a save that wrote, the questions and their answers
// reaching the file and the boxes, Restore Original Values, the launcher's
// picker and leaving with unsaved changes. The rules behind them are the
// session's and the store's (tests/session, tests/store).

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "../common/Rows.h"
#include "../setup/BlockBytes.h"
#include "WindowFixture.h"
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

}  // namespace

Q_DECLARE_METATYPE(ExitCase)
Q_DECLARE_METATYPE(platform::MessageIcon)

class SavingTest : public WindowFixture {
    Q_OBJECT

    QAction* restoreAction() const { return window_->action("mnuRestoreOriginal"); }

private slots:
    // Save and Start Game: what the save says comes first, with the icon of
    // its weight; only once the user has closed it does the launcher start,
    // and only after a save that wrote (a launcher that does not start is
    // reported). A save that did not write keeps the edits.
    void saveAndStart_data() {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<platform::MessageIcon>("icon");
        QTest::addColumn<QStringList>("events");  // how each starts
        const QString saved = "message: Save Successfully", started = "start: /opt/vozi.exe";
        QTest::newRow("saved") << "" << platform::MessageIcon::Information << QStringList{saved, started};
        QTest::newRow("the launcher does not start")
            << "launcher" << platform::MessageIcon::Information
            << QStringList{saved, started, "message: The launcher could not be started.\n\n/opt/vozi.exe\nNo such"};
        QTest::newRow("no launcher chosen yet")
            << "no launcher" << platform::MessageIcon::Information
            << QStringList{saved, "message: The game was not started: no launcher is chosen yet."};
        QTest::newRow("a box that cannot be stored")
            << "unstorable" << platform::MessageIcon::Warning
            << QStringList{"message: Nothing was saved: the game executable was not changed."};
        QTest::newRow("no record can be kept")
            << "no record" << platform::MessageIcon::Critical
            << QStringList{"message: Nothing was saved: Kelvory could not keep a record"};
    }
    void saveAndStart() {
        QFETCH(QString, failure);
        QFETCH(platform::MessageIcon, icon);
        QFETCH(QStringList, events);
        if (failure == "no record")
            services_.dataFolder = folder_->gamePath();  // a file where the records' folder should be
        startLoaded();
        services_.startAnswer = {failure != "launcher", QStringLiteral("No such file")};
        setLauncher(failure == "no launcher" ? "Change..." : "/opt/vozi.exe");
        type(txt(0), failure == "unstorable" ? "7x" : "7");
        const QByteArray before = folder_->game();
        emit window_->controls().cmd_Save_Start_Game->Click();
        QCOMPARE(services_.events.size(), events.size());
        for (int i = 0; i < events.size(); ++i)
            QVERIFY2(services_.events[i].startsWith(events[i]), qPrintable(services_.events[i]));
        QCOMPARE(services_.messages[0].icon, icon);
        const bool wrote = failure.isEmpty() || failure == "launcher" || failure == "no launcher";
        QCOMPARE(window_->hasUnsavedChanges(), !wrote);
        QCOMPARE(txt(0)->text(), failure == "unstorable" ? "7x" : "7");
        QCOMPARE(folder_->game() != before, wrote);
    }

    // Once a save has taken the record, Restore Original Values offers its
    // blocks; the one chosen goes into the boxes as unsaved changes, and one
    // Save writes it back. A record of another executable is offered only
    // after saying so; one that cannot be read is said.
    void restoreOriginal_data() {
        QTest::addColumn<QString>("after");  // what became of the executable or its record after two saves
        QTest::addColumn<int>("answer");     // to "Show the recorded values anyway?": 0 shows them
        QTest::addColumn<int>("chosen");     // from the list; -1: Cancel
        QTest::addColumn<QString>("said");   // how the question or message starts; empty: none
        QTest::addColumn<QString>("liga1");  // in box 0 afterwards; 10 as loaded
        const QString other = "The game executable changed since the record of its original values was taken";
        QTest::newRow("the original chosen") << QString() << 0 << 0 << QString() << "10";
        QTest::newRow("list cancelled") << QString() << 0 << -1 << QString() << "8";
        QTest::newRow("another executable, shown") << "update" << 0 << 0 << other << "10";
        QTest::newRow("another executable, cancelled") << "update" << 1 << 0 << other << "8";
        // Patched outside the block: the record is carried over, and says so.
        QTest::newRow("patched") << "patched" << 0 << 0 << QString() << "10";
        // A map slot no box shows, changed by another program and reloaded:
        // restoring puts back the whole block, that slot too.
        QTest::newRow("hidden slot changed, reloaded") << "hidden" << 0 << 0 << QString() << "10";
        QTest::newRow("damaged record") << "damaged" << 0 << 0 << "The record of the original values cannot be read."
                                        << "8";
    }
    void restoreOriginal() {
        QFETCH(QString, after);
        QFETCH(int, answer);
        QFETCH(int, chosen);
        QFETCH(QString, said);
        QFETCH(QString, liga1);
        startLoaded();
        const QByteArray original = folder_->game();
        QVERIFY(!restoreAction()->isEnabled());
        for (const char* value : {"7", "8"}) {
            type(txt(0), value);
            QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
        }
        QVERIFY(restoreAction()->isEnabled());
        if (after == "update" || after == "patched")
            QVERIFY(blockbytes::writeAt(folder_->gamePath(), 100, QByteArray("\x5a\x5b")));
        if (after == "update")  // the update changed a byte of the block too
            QVERIFY(blockbytes::writeAt(folder_->gamePath(), blockbytes::kMap + 16, "\x03"));
        if (after == "hidden") {
            QVERIFY(blockbytes::writeAt(folder_->gamePath(), blockbytes::kMap + 15, "\x07"));
            services_.choiceAnswer = 1;  // Reload
            QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Reload);
            QCOMPARE(int(window_->session().values().map[15]), 7);
            services_.choiceTexts.clear();
        }
        const QDir records(services_.dataDir.path());
        for (const QString& record : records.entryList({"*.txt"}, QDir::Files))
            QVERIFY(after != "damaged" || testfiles::writeFile(records.filePath(record), "kelvory-original-block 2\n"));
        services_.messages.clear();
        services_.choiceAnswer = answer;
        services_.listAnswer = chosen;
        restoreAction()->trigger();
        const QStringList told = services_.choiceTexts + services_.texts();
        QCOMPARE(told.size(), said.isEmpty() ? 0 : 1);
        if (!said.isEmpty())
            QVERIFY2(told[0].startsWith(said), qPrintable(told[0]));
        QCOMPARE(
            services_.listChoices.size(),
            after.isEmpty() || after == "hidden" || after == "patched" || (after == "update" && answer == 0) ? 1 : 0);
        const QString carried = "; recorded for the same game at " + QFileInfo(folder_->gamePath()).canonicalFilePath();
        for (const QStringList& lines : services_.listChoices)
            for (const QString& line : lines)
                QCOMPARE(QDir::fromNativeSeparators(line).contains(carried),
                         after == "patched" && !line.startsWith("Original values of an"));
        if (after.isEmpty()) {
            const QStringList lines = services_.listChoices.front();
            QVERIFY2(lines.size() == 2 && lines[0].startsWith("Original values, recorded 20") &&
                         lines[1].startsWith("Before the save of 20") &&
                         lines[1].endsWith(": 1 field differs from the window"),
                     qPrintable(lines.join('\n')));
        }
        QCOMPARE(txt(0)->text(), liga1);
        QCOMPARE(window_->hasUnsavedChanges(), liga1 == "10");
        if (after == "patched") {
            QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
            QVERIFY2(services_.texts().value(0).startsWith(
                         "Save Successfully\n\nThe original values and history of this game executable were carried "
                         "over from the record of the same game at "),
                     qPrintable(services_.texts().value(0)));
        }
        if (after.isEmpty() || after == "hidden") {
            QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
            QCOMPARE(folder_->game() == original, chosen == 0);
            QVERIFY(start());
            QVERIFY(restoreAction()->isEnabled());
        }
    }

    // A record that cannot be read: Save offers to set it aside; the answer
    // saves with a new record and says where the old one went, Cancel
    // leaves everything as it was.
    void damagedRecord_data() {
        QTest::addColumn<int>("answer");  // 0: Set Aside and Start a New Record; -1: Cancel
        QTest::newRow("set aside") << 0;
        QTest::newRow("cancel") << -1;
    }
    void damagedRecord() {
        QFETCH(int, answer);
        startLoaded();
        type(txt(0), "7");
        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
        const QDir records(services_.dataDir.path());
        const QString record = records.entryList({"*.txt"}, QDir::Files).value(0);
        QVERIFY(testfiles::writeFile(records.filePath(record), "kelvory-original-block 3\n"));
        type(txt(0), "8");
        const QByteArray before = folder_->game();
        services_.messages.clear();
        services_.choiceAnswers = {answer};
        window_->Cmd_Zapisz_Click();
        QCOMPARE(services_.choiceButtons, (QList<QStringList>{{"&Set Aside and Start a New Record", "Cancel"}}));
        QCOMPARE(services_.choiceDefaults, QStringList{"Cancel"});
        QCOMPARE(folder_->game() != before, answer == 0);
        QCOMPARE(window_->hasUnsavedChanges(), answer != 0);
        const QStringList aside = records.entryList({"*.damaged-*"}, QDir::Files);
        QCOMPARE(aside.size(), answer == 0 ? 1 : 0);
        if (answer == 0) {
            QCOMPARE(services_.texts().size(), 1);
            QVERIFY2(QDir::fromNativeSeparators(services_.texts()[0]).contains(records.filePath(aside.value(0))) &&
                         services_.texts()[0].endsWith("\n\nSave Successfully"),
                     qPrintable(services_.texts()[0]));
        } else {
            QVERIFY(services_.texts().isEmpty());  // said in the question
        }
    }

    // Save's questions, and each answer reaching the file and the boxes:
    // about values the game is not known to take, about bytes that do not
    // look like a league block (said at start-up too), about a running game
    // (Retry checks again), and about a file another program changed since it
    // was loaded (Reload shows the file's values, and the next save asks
    // nothing). Each "no" writes nothing.
    void questions_data() {
        QTest::addColumn<QString>("question");
        QTest::addColumn<QList<int>>("answers");  // in turn; -1: the last button
        QTest::addColumn<QStringList>("asked");   // how each question starts
        QTest::addColumn<bool>("written");
        QTest::addColumn<QStringList>("boxes");  // Europe and America afterwards
        const QString outside = "These boxes hold values the game is not known to take:\nMaps Load";
        const QString block = "The bytes where Kelvory expects the league block do not look like one.";
        const QString running = "The game is running (process 4242). Close it before saving";
        const QString changed = "The league block in the game executable was changed by another program";
        const QStringList shown{"7", "2"}, eleven{"11", "2"}, reloaded{"0", "9"};
        QTest::newRow("outside, cancel") << "outside" << QList<int>{-1} << QStringList{outside} << false << eleven;
        // Its odd category text is also one the game does not take: asked first.
        QTest::newRow("not a block, cancel")
            << "block" << QList<int>{0, -1} << QStringList{outside.left(30), block} << false << shown;
        QTest::newRow("running, retry, cancel")
            << "running" << QList<int>{0, -1} << QStringList{running, running} << false << shown;
        QTest::newRow("running, save anyway") << "running" << QList<int>{1} << QStringList{running} << true << shown;
        QTest::newRow("changed, overwrite") << "changed" << QList<int>{0} << QStringList{changed} << true << shown;
        QTest::newRow("changed, reload") << "changed" << QList<int>{1} << QStringList{changed} << false << reloaded;
    }
    void questions() {
        QFETCH(QString, question);
        QFETCH(QList<int>, answers);
        QFETCH(QStringList, asked);
        QFETCH(bool, written);
        QFETCH(QStringList, boxes);
        struct Running : platform::ProcessTable {
            std::filesystem::path game;
            std::vector<platform::RunningProcess> processes() const override { return {{4242, game, {}, false}}; }
        } runningGame;
        startLoaded([&](Baza& b) {
            if (question == "block")
                b.setCat1(std::string("cat\x01gory_00", 11));  // a control byte: not a text
        });
        QCOMPARE(services_.messages.size(), question == "block" ? 1 : 0);
        if (question == "block")
            QVERIFY2(services_.texts()[0].startsWith(asked.last()),
                     qPrintable(services_.texts()[0]));  // said at start-up
        if (question == "running") {
            runningGame.game = std::filesystem::canonical(folder_->gamePath());
            window_->session().useProcessTable(runningGame);
        }
        type(txt(39), question == "outside" ? "11" : "7");
        if (question == "changed")  // America 2 -> 9, by another program
            QVERIFY(blockbytes::writeAt(folder_->gamePath(), blockbytes::kMap + 2, QByteArray("\x09")));
        const QByteArray before = folder_->game();
        services_.choiceAnswers = answers;
        services_.messages.clear();
        window_->Cmd_Zapisz_Click();
        QCOMPARE(services_.choiceTexts.size(), asked.size());
        for (int i = 0; i < asked.size(); ++i) {
            QVERIFY2(services_.choiceTexts[i].startsWith(asked[i]), qPrintable(services_.choiceTexts[i]));
            QCOMPARE(services_.choiceDefaults[i], question == "running" ? "&Retry" : "Cancel");  // what Enter does
        }
        QCOMPARE(folder_->game() != before, written);
        QCOMPARE(services_.texts(), written ? QStringList{"Save Successfully"} : QStringList{});
        QCOMPARE((QStringList{txt(39)->text(), txt(41)->text()}), boxes);
        const bool reloaded = boxes[0] == "0";
        QCOMPARE(window_->hasUnsavedChanges(), !written && !reloaded);
        if (reloaded) {
            type(txt(39), "6");
            QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
            QCOMPARE(services_.choiceTexts.size(), asked.size());
        }
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
