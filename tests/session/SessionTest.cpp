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
#include "tests/support/FaultySave.h"
#include "session/LeagueSession.h"
#include "setup/LeagueSetup.h"

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

struct Refusal {
    bool load;          // a block loaded first
    QList<int> marked;  // members whose text cannot be stored
    QString done;       // "saved", "exported"
    QString start;      // what the refusal says first
};

}  // namespace

Q_DECLARE_METATYPE(Intent)
Q_DECLARE_METATYPE(Refusal)

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

    // The record offers the executable's original, its history newest first,
    // then the originals of executables that stood at the path before; an
    // executable the record does not know is said so.
    void restoreChoice() {
        QVERIFY(session_->load(game_));
        QCOMPARE(session_->restoreChoice().problem.tone, Tone::Information);  // no record yet
        QVERIFY(!session_->hasRecord());
        for (int value : {7, 8}) {
            set(0, value);
            QCOMPARE(save().status, LeagueSession::SaveStatus::Saved);
        }
        QVERIFY(session_->hasRecord());
        RestoreChoice choice = session_->restoreChoice();
        QVERIFY(choice.problem.words.empty() && choice.otherExecutable.empty());
        QList<int> liga1;
        for (const RecordedBlock& recorded : choice.blocks)
            liga1 << recorded.block.liga[0];
        QCOMPARE(liga1, (QList<int>{10, 7}));
        QCOMPARE(choice.blocks[1].kind, RecordedBlock::Kind::BeforeSave);

        QVERIFY(blockbytes::writeAt(game_, 100, "\x5a"));  // another build of the game
        choice = session_->restoreChoice();
        QVERIFY2(english(choice.otherExecutable)
                     .startsWith("The game executable changed since the record of its original values was taken on "),
                 choice.otherExecutable.english().c_str());
        set(0, 9);
        // Its block is Kelvory's own last write: it carries the original and
        // history over, and Kelvory's write goes into its history.
        QCOMPARE(save(OutsideChangeAnswer::Overwrite).status, LeagueSession::SaveStatus::Saved);
        choice = session_->restoreChoice();
        QVERIFY(choice.otherExecutable.empty());
        liga1.clear();
        for (const RecordedBlock& recorded : choice.blocks)
            liga1 << recorded.block.liga[0];
        QCOMPARE(liga1, (QList<int>{10, 8, 7, 10}));
        QCOMPARE(choice.blocks[3].kind, RecordedBlock::Kind::EarlierOriginal);
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
