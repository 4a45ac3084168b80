// Saving with a way back: the record of the original block, the check for
// outside changes, the read-back and the put-back of a save that fails
// part-way, on stand-in game files. Expected bytes are taken from the files by
// the layout alone (BlockBytes.h), never through Kelvory's own encoding.

#include <QCryptographicHash>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include "../common/TestFiles.h"
#include "../setup/BlockBytes.h"
#include "store/BlockSave.h"
#include "store/OriginalRecord.h"
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

QByteArray snapshotBytes(const BlockSnapshot& snapshot) {
    return QByteArray(reinterpret_cast<const char*>(snapshot.bytes.data()), int(snapshot.bytes.size()));
}

// Opens through the system's files, and fails or lies where told.
class FaultyFiles : public GameFiles {
public:
    int failWriteFrom = 0;       // the n-th write of the save (1-based) and all after it fail; 0: none
    int failWriteOnly = 0;       // only the n-th write fails
    bool failFlush = false;      // the first flush fails
    bool lieOnReadBack = false;  // a read after the writing open returns one byte changed
    QStringList opens;           // "read" / "write", in order

    std::unique_ptr<GameFile> open(const std::filesystem::path& path, BinaryFile::Mode mode) override {
        opens << (mode == BinaryFile::Mode::Read ? "read" : "write");
        auto real = GameFiles::open(path, mode);
        return std::make_unique<Faulty>(std::move(real), *this, mode == BinaryFile::Mode::Read && wroteOnce_);
    }

private:
    class Faulty : public GameFile {
    public:
        Faulty(std::unique_ptr<GameFile> real, FaultyFiles& owner, bool readBack)
            : real_(std::move(real)), owner_(owner), readBack_(readBack) {}
        std::int64_t size() const override { return real_->size(); }
        std::size_t readAt(std::int64_t offset, void* buffer, std::size_t size) override {
            const std::size_t got = real_->readAt(offset, buffer, size);
            if (readBack_ && owner_.lieOnReadBack && got > 0) {
                static_cast<unsigned char*>(buffer)[0] ^= 0x01;
            }
            return got;
        }
        void writeAt(std::int64_t offset, const void* buffer, std::size_t size) override {
            owner_.wroteOnce_ = true;
            const int n = ++owner_.writes_;
            if ((owner_.failWriteFrom && n >= owner_.failWriteFrom) || n == owner_.failWriteOnly) {
                throw FileError("game", "cannot write the file (No space left on device)");
            }
            real_->writeAt(offset, buffer, size);
        }
        void flushToDisk() override {
            if (owner_.failFlush && !owner_.flushFailed_) {
                owner_.flushFailed_ = true;
                throw FileError("game", "cannot write the file to disk (Input/output error)");
            }
            real_->flushToDisk();
        }
        void close() override { real_->close(); }

    private:
        std::unique_ptr<GameFile> real_;
        FaultyFiles& owner_;
        bool readBack_;
    };

    int writes_ = 0;
    bool wroteOnce_ = false;
    bool flushFailed_ = false;
};

struct UseFiles {
    explicit UseFiles(GameFiles* files) { useGameFiles(files); }
    ~UseFiles() { useGameFiles(nullptr); }
};

}  // namespace

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
        blockbytes::putShown(original_, blockbytes::plainValues());
        QVERIFY(blockbytes::writeBlockArea(game_, original_));
        QVERIFY(baza_.Wczytaj(game_));
        loaded_ = baza_.block();
        stamp_ = stampOf(game_);
    }

    // FIPS 180-4 examples, and lengths around the 64-byte block and its padding.
    void sha256_data() {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("digest");
        QTest::newRow("empty") << QByteArray()
                               << QByteArray("e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
        QTest::newRow("abc") << QByteArray("abc")
                             << QByteArray("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
        QTest::newRow("56 bytes, two padding blocks")
            << QByteArray("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq")
            << QByteArray("248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
        QTest::newRow("a million a") << QByteArray(1000000, 'a')
                                     << QByteArray("cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
    }
    void sha256() {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, digest);
        QCOMPARE(QByteArray::fromStdString(sha256Hex(input.toStdString())), digest);
    }

    // The first save records the bytes it overwrites, with the executable's
    // identity; nothing else is kept yet.
    void firstSaveTakesTheOriginal() {
        baza_.setLiga1(7);
        const BlockSaveResult saved = save();
        QCOMPARE(int(saved.status), int(BlockSaveResult::Status::Saved));
        QVERIFY(saved.save.recordCreated);
        const OriginalRecord record = readRecord();
        QCOMPARE(snapshotBytes(record.original), regionBytes(original_));
        QCOMPARE(record.size, kGameLength);
        QCOMPARE(QByteArray::fromStdString(record.headSha256),
                 QCryptographicHash::hash(gameBytes(kGameLength, 7).left(65536), QCryptographicHash::Sha256).toHex());
        // The record names the executable as the system writes paths.
        QCOMPARE(QString::fromStdString(record.path),
                 QDir::toNativeSeparators(QFileInfo(dir_->filePath("Game.exe")).absoluteFilePath()));
        QVERIFY(record.history.empty());
        QVERIFY(record.lastWritten);
        QByteArray expected = original_;
        expected.replace(blockbytes::kLiga, 4, QByteArray("\x07\x00\x00\x00", 4));
        QCOMPARE(snapshotBytes(*record.lastWritten), regionBytes(expected));
        QVERIFY(readFile(game_) == expected);
    }

    // Later saves keep the original and add what they overwrite, newest 50.
    void historyKeepsTheNewestFifty_data() {
        QTest::addColumn<int>("saves");
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("oldestLiga1");  // Liga1 in the oldest entry kept
        QTest::newRow("two saves") << 2 << 1 << 1;
        QTest::newRow("fifty-one saves") << 51 << 50 << 1;
        QTest::newRow("fifty-three saves") << 53 << 50 << 3;
    }
    void historyKeepsTheNewestFifty() {
        QFETCH(int, saves);
        QFETCH(int, entries);
        QFETCH(int, oldestLiga1);
        for (int i = 1; i <= saves; ++i) {
            baza_.setLiga1(i);  // save i overwrites Liga1 = i - 1 (100 before the first)
            QCOMPARE(int(save().status), int(BlockSaveResult::Status::Saved));
            loaded_ = baza_.block();
            stamp_ = stampOf(game_);
        }
        const OriginalRecord record = readRecord();
        QCOMPARE(snapshotBytes(record.original), regionBytes(original_));
        QCOMPARE(int(record.history.size()), entries);
        const QByteArray oldest = snapshotBytes(record.history.front());
        QCOMPARE(oldest.left(4), QByteArray(1, char(oldestLiga1)) + QByteArray(3, '\0'));
        QCOMPARE(oldest.mid(4), regionBytes(original_).mid(4));
        QCOMPARE(snapshotBytes(record.history.back()).left(4), QByteArray(1, char(saves - 1)) + QByteArray(3, '\0'));
    }

    // A store that cannot be written stops the save before the game file is
    // touched; so does a record that cannot be read.
    void storeProblemsWriteNothing_data() {
        QTest::addColumn<QByteArray>("inTheWay");  // a file where the folder should be, or a damaged record
        QTest::addColumn<bool>("asRecord");
        QTest::addColumn<int>("kind");
        QTest::newRow("folder is a file") << QByteArray("x") << false << int(SafeSaveError::Kind::RecordUnwritable);
        QTest::newRow("damaged record") << QByteArray("kelvory-original-block 1\npath /x\n") << true
                                        << int(SafeSaveError::Kind::RecordUnreadable);
    }
    void storeProblemsWriteNothing() {
        QFETCH(QByteArray, inTheWay);
        QFETCH(bool, asRecord);
        QFETCH(int, kind);
        const std::filesystem::path blocked = asRecord ? recordFileFor(records_, game_) : records_;
        std::filesystem::create_directories(blocked.parent_path());
        QVERIFY(writeFile(blocked, inTheWay));
        baza_.setLiga1(7);
        try {
            save();
            QFAIL("saved");
        } catch (const SafeSaveError& error) {
            QCOMPARE(int(error.kind()), kind);
            QVERIFY(QString::fromStdString(saveFailureMessage(error)).startsWith("Nothing was saved: "));
        }
        QVERIFY(readFile(game_) == original_);
        QCOMPARE(readFile(blocked), inTheWay);
    }

    // A change made by another program between load and save is found, and
    // each answer does what it says.
    void outsideChanges_data() {
        QTest::addColumn<bool>("blockChange");  // else the file only grows by one byte
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("written");
        using A = OutsideChangeAnswer;
        using S = BlockSaveResult::Status;
        QTest::newRow("block, overwrite") << true << int(A::Overwrite) << int(S::Saved) << true;
        QTest::newRow("block, reload") << true << int(A::Reload) << int(S::Reload) << false;
        QTest::newRow("block, cancel") << true << int(A::Cancel) << int(S::Cancelled) << false;
        QTest::newRow("size, overwrite") << false << int(A::Overwrite) << int(S::Saved) << true;
        QTest::newRow("size, cancel") << false << int(A::Cancel) << int(S::Cancelled) << false;
    }
    void outsideChanges() {
        QFETCH(bool, blockChange);
        QFETCH(int, answer);
        QFETCH(int, status);
        QFETCH(bool, written);
        QByteArray disk = original_;
        if (blockChange) {
            disk[blockbytes::kMap + 2] = '\x09';  // America: 2 -> 9, by another program
            QVERIFY(blockbytes::writeBlockArea(game_, disk));
        } else {
            disk.append('\0');
            std::filesystem::resize_file(game_, std::uintmax_t(kGameLength + 1));
        }
        baza_.setLiga1(7);
        QList<int> asked;
        const BlockSaveResult result =
            saveLeagueBlock(baza_, loaded_, stamp_, game_, records_, [&](const DiskState& state) {
                asked << int(state.change);
                return OutsideChangeAnswer(answer);
            });
        QCOMPARE(asked, QList<int>{int(blockChange ? OutsideChange::Block : OutsideChange::SizeOrTime)});
        QCOMPARE(int(result.status), status);
        QCOMPARE(int(result.disk.block.map[2]), blockChange ? 9 : 2);
        QByteArray expected = disk;
        if (written) {
            expected.replace(blockbytes::kLiga, 4, QByteArray("\x07\x00\x00\x00", 4));
            expected[blockbytes::kMap + 2] = '\x02';  // the window's values go over it
        }
        QVERIFY(readFile(game_) == expected);
        QCOMPARE(std::filesystem::exists(recordFileFor(records_, game_)), written);
    }

    // Nothing changed on disk: no question.
    void noQuestionWithoutChange() {
        baza_.setLiga1(7);
        int asked = 0;
        saveLeagueBlock(baza_, loaded_, stamp_, game_, records_, [&](const DiskState&) {
            ++asked;
            return OutsideChangeAnswer::Cancel;
        });
        QCOMPARE(asked, 0);
    }

    // A file that does not hold what was written after the save is a failed save.
    void readBackMismatchFails() {
        FaultyFiles files;
        files.lieOnReadBack = true;
        UseFiles using_(&files);
        baza_.setLiga1(7);
        try {
            save();
            QFAIL("saved");
        } catch (const SafeSaveError& error) {
            QCOMPARE(int(error.kind()), int(SafeSaveError::Kind::NotAsWritten));
            QVERIFY(QString::fromStdString(saveFailureMessage(error))
                        .startsWith("The save failed: the game executable does not hold what was written."));
        }
        // Check, identity, write, read-back: four opens, the last a new one.
        QCOMPARE(files.opens, (QStringList{"read", "read", "write", "read"}));
    }

    // A write that fails part-way puts back what it had overwritten; when
    // even that fails, the message lists the bytes that may have changed.
    void failedWritesPutBack_data() {
        QTest::addColumn<int>("failFrom");
        QTest::addColumn<int>("failOnly");
        QTest::addColumn<bool>("failFlush");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("listed");
        using K = SafeSaveError::Kind;
        QTest::newRow("third write fails") << 0 << 3 << false << int(K::PutBack) << QString();
        QTest::newRow("first write fails") << 0 << 1 << false << int(K::PutBack) << QString();
        QTest::newRow("flush fails") << 0 << 0 << true << int(K::PutBack) << QString();
        QTest::newRow("third write and the put-back fail")
            << 3 << 0 << false << int(K::PartlyWritten)
            << QString(
                   "These bytes (counted from 0) may have changed:\n  bytes 15612412 to 15612463\n"
                   "  bytes 15612464 to 15612515\n  bytes 15612516 to 15612562\n");
    }
    void failedWritesPutBack() {
        QFETCH(int, failFrom);
        QFETCH(int, failOnly);
        QFETCH(bool, failFlush);
        QFETCH(int, kind);
        QFETCH(QString, listed);
        FaultyFiles files;
        files.failWriteFrom = failFrom;
        files.failWriteOnly = failOnly;
        files.failFlush = failFlush;
        UseFiles using_(&files);
        for (int i = 0; i < 13; ++i)
            baza_.setLiga(i, 1000 + i);
        baza_.setStr1(-1);
        baza_.setCat1("category_18");
        baza_.setEurope(10);
        baza_.setCatL1(29);
        try {
            save();
            QFAIL("saved");
        } catch (const SafeSaveError& error) {
            QCOMPARE(int(error.kind()), kind);
            const QString message = QString::fromStdString(saveFailureMessage(error));
            if (listed.isEmpty()) {
                QVERIFY2(message.contains("The bytes already written were put back: the file is as it was before "
                                          "the save."),
                         qPrintable(message));
            } else {
                QVERIFY2(message.contains(listed), qPrintable(message));
                QVERIFY(message.contains("Restore Original Values"));
            }
        }
        if (listed.isEmpty()) {
            QVERIFY(readFile(game_) == original_);
        } else {
            // The first two regions were written, the third failed, the rest untouched.
            QByteArray expected = original_;
            for (int i = 0; i < 13; ++i) {
                const qint32 v = 1000 + i;
                expected.replace(blockbytes::kLiga + 4 * i, 4, QByteArray(reinterpret_cast<const char*>(&v), 4));
            }
            expected.replace(blockbytes::kStr, 2, QByteArray("\xff\xff", 2));
            QVERIFY(readFile(game_) == expected);
        }
        // The original was recorded before the writing began.
        QCOMPARE(snapshotBytes(readRecord().original), regionBytes(original_));
    }

    // The record's text, worked out by hand for a block of zeros with one 01.
    void recordText() {
        OriginalRecord record;
        record.path = "/g/My \\Game\n.exe";
        record.size = 15613092;
        record.headSha256 = std::string(64, 'a');
        record.original.date = "2026-12-06T23:15:39Z";
        record.original.bytes[0] = 1;
        record.history.push_back({"2026-12-07T01:02:03Z", {}});
        const QByteArray zeros = QByteArray(2 * 199 - 2, '0');
        const QByteArray expected =
            "kelvory-original-block 1\n"
            "path /g/My \\\\Game\\x0a.exe\n"
            "size 15613092\n"
            "sha256-of-first-65536-bytes " +
            QByteArray(64, 'a') +
            "\n"
            "regions 15612412+52 15612464+52 15612516+47 15613072+20 15612712+28\n"
            "original 2026-12-06T23:15:39Z 01" +
            zeros + "\nbefore-save 2026-12-07T01:02:03Z 00" + zeros + "\nend\n";
        QCOMPARE(QByteArray::fromStdString(::recordText(record)), expected);
        QVERIFY(parseRecord(expected.toStdString()) == record);
    }

    // Record files are read strictly: any fault is an error naming the line.
    void damagedRecords_data() {
        const QByteArray head = "kelvory-original-block 1\npath /g.exe\nsize 15613092\nsha256-of-first-65536-bytes " +
                                QByteArray(64, 'b') +
                                "\nregions 15612412+52 15612464+52 15612516+47 15613072+20 15612712+28\n";
        const QByteArray block = "2026-12-06T23:15:39Z " + QByteArray(398, 'f');
        const QByteArray good = head + "original " + block + "\nend\n";
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("error");
        QTest::newRow("empty") << QByteArray() << "line 1: the record ends too early";
        QTest::newRow("format 2") << QByteArray(good).replace("block 1", "block 2") << "line 1: format 1 expected";
        QTest::newRow("no end") << (head + "original " + block + "\n") << "line 7: the record ends too early";
        QTest::newRow("after the end") << (good + "x\n") << "line 8: nothing may follow \"end\"";
        QTest::newRow("last line unended") << good.chopped(1) << "line 7: the line has no end";
        QTest::newRow("upper-case hex") << QByteArray(good).replace("ffff", "FFFF")
                                        << "line 6: hex digits 0-9 and a-f expected";
        QTest::newRow("short block") << QByteArray(good).replace("ffff\n", "fff\n")
                                     << "line 6: a date and 398 hex digits expected";
        QTest::newRow("bad date") << QByteArray(good).replace("23:15:39Z", "23:15:3xZ")
                                  << "line 6: a date and 398 hex digits expected";
        QTest::newRow("NUL in path") << QByteArray(good).replace("/g.exe", QByteArray("/g\0.exe", 7))
                                     << "line 2: a control character in the path";
        QTest::newRow("lone backslash") << QByteArray(good).replace("/g.exe", "/g\\.exe")
                                        << "line 2: \"\\\\\" or \"\\xHH\" expected after a backslash in the path";
        QTest::newRow("escaped printable byte") << QByteArray(good).replace("/g.exe", "/g\\x41.exe")
                                                << "line 2: \"\\xHH\" stands only for a control character in the path";
        QTest::newRow("size 0-led") << QByteArray(good).replace("size 1", "size 01")
                                    << "line 3: a size in bytes expected";
        QTest::newRow("size too long") << QByteArray(good).replace("size 15613092", "size 1234567890123456")
                                       << "line 3: a size in bytes expected";
        QTest::newRow("other regions") << QByteArray(good).replace("+20", "+21")
                                       << "line 5: the regions must be 15612412+52 15612464+52 15612516+47 "
                                          "15613072+20 15612712+28";
        QByteArray many = head + "original " + block + "\n";
        for (int i = 0; i < 51; ++i)
            many += "before-save " + block + "\n";
        QTest::newRow("51 history entries") << (many + "end\n") << "line 57: more than 50 history entries";
        QTest::newRow("unknown line") << QByteArray(good).replace("end\n", "note x\nend\n")
                                      << "line 7: \"end\" expected";
        QTest::newRow("too long") << (good + QByteArray(128 * 1024, '#')) << "the record is longer than 131072 bytes";
    }
    void damagedRecords() {
        QFETCH(QByteArray, text);
        QFETCH(QString, error);
        try {
            parseRecord(text.toStdString());
            QFAIL("accepted");
        } catch (const RecordError& e) {
            QCOMPARE(QString::fromStdString(e.what()), error);
        }
    }

private:
    BlockSaveResult save() {
        return saveLeagueBlock(baza_, loaded_, stamp_, game_, records_,
                               [](const DiskState&) { return OutsideChangeAnswer::Cancel; });
    }
    OriginalRecord readRecord() {
        const std::optional<OriginalRecord> record = readRecordFile(recordFileFor(records_, game_));
        if (!record) {
            throw std::runtime_error("no record");
        }
        return *record;
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
