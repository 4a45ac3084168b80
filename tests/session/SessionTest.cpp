// The editing session both front ends share: loading, what the file should
// hold, the boxes whose text cannot be stored, saving with the outside-change
// question, and the record's blocks to restore. Expected bytes come from the
// file layout alone (BlockBytes.h).

#include <QDateTime>
#include <QTemporaryDir>
#include <QtTest>

#include "../common/Rows.h"
#include "../common/TestFiles.h"
#include "../setup/BlockBytes.h"
#include "platform/FileSystem.h"
#include "session/LeagueSession.h"
#include "session/Messages.h"
#include "store/OriginalRecord.h"
#include "store/RecordFile.h"

using namespace testfiles;

namespace {

const Field& field(int member) {
    return *fieldOfMember(member);
}

// Fails the game file's writes: the save puts back what it wrote, or finds
// it could not even open.
class FailingWrites : public platform::FileSystem {
public:
    std::unique_ptr<platform::OpenFile> open(const std::filesystem::path& path, BinaryFile::Mode mode) override {
        if (mode == BinaryFile::Mode::ReadWrite && path.filename() == "Game.exe" && ++opens_ == 1) {
            class Failing : public platform::OpenFile {
            public:
                explicit Failing(std::unique_ptr<platform::OpenFile> real) : real_(std::move(real)) {}
                std::int64_t size() const override { return real_->size(); }
                std::size_t readAt(std::int64_t o, void* b, std::size_t s) override { return real_->readAt(o, b, s); }
                void writeAt(std::int64_t, const void*, std::size_t) override {
                    throw FileError("Game.exe", "cannot write the file (No space left on device)");
                }
                void sync() override { real_->sync(); }
                FileStamp stamp() override { return real_->stamp(); }
                void close() override { real_->close(); }

            private:
                std::unique_ptr<platform::OpenFile> real_;
            };
            return std::make_unique<Failing>(platform::FileSystem::open(path, mode));
        }
        return platform::FileSystem::open(path, mode);
    }

private:
    int opens_ = 0;
};

// The questions a save asks, the values and block questions answered yes.
SaveQuestions answers(OutsideChangeQuestion outsideChange = {}) {
    SaveQuestions questions;
    questions.outsideChange = std::move(outsideChange);
    questions.outsideGame = [](const std::string&) { return true; };
    questions.notABlock = [](const std::string&) { return true; };
    return questions;
}

struct UseFiles {
    explicit UseFiles(platform::FileSystem* files) { platform::useFileSystem(files); }
    ~UseFiles() { platform::useFileSystem(nullptr); }
};

struct Refusal {
    bool load;          // a block loaded first
    QList<int> marked;  // members whose text cannot be stored
    QString done;       // "saved", "exported"
    QString start;      // what the refusal says first
};

}  // namespace

Q_DECLARE_METATYPE(Refusal)

class SessionTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        dir_.reset(new QTemporaryDir);
        game_ = fsPath(dir_->filePath("Game.exe"));
        records_ = fsPath(dir_->filePath("records"));
        QVERIFY(writeGameFile(game_, kGameLength, 5));
        original_ = gameBytes(kGameLength, 5);
        blockbytes::putShown(original_, blockbytes::plainValues());
        QVERIFY(blockbytes::writeBlockArea(game_, original_));
        session_.reset(new LeagueSession(records_));
    }

    // A file too short to hold the block loads (as zeros past its end) unless
    // the whole block is asked for; a missing one says where Kelvory looked.
    void loading() {
        QVERIFY(writeFile(dir_->filePath("Short.exe"), QByteArray(1000, 'x')));
        const std::filesystem::path shortFile = fsPath(dir_->filePath("Short.exe"));
        QVERIFY(session_->load(shortFile));
        QVERIFY(!session_->load(shortFile, true));
        QVERIFY2(QString::fromStdString(session_->loadFailure()).contains("The file is 1,000 bytes long"),
                 session_->loadFailure().c_str());
        QVERIFY(!session_->load(fsPath(dir_->filePath("Gone.exe"))));
        QCOMPARE(QString::fromStdString(session_->loadFailure()),
                 "No game executable was loaded.\n\nKelvory looked for it at:\n" + dir_->filePath("Gone.exe") +
                     "\n\nThe file does not exist.");
        QVERIFY(session_->load(game_, true));
        QVERIFY(!session_->hasUnsavedChanges());
        QVERIFY(session_->saved() == session_->baza().block());
    }

    // While a box holds text its field cannot take, or nothing is loaded,
    // nothing is saved or exported; the refusal names the boxes.
    void refusals_data() {
        rows<Refusal>({
            {"nothing loaded, save", {false, {}, "saved", "Nothing was saved: no game executable was loaded when"}},
            {"nothing loaded, export", {false, {}, "exported", "Nothing was exported: no game executable was"}},
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
        if (row.load) {
            QVERIFY(session_->load(game_));
        }
        for (int member : row.marked) {
            session_->setUnstorable(field(std::abs(member)), "x" + std::to_string(std::abs(member)));
            if (member < 0) {
                session_->setStorable(field(-member));
            }
        }
        const Told told = session_->refusal(row.done.toStdString());
        QVERIFY2(QString::fromStdString(told.text).startsWith(row.start), told.text.c_str());
        QCOMPARE(told.text.empty(), row.start.isEmpty());
        if (row.done == "saved") {
            const LeagueSession::SaveResult result =
                session_->save(answers([](const DiskState&) { return OutsideChangeAnswer::Overwrite; }));
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
        int asked = 0;
        const auto ask = [&](const DiskState&) {
            ++asked;
            return OutsideChangeAnswer::Reload;
        };
        session_->baza().setLiga1(7);
        QCOMPARE(session_->save(answers(ask)).status, LeagueSession::SaveStatus::Saved);
        QCOMPARE(QString::fromStdString(session_->save(answers(ask)).told.text), QString("Save Successfully"));
        QVERIFY(!session_->hasUnsavedChanges());
        QCOMPARE(asked, 0);
        QVERIFY(blockbytes::writeAt(game_, blockbytes::kMap + 2, "\x09"));  // another program
        session_->baza().setLiga1(8);
        const LeagueSession::SaveResult reloaded = session_->save(answers(ask));
        QCOMPARE(asked, 1);
        QCOMPARE(reloaded.status, LeagueSession::SaveStatus::Reload);
        QCOMPARE(int(reloaded.disk.block.map[2]), 9);
        session_->takeFromDisk(reloaded.disk);
        QVERIFY(!session_->hasUnsavedChanges());
        QCOMPARE(session_->save(answers(ask)).status, LeagueSession::SaveStatus::Saved);
        QCOMPARE(asked, 1);
    }

    // The console program loads right before it saves: the block must also be
    // what Kelvory last wrote, else another program changed it meanwhile.
    void sinceLastWrite() {
        QVERIFY(session_->load(game_));
        session_->baza().setLiga1(7);
        QCOMPARE(session_->save(answers()).status, LeagueSession::SaveStatus::Saved);
        QVERIFY(blockbytes::writeAt(game_, blockbytes::kLiga + 4, "\x2a"));  // another program
        LeagueSession cli(records_);
        QVERIFY(cli.load(game_));
        cli.baza().setLiga3(9);
        QList<OutsideChange> asked;
        const auto cancel = [&](const DiskState& disk) {
            asked << disk.change;
            return OutsideChangeAnswer::Cancel;
        };
        QCOMPARE(cli.save(answers(cancel), true).status, LeagueSession::SaveStatus::Cancelled);
        QCOMPARE(asked, QList<OutsideChange>{OutsideChange::Block});
        QCOMPARE(cli.save(answers(cancel)).status, LeagueSession::SaveStatus::Saved);  // the window's rule: as loaded
    }

    // A failed write that was put back wrote the same bytes again: the file's
    // new time is Kelvory's own, and the next save asks nothing.
    void putBackKeepsTheFile() {
        QVERIFY(session_->load(game_));
        session_->baza().setLiga1(7);
        {
            FailingWrites failing;
            const UseFiles use(&failing);
            const LeagueSession::SaveResult result = session_->save(answers());
            QCOMPARE(result.status, LeagueSession::SaveStatus::Failed);
            QCOMPARE(result.told.tone, Tone::Error);
            QVERIFY2(QString::fromStdString(result.told.text).contains("put back and read back"),
                     result.told.text.c_str());
        }
        QVERIFY(readFile(game_) == original_);
        QVERIFY(session_->hasUnsavedChanges());
        int asked = 0;
        const auto count = [&](const DiskState&) {
            ++asked;
            return OutsideChangeAnswer::Cancel;
        };
        QCOMPARE(session_->save(answers(count)).status, LeagueSession::SaveStatus::Saved);
        QCOMPARE(asked, 0);
    }

    // The changes in the user's words, saved value first.
    void changeLines() {
        QVERIFY(session_->load(game_));
        session_->baza().setStr7(300);
        session_->baza().setCat2("ab");
        const std::vector<std::string> lines = session_->changeLines();
        QCOMPARE(QString::fromStdString(lines.at(0)), QString("Club Name, row 3: -206 → 300"));
        QCOMPARE(
            QString::fromStdString(lines.at(1)),
            QString("National Category Logo League u_1426.bin ->dt06.img, row 2: \"category_05\" → \"ab         \""));
        QCOMPARE(lines.size(), std::size_t(2));
    }

    // The record offers the executable's original, its history newest first,
    // then the originals of executables that stood at the path before; an
    // executable the record does not know is said so.
    void restoreChoice() {
        QVERIFY(session_->load(game_));
        QCOMPARE(session_->restoreChoice().problem.tone, Tone::Information);  // no record yet
        QVERIFY(!session_->hasRecord());
        for (int value : {7, 8}) {
            session_->baza().setLiga1(value);
            QCOMPARE(session_->save(answers()).status, LeagueSession::SaveStatus::Saved);
        }
        QVERIFY(session_->hasRecord());
        RestoreChoice choice = session_->restoreChoice();
        QVERIFY(choice.problem.text.empty() && choice.otherExecutable.empty());
        QList<int> liga1;
        for (const RecordedBlock& recorded : choice.blocks)
            liga1 << recorded.block.liga[0];
        QCOMPARE(liga1, (QList<int>{100, 7}));
        QCOMPARE(choice.blocks[1].kind, RecordedBlock::Kind::BeforeSave);

        QVERIFY(blockbytes::writeAt(game_, 100, "\x5a"));  // another build of the game
        choice = session_->restoreChoice();
        QVERIFY2(QString::fromStdString(choice.otherExecutable)
                     .startsWith("The game executable changed since the record of its original values was taken on "),
                 choice.otherExecutable.c_str());
        session_->baza().setLiga1(9);
        const auto overwrite = [](const DiskState&) { return OutsideChangeAnswer::Overwrite; };  // the file's time
        QCOMPARE(session_->save(answers(overwrite)).status, LeagueSession::SaveStatus::Saved);   // it gets an original
        choice = session_->restoreChoice();
        QVERIFY(choice.otherExecutable.empty());
        QCOMPARE(choice.blocks.size(), std::size_t(2));
        QCOMPARE(choice.blocks[0].block.liga[0], 8);
        QCOMPARE(choice.blocks[1].kind, RecordedBlock::Kind::EarlierOriginal);
        QCOMPARE(choice.blocks[1].block.liga[0], 100);
    }

    // A record's UTC date in local time, as the window and the messages show it.
    void localDates() {
        const QString utc = "2026-12-06T23:15:39Z";
        QCOMPARE(QString::fromStdString(localDate(utc.toStdString())),
                 QDateTime::fromString(utc, Qt::ISODate).toLocalTime().toString("yyyy-MM-dd HH:mm:ss"));
        QCOMPARE(localDate("yesterday"), std::string("yesterday"));
    }

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::filesystem::path game_, records_;
    QByteArray original_;
    std::unique_ptr<LeagueSession> session_;
};

QTEST_GUILESS_MAIN(SessionTest)
#include "SessionTest.moc"
