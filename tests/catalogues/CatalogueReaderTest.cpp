#include <QtTest>

#include <sstream>

#include "catalogues/CatalogueReader.h"

class CatalogueReaderTest : public QObject {
    Q_OBJECT

private slots:
    void readsItems_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArrayList>("items");
        QTest::addColumn<bool>("complete");
        const auto row = [](const char* name, const QByteArray& content, const QByteArrayList& items,
                            bool complete = true) { QTest::newRow(name) << content << items << complete; };
        row("empty file", "", {});
        row("quoted comma", "1,\"Harbour City, FC\"\r\n2,Dale\r\n", {"1", "Harbour City, FC", "2", "Dale"});
        row("blank line in the middle", "a\r\n\r\nb\r\n", {"a", "", "b"});
        row("only a line end", "\r\n", {""});
        row("LF alone", "a\nb\n\nc\n", {"a", "b", "", "c"});
        row("CR alone", "a\rb\r\rc\r", {"a", "b", "", "c"});
        row("LF CR is two line ends", "a\n\rb", {"a", "", "b"});
        row("no final line end", "a\r\nb", {"a", "b"});
        row("final line end gives no extra item", "a,b\r\n", {"a", "b"});
        row("empty field between commas", "a,,b", {"a", "", "b"});
        row("comma before the end", "a,", {"a", ""});
        row("comma before a line end", "a,\r\nb", {"a", "", "b"});
        row("blanks around items dropped", "   a  ,b\t\r\nc d \r\n", {"a", "b", "c d"});
        row("quoted item keeps its blanks", "\" a \" ,  \"b\"", {" a ", "b"});
        row("text after a closing quote dropped", "\"a\"xyz,b", {"a", "b"});
        row("quoted item holds a line end", "\"a\r\nb\",c", {"a\r\nb", "c"});
        row("empty quotes", "\"\",x", {"", "x"});
        row("quote inside an unquoted item is kept", "ab\"c,d", {"ab\"c", "d"});
        row("unclosed quote keeps earlier items", "a,b\r\n\"never closed, x\r\ny\r\n", {"a", "b"}, false);
        row("code page bytes kept", "Jos\xE9,\x80\r\n", {"Jos\xE9", "\x80"});
    }

    void readsItems() {
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
};

QTEST_MAIN(CatalogueReaderTest)
#include "CatalogueReaderTest.moc"
