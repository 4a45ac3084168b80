#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "platform/BinaryFile.h"

namespace {

std::filesystem::path fsPath(const QString& path) {
    return std::filesystem::u8path(path.toStdString());
}

}  // namespace

class BinaryFileTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QFile ten(file("ten.bin"));
        QVERIFY(ten.open(QIODevice::WriteOnly | QIODevice::Truncate) && ten.write("0123456789") == 10);
        QVERIFY(QDir(dir_.path()).mkpath("sub"));
    }

    void reads_data() {
        QTest::addColumn<qint64>("offset");
        QTest::addColumn<int>("size");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("inside") << qint64(2) << 3 << QByteArray("234");
        QTest::newRow("across the end") << qint64(7) << 6 << QByteArray("789");
        QTest::newRow("at the end") << qint64(10) << 4 << QByteArray();
        QTest::newRow("far beyond the end") << qint64(15612412) << 52 << QByteArray();
    }

    void reads() {
        QFETCH(qint64, offset);
        QFETCH(int, size);
        QFETCH(QByteArray, expected);
        BinaryFile f(fsPath(file("ten.bin")), BinaryFile::Mode::Read);
        QByteArray buffer(size, '\xAA');
        QCOMPARE(f.readAt(offset, buffer.data(), std::size_t(size)), std::size_t(expected.size()));
        QCOMPARE(buffer, expected + QByteArray(size - expected.size(), '\xAA'));
    }

    void writes_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("offset");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("in place, no truncation")
            << "ten.bin" << qint64(3) << QByteArray("ab") << QByteArray("012ab56789");
        QTest::newRow("past the end leaves zeros")
            << "ten.bin" << qint64(14) << QByteArray("end") << QByteArray("0123456789\0\0\0\0end", 17);
        QTest::newRow("creates a missing file") << "new.bin" << qint64(2) << QByteArray("z") << QByteArray("\0\0z", 3);
    }

    void writes() {
        QFETCH(QString, name);
        QFETCH(qint64, offset);
        QFETCH(QByteArray, data);
        QFETCH(QByteArray, expected);
        BinaryFile f(fsPath(file(name)), BinaryFile::Mode::ReadWriteCreate);
        f.writeAt(offset, data.constData(), std::size_t(data.size()));
        f.flushToDisk();
        f.close();
        QFile written(file(name));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), expected);
    }

    void openFailures_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("forWriting");
        QTest::newRow("missing file, reading") << "missing.bin" << false;
        QTest::newRow("missing folder, writing") << "no-folder/x.bin" << true;
        QTest::newRow("parent is a file, writing") << "ten.bin/x.bin" << true;
        QTest::newRow("folder, writing") << "sub" << true;
        QTest::newRow("folder, reading") << "sub" << false;  // refused on open or on read
        QTest::newRow("empty path, reading") << "" << false;
        QTest::newRow("empty path, writing") << "" << true;
    }

    void openFailures() {
        QFETCH(QString, name);
        QFETCH(bool, forWriting);
        const std::filesystem::path path = name.isEmpty() ? std::filesystem::path() : fsPath(file(name));
        try {
            BinaryFile f(path, forWriting ? BinaryFile::Mode::ReadWriteCreate : BinaryFile::Mode::Read);
            char byte = 0;
            f.readAt(0, &byte, 1);
            QFAIL("the file opened and was read");
        } catch (const FileError& error) {
            QCOMPARE(error.path(), path);
            QVERIFY(!error.reason().empty());
            QVERIFY(std::string(error.what()).find(path.u8string()) != std::string::npos);
        }
    }

private:
    QString file(const QString& name) const { return dir_.filePath(name); }

    QTemporaryDir dir_;
};

QTEST_MAIN(BinaryFileTest)
#include "BinaryFileTest.moc"
