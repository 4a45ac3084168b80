// Saving with a way back, on stand-in game files: the record of the original
// block, the check for outside changes, and the promises a save keeps with a
// fault at any step. Expected bytes are taken from the files by the layout
// alone (BlockBytes.h), never through Kelvory's own encoding.

#include <QCryptographicHash>
#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include "../common/Rows.h"
#include "../common/TestFiles.h"
#include "../common/UseFiles.h"
#include "../setup/BlockBytes.h"
#include "session/Messages.h"
#include "store/RecordFile.h"
#include "store/SafeSave.h"
#include "store/Sha256.h"
#include "tests/support/FaultySave.h"

using namespace testfiles;

namespace {

// The 199 bytes of a whole game file, region by region in the record's order:
// LigaTable, StrTable, CatRecord, MapTable, CatLTable.
QByteArray regionBytes(const QByteArray& file) {
    return file.mid(blockbytes::kLiga, 52) + file.mid(blockbytes::kStr, 52) + file.mid(blockbytes::kCat, 47) +
           file.mid(blockbytes::kMap, 20) + file.mid(blockbytes::kCatL, 28);
}

QByteArray bytesOf(const BlockSnapshot& snapshot) {
    return QByteArray(reinterpret_cast<const char*>(snapshot.bytes.data()), int(snapshot.bytes.size()));
}

baza_regions::BlockBytes filled(std::uint8_t b) {
    baza_regions::BlockBytes bytes{};
    bytes.fill(b);
    return bytes;
}

// A lock that another program holds.
class LockedFiles : public platform::FileSystem {
public:
    std::unique_ptr<platform::FileLock> lock(const std::filesystem::path& path, std::chrono::milliseconds) override {
        throw FileError(path, "another program holds the lock", FileError::Kind::Busy);
    }
};

// A file layer on which every write fails, as on a read-only disk.
class ReadOnlyFiles : public platform::FileSystem {
public:
    std::unique_ptr<platform::OpenFile> open(const std::filesystem::path& path, BinaryFile::Mode mode) override {
        if (mode != BinaryFile::Mode::Read) {
            refuse(path);
        }
        return platform::FileSystem::open(path, mode);
    }
    void rename(const std::filesystem::path&, const std::filesystem::path& to) override { refuse(to); }
    void renameNoReplace(const std::filesystem::path&, const std::filesystem::path& to) override { refuse(to); }
    void remove(const std::filesystem::path& path) override { refuse(path); }
    void createFolder(const std::filesystem::path& folder) override { refuse(folder); }
    std::unique_ptr<platform::FileLock> lock(const std::filesystem::path& path, std::chrono::milliseconds) override {
        refuse(path);
    }

private:
    [[noreturn]] static void refuse(const std::filesystem::path& path) {
        throw FileError(path, "Read-only file system");
    }
};

// Meeting an executable: what happens before the save into folder `at`
// ("save A 7": a save of Liga1 7 into A/Game.exe; "move", "copy" a folder;
// "fresh B": the untouched game in B; "patch A": 12 bytes changed at offset
// 4096; "set A 5": Liga1 5 written into the file by another program;
// "unfinish A": A's last save as one whose last note failed; "date A D": the
// date of A's last save), and what the entry of the executable at `at` holds
// after a save of Liga1 8 there.
struct Meeting {
    QStringList before;
    const char* at;
    int original;        // Liga1 of its original
    QList<int> history;  // Liga1 of its history, oldest first
    const char* from;    // the folder it was carried over from; "": not carried
    int candidates;
};

// Whose bytes a save takes for Kelvory's own. The record says Kelvory last
// wrote Liga1 and Liga2 (7, 7) and began writing (9, 9), a save that did not
// see it through (another Kelvory's, or this window's own).
struct Ownership {
    QList<int> file;        // Liga1 and Liga2 in the file
    QList<int> expected;    // ... as the window loaded them
    QList<int> unfinished;  // ... of the window's own unfinished save; empty: none
    bool lastWrittenToo;    // the console program's check
    bool asked;
};

struct Compared {
    int found;        // the byte found at position 5 (every other byte is 1)
    int unfinished;   // the byte an unfinished write left at position 5; -1: none
    FileStamp stamp;  // the file's size and time now (the expected ones: 100, 7)
    OutsideChange change;
};

}  // namespace

Q_DECLARE_METATYPE(Compared)
Q_DECLARE_METATYPE(Meeting)
Q_DECLARE_METATYPE(Ownership)

class SafeSaveTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        dir_.reset(new QTemporaryDir);
        QVERIFY(dir_->isValid());
        game_ = fsPath(dir_->filePath("Game.exe"));
        records_ = fsPath(dir_->filePath("records"));
        QVERIFY(writeGameFile(game_, kGameLength, 7));
        original_ = gameBytes(kGameLength, 7);
        QVERIFY(baza_.Wczytaj(game_));
        loaded_ = baza_.block();
        stamp_ = platform::stampOf(game_);
    }

    // The first save records the bytes it overwrites, with the executable's
    // identity and own path, and what it wrote; a later save adds what it
    // overwrites to the history.
    void savesAreRecorded() {
        baza_.setLiga1(7);
        QVERIFY(save().recordCreated);
        QByteArray seven = original_;
        seven.replace(blockbytes::kLiga, 4, QByteArray("\x07\x00\x00\x00", 4));
        QVERIFY(readFile(game_) == seven);
        OriginalRecord record = readRecord();
        const RecordedExecutable first = record.executables.at(0);
        QCOMPARE(bytesOf(first.original), regionBytes(original_));
        QCOMPARE(first.identity.size, kGameLength);
        QCOMPARE(QByteArray::fromStdString(first.identity.headSha256),
                 QCryptographicHash::hash(original_.left(65536), QCryptographicHash::Sha256).toHex());
        QCOMPARE(QString::fromStdString(record.path),
                 QDir::toNativeSeparators(QFileInfo(dir_->filePath("Game.exe")).canonicalFilePath()));
        QCOMPARE(bytesOf(*record.lastWritten), regionBytes(seven));
        QVERIFY(first.history.empty() && !record.writing);

        loaded_ = baza_.block();
        stamp_ = platform::stampOf(game_);
        baza_.setLiga1(8);
        QVERIFY(!save().recordCreated);
        record = readRecord();
        QCOMPARE(record.executables.size(), std::size_t(1));
        QCOMPARE(record.executables[0].history.size(), std::size_t(1));
        QCOMPARE(bytesOf(record.executables[0].history[0]), regionBytes(seven));
    }

    // However the path reaches the executable, it has one record.
    void oneRecordPerExecutable() {
        QVERIFY(QDir(dir_->path()).mkdir("sub"));
        QStringList others{dir_->filePath("sub/../Game.exe")};
#ifdef Q_OS_WIN
        others << dir_->filePath("GAME.EXE");  // letter case as the user typed it
#else
        QVERIFY(QFile::link(dir_->path(), dir_->filePath("linked")));
        others << dir_->filePath("linked/Game.exe");
#endif
        for (const QString& other : others)
            QCOMPARE(RecordPlace(records_, fsPath(other)).file(), RecordPlace(records_, game_).file());
        // A record an earlier Kelvory named after the path as it was spelt is
        // still found through that spelling.
        const std::string spelt = QDir::toNativeSeparators(QFileInfo(others.back()).absoluteFilePath()).toStdString();
        OriginalRecord earlier;
        earlier.path = spelt;
        earlier.executables.push_back({{5, std::string(64, 'a')}, {"2026-01-01T00:00:00Z", {}}, {}});
        std::filesystem::create_directories(records_);
        QVERIFY(writeFile(records_ / ("league-block-" + sha256Hex(spelt).substr(0, 24) + ".txt"),
                          QByteArray::fromStdString(recordText(earlier))));
        const std::optional<OriginalRecord> found = RecordPlace(records_, fsPath(others.back())).read();
        QVERIFY(found && found->executables[0].identity.size == 5);
    }

    // Kelvory's own half-written bytes are no outside change: a byte may be
    // the expected one or the one of the record's unfinished write. Without
    // one, a file whose size or time alone changed was changed.
    void compareWithExpected_data() {
        using C = OutsideChange;
        rows<Compared>({
            {"a byte changed", {9, -1, {100, 7}, C::Block}},
            {"the unfinished write's byte", {9, 9, {100, 7}, C::None}},
            {"neither", {9, 8, {100, 7}, C::Block}},
            {"the size changed", {1, -1, {101, 7}, C::SizeOrTime}},
            {"the time alone changed", {1, -1, {100, 8}, C::SizeOrTime}},
            {"the size changed after an unfinished write", {1, 9, {101, 7}, C::None}},
        });
    }
    void compareWithExpected() {
        QFETCH(Compared, row);
        baza_regions::BlockBytes found = filled(1);
        found[5] = std::uint8_t(row.found);
        std::optional<baza_regions::BlockBytes> unfinished;
        if (row.unfinished >= 0) {
            unfinished = filled(1);
            (*unfinished)[5] = std::uint8_t(row.unfinished);
        }
        QCOMPARE(::compareWithExpected(found, row.stamp, filled(1), FileStamp{100, 7}, unfinished), row.change);
    }

    // Whatever keeps the record from being read or written stops the save
    // before the game file is touched, and leaves what stood in the way.
    void recordProblemsWriteNothing_data() {
        QTest::addColumn<QString>("problem");
        QTest::addColumn<int>("kind");
        using K = SafeSaveError::Kind;
        QTest::newRow("the folder is a file") << "folder is a file" << int(K::RecordUnwritable);
        QTest::newRow("damaged record") << "damaged" << int(K::RecordUnreadable);
        QTest::newRow("no data folder") << "no folder" << int(K::RecordUnwritable);
        QTest::newRow("another Kelvory saving") << "busy" << int(K::Busy);
#ifndef Q_OS_WIN
        QTest::newRow("a link in the lock's place") << "lock link" << int(K::RecordUnwritable);
        QTest::newRow("a link in the record's place") << "record link" << int(K::RecordUnreadable);
#endif
    }
    void recordProblemsWriteNothing() {
        QFETCH(QString, problem);
        QFETCH(int, kind);
        const std::filesystem::path record = RecordPlace(records_, game_).file();
        const std::filesystem::path victim = fsPath(dir_->filePath("victim"));
        QVERIFY(writeFile(victim, "victim"));
        std::filesystem::path folder = records_;
        std::filesystem::create_directories(records_);
        LockedFiles locked;
        std::optional<UseFiles> using_;
        if (problem == "folder is a file") {
            folder = victim;
        } else if (problem == "damaged") {
            QVERIFY(writeFile(record, "kelvory-original-block 2\npath /x\n"));
        } else if (problem == "no folder") {
            folder.clear();
        } else if (problem == "busy") {
            using_.emplace(&locked);
        } else if (problem == "lock link") {
            std::filesystem::create_symlink(victim, std::filesystem::path(record).concat(".lock"));
        } else {
            std::filesystem::create_symlink(victim, record);
        }
        baza_.setLiga1(7);
        try {
            save(folder, game_);
            QFAIL("saved");
        } catch (const SafeSaveError& error) {
            QCOMPARE(int(error.kind()), kind);
            const QString message = QString::fromStdString(messages::saveFailure(error).english());
            QVERIFY(message.startsWith("Nothing was saved: "));
            // The console program's wording says it in one line.
            const QString console = QString::fromStdString(messages::saveFailure(error, Wording::Console).english());
            QVERIFY2(console.startsWith("Nothing was saved: ") && !console.contains('\n'), qPrintable(console));
            // A planted link is said in plain words, without the system's own for it.
            QVERIFY(problem != "lock link" ||
                    (message.contains("a link is in its place") && !message.contains("a link is in its place (")));
        }
        QVERIFY(readFile(game_) == original_);
        QCOMPARE(readFile(victim), QByteArray("victim"));
    }

    // Nothing to save into: no name, no file.
    void noGameFile() {
        for (const std::filesystem::path& game : {std::filesystem::path(), game_.parent_path() / "Gone.exe"}) {
            try {
                save(records_, game);
                QFAIL("saved");
            } catch (const FileError& error) {
                QCOMPARE(error.kind(), game.empty() ? FileError::Kind::NoName : FileError::Kind::Missing);
            }
        }
        QVERIFY(!std::filesystem::exists(records_));
    }

    // A fault at each step of a first and of a later save in turn: an error,
    // a lie (a short read, a write or sync that does nothing), the program
    // dying there, a "no such file" for a file that is there (a flaky network
    // folder), another file put in the game's place, or every step failing
    // from there on (the disk is gone). Whatever happens, the file holds the
    // old block or the new one (or the message names the bytes that may
    // differ), a file swapped in is never written, the record stays whole with
    // its original, a window that loaded the old block is asked before it
    // saves over anything else, and restoring the original works afterwards.
    void faultAtEveryStep_data() {
        QTest::addColumn<bool>("later");
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("fault");  // a Fault, or -1: errors from the step on
        const std::pair<int, const char*> faults[] = {{int(Fault::Error), "error"},
                                                      {int(Fault::Lie), "lie"},
                                                      {int(Fault::Crash), "crash"},
                                                      {int(Fault::Missing), "no such file"},
                                                      {int(Fault::Swap), "another file in the game's place"},
                                                      {-1, "errors from here on"}};
        for (const bool later : {false, true}) {
            const std::vector<std::string> steps = runSaveWithFaults(later, {}).steps;
            QVERIFY(steps.size() > 20);
            for (std::size_t i = 0; i < steps.size(); ++i) {
                for (const auto& [fault, name] : faults) {
                    const QString row = QStringLiteral("%1 save, step %2 (%3), %4")
                                            .arg(later ? "later" : "first")
                                            .arg(i + 1)
                                            .arg(QString::fromStdString(steps[i]), name);
                    QTest::newRow(qPrintable(row)) << later << int(i + 1) << fault;
                }
            }
        }
    }
    void faultAtEveryStep() {
        QFETCH(bool, later);
        QFETCH(int, step);
        QFETCH(int, fault);
        std::map<int, Fault> faults{{step, Fault(fault)}};
        for (int from = step; fault < 0 && from < step + 40; ++from)
            faults[from] = Fault::Error;
        const FaultySaveRun run = runSaveWithFaults(later, faults);
        QVERIFY2(run.broken.empty(), (run.outcome + ": " + run.broken).c_str());
    }

    // Kelvory never takes a block it wrote itself for an original. Meeting
    // an executable it has no entry for, whose block is what a record says
    // Kelvory last wrote (or began to write), the save carries that record's
    // original and history over and says from where; any other block is the
    // executable's true original. The restore list sees the same before the
    // save, writing nothing.
    void meetingAnExecutable_data() {
        rows<Meeting>({
            {"moved", {{"save A 7", "move A B"}, "B", 10, {7}, "A", 1}},
            {"copied", {{"save A 7", "copy A B"}, "B", 10, {7}, "A", 1}},
            {"moved after a save whose last note failed",
             {{"save A 7", "save A 9", "unfinish A", "move A B"}, "B", 10, {7, 9}, "A", 1}},
            {"patched outside the block", {{"save A 7", "patch A"}, "A", 10, {7}, "A", 1}},
            {"patched inside the block", {{"save A 7", "patch A", "set A 5"}, "A", 5, {}, "", 0}},
            {"a fresh copy of the original game", {{"save A 7", "fresh B"}, "B", 10, {}, "", 0}},
            {"two candidates: the newest",
             {{"save A 7", "fresh C", "set C 3", "save C 7", "date A 2026-01-01T00:00:00Z",
               "date C 2026-02-01T00:00:00Z", "fresh B", "set B 7"},
              "B",
              3,
              {7},
              "C",
              2}},
            {"two candidates: the one that knows the executable",
             {{"save A 7", "fresh C", "patch C", "set C 3", "save C 7", "date A 2026-01-01T00:00:00Z",
               "date C 2026-02-01T00:00:00Z", "fresh B", "set B 7"},
              "B",
              10,
              {7},
              "A",
              2}},
        });
    }
    void meetingAnExecutable() {
        QFETCH(Meeting, row);
        QVERIFY(QDir(dir_->path()).mkdir("A"));
        QVERIFY(writeGameFile(gameIn("A"), kGameLength, 7));
        for (const QString& step : row.before) {
            meetStep(step);
            if (QTest::currentTestFailed())
                return;
        }
        const std::filesystem::path game = gameIn(row.at);
        const QStringList recordsBefore = QDir(dir_->filePath("records")).entryList(QDir::Files);
        const RecordView view = viewRecord(records_, game);
        QCOMPARE(QDir(dir_->filePath("records")).entryList(QDir::Files), recordsBefore);
        // What each record says Kelvory wrote, and when, before this save
        // (which may rewrite the very record it carries from).
        QSet<QString> writtenBefore;
        for (const QFileInfo& file : QDir(dir_->filePath("records")).entryInfoList({"*.txt"}, QDir::Files)) {
            const OriginalRecord other = parseRecord(readFile(file.filePath()).toStdString());
            for (const std::optional<BlockSnapshot>& line : {other.lastWritten, other.writing})
                if (line)
                    writtenBefore << QString::fromStdString(other.path + " " + line->date);
        }

        const SafeSaveResult result = saveAt(row.at, 8);
        QCOMPARE(result.status, SafeSaveResult::Status::Saved);
        const ExecutableIdentity identity = identityOf(game);
        const OriginalRecord record = RecordPlace(records_, game).read().value();
        const RecordedExecutable* entry = record.find(identity);
        QVERIFY(entry);
        QCOMPARE(int(entry->original.bytes[0]), row.original);
        QList<int> history;
        for (const BlockSnapshot& before : entry->history)
            history << before.bytes[0];
        QCOMPARE(history, row.history);
        QCOMPARE(int(result.carriedCandidates), row.candidates);
        QVERIFY(result.carriedFrom == entry->carriedFrom);
        QCOMPARE(entry->carriedFrom.has_value(), *row.from != '\0');
        const RecordedExecutable* seen = view.record ? view.record->find(identity) : nullptr;
        if (entry->carriedFrom) {
            const std::filesystem::path from = std::filesystem::u8path(entry->carriedFrom->path);
            QCOMPARE(QString::fromStdString(from.parent_path().filename().u8string()), QString(row.from));
            // The date is the one of the line that held the block where it was carried from.
            QVERIFY(writtenBefore.contains(
                QString::fromStdString(entry->carriedFrom->path + " " + entry->carriedFrom->date)));
            QVERIFY(seen && seen->original == entry->original && seen->carriedFrom == entry->carriedFrom);
            QCOMPARE(int(view.candidates), row.candidates);
            QVERIFY(view.wroteThisBlock == entry->carriedFrom);  // Kelvory's own block
        } else {
            QVERIFY(!seen && !view.wroteThisBlock);
        }
    }

    // Whose bytes a save takes for Kelvory's own: the window's own unfinished
    // save, passed in, and the record's unfinished write only against what
    // the record says Kelvory last wrote (the console program, which loads
    // right before it saves). Another Kelvory's unfinished save is a change
    // the window has not seen.
    void whoseBytes_data() {
        rows<Ownership>({
            {"another Kelvory's save, its last note failed", {{9, 9}, {7, 7}, {}, false, true}},
            {"the window's own unfinished save", {{9, 9}, {7, 7}, {9, 9}, false, false}},
            {"the window's own save, in part", {{9, 7}, {7, 7}, {9, 9}, false, false}},
            {"the window's own, and a byte of neither", {{9, 5}, {7, 7}, {9, 9}, false, true}},
            {"the console program after a save left its writing line", {{9, 9}, {9, 9}, {}, true, false}},
            {"the console program, partly written", {{9, 7}, {9, 7}, {}, true, false}},
            {"the console program, another program's change", {{5, 5}, {5, 5}, {}, true, true}},
        });
    }
    void whoseBytes() {
        QFETCH(Ownership, row);
        const auto block = [this](const QList<int>& liga) {
            Baza::Block values = loaded_;
            values.liga[0] = liga[0];
            values.liga[1] = liga[1];
            return values;
        };
        OriginalRecord record;
        record.executables.push_back({identityOf(game_), {"2026-01-01T00:00:00Z", baza_regions::bytesOf(loaded_)}, {}});
        record.lastWritten = BlockSnapshot{"2026-01-02T00:00:00Z", baza_regions::bytesOf(block({7, 7}))};
        record.writing = BlockSnapshot{"2026-01-03T00:00:00Z", baza_regions::bytesOf(block({9, 9}))};
        RecordPlace(records_, game_).write(record);
        QVERIFY(blockbytes::writeAt(game_, blockbytes::kLiga, littleEndian(row.file[0]) + littleEndian(row.file[1])));
        Expected expected{block(row.expected), FileStamp{}, row.lastWrittenToo};
        if (!row.unfinished.isEmpty())
            expected.unfinished = block(row.unfinished);
        bool asked = false;
        const SafeSaveResult result = saveSafely(block({1, 1}), game_, expected, records_, [&asked](const DiskState&) {
            asked = true;
            return OutsideChangeAnswer::Cancel;
        });
        QCOMPARE(asked, row.asked);
        QCOMPARE(result.status, row.asked ? SafeSaveResult::Status::Cancelled : SafeSaveResult::Status::Saved);
    }

    // A save of the bytes the file holds already touches neither the file
    // nor the record, and says so.
    void savingWhatIsThere() {
        QVERIFY(save().unchanged);  // nothing edited: nothing recorded either
        QVERIFY(!RecordPlace(records_, game_).exists());
        baza_.setLiga1(7);
        QVERIFY(!save().unchanged);
        const QByteArray recordText = readFile(RecordPlace(records_, game_).file());
        loaded_ = baza_.block();
        stamp_ = platform::stampOf(game_);
        const SafeSaveResult again = save();
        QVERIFY(again.unchanged && again.status == SafeSaveResult::Status::Saved);
        QVERIFY(platform::stampOf(game_) == stamp_ && again.stamp == stamp_);
        QCOMPARE(readFile(RecordPlace(records_, game_).file()), recordText);
    }

    // Temporary files of this record that earlier saves left behind go at the
    // next save, under its lock; nothing else in the folder does.
    void leftoversGo() {
        baza_.setLiga1(7);
        save();
        const QString record = QString::fromStdString(RecordPlace(records_, game_).file().filename().string());
        const QStringList leftovers{record + ".0123456789abcdef.new", record + ".fedcba9876543210.new"};
        const QStringList kept{record + ".0123456789abcdeg.new", record + ".0123456789abcdef.old",
                               "league-block-000000000000000000000000.txt.0123456789abcdef.new", "notes.new"};
        QDir folder(dir_->filePath("records"));
        for (const QString& name : leftovers + kept)
            QVERIFY(writeFile(folder.filePath(name), name == leftovers[1] ? "kelvory-orig" : ""));
        baza_.setLiga1(8);
        save();
        for (const QString& name : leftovers)
            QVERIFY2(!folder.exists(name), qPrintable(name));
        for (const QString& name : kept)
            QVERIFY2(folder.exists(name), qPrintable(name));
    }

    // The restore list reads without a lock and writes nothing: no data
    // folder, no lock file; a data folder that cannot be written is read all
    // the same. Nothing to set aside creates nothing either.
    void readingWritesNothing() {
        ReadOnlyFiles readOnly;
        {
            const UseFiles use(&readOnly);
            const RecordView none = viewRecord(records_, game_);
            QVERIFY(!none.record && none.identity && none.file == RecordPlace(records_, game_).file());
            QCOMPARE(setAsideDamagedRecord(records_, game_), std::nullopt);
        }
        QVERIFY(!std::filesystem::exists(records_));
        baza_.setLiga1(7);
        save();
        const UseFiles use(&readOnly);
        const RecordView view = viewRecord(records_, game_);
        QVERIFY(view.record && bytesOf(view.record->executables.at(0).original) == regionBytes(original_));
        QVERIFY(view.wroteThisBlock && view.wroteThisBlock->date == view.record->lastWritten->date &&
                view.wroteThisBlock->path == view.record->path);
        QCOMPARE(setAsideDamagedRecord(records_, game_), std::nullopt);
    }

    // A record that cannot be read is never replaced, and every save stops
    // at it; set aside on request, it is kept whole under a new name beside
    // it, and the next save starts a new record.
    void settingAside() {
        const std::filesystem::path record = RecordPlace(records_, game_).file();
        std::filesystem::create_directories(records_);
        QStringList asides;
        int value = 7;
        for (const QByteArray damaged : {"kelvory-original-block 3\npath /x\n", "not a record"}) {
            QVERIFY(writeFile(record, damaged));
            baza_.setLiga1(value++);
            QVERIFY_THROWS_EXCEPTION(SafeSaveError, save());
            const std::optional<std::filesystem::path> aside = setAsideDamagedRecord(records_, game_);
            QVERIFY(aside && aside->parent_path() == records_);
            const QString name = QString::fromStdString(aside->filename().string());
            QVERIFY2(
                QRegularExpression("^" + QRegularExpression::escape(QString::fromStdString(record.stem().string())) +
                                   "\\.damaged-\\d{8}T\\d{6}Z(-2)?\\.txt$")
                    .match(name)
                    .hasMatch(),
                qPrintable(name));
            QCOMPARE(readFile(*aside), damaged);
            QVERIFY(!std::filesystem::exists(record));
            asides << name;
            QVERIFY(save().recordCreated);
            std::filesystem::remove(record);
            loaded_ = baza_.block();
            stamp_ = platform::stampOf(game_);
        }
        QCOMPARE(asides.removeDuplicates(), 0);
        // Nothing to set aside: a record that reads well stays.
        baza_.setLiga1(8);
        save();
        const QByteArray good = readFile(record);
        QCOMPARE(setAsideDamagedRecord(records_, game_), std::nullopt);
        QCOMPARE(readFile(record), good);
        // Another Kelvory holds the lock.
        QVERIFY(writeFile(record, "damaged"));
        LockedFiles locked;
        const UseFiles use(&locked);
        try {
            setAsideDamagedRecord(records_, game_);
            QFAIL("set aside");
        } catch (const RecordError& error) {
            QCOMPARE(error.kind(), RecordError::Kind::Busy);
        }
    }

    // Another file put in the game's place while the save wrote: nothing is
    // written into it, the bytes written go back into the file the save
    // opened, and the error names both files.
    void swappedDuringTheSave() {
        const std::vector<std::string> steps = runSaveWithFaults(false, {}).steps;
        const auto readBack = std::find(steps.begin(), steps.end(), "game open") - steps.begin() + 1;
        const std::filesystem::path moved = fsPath(dir_->filePath("Moved.exe"));
        FaultyFileSystem files(game_, {{int(readBack), Fault::Swap}});
        files.onSwap([&] {
            std::error_code refused;
            std::filesystem::rename(game_, moved, refused);
            return !refused && writeGameFile(game_, kGameLength, 7);
        });
        baza_.setLiga1(7);
        try {
            const UseFiles use(&files);
            save();
            if (files.swappedBefore() == 0)
                QSKIP("the system keeps a file that is open in its place");
            QFAIL("saved");
        } catch (const SafeSaveError& error) {
            QCOMPARE(error.kind(), SafeSaveError::Kind::Swapped);
            QCOMPARE(error.file(), game_);
            QCOMPARE(std::optional<FileIdentity>(error.swap().opened), platform::identityAt(moved));
            QCOMPARE(std::optional<FileIdentity>(error.swap().found), platform::identityAt(game_));
            QCOMPARE(error.swap().openedNow, moved);
            QVERIFY(error.mayHaveChanged().empty());
        }
        QVERIFY(readFile(game_) == original_);
        QVERIFY(readFile(moved) == original_);
    }

private:
    std::filesystem::path gameIn(const QString& folder) const {
        return fsPath(dir_->filePath(folder + "/Game.exe"));
    }

    static QByteArray littleEndian(int value) {
        QByteArray bytes(4, '\0');
        blockbytes::putLittleEndian(bytes, 0, quint32(value), 4);
        return bytes;
    }

    // Loads the game in `folder`, puts `liga1` in, and saves.
    SafeSaveResult saveAt(const QString& folder, int liga1) {
        Baza baza;
        if (!baza.Wczytaj(gameIn(folder)))
            return {};
        const Baza::Block loaded = baza.block();
        baza.setLiga1(liga1);
        return saveSafely(baza.block(), gameIn(folder), Expected{loaded, platform::stampOf(gameIn(folder))}, records_,
                          [](const DiskState&) { return OutsideChangeAnswer::Cancel; });
    }

    // One step of Meeting's `before`.
    void meetStep(const QString& step) {
        const QStringList words = step.split(' ');
        const std::filesystem::path game = gameIn(words[1]);
        const QString verb = words[0];
        if (verb == "save") {
            QCOMPARE(saveAt(words[1], words[2].toInt()).status, SafeSaveResult::Status::Saved);
        } else if (verb == "move") {
            std::filesystem::rename(game.parent_path(), gameIn(words[2]).parent_path());
        } else if (verb == "fresh" || verb == "copy") {
            const std::filesystem::path copy = gameIn(words[verb == "copy" ? 2 : 1]);
            std::filesystem::create_directories(copy.parent_path());
            QVERIFY(writeGameFile(copy, kGameLength, 7));
            if (verb == "copy") {
                std::ifstream in(game, std::ios::binary);
                in.seekg(blockbytes::kLiga);
                QByteArray area(int(blockbytes::kEnd - blockbytes::kLiga), '\0');
                QVERIFY(in.read(area.data(), area.size()));
                QVERIFY(blockbytes::writeAt(copy, blockbytes::kLiga, area));
            }
        } else if (verb == "patch") {
            QVERIFY(blockbytes::writeAt(game, 4096, "patched-here"));
        } else if (verb == "set") {
            QVERIFY(blockbytes::writeAt(game, blockbytes::kLiga, littleEndian(words[2].toInt())));
        } else if (verb == "unfinish" || verb == "date") {
            const RecordPlace place(records_, game);
            OriginalRecord record = place.read().value();
            if (verb == "date") {
                record.lastWritten->date = words[2].toStdString();
            } else {
                record.writing = record.lastWritten;
                record.lastWritten->bytes = record.executables[0].history.back().bytes;
            }
            place.write(record);
        } else {
            QFAIL(qPrintable("no such step: " + step));
        }
    }

    // Saves the edited block; an outside change is answered Cancel.
    SafeSaveResult save(const std::filesystem::path& folder, const std::filesystem::path& game) {
        return saveSafely(baza_.block(), game, Expected{loaded_, stamp_}, folder,
                          [](const DiskState&) { return OutsideChangeAnswer::Cancel; });
    }
    SafeSaveResult save() {
        return save(records_, game_);
    }
    OriginalRecord readRecord() {
        return RecordPlace(records_, game_).read().value();
    }

    std::unique_ptr<QTemporaryDir> dir_;
    std::filesystem::path game_, records_;
    QByteArray original_;
    Baza baza_;
    Baza::Block loaded_;
    FileStamp stamp_;
};

QTEST_GUILESS_MAIN(SafeSaveTest)
#include "SafeSaveTest.moc"
