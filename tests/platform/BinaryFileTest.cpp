#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "platform/BinaryFile.h"

namespace {

std::filesystem::path fsPath(const QString& path) {
    return std::filesystem::u8path(path.toStdString());
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class BinaryFileTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void readsWhatTheFileHolds_data();
    void readsWhatTheFileHolds();
    void writesInPlaceWithoutTruncating();
    void writingPastTheEndLeavesZeros();
    void createsAMissingFile();
    void openFailures_data();
    void openFailures();
    void readingAFolderFails();

private:
    QString file(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir_;
};

void BinaryFileTest::init() {
    QVERIFY(dir_.isValid());
    QFile ten(file("ten.bin"));
    QVERIFY(ten.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ten.write("0123456789");
}

void BinaryFileTest::readsWhatTheFileHolds_data() {
    QTest::addColumn<qint64>("offset");
    QTest::addColumn<int>("size");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("inside") << qint64(2) << 3 << QByteArray("234");
    QTest::newRow("up to the end") << qint64(6) << 4 << QByteArray("6789");
    QTest::newRow("across the end") << qint64(7) << 6 << QByteArray("789");
    QTest::newRow("at the end") << qint64(10) << 4 << QByteArray();
    QTest::newRow("far beyond the end") << qint64(15612412) << 52 << QByteArray();
}

void BinaryFileTest::readsWhatTheFileHolds() {
    QFETCH(qint64, offset);
    QFETCH(int, size);
    QFETCH(QByteArray, expected);
    BinaryFile f(fsPath(file("ten.bin")), BinaryFile::Mode::Read);
    QByteArray buffer(size, '\xAA');
    const std::size_t got = f.readAt(offset, buffer.data(), static_cast<std::size_t>(size));
    QCOMPARE(got, static_cast<std::size_t>(expected.size()));
    QCOMPARE(buffer.left(expected.size()), expected);
    QVERIFY(buffer.mid(expected.size()) == QByteArray(size - expected.size(), '\xAA'));
    f.close();
}

void BinaryFileTest::writesInPlaceWithoutTruncating() {
    BinaryFile f(fsPath(file("ten.bin")), BinaryFile::Mode::ReadWriteCreate);
    f.writeAt(3, "ab", 2);
    f.writeAt(0, "X", 1);
    f.flushToDisk();
    f.close();
    QCOMPARE(readAll(file("ten.bin")), QByteArray("X12ab56789"));
}

void BinaryFileTest::writingPastTheEndLeavesZeros() {
    BinaryFile f(fsPath(file("ten.bin")), BinaryFile::Mode::ReadWriteCreate);
    f.writeAt(14, "end", 3);
    f.close();
    QCOMPARE(readAll(file("ten.bin")), QByteArray("0123456789\0\0\0\0end", 17));
}

void BinaryFileTest::createsAMissingFile() {
    const QString path = file("new.bin");
    QVERIFY(!QFile::exists(path));
    BinaryFile f(fsPath(path), BinaryFile::Mode::ReadWriteCreate);
    f.writeAt(2, "z", 1);
    f.close();
    QCOMPARE(readAll(path), QByteArray("\0\0z", 3));
}

void BinaryFileTest::openFailures_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("forWriting");
    QTest::newRow("missing file, reading") << QStringLiteral("missing.bin") << false;
    QTest::newRow("missing folder, writing") << QStringLiteral("no-folder/x.bin") << true;
    QTest::newRow("parent is a file, writing") << QStringLiteral("ten.bin/x.bin") << true;
    QTest::newRow("folder, writing") << QStringLiteral("sub") << true;
    QTest::newRow("empty path, reading") << QString() << false;
    QTest::newRow("empty path, writing") << QString() << true;
}

void BinaryFileTest::openFailures() {
    QFETCH(QString, name);
    QFETCH(bool, forWriting);
    QVERIFY(QDir(dir_.path()).mkpath("sub"));
    const std::filesystem::path path = name.isEmpty() ? std::filesystem::path() : fsPath(dir_.filePath(name));
    const auto mode = forWriting ? BinaryFile::Mode::ReadWriteCreate : BinaryFile::Mode::Read;
    try {
        BinaryFile f(path, mode);
        QFAIL("the file opened");
    } catch (const FileError& error) {
        QCOMPARE(error.path(), path);
        QVERIFY(!error.reason().empty());
        QVERIFY(std::string(error.what()).find(path.u8string()) != std::string::npos);
    }
}

void BinaryFileTest::readingAFolderFails() {
    QVERIFY(QDir(dir_.path()).mkpath("sub"));
    // Some systems refuse to open a folder, others refuse to read it: either way it is a FileError.
    QVERIFY_THROWS_EXCEPTION(FileError, {
        BinaryFile f(fsPath(file("sub")), BinaryFile::Mode::Read);
        char byte = 0;
        f.readAt(0, &byte, 1);
    });
}

QTEST_MAIN(BinaryFileTest)
#include "BinaryFileTest.moc"
