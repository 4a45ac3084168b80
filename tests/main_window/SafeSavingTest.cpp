// The window's way back: the record taken at the first save, Menu > Restore
// Original Values, the question when another program changed the file, and
// saves that do not hold or fail part-way. Expected bytes are worked out from
// the file layout (tests/setup/BlockBytes.h).

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QTest>

#include "../setup/BlockBytes.h"
#include "WindowFixture.h"
#include "platform/FileSystem.h"
#include "store/SafeSave.h"

namespace {

// Stands in for the system's files and makes the read after the write find
// one byte other than was written.
class LyingFiles : public platform::FileSystem {
public:
    std::unique_ptr<platform::OpenFile> open(const std::filesystem::path& path, BinaryFile::Mode mode) override {
        auto real = platform::FileSystem::open(path, mode);
        if (mode == BinaryFile::Mode::ReadWrite) {
            wrote_ = true;
            return real;
        }
        return std::make_unique<Lying>(std::move(real), wrote_);
    }

private:
    class Lying : public platform::OpenFile {
    public:
        Lying(std::unique_ptr<platform::OpenFile> real, bool lie) : real_(std::move(real)), lie_(lie) {}
        std::int64_t size() const override { return real_->size(); }
        std::size_t readAt(std::int64_t offset, void* buffer, std::size_t size) override {
            const std::size_t got = real_->readAt(offset, buffer, size);
            if (lie_ && offset == Baza::MapOffset && got > 0)
                static_cast<unsigned char*>(buffer)[0] ^= 0x40;
            return got;
        }
        void writeAt(std::int64_t offset, const void* buffer, std::size_t size) override {
            real_->writeAt(offset, buffer, size);
        }
        void sync() override { real_->sync(); }
        FileStamp stamp() override { return real_->stamp(); }
        void close() override { real_->close(); }

    private:
        std::unique_ptr<platform::OpenFile> real_;
        bool lie_;
    };
    bool wrote_ = false;
};

const QString kOutsideChange =
    "The league block in the game executable was changed by another program since Kelvory loaded it.";

}  // namespace

class SafeSavingTest : public WindowFixture {
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
    // The entry sits between Save and the setup entries' separator, and is offered once a
    // save has taken the record.
    void restoreEntry() {
        startKnown();
        QAction* restore = restoreAction();
        QVERIFY(restore);
        QCOMPARE(restore->text(), QString("&Restore Original Values\u2026"));
        const QList<QAction*> entries = window_->findChild<QMenu*>("mnuMenu")->actions();
        const qsizetype at = entries.indexOf(restore);
        QCOMPARE(entries.at(at - 1)->objectName(), QString("Cmd_Zapisz"));
        QCOMPARE(entries.at(at + 1)->objectName(), QString("SepSetup"));
        QVERIFY(!restore->isEnabled());
        type(txt(0), "7");
        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
        QVERIFY(restore->isEnabled());
        // A window started again on the same file finds the record.
        start();
        QVERIFY(restoreAction()->isEnabled());
    }

    // Each recorded block goes into the boxes as unsaved changes; one Save
    // then writes the original back, the whole file as it was.
    void restoreAndSave_data() {
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QString>("liga1");  // shown in box 0 afterwards
        QTest::newRow("original") << 0 << "5";
        QTest::newRow("before the second save") << 1 << "7";
        QTest::newRow("cancelled") << -1 << "8";
    }
    void restoreAndSave() {
        QFETCH(int, chosen);
        QFETCH(QString, liga1);
        startKnown();
        const QByteArray original = folder_->game();
        type(txt(0), "7");
        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
        type(txt(0), "8");
        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
        const QByteArray saved = folder_->game();
        services_.listAnswer = chosen;
        restoreAction()->trigger();
        QCOMPARE(services_.listChoices.size(), 1);
        const RecordingServices::ListChoice& offered = services_.listChoices.front();
        QCOMPARE(offered.caption, QString("Restore Original Values"));
        QCOMPARE(offered.lines.size(), 2);
        const QString date = R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)";
        QVERIFY2(QRegularExpression("^Original values, recorded " + date + ": 1 field differs from the window$")
                     .match(offered.lines[0])
                     .hasMatch(),
                 qPrintable(offered.lines[0]));
        QVERIFY2(QRegularExpression("^Before the save of " + date + ": 1 field differs from the window$")
                     .match(offered.lines[1])
                     .hasMatch(),
                 qPrintable(offered.lines[1]));
        QCOMPARE(txt(0)->text(), liga1);
        QCOMPARE(window_->hasUnsavedChanges(), chosen >= 0);
        QVERIFY(folder_->game() == saved);  // nothing written yet
        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
        QByteArray expected = original;
        expected[blockbytes::kLiga] = char(liga1.toInt());
        QVERIFY(folder_->game() == expected);
        if (chosen == 0)
            QVERIFY(folder_->game() == original);
    }

    // A record of another executable is offered only after saying so.
    void identityMismatch_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("listsOffered");
        QTest::newRow("show them") << 0 << 1;
        QTest::newRow("cancel") << 1 << 0;
    }
    void identityMismatch() {
        QFETCH(int, answer);
        QFETCH(int, listsOffered);
        startKnown();
        type(txt(0), "7");
        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
        QVERIFY(blockbytes::writeAt(folder_->gamePath(), 100, QByteArray("\x5a\x5b")));  // a game update
        services_.choiceAnswer = answer;
        restoreAction()->trigger();
        QCOMPARE(services_.choiceTexts.size(), 1);
        QVERIFY2(services_.choiceTexts[0].startsWith(
                     "The game executable changed since the record of its original values was taken on "),
                 qPrintable(services_.choiceTexts[0]));
        QVERIFY(services_.choiceTexts[0].contains("it was 15613092 bytes long then and is 15613092 bytes now"));
        QCOMPARE(services_.listChoices.size(), listsOffered);
    }

    // Another program changes the file between load and save: the question
    // comes, and each answer does what it says, for Save and for Save and
    // Start Game.
    void outsideChange_data() {
        QTest::addColumn<bool>("startGame");
        QTest::addColumn<int>("answer");  // 0 Overwrite, 1 Reload, 2 Cancel
        QTest::addColumn<QString>("liga1Box");
        QTest::addColumn<QString>("americaBox");
        QTest::addColumn<bool>("unsaved");
        QTest::addColumn<bool>("written");
        QTest::newRow("overwrite") << false << 0 << "7"
                                   << "2" << false << true;
        QTest::newRow("reload") << false << 1 << "5"
                                << "9" << false << false;
        QTest::newRow("cancel") << false << 2 << "7"
                                << "2" << true << false;
        QTest::newRow("start game, overwrite") << true << 0 << "7"
                                               << "2" << false << true;
        QTest::newRow("start game, cancel") << true << 2 << "7"
                                            << "2" << true << false;
    }
    void outsideChange() {
        QFETCH(bool, startGame);
        QFETCH(int, answer);
        QFETCH(QString, liga1Box);
        QFETCH(QString, americaBox);
        QFETCH(bool, unsaved);
        QFETCH(bool, written);
        startKnown();
        setLauncher("/opt/vozi.exe");
        type(txt(0), "7");
        QVERIFY(blockbytes::writeAt(folder_->gamePath(), blockbytes::kMap + 2, QByteArray("\x09")));
        QByteArray expected = folder_->game();
        services_.choiceAnswer = answer;
        if (startGame)
            window_->cmd_Save_Start_Game_Click();
        else
            window_->Cmd_Zapisz_Click();
        QCOMPARE(services_.choiceTexts.size(), 1);
        QVERIFY2(services_.choiceTexts[0].startsWith(kOutsideChange + "\n\nOverwrite saves"),
                 qPrintable(services_.choiceTexts[0]));
        QVERIFY(services_.choiceTexts[0].contains("the changes made in the window are dropped"));
        if (written) {
            expected[blockbytes::kLiga] = '\x07';
            expected[blockbytes::kMap + 2] = '\x02';
        }
        QVERIFY(folder_->game() == expected);
        QCOMPARE(txt(0)->text(), liga1Box);
        QCOMPARE(txt(41)->text(), americaBox);
        QCOMPARE(window_->hasUnsavedChanges(), unsaved);
        QCOMPARE(texts(), written ? QStringList{"Save Successfully"} : QStringList{});
        QCOMPARE(services_.started, written && startGame ? QStringList{"/opt/vozi.exe"} : QStringList{});
    }

    // After a reload the next save asks nothing: the file holds what the window knows.
    void reloadThenSave() {
        startKnown();
        type(txt(0), "7");
        QVERIFY(blockbytes::writeAt(folder_->gamePath(), blockbytes::kMap + 2, QByteArray("\x09")));
        services_.choiceAnswer = 1;
        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Reload);
        type(txt(0), "6");
        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
        QCOMPARE(services_.choiceTexts.size(), 1);
        QCOMPARE(folder_->game().at(blockbytes::kMap + 2), '\x09');
        QCOMPARE(folder_->game().at(blockbytes::kLiga), '\x06');
    }

    // No record, no save: the game executable is not touched.
    void unwritableStore() {
        const std::filesystem::path blocked =
            std::filesystem::u8path(services_.dataDir.filePath("not-a-folder").toStdString());
        QVERIFY(testfiles::writeFile(blocked, "x"));
        services_.dataFolder = blocked / "Kelvory";
        startKnown();
        const QByteArray before = folder_->game();
        type(txt(0), "7");
        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Failed);
        QCOMPARE(services_.messages.size(), 1);
        QVERIFY2(texts()[0].startsWith("Nothing was saved: Kelvory could not keep a record of the values it was "
                                       "about to overwrite, so the game executable was not changed.\n\nThe record "
                                       "goes to:\n" +
                                       platform::pathToText(blocked / "Kelvory")),
                 qPrintable(texts()[0]));
        QVERIFY(folder_->game() == before);
        QVERIFY(window_->hasUnsavedChanges());
        QVERIFY(!restoreAction()->isEnabled());
    }

    // A file that does not hold what was written is a failed save; the
    // launcher does not start and the edits stay.
    void readBackMismatch() {
        startKnown();
        setLauncher("/opt/vozi.exe");
        LyingFiles files;
        platform::useFileSystem(&files);
        type(txt(0), "7");
        window_->cmd_Save_Start_Game_Click();
        platform::useFileSystem(nullptr);
        QCOMPARE(services_.messages.size(), 1);
        QVERIFY2(texts()[0].startsWith("The save failed: the game executable does not hold what was written."),
                 qPrintable(texts()[0]));
        QCOMPARE(services_.messages[0].icon, platform::MessageIcon::Critical);
        QVERIFY(services_.started.isEmpty());
        QVERIFY(window_->hasUnsavedChanges());
    }
};

QTEST_MAIN(SafeSavingTest)
#include "SafeSavingTest.moc"
