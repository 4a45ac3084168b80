#include <QtTest>

#include <sstream>

#include "catalogues/CatalogueReader.h"

class CatalogueReaderTest : public QObject {
    Q_OBJECT

private slots:
    void readsItems_data();
    void readsItems();
};

void CatalogueReaderTest::readsItems_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArrayList>("items");
    QTest::addColumn<bool>("complete");

    QTest::newRow("empty file") << QByteArray() << QByteArrayList{} << true;
    QTest::newRow("number, comma, name") << QByteArray("7,Northland\r\n") << QByteArrayList{"7", "Northland"} << true;
    QTest::newRow("quoted comma") << QByteArray("1,\"Harbour City, FC\"\r\n2,Dale\r\n")
                                  << QByteArrayList{"1", "Harbour City, FC", "2", "Dale"} << true;
    QTest::newRow("blank line in the middle") << QByteArray("a\r\n\r\nb\r\n") << QByteArrayList{"a", "", "b"} << true;
    QTest::newRow("only a line end") << QByteArray("\r\n") << QByteArrayList{""} << true;
    QTest::newRow("LF alone") << QByteArray("a\nb\n\nc\n") << QByteArrayList{"a", "b", "", "c"} << true;
    QTest::newRow("CR alone") << QByteArray("a\rb\r\rc\r") << QByteArrayList{"a", "b", "", "c"} << true;
    QTest::newRow("LF CR is two line ends") << QByteArray("a\n\rb") << QByteArrayList{"a", "", "b"} << true;
    QTest::newRow("no final line end") << QByteArray("a\r\nb") << QByteArrayList{"a", "b"} << true;
    QTest::newRow("final line end gives no extra item") << QByteArray("a,b\r\n") << QByteArrayList{"a", "b"} << true;
    QTest::newRow("empty field between commas") << QByteArray("a,,b") << QByteArrayList{"a", "", "b"} << true;
    QTest::newRow("comma before the end") << QByteArray("a,") << QByteArrayList{"a", ""} << true;
    QTest::newRow("comma before a line end") << QByteArray("a,\r\nb") << QByteArrayList{"a", "", "b"} << true;
    QTest::newRow("leading spaces skipped") << QByteArray("   a,  b\r\n") << QByteArrayList{"a", "b"} << true;
    QTest::newRow("blanks after an item dropped")
        << QByteArray("a  ,b\t\r\nc d \r\n") << QByteArrayList{"a", "b", "c d"} << true;
    QTest::newRow("quoted item keeps its blanks")
        << QByteArray("\" a \" ,  \"b\"") << QByteArrayList{" a ", "b"} << true;
    QTest::newRow("text after a closing quote dropped") << QByteArray("\"a\"xyz,b") << QByteArrayList{"a", "b"} << true;
    QTest::newRow("quoted item holds a line end")
        << QByteArray("\"a\r\nb\",c") << QByteArrayList{"a\r\nb", "c"} << true;
    QTest::newRow("empty quotes") << QByteArray("\"\",x") << QByteArrayList{"", "x"} << true;
    QTest::newRow("quote inside an unquoted item is kept")
        << QByteArray("ab\"c,d") << QByteArrayList{"ab\"c", "d"} << true;
    QTest::newRow("unclosed quote keeps earlier items")
        << QByteArray("a,b\r\n\"never closed, x\r\ny\r\n") << QByteArrayList{"a", "b"} << false;
    QTest::newRow("code page bytes are kept as they are")
        << QByteArray("Jos\xE9,\x80\r\n") << QByteArrayList{"Jos\xE9", "\x80"} << true;
}

void CatalogueReaderTest::readsItems() {
    QFETCH(QByteArray, content);
    QFETCH(QByteArrayList, items);
    QFETCH(bool, complete);
    std::istringstream in(content.toStdString());
    const CatalogueContents read = readCatalogue(in);
    QByteArrayList got;
    for (const std::string& item : read.items) {
        got.append(QByteArray::fromStdString(item));
    }
    QCOMPARE(got, items);
    QCOMPARE(read.complete, complete);
}

QTEST_MAIN(CatalogueReaderTest)
#include "CatalogueReaderTest.moc"
