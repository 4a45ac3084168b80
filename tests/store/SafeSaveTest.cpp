// Saving with a way back, on stand-in game files: the record of the original
// block, the check for outside changes, and the promises a save keeps with a
// fault at any step. Expected bytes are taken from the files by the layout
// alone (BlockBytes.h), never through Kelvory's own encoding.

#include <QCryptographicHash>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include "../common/Rows.h"
#include "../common/TestFiles.h"
#include "../common/UseFiles.h"
#include "../setup/BlockBytes.h"
#include "fuzz/FaultySave.h"
#include "session/Messages.h"
#include "store/RecordFile.h"
#include "store/SafeSave.h"
#include "store/Sha256.h"

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

struct Compared {
    int found;        // the byte found at position 5 (every other byte is 1)
    int unfinished;   // the byte an unfinished write left at position 5; -1: none
    FileStamp stamp;  // the file's size and time now (the expected ones: 100, 7)
    OutsideChange change;
};

}  // namespace

Q_DECLARE_METATYPE(Compared)

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
    // dying there, or every step failing from there on (the disk is gone).
    // Whatever happens, the file holds the old block or the new one (or the
    // message names the bytes that may differ), the record stays whole with
    // its original, and restoring the original works afterwards.
    void faultAtEveryStep_data() {
        QTest::addColumn<bool>("later");
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("fault");  // a Fault, or -1: errors from the step on
        const std::pair<int, const char*> faults[] = {{int(Fault::Error), "error"},
                                                      {int(Fault::Lie), "lie"},
                                                      {int(Fault::Crash), "crash"},
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

private:
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
