#include <QtTest>

#include <set>
#include <stdexcept>

#include "core/Baza.h"
#include "core/Fields.h"

namespace {

// Reads a field through the block's own named accessors, so the table is
// checked against the block rather than against itself.
using Reader = long long (*)(const Baza&);

}  // namespace

Q_DECLARE_METATYPE(Reader)

class FieldsTest : public QObject {
    Q_OBJECT

private slots:
    // Rows taken from the window's layout: frame caption, row and slot words,
    // block name, and the picker or indicator beside the box.
    void describesTheBox_data() {
        QTest::addColumn<int>("member");
        QTest::addColumn<QString>("words");
        QTest::addColumn<QString>("slotWords");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("picker");
        QTest::addColumn<int>("indicator");
        QTest::addColumn<int>("input");
        const int number = int(BoxInput::Number), text = int(BoxInput::CategoryText);
        const auto row = [](const char* tag, int member, const char* words, const char* slotWords, const char* name,
                            int picker, int indicator, int input) {
            QTest::newRow(tag) << member << words << slotWords << name << picker << indicator << input;
        };
        row("first slot", 0, "National Slot, row 1", "", "Liga1", 0, 0, number);
        row("last club slot", 12, "Club Slot, row 9", "", "Liga13", 0, 0, number);
        row("Str1 on top", 13, "National Name, row 1", "", "Str1", 14, 0, number);
        row("Str2 at the bottom", 14, "National Name, row 4", "", "Str2", 15, 0, number);
        row("Str4 third", 16, "National Name, row 3", "", "Str4", 17, 0, number);
        row("Str5", 17, "Club Name, row 1", "", "Str5", 18, 0, number);
        row("Cat4", 29, "National Category Logo League u_1426.bin ->dt06.img, row 4", "", "Cat4", 4, 0, text);
        row("CatL1", 30, "Club Category Logo(dt04.img), row 1", "", "CatL1", 0, 2, int(BoxInput::TwoTypedCharacters));
        row("Europe", 39, "Maps Load u_1426.bin ->dt06.img, row 1", "Europe", "Europe", 0, 0, number);
        row("PrimerLeague", 43, "Maps Load u_1426.bin ->dt06.img, row 5", "Primer League", "PrimerLeague", 0, 0,
            number);
        row("OtherLatinAmerican", 51, "Maps Load u_1426.bin ->dt06.img, row 13", "Other Latin American",
            "OtherLatinAmerican", 0, 0, number);
    }
    void describesTheBox() {
        QFETCH(int, member);
        QFETCH(QString, words);
        QFETCH(QString, slotWords);
        QFETCH(QString, name);
        QFETCH(int, picker);
        QFETCH(int, indicator);
        QFETCH(int, input);
        const Field* field = fieldOfMember(member);
        QCOMPARE(QString::fromStdString(fieldWords(*field)), words);
        QCOMPARE(QString::fromStdString(fieldSlotWords(*field)), slotWords);
        QCOMPARE(QString::fromLatin1(field->name), name);
        QCOMPARE(field->picker, picker);
        QCOMPARE(field->indicator, indicator);
        QCOMPARE(int(field->input), input);
        QCOMPARE(fieldOfPicker(picker), picker ? field : nullptr);
    }

    void coversEveryMemberOnce() {
        std::set<int> members;
        std::set<std::string> places;
        for (const Field& field : fields()) {
            QVERIFY(members.insert(field.member).second);
            QVERIFY(places.insert(fieldWords(field)).second);
        }
        QCOMPARE(int(members.size()), 50);
        QCOMPARE(*members.begin(), 0);
        QCOMPARE(*members.rbegin(), 51);
        QVERIFY(!fieldOfMember(37));
        QVERIFY(!fieldOfMember(38));
        QVERIFY(!fieldOfPicker(0));
        QVERIFY(!fieldOfPicker(5));
    }

    // Each numeric field reaches exactly its own slot of the block, at both
    // ends of its range; one step beyond is refused and changes nothing.
    void storesIntoItsOwnSlot_data() {
        QTest::addColumn<int>("member");
        QTest::addColumn<Reader>("read");
        QTest::addColumn<qlonglong>("lowest");
        QTest::addColumn<qlonglong>("highest");
        QTest::newRow("Str2") << 14 << Reader([](const Baza& b) -> long long { return b.Str2(); }) << qlonglong(-32768)
                              << qlonglong(32767);
        QTest::newRow("CatL7") << 36 << Reader([](const Baza& b) -> long long { return b.CatL7(); })
                               << qlonglong(-2147483648LL) << qlonglong(2147483647LL);
        QTest::newRow("OtherLatinAmerican")
            << 51 << Reader([](const Baza& b) -> long long { return b.OtherLatinAmerican(); }) << qlonglong(0)
            << qlonglong(255);
    }
    void storesIntoItsOwnSlot() {
        QFETCH(int, member);
        QFETCH(Reader, read);
        QFETCH(qlonglong, lowest);
        QFETCH(qlonglong, highest);
        const Field& field = *fieldOfMember(member);
        for (const long long value : {lowest, highest}) {
            Baza baza;
            setFieldNumber(baza, field, value);
            QCOMPARE(read(baza), value);
            QCOMPARE(fieldNumber(baza, field), value);
            const Baza::Block expected = baza.block();
            QVERIFY_THROWS_EXCEPTION(std::out_of_range,
                                     setFieldNumber(baza, field, value == lowest ? lowest - 1 : highest + 1));
            QVERIFY(baza.block() == expected);
        }
        // Nothing else in the block moved.
        Baza baza;
        setFieldNumber(baza, field, 1);
        int changed = 0;
        for (const Field& other : fields()) {
            if (other.kind != FieldKind::Cat && fieldNumber(baza, other) != 0) {
                ++changed;
            }
        }
        QCOMPARE(changed, 1);
    }

    // Comparing and copying whole blocks: a change made through the block's
    // named accessors is found as exactly that field, and copying carries
    // it over while the hidden map slots of the target stay.
    void comparesAndCopiesBlocks_data() {
        using Change = void (*)(Baza&);
        QTest::addColumn<quintptr>("change");
        QTest::addColumn<QString>("changed");
        QTest::newRow("slot") << quintptr(Change([](Baza& b) { b.setLiga13(-7); })) << "Liga13";
        QTest::newRow("category") << quintptr(Change([](Baza& b) { b.setCat4("Premier"); })) << "Cat4";
        QTest::newRow("map") << quintptr(Change([](Baza& b) { b.setOtherLatinAmerican(200); })) << "OtherLatinAmerican";
        QTest::newRow("hidden map slot") << quintptr(Change([](Baza& b) { b.setMap(19, 4); })) << "";
    }
    void comparesAndCopiesBlocks() {
        QFETCH(quintptr, change);
        QFETCH(QString, changed);
        Baza edited;
        reinterpret_cast<void (*)(Baza&)>(change)(edited);
        const Baza untouched;
        QStringList names;
        for (const Field* field : changedFields(untouched.block(), edited.block())) {
            names << QString::fromLatin1(field->name);
        }
        QCOMPARE(names.join(QLatin1Char(',')), changed);

        Baza target;
        target.setMap(13, 9);  // a hidden slot of the target
        copyFields(target, edited.block());
        QVERIFY(changedFields(target.block(), edited.block()).empty());
        QCOMPARE(int(target.map(13)), 9);
        QCOMPARE(int(target.map(19)), 0);
    }

    void categoriesAreNotNumbers() {
        Baza baza;
        QVERIFY_THROWS_EXCEPTION(std::logic_error, fieldNumber(baza, *fieldOfMember(26)));
        QVERIFY_THROWS_EXCEPTION(std::logic_error, setFieldNumber(baza, *fieldOfMember(29), 1));
    }
};

QTEST_APPLESS_MAIN(FieldsTest)
#include "FieldsTest.moc"
