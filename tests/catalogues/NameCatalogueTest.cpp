// The name catalogue read as pairs of a name index and a name, or as a plain
// list of items when it is not such a sequence.

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

#include "../common/Rows.h"
#include "../common/TestFiles.h"
#include "catalogues/Ini.h"
#include "catalogues/NameCatalogue.h"

namespace {

// Items as the reader gives them, and what the catalogue makes of them:
// "number=name" per entry, joined by ';', or "-" when it is not paired.
struct Pairing {
    QStringList items;
    QString entries;
};

std::vector<std::string> itemsOf(const QStringList& list) {
    std::vector<std::string> items;
    for (const QString& item : list)
        items.push_back(item.toStdString());
    return items;
}

QString entriesOf(const NameCatalogue& catalogue) {
    if (!catalogue.paired())
        return "-";
    QStringList entries;
    for (const NameEntry& entry : catalogue.entries())
        entries << QString::number(entry.number) + "=" + QString::fromStdString(entry.name);
    return entries.join(';');
}

}  // namespace

Q_DECLARE_METATYPE(Pairing)

class NameCatalogueTest : public QObject {
    Q_OBJECT

private slots:
    // A whole number is an optional minus and digits within -32768..32767; a
    // text is anything with a visible character that is not such digits.
    void pairsOrNot_data() {
        rows<Pairing>({
            {"pairs", {{"0", "Northvale", "12", "Ashgrove, Wanderers"}, "0=Northvale;12=Ashgrove, Wanderers"}},
            {"odd count", {{"0", "Northvale", "1"}, "-"}},
            {"a text where a number should be", {{"0", "Northvale", "Eastmarsh", "1"}, "-"}},
            {"a number where a text should be", {{"1", "1860"}, "-"}},
            {"bare numbers, an even count", {{"1", "2", "3", "4"}, "-"}},
            {"an empty name", {{"0", "", "1", "Eastmarsh"}, "-"}},
            {"an empty number", {{"", "Northvale"}, "-"}},
            {"a blank name", {{"0", " \t"}, "-"}},
            {"no items", {{}, "-"}},
            {"the ends of the 16-bit range", {{"-32768", "Low", "32767", "High"}, "-32768=Low;32767=High"}},
            {"one beyond the top", {{"32768", "High"}, "-"}},
            {"one below the bottom", {{"-32769", "Low"}, "-"}},
            {"a long row of digits", {{"123456789012345678901234567890", "Big"}, "-"}},
            {"leading zeros and minus zero", {{"007", "Bond", "-0", "Zero"}, "7=Bond;0=Zero"}},
            {"a plus sign", {{"+1", "One"}, "-"}},
            {"a lone minus", {{"-", "One"}, "-"}},
            {"a decimal point", {{"1.0", "One"}, "-"}},
            {"a blank inside quotes", {{" 1", "One"}, "-"}},
            {"digits and letters make a name", {{"1", "1860 Munich", "2", "-5 Degrees"}, "1=1860 Munich;2=-5 Degrees"}},
            {"duplicates stay, in file order",
             {{"4", "Redcliff", "4", "Harbour", "3", "Mill"}, "4=Redcliff;4=Harbour;3=Mill"}},
        });
    }
    void pairsOrNot() {
        QFETCH(Pairing, row);
        const NameCatalogue catalogue(itemsOf(row.items));
        QCOMPARE(entriesOf(catalogue), row.entries);
        // Unpaired, the items are today's entries, exactly; paired, nothing
        // else offers them.
        QCOMPARE(catalogue.items(), catalogue.paired() ? std::vector<std::string>{} : itemsOf(row.items));
        QCOMPARE(catalogue.pairedIndices(), catalogue.paired() ? &catalogue : nullptr);
        QCOMPARE(catalogue.nameCount(), std::size_t(catalogue.paired() ? row.items.size() / 2 : 0));
    }

    // The first entry with a number wins; a number no entry has, or any
    // number in an unpaired catalogue, finds none.
    void findsTheFirstEntryOfANumber() {
        const NameCatalogue catalogue({"4", "Redcliff", "-2", "Below", "4", "Harbour", "3", "Mill"});
        QCOMPARE(catalogue.positionOf(4), std::optional<std::size_t>(0));
        QCOMPARE(catalogue.positionOf(3), std::optional<std::size_t>(3));
        QCOMPARE(catalogue.positionOf(-2), std::optional<std::size_t>(1));
        QCOMPARE(QString::fromStdString(catalogue.entryOf(4)->name), "Redcliff");
        for (const long long absent : {0LL, 5LL, -4LL, 65540LL, 4294967300LL}) {
            QVERIFY(!catalogue.lists(absent));
            QVERIFY(!catalogue.entryOf(absent));
        }
        QVERIFY(catalogue.lists(-2));
        const NameCatalogue unpaired({"4", "Redcliff", "Mill"});
        QVERIFY(!unpaired.lists(4));
        QVERIFY(!unpaired.entryOf(4));
    }

    void showsNumberAndName() {
        QCOMPARE(QString::fromStdString(NameCatalogue::entryText({12, "Ashgrove, Wanderers"})),
                 QStringLiteral("12 \u00B7 Ashgrove, Wanderers"));
        QCOMPARE(QString::fromStdString(NameCatalogue::entryText({-7, "Gr\xC3\xA9"})),
                 QStringLiteral("-7 \u00B7 Gr\u00E9"));
    }

    // 10,000 pairs, read from the file the way Str_Petla reads it: in file
    // order, every number found, quickly.
    void readsTenThousandPairs() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("Setting"));
        QByteArray file;
        for (int i = 9999; i >= 0; --i)
            file += QByteArray::number(i) + ",\"Club " + QByteArray::number(i) + ", FC\"\r\n";
        QVERIFY(testfiles::writeFile(dir.filePath("Setting/ID_Name_League.ini"), file));
        QElapsedTimer timer;
        timer.start();
        std::string skipped = "earlier";
        const NameCatalogue catalogue = readNameCatalogue(testfiles::fsPath(dir.path()), &skipped);
        const qint64 elapsed = timer.elapsed();
        QVERIFY(skipped.empty());
        QVERIFY(catalogue.paired());
        QCOMPARE(catalogue.nameCount(), std::size_t(10000));
        QCOMPARE(catalogue.entries().front().number, 9999);
        for (int i = 0; i < 10000; ++i) {
            const NameEntry* entry = catalogue.entryOf(i);
            QVERIFY(entry);
            QCOMPARE(entry->name, "Club " + std::to_string(i) + ", FC");
        }
        QVERIFY2(elapsed < 500, qPrintable(QString("read in %1 ms").arg(elapsed)));
    }

    // Without a program folder nothing is read; a catalogue passed over as a
    // whole gives none and says why.
    void readsNothingItMayNot() {
        std::string skipped = "earlier";
        QVERIFY(!readNameCatalogue({}, &skipped).paired());
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("Setting"));
        QVERIFY(testfiles::writeFile(dir.filePath("Setting/ID_Name_League.ini"), QByteArray(100000, ',')));
        const NameCatalogue catalogue = readNameCatalogue(testfiles::fsPath(dir.path()), &skipped);
        QVERIFY(catalogue.items().empty());
        QVERIFY2(QString::fromStdString(skipped).contains("ID_Name_League.ini"), skipped.c_str());
    }
};

QTEST_APPLESS_MAIN(NameCatalogueTest)
#include "NameCatalogueTest.moc"
