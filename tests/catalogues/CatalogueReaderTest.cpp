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
        row("LF alone", "a\nb\n", {"a", "b"});
        row("no final line end", "a\r\nb", {"a", "b"});
        row("unclosed quote keeps earlier items", "a,b\r\n\"never closed, x\r\ny\r\n", {"a", "b"}, false);
    }

    void readsItems() {
        QFETCH(QByteArray, content);
        QFETCH(QByteArrayList, items);
        QFETCH(bool, complete);
        std::istringstream in(content.toStdString());
        const CatalogueContents read = readCatalogue(in);
        QByteArrayList got;
        for (const std::string& item : read.items)
            got.append(QByteArray::fromStdString(item));
        QCOMPARE(got, items);
        QCOMPARE(read.complete, complete);
    }
};

QTEST_MAIN(CatalogueReaderTest)
#include "CatalogueReaderTest.moc"
