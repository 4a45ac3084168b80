// The editing session both front ends share: loading, what the file should
// hold, the boxes whose text cannot be stored, saving with the outside-change
// question, and the record's blocks to restore. Expected bytes come from the
// file layout alone (BlockBytes.h).

#include <QDateTime>
#include <QTemporaryDir>
#include <QtTest>

#include "../common/Rows.h"
#include "../common/TestFiles.h"
#include "../common/UseFiles.h"
#include "../setup/BlockBytes.h"
#include "session/LeagueSession.h"
#include "setup/LeagueSetup.h"
#include "tests/support/FaultySave.h"

using namespace testfiles;

namespace {

const Field& field(int member) {
    return *fieldOfMember(member);
}

// One intent of the session on the values, and the block it must leave,
// worked out from the loaded block and another one (`other`, which differs in
// a shown field, a hidden map slot and a reserved byte).
struct Intent {
    std::function<void(LeagueSession&, const RecordedBlock& other)> run;
    std::function<Baza::Block(Baza::Block loaded, const Baza::Block& other)> expected;
    QList<int> marked = {};  // members left marked as not stored
};

// How the executable at the test's path came to be, after two saves into a
// game (at the old path, or at that path itself), and what the record offers
// for it before its next save.
struct Meeting {
    QString how;
    QList<int> liga1;         // Liga1 of the offered entries, in order (10 as loaded first)
    QString recordedAt = {};  // where the original says it was recorded: "old", "two", "game"; empty: here
    bool newestTaken = false;
    bool otherExecutable = false;
    bool ownBlock = true;  // its odd block is Kelvory's own write: no warning
};

struct Refusal {
    bool load;          // a block loaded first
    QList<int> marked;  // members whose text cannot be stored
    QString done;       // "saved", "exported"
    QString start;      // what the refusal says first
};

}  // namespace

Q_DECLARE_METATYPE(Intent)
Q_DECLARE_METATYPE(Refusal)
Q_DECLARE_METATYPE(Meeting)

class SessionTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        dir_.reset(new QTemporaryDir);
        game_ = fsPath(dir_->filePath("Game.exe"));
        records_ = fsPath(dir_->filePath("records"));
        QVERIFY(writeGameFile(game_, kGameLength, 5));  // Liga1 10, Str7 26, Cat2 "category_01": values the game takes
        original_ = gameBytes(kGameLength, 5);
        session_.reset(new LeagueSession(records_));
        asked_.clear();
    }

    // A file too short to hold the block loads (as zeros past its end) unless
    // the whole block is asked for.
    void loading() {
        QVERIFY(writeFile(dir_->filePath("Short.exe"), QByteArray(1000, 'x')));
        const std::filesystem::path shortFile = fsPath(dir_->filePath("Short.exe"));
        QVERIFY(session_->load(shortFile));
        QVERIFY(!session_->load(shortFile, BlockNeed::Whole));
        QVERIFY2(english(session_->loadFailure()).contains("The file is 1,000 bytes long"),
                 session_->loadFailure().english().c_str());
        QVERIFY(session_->load(game_, BlockNeed::Whole));
        QVERIFY(!session_->hasUnsavedChanges());
        QVERIFY(session_->saved() == session_->baza().block());
    }

    // The session is the only door to the values: each intent changes what it
    // says and nothing else. Restoring, reverting everything and going back a
    // step take the whole block, hidden map slots and reserved bytes too.
    void intents_data() {
        const auto store = [](int member, long long value) {
            return [member, value](LeagueSession& s, const RecordedBlock&) {
                s.storeBox(field(member), std::to_string(value), value);
            };
        };
        const auto same = [](Baza::Block loaded, const Baza::Block&) { return loaded; };
        const auto theOther = [](Baza::Block, const Baza::Block& other) { return other; };
        rows<Intent>({
            {"a number",
             {store(0, 7),
              [](Baza::Block b, const Baza::Block&) {
                  b.liga[0] = 7;
                  return b;
              }}},
            {"out of range", {store(19, 40000), same, {19}}},
            {"no number",
             {[](LeagueSession& s, const RecordedBlock&) { s.storeBox(field(2), "x", std::nullopt); }, same, {2}}},
            {"stored again",
             {[](LeagueSession& s, const RecordedBlock&) {
                  s.storeBox(field(2), "x", std::nullopt);
                  s.storeBox(field(2), "4", 4);
              },
              [](Baza::Block b, const Baza::Block&) {
                  b.liga[2] = 4;
                  return b;
              }}},
            {"a category",
             {[](LeagueSession& s, const RecordedBlock&) { s.storeCategory(field(27), "abc"); },
              [](Baza::Block b, const Baza::Block&) {
                  b.cat[1] = "abc        ";
                  return b;
              }}},
            {"a setup",
             {[](LeagueSession& s, const RecordedBlock&) {
                  s.applySetup(s.previewSetup(parseSetup("kelvory-league = 1\nStr7 = 300\n", "")));
              },
              [](Baza::Block b, const Baza::Block&) {
                  b.str[6] = 300;
                  return b;
              }}},
            {"restore", {[](LeagueSession& s, const RecordedBlock& other) { s.restore(other); }, theOther}},
            {"return to a step",
             {[](LeagueSession& s, const RecordedBlock& other) { s.returnTo(other.block); }, theOther}},
            {"revert all",
             {[](LeagueSession& s, const RecordedBlock& other) {
                  s.restore(other);
                  s.storeBox(field(2), "x", std::nullopt);
                  s.revertAll();
              },
              same}},
            {"revert one field",
             {[](LeagueSession& s, const RecordedBlock&) {
                  s.storeBox(field(0), "7", 7);
                  s.storeBox(field(1), "x", std::nullopt);
                  s.storeBox(field(3), "8", 8);
                  s.revertField(field(0));
                  s.revertField(field(1));
              },
              [](Baza::Block b, const Baza::Block&) {
                  b.liga[3] = 8;
                  return b;
              }}},
        });
    }
    void intents() {
        QFETCH(Intent, row);
        QVERIFY(session_->load(game_));
        RecordedBlock other{RecordedBlock::Kind::Original, "2026-12-06T23:15:39Z", 0, session_->values()};
        other.block.liga[5] = 99;
        other.block.map[15] = 9;
        other.block.strReserved[0][1] = 0x5a;
        const Baza::Block loaded = session_->values();
        row.run(*session_, other);
        QVERIFY(session_->values() == row.expected(loaded, other.block));
        for (const Field& each : fields())
            QCOMPARE(session_->unstorable(each), row.marked.contains(each.member));
    }

    // While a box holds text its field cannot take, or nothing is loaded,
    // nothing is saved or exported; the refusal, a warning, names the boxes.
    void refusals_data() {
        rows<Refusal>({
            {"nothing loaded", {false, {}, "saved", "Nothing was saved: no game executable was loaded when"}},
            {"a box, save",
             {true,
              {17},
              "saved",
              "Nothing was saved: the game executable was not changed.\n\nThese boxes hold "
              "values that cannot be stored:\nClub Name, row 1: \"x17\" (allowed: whole numbers "
              "from -32768 to 32767)\n\nCorrect them, then save again."}},
            {"two boxes, export",
             {true,
              {39, 0},
              "exported",
              "Nothing was exported.\n\nThese boxes hold values that cannot be stored:\n"
              "National Slot, row 1: \"x0\" (allowed: whole numbers from -2147483648 to "
              "2147483647)\nMaps Load u_1426.bin ->dt06.img, row 1: \"x39\" (allowed: "
              "whole numbers from 0 to 255)\n\nCorrect them, then try again."}},
            {"a box stored again", {true, {-17}, "saved", ""}},
        });
    }
    void refusals() {
        QFETCH(Refusal, row);
        if (row.load)
            QVERIFY(session_->load(game_));
        for (int member : row.marked) {
            session_->storeBox(field(std::abs(member)), "x" + std::to_string(std::abs(member)), std::nullopt);
            if (member < 0)
                session_->storeBox(field(-member), "kept", fieldNumber(session_->values(), field(-member)));
        }
        const Told told = session_->refusal(row.done == "saved" ? Doing::Saving : Doing::Exporting);
        QVERIFY2(english(told.words).startsWith(row.start), told.words.english().c_str());
        QCOMPARE(told.words.empty(), row.start.isEmpty());
        QVERIFY(row.start.isEmpty() || told.tone == Tone::Warning);
        if (row.done == "saved") {
            const LeagueSession::SaveResult result = save(OutsideChangeAnswer::Overwrite);
            QCOMPARE(result.status, row.start.isEmpty() ? LeagueSession::SaveStatus::Saved
                                    : row.load          ? LeagueSession::SaveStatus::Refused
                                                        : LeagueSession::SaveStatus::NotLoaded);
            QCOMPARE(readFile(game_) == original_, !row.start.isEmpty() || !session_->hasUnsavedChanges());
        }
    }

    // A save makes its block the one the file holds: the next save asks
    // nothing, though the file's time changed. Another program's change is put
    // to the question; Reload hands back what the file holds.
    void saveAndOutsideChange() {
        QVERIFY(session_->load(game_));
        set(0, 7);
        QCOMPARE(save().status, LeagueSession::SaveStatus::Saved);
        QCOMPARE(english(save().told.words), QString("Save Successfully"));
        QVERIFY(!session_->hasUnsavedChanges());
        // The stamp taken at the save counts: another program's change of the
        // file alone (one byte more) is asked about.
        std::filesystem::resize_file(game_, std::filesystem::file_size(game_) + 1);
        QCOMPARE(save().status, LeagueSession::SaveStatus::Cancelled);
        QVERIFY(blockbytes::writeAt(game_, blockbytes::kMap + 2, "\x09"));  // another program
        set(0, 8);
        const LeagueSession::SaveResult reloaded = save(OutsideChangeAnswer::Reload);
        QCOMPARE(reloaded.status, LeagueSession::SaveStatus::Reload);
        QCOMPARE(int(reloaded.disk.block.map[2]), 9);
        session_->takeFromDisk(reloaded.disk);
        QVERIFY(!session_->hasUnsavedChanges());
        QCOMPARE(save().status, LeagueSession::SaveStatus::Saved);
        QCOMPARE(asked_, (QList<OutsideChange>{OutsideChange::SizeOrTime, OutsideChange::Block}));
    }

    // The console program loads right before it saves: the block must also be
    // what Kelvory last wrote, else another program changed it meanwhile.
    void sinceLastWrite() {
        QVERIFY(session_->load(game_));
        set(0, 7);
        QCOMPARE(save().status, LeagueSession::SaveStatus::Saved);
        QVERIFY(blockbytes::writeAt(game_, blockbytes::kLiga + 4, "\x2a"));  // another program
        QVERIFY(session_->load(game_));
        set(2, 9);
        QCOMPARE(save(OutsideChangeAnswer::Cancel, true).status, LeagueSession::SaveStatus::Cancelled);
        QCOMPARE(asked_, QList<OutsideChange>{OutsideChange::Block});
        QCOMPARE(save().status, LeagueSession::SaveStatus::Saved);  // the window's rule: as loaded
    }

    // A failed save says why. A write that was put back wrote the same bytes
    // again: the file's new time is Kelvory's own, and the next save asks
    // nothing. A file gone since it was loaded is not made again.
    void failedSaves() {
        QVERIFY(session_->load(game_));
        set(0, 7);
        {
            // The first write into the game file fails, as in a first save of the stand-in's.
            const std::vector<std::string> steps = runSaveWithFaults(false, {}).steps;
            const auto write = std::find(steps.begin(), steps.end(), "game write") - steps.begin() + 1;
            FaultyFileSystem failing(game_, {{int(write), Fault::Error}});
            const UseFiles use(&failing);
            const LeagueSession::SaveResult result = save();
            QCOMPARE(result.status, LeagueSession::SaveStatus::Failed);
            QCOMPARE(result.told.tone, Tone::Error);
            QVERIFY2(english(result.told.words).contains("put back and read back"),
                     result.told.words.english().c_str());
        }
        QVERIFY(readFile(game_) == original_);
        QVERIFY(session_->hasUnsavedChanges());
        QCOMPARE(save().status, LeagueSession::SaveStatus::Saved);
        QVERIFY(asked_.isEmpty());
        QVERIFY(std::filesystem::remove(game_));
        QCOMPARE(english(save().told.words).section("\n", 0, 0),
                 "Nothing was saved: the game executable no longer exists.");
        QVERIFY(!std::filesystem::exists(game_));
    }

    // The record offers the original, then the history newest first, then
    // the originals of executables that stood at the path before, read as
    // the next save would start from it: a moved or
    // copied game, or one patched outside the block, shows the original and
    // history recorded for the same game elsewhere (the newest record when
    // two hold its block), and its own odd block counts as Kelvory's. Looking
    // creates nothing, in a read-only data folder or where there is none;
    // the save that carries the record over says so, once.
    void meetings_data() {
        rows<Meeting>({
            {"same path", {"same path", {10, 7}}},
            {"moved", {"moved", {10, 7}, "old"}},
            {"moved, read-only data folder", {"moved, read-only", {10, 7}, "old"}},
            {"patched outside the block", {"patched outside", {10, 7, 10}, "game"}},
            {"patched inside the block", {"patched inside", {10, 7}, "", false, true, false}},
            {"a fresh copy of the original game", {"fresh", {}}},
            {"no data folder", {"no data folder", {}}},
            {"two candidates", {"two", {10, 9, 8, 7}, "two", true}},
        });
    }
    void meetings() {
        QFETCH(Meeting, row);
        const QString how = row.how;
        const std::filesystem::path old = fsPath(dir_->filePath("old/Game.exe"));
        const std::filesystem::path two = fsPath(dir_->filePath("two/Game.exe"));
        const bool inPlace = how == "same path" || how.startsWith("patched");
        const std::filesystem::path first = inPlace ? game_ : old;
        std::filesystem::create_directories(old.parent_path());
        std::filesystem::create_directories(two.parent_path());
        if (!inPlace)
            std::filesystem::copy_file(game_, first);
        // Seven map codes of 200 with Liga1 7, then 8: a block that does not
        // look like one, written by Kelvory.
        if (how != "no data folder")
            saveValues(first, {7, 8});
        if (how == "two") {
            QTest::qSleep(1100);  // a newer record: dates count whole seconds
            std::filesystem::copy_file(old, two);
            saveValues(two, {9, 8});  // back to the block the old path holds
        }
        if (how.startsWith("moved")) {
            std::filesystem::remove(game_);  // a rename does not replace a file everywhere (Windows)
            std::filesystem::rename(old, game_);
        }
        if (how == "two") {
            std::filesystem::remove(game_);  // the Windows library takes any two files for the same one
            std::filesystem::copy_file(old, game_);
        }
        if (how.startsWith("patched"))
            QVERIFY(blockbytes::writeAt(game_, 4096, QByteArray(12, 'p')));
        if (how == "patched inside")
            QVERIFY(blockbytes::writeAt(game_, blockbytes::kLiga + 4, "\x2b"));
        if (how.endsWith("read-only"))
            std::filesystem::permissions(records_,
                                         std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        const QStringList before = QDir(toQString(records_)).entryList(QDir::Files | QDir::Hidden | QDir::System);

        session_.reset(new LeagueSession(records_));
        QVERIFY(session_->load(game_));
        QCOMPARE(session_->notABlockWarning().empty(), row.ownBlock);
        QCOMPARE(session_->hasRecord(), !row.liga1.isEmpty());
        const RestoreChoice choice = session_->restoreChoice();
        QCOMPARE(choice.problem.words.empty(), !row.liga1.isEmpty());
        QList<int> liga1;
        for (const RecordedBlock& recorded : choice.blocks)
            liga1 << recorded.block.liga[0];
        QCOMPARE(liga1, row.liga1);
        const std::map<QString, std::filesystem::path> paths{{"old", old}, {"two", two}, {"game", game_}};
        const std::string recordedAt = row.recordedAt.isEmpty()
                                           ? std::string()
                                           : std::filesystem::weakly_canonical(paths.at(row.recordedAt)).u8string();
        if (!choice.blocks.empty()) {
            QCOMPARE(QString::fromStdString(choice.blocks.front().recordedAt), QString::fromStdString(recordedAt));
            QCOMPARE(choice.blocks.back().kind,
                     how == "patched outside" ? RecordedBlock::Kind::EarlierOriginal : RecordedBlock::Kind::BeforeSave);
        }
        QCOMPARE(!choice.newestTaken.empty(), row.newestTaken);
        QCOMPARE(!choice.otherExecutable.empty(), row.otherExecutable);
        QCOMPARE(QDir(toQString(records_)).entryList(QDir::Files | QDir::Hidden | QDir::System), before);
        QCOMPARE(std::filesystem::exists(records_), how != "no data folder");
        if (how.endsWith("read-only"))
            std::filesystem::permissions(records_, std::filesystem::perms::owner_all);

        session_->storeBox(field(0), "5", 5);
        LeagueSession::SaveResult saved = saveAll();
        QCOMPARE(saved.status, LeagueSession::SaveStatus::Saved);
        QVERIFY2(english(saved.carried).contains(toQString(recordedAt)) && saved.carried.empty() == recordedAt.empty(),
                 saved.carried.english().c_str());
        session_->storeBox(field(0), "6", 6);
        saved = saveAll();
        QVERIFY(saved.status == LeagueSession::SaveStatus::Saved && saved.carried.empty());
    }

    // A record that cannot be read blocks the save, which offers to set it
    // aside: declined, nothing changes; accepted, the record is renamed
    // beside itself, kept as it was, and the save goes on with a new one.
    // A record that reads well, or none, is never set aside.
    void damagedRecord_data() {
        QTest::addColumn<QString>("record");  // "damaged", "good"
        QTest::addColumn<bool>("answer");
        QTest::newRow("declined") << "damaged" << false;
        QTest::newRow("set aside") << "damaged" << true;
        QTest::newRow("a good record") << "good" << true;
        QTest::newRow("no record") << "none" << true;
    }
    void damagedRecord() {
        QFETCH(QString, record);
        QFETCH(bool, answer);
        QVERIFY(session_->load(game_));
        set(0, 7);
        QCOMPARE(save().status, LeagueSession::SaveStatus::Saved);
        const QDir folder(toQString(records_));
        const QStringList records = folder.entryList({"*.txt"}, QDir::Files);
        const QByteArray damaged = "kelvory-original-block 3\ngarbage\n";
        if (record == "damaged")
            QVERIFY(writeFile(folder.filePath(records.value(0)), damaged));
        QVERIFY(session_->hasRecord());  // Restore Original Values stays offered, to say what is wrong
        const QByteArray game = readFile(game_);
        if (record != "damaged") {
            const QStringList all = folder.entryList(QDir::Files);
            const SetAsideResult aside = session_->setAsideRecord();
            QCOMPARE(aside.status, SetAsideStatus::Nothing);
            QCOMPARE(folder.entryList(QDir::Files), all);
            return;
        }
        set(0, 8);
        QList<QString> asked;
        SaveQuestions questions;
        questions.damagedRecord = [&](const Words& question) {
            asked << english(question);
            return answer;
        };
        const LeagueSession::SaveResult result = session_->save(questions);
        QCOMPARE(asked.size(), 1);
        QVERIFY2(asked[0].startsWith("Nothing was saved: the record of the original values cannot be read"),
                 qPrintable(asked[0]));
        QCOMPARE(result.status, answer ? LeagueSession::SaveStatus::Saved : LeagueSession::SaveStatus::Failed);
        QCOMPARE(readFile(game_) == game, !answer);
        const QStringList now = folder.entryList({"*.txt"}, QDir::Files);
        if (!answer) {
            QCOMPARE(now, records);
            QVERIFY(result.damagedRecord);
            return;
        }
        // The damaged one kept under a new name, which the message gives; a new record beside it.
        QCOMPARE(now.size(), 2);
        const QString aside = now.filter(".damaged-").value(0);
        QCOMPARE(readFile(folder.filePath(aside)), damaged);
        QVERIFY2(english(result.told.words).contains(aside) && english(result.told.words).endsWith("Save Successfully"),
                 result.told.words.english().c_str());
        QVERIFY(readFile(folder.filePath(records[0])).startsWith("kelvory-original-block 3\n"));
    }

    // A record's UTC date in local time, as the window and the messages show it.
    void localDates() {
        for (const QString utc : {"2026-12-06T23:15:39Z", "2400-03-01T12:00:00Z"})  // after a 400-year leap day
            QCOMPARE(QString::fromStdString(localDate(utc.toStdString())),
                     QDateTime::fromString(utc, Qt::ISODate).toLocalTime().toString("yyyy-MM-dd HH:mm:ss"));
        QCOMPARE(localDate("yesterday"), std::string("yesterday"));
    }

private:
    static QString english(const Words& words) { return QString::fromStdString(words.english()); }

    // Stores `value` into the field shown in box `member`, as typing it would.
    void set(int member, long long value) { session_->storeBox(field(member), std::to_string(value), value); }

    static QString toQString(const std::filesystem::path& path) { return QString::fromStdString(path.u8string()); }

    // Loads `game` into a session of its own and saves Liga1 as each of
    // `values` in turn, with seven map codes of 200 (the block no longer
    // looks like one, and the game does not take them).
    void saveValues(const std::filesystem::path& game, const QList<int>& values) {
        session_.reset(new LeagueSession(records_));
        QVERIFY(session_->load(game));
        session_->applySetup(session_->previewSetup(
            parseSetup("kelvory-league = 1\nEurope = 200\nAfrica = 200\nAmerica = 200\nAsia = 200\n"
                       "PrimerLeague = 200\nLigue1 = 200\nSerieA = 200\n",
                       "")));
        for (int value : values) {
            set(0, value);
            QCOMPARE(saveAll().status, LeagueSession::SaveStatus::Saved);
        }
    }

    // Saves, answering yes to every question before writing.
    LeagueSession::SaveResult saveAll() {
        SaveQuestions questions;
        questions.outsideGame = questions.notABlock = [](const Words&) { return true; };
        return session_->save(questions);
    }

    // Saves, noting each outside-change question asked in asked_ and answering `answer`.
    LeagueSession::SaveResult save(OutsideChangeAnswer answer = OutsideChangeAnswer::Cancel,
                                   bool sinceLastWrite = false) {
        SaveQuestions questions;
        questions.outsideChange = [this, answer](const DiskState& disk) {
            asked_ << disk.change;
            return answer;
        };
        return session_->save(questions, sinceLastWrite ? SaveCheck::LastWriteToo : SaveCheck::AsLoaded);
    }

    std::unique_ptr<QTemporaryDir> dir_;
    std::filesystem::path game_, records_;
    QByteArray original_;
    std::unique_ptr<LeagueSession> session_;
    QList<OutsideChange> asked_;
};

QTEST_GUILESS_MAIN(SessionTest)
#include "SessionTest.moc"
