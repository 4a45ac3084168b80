#include <QtTest>

#include <set>
#include <stdexcept>

#include "../common/Rows.h"
#include "core/Baza.h"
#include "core/Fields.h"

namespace {

// A box: its member, frame caption and row, slot words, block name, and the
// picker or indicator beside it.
struct Box {
    int member;
    QString words, slotWords, name;
    int picker, indicator;
    BoxInput input;
};

// A numeric field, read through the block's own named accessors, so the
// table is checked against the block rather than against itself.
struct Slot {
    int member;
    long long (*read)(const Baza&);
    long long lowest, highest;
};

// A change made through the block's named accessors, and the field it is.
struct Change {
    void (*change)(Baza&);
    QString changed;
};

}  // namespace

Q_DECLARE_METATYPE(Box)
Q_DECLARE_METATYPE(Slot)
Q_DECLARE_METATYPE(Change)

class FieldsTest : public QObject {
    Q_OBJECT

private slots:
    // Rows taken from the window's layout: frame caption, row and slot words,
    // block name, and the picker or indicator beside the box.
    void describesTheBox_data() {
        const QString maps = "Maps Load u_1426.bin ->dt06.img, row ",
                      cat = "National Category Logo League u_1426.bin ->dt06.img";
        const BoxInput number = BoxInput::Number;
        rows<Box>({
            {"last club slot", {12, "Club Slot, row 9", "", "Liga13", 0, 0, number}},
            {"Str1 on top", {13, "National Name, row 1", "", "Str1", 14, 0, number}},
            {"Str2 at the bottom", {14, "National Name, row 4", "", "Str2", 15, 0, number}},
            {"Str4 third", {16, "National Name, row 3", "", "Str4", 17, 0, number}},
            {"Cat4", {29, cat + ", row 4", "", "Cat4", 4, 0, BoxInput::CategoryText}},
            {"CatL1", {30, "Club Category Logo(dt04.img), row 1", "", "CatL1", 0, 2, BoxInput::TwoTypedCharacters}},
            {"Europe", {39, maps + "1", "Europe", "Europe", 0, 0, number}},
            {"OtherLatinAmerican", {51, maps + "13", "Other Latin American", "OtherLatinAmerican", 0, 0, number}},
        });
    }
    void describesTheBox() {
        QFETCH(Box, row);
        const Field* field = fieldOfMember(row.member);
        QCOMPARE(QString::fromStdString(fieldWords(*field)), row.words);
        QCOMPARE(QString::fromStdString(fieldSlotWords(*field)), row.slotWords);
        QCOMPARE(QString::fromLatin1(field->name), row.name);
        QCOMPARE(field->picker, row.picker);
        QCOMPARE(field->indicator, row.indicator);
        QVERIFY(field->input == row.input);
        QCOMPARE(fieldOfPicker(row.picker), row.picker ? field : nullptr);
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
        rows<Slot>({
            {"Str2", {14, [](const Baza& b) -> long long { return b.Str2(); }, -32768, 32767}},
            {"CatL7", {36, [](const Baza& b) -> long long { return b.CatL7(); }, -2147483648LL, 2147483647}},
            {"OtherLatinAmerican", {51, [](const Baza& b) -> long long { return b.OtherLatinAmerican(); }, 0, 255}},
        });
    }
    void storesIntoItsOwnSlot() {
        QFETCH(Slot, row);
        const auto [member, read, lowest, highest] = row;
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
        QCOMPARE(changedFields(Baza().block(), baza.block()), std::vector<const Field*>{&field});
    }

    // Comparing and copying whole blocks: a change made through the block's
    // named accessors is found as exactly that field, and copying carries
    // it over while the hidden map slots of the target stay.
    void comparesAndCopiesBlocks_data() {
        rows<Change>({
            {"slot", {[](Baza& b) { b.setLiga13(-7); }, "Liga13"}},
            {"category", {[](Baza& b) { b.setCat4("Premier"); }, "Cat4"}},
            {"map", {[](Baza& b) { b.setOtherLatinAmerican(200); }, "OtherLatinAmerican"}},
            {"hidden map slot", {[](Baza& b) { b.setMap(19, 4); }, ""}},
        });
    }
    void comparesAndCopiesBlocks() {
        QFETCH(Change, row);
        Baza edited;
        row.change(edited);
        QStringList names;
        for (const Field* field : changedFields(Baza().block(), edited.block()))
            names << QString::fromLatin1(field->name);
        QCOMPARE(names.join(QLatin1Char(',')), row.changed);

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
