#include <QtTest>

#include <cstdint>
#include <stdexcept>

#include "../common/Rows.h"
#include "core/Baza.h"
#include "core/BazaRegions.h"
#include "core/BlockLook.h"
#include "core/GameRanges.h"

namespace {

// A kind of field as the game takes it: a field of that kind, the lowest and
// highest values the game takes, and the words a warning and a note use.
struct Kind {
    int member;
    long long lowest, highest;
    const char *words, *values;
};

// A category text as Baza fits it to 11 bytes.
struct Text {
    const char* text;
    bool outside;
};

struct LookCase {
    int inRange;  // -1: all bytes zero; 13: as a user sets them; else the first `inRange`
                  // shown map codes 10, the other ones 11
    int cat;      // 1..4: category text `cat` holds `text`
    std::string text;
    const char* problems;  // joined by " | "
};

// Values as a user sets them: every one in what the game takes.
Baza::Block plainBlock() {
    Baza::Block block = baza_regions::blockOf({});
    for (int i = 0; i < 13; ++i)
        block.map[i] = static_cast<std::uint8_t>(i % 11);
    block.cat = {"category_00", "category_18", "category_05", "category_11"};
    return block;
}

}  // namespace

Q_DECLARE_METATYPE(Kind)
Q_DECLARE_METATYPE(Text)
Q_DECLARE_METATYPE(LookCase)

class GameKnowledgeTest : public QObject {
    Q_OBJECT

private slots:
    // Each kind at its ends and one step beyond, where the field can hold it
    // (a 16-bit name index falls outside only below 0).
    void numbersOutsideWhatTheGameTakes_data() {
        rows<Kind>({
            {"Liga1", {0, 0, 100, "slot numbers 0 to 100", "0 to 100"}},
            {"Str5", {17, 0, 999999999, "name indices 0 to 999,999,999", "0 to 999,999,999"}},
            {"CatL1", {30, 0, 29, "club category logo indices 0 to 29", "0 to 29"}},
            {"Europe", {39, 0, 10, "map codes 0 to 10", "0 to 10"}},
        });
    }
    void numbersOutsideWhatTheGameTakes() {
        QFETCH(Kind, row);
        const Field& field = *fieldOfMember(row.member);
        QCOMPARE(QString::fromStdString(gameRangeNote(field)), QString("the game takes ") + row.values);
        for (const long long value : {row.lowest - 1, row.lowest, row.highest, row.highest + 1, 255LL, 32767LL}) {
            Baza baza;
            try {
                setFieldNumber(baza, field, value);
            } catch (const std::out_of_range&) {
                continue;  // the field cannot hold it
            }
            const bool outside = value < row.lowest || value > row.highest;
            QCOMPARE(QString::fromStdString(outsideGameRange(baza.block(), field).value_or("")),
                     outside ? QString("Outside what the game takes: ") + row.words : QString());
        }
    }

    // Category texts category_00 to category_18, two digits, in small letters.
    void textsOutsideWhatTheGameTakes_data() {
        rows<Text>({
            {"first category", {"category_00", false}},
            {"last category", {"category_18", false}},
            {"a nine", {"category_09", false}},
            {"one category beyond", {"category_19", true}},
            {"one digit and a blank", {"category_7", true}},
            {"capitals", {"CATEGORY_07", true}},
        });
    }
    void textsOutsideWhatTheGameTakes() {
        QFETCH(Text, row);
        const Field& field = *fieldOfMember(28);
        Baza baza;
        baza.setCat(field.index, row.text);
        QCOMPARE(QString::fromStdString(outsideGameRange(baza.block(), field).value_or("")),
                 row.outside ? "Outside what the game takes: category texts category_00 to category_18" : "");
        QCOMPARE(QString::fromStdString(gameRangeNote(field)), "the game takes category_00 to category_18");
    }

    void listsTheFieldsOutsideInPresentingOrder() {
        Baza::Block block = plainBlock();
        QVERIFY(fieldsOutsideGameRange(block).empty());
        block.map[12] = 11;
        block.catL[6] = -1;
        block.cat[1] = "Premier    ";
        block.liga[12] = 101;
        block.map[13] = 200;  // a hidden slot is no field
        QStringList names;
        for (const Field* field : fieldsOutsideGameRange(block))
            names << field->name;
        QCOMPARE(names.join(','), "Liga13,Cat2,CatL7,OtherLatinAmerican");
    }

    // The hidden map slots are 0 and do not count.
    void looksLikeABlock_data() {
        rows<LookCase>({
            {"set by a user", {13, 0, "", ""}},
            {"all zero: NUL texts are padding and code 0 is in range", {-1, 0, "", ""}},
            {"two problems, in the block's order",
             {0, 2, "Premier\x1f",
              "category text 2 holds bytes that are not text (byte 0x1F at position 8) | "
              "only 0 of the 13 map codes lie in 0 to 10"}},
            {"a NUL with a character after it",
             {13, 2, std::string("Premier\0ab\0", 11),
              "category text 2 holds bytes that are not text (byte 0x00 at position 8)"}},
            {"a tab and a DEL",
             {13, 4, "a\tb\x7f       ",
              "category text 4 holds bytes that are not text (byte 0x09 at position 2, and 1 more)"}},
            {"blanks and NULs mixed at the end, and bytes from 0x80",
             {13, 1, std::string("\x80\xff\xe9 \0 \0\0  \0", 11), ""}},
            {"7 of 13 map codes in range", {7, 0, "", ""}},
            {"6 of 13 map codes in range", {6, 0, "", "only 6 of the 13 map codes lie in 0 to 10"}},
        });
    }
    void looksLikeABlock() {
        QFETCH(LookCase, row);
        Baza::Block block = row.inRange < 0 ? baza_regions::blockOf({}) : plainBlock();
        if (row.inRange >= 0 && row.inRange < 13)
            for (int i = 0; i < 13; ++i)
                block.map[i] = i < row.inRange ? 10 : 11;
        if (row.cat > 0)
            block.cat[row.cat - 1] = row.text;
        const BlockLook look = lookAtBlock(block);
        QStringList problems;
        for (const std::string& problem : look.problems)
            problems << QString::fromStdString(problem);
        QCOMPARE(problems.join(" | "), row.problems);
        QCOMPARE(look.looksLikeBlock, problems.isEmpty());
    }
};

QTEST_APPLESS_MAIN(GameKnowledgeTest)
#include "GameKnowledgeTest.moc"
