// Saving the block into the game executable, what the user is told about it,
// starting the launcher after a save, choosing the launcher, and leaving the
// window with unsaved changes.

#include <QAction>
#include <QLineEdit>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

#include "../common/Rows.h"
#include "WindowFixture.h"
#include "ui/widgets/Button_XP.h"

namespace {

struct ExitCase {
    QString typed;  // into box 0, which loads as 5
    bool viaCloseBox;
    platform::SaveChangesAnswer answer;
    bool asked, closes;
    QByteArray liga1;  // in the file afterwards
};
struct Refusal {
    int member;
    QString typed, line;  // line: how the message lists the box
};

}  // namespace

Q_DECLARE_METATYPE(ExitCase)
Q_DECLARE_METATYPE(Refusal)

class SavingTest : public WindowFixture {
    Q_OBJECT

    const QList<RecordingServices::Message>& messages() const { return services_.messages; }

private slots:
    // The seven map slots without a box go from load to save unchanged; the
    // rest of the file too.
    void hiddenMapSlotsSurviveEdits() {
        folder_->writeGame([](Baza& b) {
            for (int i = 13; i < Baza::MapCount; ++i)
                b.setMap(i, static_cast<std::uint8_t>(230 + i));
        });
        QByteArray expected = folder_->game();
        startLoaded();
        for (int member = 39; member <= 51; ++member)
            type(txt(member), QStringLiteral("9"));
        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
        expected.replace(Baza::MapOffset, Baza::MapSize,
                         QByteArray(13, '\x09') + QByteArray("\xF3\xF4\xF5\xF6\xF7\xF8\xF9"));
        QVERIFY(folder_->game() == expected);
    }

    // Without a block saving writes nothing and says where the game was
    // looked for; the launcher starts only after a save that wrote.
    void withNothingLoaded() {
        folder_->write("Leagues.ini", ProgramFolder::MissingGame);
        QVERIFY(start());
        QVERIFY(!window_->baza().loaded());
        type(txt(17), QStringLiteral("32768"));
        setLauncher(QStringLiteral("/opt/launcher"));
        window_->cmd_Save_Start_Game_Click();
        QCOMPARE(messages().size(), 1);
        QVERIFY(messages()[0].icon == platform::MessageIcon::Warning);
        QCOMPARE(messages()[0].text,
                 "Nothing was saved: no game executable was loaded when Kelvory started.\n\n"
                 "Kelvory looked for it at:\n" +
                     folder_->file(QStringLiteral("Not There.exe")) +
                     "\n\nMake sure line 2 of Leagues.ini names the game executable in Kelvory's folder, "
                     "then start Kelvory again.");
        QVERIFY(!QFile::exists(folder_->file(QStringLiteral("Not There.exe"))));
        QCOMPARE(services_.started, QStringList{});
    }

    void saveToAnUnwritableFileIsReportedAndKeepsTheBlock() {
        startLoaded();
        const QByteArray before = folder_->game();
        type(txt(0), QStringLiteral("77"));
        const QString game = folder_->file(ProgramFolder::GameName);
#ifdef Q_OS_WIN
        // Held open by another program that lets others read but not write,
        // as the running game holds its executable.
        const HANDLE held = CreateFileW(reinterpret_cast<LPCWSTR>(game.utf16()), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        QVERIFY(held != INVALID_HANDLE_VALUE);
        window_->cmd_Save_Start_Game_Click();
        CloseHandle(held);
#else
        // Permission bits do not stop root; an immutable file stops everyone.
        if (QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), game}) != 0)
            QSKIP("chattr +i is not available here (needs Linux, root and a file system that supports it)");
        window_->cmd_Save_Start_Game_Click();
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), game});
#endif
        QCOMPARE(messages().size(), 1);
        QVERIFY(messages()[0].icon == platform::MessageIcon::Critical);
        QVERIFY2(messages()[0].text.startsWith("The game executable could not be saved."),
                 qPrintable(messages()[0].text));
        QVERIFY2(messages()[0].text.contains(game), qPrintable(messages()[0].text));
        QVERIFY(services_.started.isEmpty());
        QVERIFY(folder_->game() == before);
        QVERIFY(window_->hasUnsavedChanges());
        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
        QCOMPARE(folder_->game().mid(Baza::LigaOffset, 4), QByteArray("\x4d\x00\x00\x00", 4));
    }

    // A save that would create or grow the file is refused with a message
    // that says why; nothing is written and the launcher is not started.
    void saveRefused_data() {
        QTest::addColumn<bool>("vanished");  // otherwise: a 1,000-byte file
        QTest::addColumn<QStringList>("said");
        QTest::newRow("file deleted after start")
            << true << QStringList{"Nothing was saved: the game executable no longer exists.", "Game File.exe"};
        QTest::newRow("1,000-byte file") << false
                                         << QStringList{
                                                "Nothing was saved: this file is too short to be the game executable.",
                                                "1,000 bytes", "15,612,412 to 15,613,091", "Game File.exe"};
    }

    void saveRefused() {
        QFETCH(bool, vanished);
        QFETCH(QStringList, said);
        if (!vanished)
            QVERIFY(testfiles::writeGameFile(folder_->gamePath(), 1000));
        QVERIFY(start());
        QVERIFY(window_->baza().loaded());
        if (vanished)
            QVERIFY(std::filesystem::remove(folder_->gamePath()));
        else
            QCOMPARE(txt(39)->text(), QStringLiteral("0"));  // zeros past the end
        setLauncher(QStringLiteral("/opt/vozi.exe"));
        window_->cmd_Save_Start_Game_Click();
        QCOMPARE(messages().size(), 1);
        QVERIFY(messages()[0].icon == platform::MessageIcon::Critical);
        for (const QString& words : said)
            QVERIFY2(messages()[0].text.contains(words), qPrintable(messages()[0].text));
        QVERIFY(services_.started.isEmpty());
        if (vanished)
            QVERIFY(!std::filesystem::exists(folder_->gamePath()));
        else
            QVERIFY(folder_->game() == testfiles::gameBytes(1000));
    }

    // While a box is marked, Save writes nothing and lists every marked box;
    // Save and Start Game does not start the launcher either. Once the boxes
    // hold what their fields can take, Save writes.
    void markedBoxesStopTheSave_data() {
        rows<Refusal>({
            {"name 32768", {17, "32768", "Club Name, row 1: \"32768\" (allowed: whole numbers from -32768 to 32767)"}},
            {"map 300",
             {40, "300", "Maps Load u_1426.bin ->dt06.img, row 2: \"300\" (allowed: whole numbers from 0 to 255)"}},
            {"letters",
             {2, "abc", "National Slot, row 3: \"abc\" (allowed: whole numbers from -2147483648 to 2147483647)"}},
            {"cleared",
             {36, "",
              "Club Category Logo(dt04.img), row 7: \"\" (allowed: whole numbers from -2147483648 to 2147483647)"}},
        });
    }

    void markedBoxesStopTheSave() {
        QFETCH(Refusal, row);
        startLoaded([](Baza& b) {
            b.setLiga3(-1);
            b.setCatL7(29);
        });
        const QByteArray before = folder_->game();
        type(txt(row.member), row.typed);
        type(txt(51), QStringLiteral("-1"));  // a second marked box, listed after the first
        setLauncher(QStringLiteral("/opt/vozi.exe"));

        window_->cmd_Save_Start_Game_Click();
        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Refused);
        QVERIFY(folder_->game() == before);
        QVERIFY(services_.started.isEmpty());
        QCOMPARE(messages().size(), 2);
        QVERIFY(messages()[0].icon == platform::MessageIcon::Warning);
        QCOMPARE(messages()[0].text,
                 "Nothing was saved: the game executable was not changed.\n\n"
                 "These boxes hold values that cannot be stored:\n" +
                     row.line +
                     "\nMaps Load u_1426.bin ->dt06.img, row 13: \"-1\" (allowed: whole numbers "
                     "from 0 to 255)\n\nCorrect them, then save again.");
        QCOMPARE(messages()[1].text, messages()[0].text);

        type(txt(row.member), QStringLiteral("12"));
        type(txt(51), QStringLiteral("3"));
        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
        QCOMPARE(messages().last().text, QStringLiteral("Save Successfully"));
        QVERIFY(folder_->game() != before);
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
            {"nothing typed", {"", true, A::Cancel, false, true, five}},
        });
    }

    void exitAsksAboutUnsavedEdits() {
        QFETCH(ExitCase, row);
        const auto& [typed, viaCloseBox, answer, asked, closes, liga1] = row;
        startShown([](Baza& b) { b.setLiga1(5); });
        if (!typed.isEmpty())
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
