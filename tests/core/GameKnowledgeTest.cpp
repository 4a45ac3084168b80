#include <QtTest>

#include <cstdint>

#include "../common/Rows.h"
#include "core/Baza.h"
#include "core/BazaRegions.h"
#include "core/BlockLook.h"
#include "core/GameRanges.h"

namespace {

// What a warning about a kind names, and the range its note gives.
struct Taken {
    const char* words;
    const char* values;
};

// A field's value: the number, or for a category the text, as Baza stores it.
struct RangeCase {
    int member;
    long long number;
    const char* text;
    bool outside;
    Taken taken;
};

struct LookCase {
    Baza::Block (*make)();
    int cat;  // 1..4: category text `cat` holds `text`; 0: as made
    std::string text;
    const char* problems;  // joined by " | "
};

// Values as a user sets them: every one in what the game takes.
Baza::Block plainBlock() {
    Baza::Block block = baza_regions::blockOf({});
    for (int i = 0; i < 13; ++i) {
        block.map[i] = static_cast<std::uint8_t>(i % 11);
    }
    block.cat = {"category_00", "category_18", "category_05", "category_11"};
    return block;
}

// The 199 bytes from a fixed sequence: x = 1103515245 x + 12345 mod 2^32,
// each byte the top 8 bits. The problems in the rows below were read off the
// bytes themselves.
template <std::uint32_t seed>
Baza::Block randomBlock() {
    baza_regions::BlockBytes bytes{};
    std::uint32_t x = seed;
    for (std::uint8_t& byte : bytes) {
        x = x * 1103515245u + 12345u;
        byte = static_cast<std::uint8_t>(x >> 24);
    }
    return baza_regions::blockOf(bytes);
}

// The first `inRange` shown map codes 10, the other shown ones 11; the hidden
// slots 0, which do not count.
template <int inRange>
Baza::Block mapsInRange() {
    Baza::Block block = plainBlock();
    for (int i = 0; i < 13; ++i) {
        block.map[i] = i < inRange ? 10 : 11;
    }
    return block;
}

}  // namespace

Q_DECLARE_METATYPE(RangeCase)
Q_DECLARE_METATYPE(LookCase)

class GameKnowledgeTest : public QObject {
    Q_OBJECT

private slots:
    // Each kind at its ends and one step beyond (a 16-bit name index falls
    // outside only below 0); category texts as Baza fits them to 11 bytes.
    void warnsOutsideWhatTheGameTakes_data() {
        const Taken slotNumbers{"slot numbers 0 to 100", "0 to 100"};
        const Taken names{"name indices 0 to 999,999,999", "0 to 999,999,999"};
        const Taken logos{"club category logo indices 0 to 29", "0 to 29"};
        const Taken maps{"map codes 0 to 10", "0 to 10"};
        const Taken texts{"category texts category_00 to category_18", "category_00 to category_18"};
        rows<RangeCase>({
            {"Liga1 0", {0, 0, "", false, slotNumbers}},
            {"Liga1 -1", {0, -1, "", true, slotNumbers}},
            {"Liga13 100", {12, 100, "", false, slotNumbers}},
            {"Liga13 101", {12, 101, "", true, slotNumbers}},
            {"Str5 0", {17, 0, "", false, names}},
            {"Str5 -1", {17, -1, "", true, names}},
            {"Str2 32767", {14, 32767, "", false, names}},
            {"Str2 -32768", {14, -32768, "", true, names}},
            {"CatL1 0", {30, 0, "", false, logos}},
            {"CatL1 -1", {30, -1, "", true, logos}},
            {"CatL7 29", {36, 29, "", false, logos}},
            {"CatL7 30", {36, 30, "", true, logos}},
            {"Europe 0", {39, 0, "", false, maps}},
            {"Europe 10", {39, 10, "", false, maps}},
            {"OtherLatinAmerican 11", {51, 11, "", true, maps}},
            {"OtherLatinAmerican 255", {51, 255, "", true, maps}},
            {"first category", {28, 0, "category_00", false, texts}},
            {"last category", {28, 0, "category_18", false, texts}},
            {"one category beyond", {28, 0, "category_19", true, texts}},
            {"one digit and a blank", {28, 0, "category_7", true, texts}},
            {"capitals", {28, 0, "CATEGORY_07", true, texts}},
            {"a sign", {28, 0, "category_-1", true, texts}},
            {"a name of the user's", {28, 0, "Gr\xe9 Club", true, texts}},
            {"blank", {28, 0, "", true, texts}},
        });
    }
    void warnsOutsideWhatTheGameTakes() {
        QFETCH(RangeCase, row);
        const Field& field = *fieldOfMember(row.member);
        Baza baza;
        if (field.kind == FieldKind::Cat) {
            baza.setCat(field.index, row.text);
        } else {
            setFieldNumber(baza, field, row.number);
        }
        QCOMPARE(QString::fromStdString(outsideGameRange(baza.block(), field).value_or("")),
                 row.outside ? QString("Outside what the game takes: ") + row.taken.words : QString());
        QCOMPARE(QString::fromStdString(gameRangeNote(field)), QString("the game takes ") + row.taken.values);
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
        for (const Field* field : fieldsOutsideGameRange(block)) {
            names << field->name;
        }
        QCOMPARE(names.join(','), "Liga13,Cat2,CatL7,OtherLatinAmerican");
    }

    void looksLikeABlock_data() {
        rows<LookCase>({
            {"set by a user", {plainBlock, 0, "", ""}},
            {"all zero: NUL texts are padding and code 0 is in range, so it looks like a block",
             {[] { return baza_regions::blockOf({}); }, 0, "", ""}},
            {"random bytes, seed 42",
             {randomBlock<42>, 0, "",
              "category text 2 holds bytes that are not text (byte 0x1F at position 9) | "
              "only 0 of the 13 map codes lie in 0 to 10"}},
            {"random bytes, seed 2024",
             {randomBlock<2024>, 0, "",
              "category text 1 holds bytes that are not text (byte 0x05 at position 3) | "
              "category text 2 holds bytes that are not text (byte 0x7F at position 10) | "
              "category text 3 holds bytes that are not text (byte 0x14 at position 2, and 1 more) | "
              "category text 4 holds bytes that are not text (byte 0x0D at position 10) | "
              "only 1 of the 13 map codes lie in 0 to 10"}},
            {"a NUL with a character after it",
             {plainBlock, 2, std::string("Premier\0ab\0", 11),
              "category text 2 holds bytes that are not text (byte 0x00 at position 8)"}},
            {"a tab and a DEL",
             {plainBlock, 4, "a\tb\x7f       ",
              "category text 4 holds bytes that are not text (byte 0x09 at position 2, and 1 more)"}},
            {"blanks and NULs mixed at the end, and bytes from 0x80",
             {plainBlock, 1, std::string("\x80\xff\xe9 \0 \0\0  \0", 11), ""}},
            {"7 of 13 map codes in range", {mapsInRange<7>, 0, "", ""}},
            {"6 of 13 map codes in range", {mapsInRange<6>, 0, "", "only 6 of the 13 map codes lie in 0 to 10"}},
        });
    }
    void looksLikeABlock() {
        QFETCH(LookCase, row);
        Baza::Block block = row.make();
        if (row.cat > 0) {
            block.cat[row.cat - 1] = row.text;
        }
        const BlockLook look = lookAtBlock(block);
        QStringList problems;
        for (const std::string& problem : look.problems) {
            problems << QString::fromStdString(problem);
        }
        QCOMPARE(problems.join(" | "), row.problems);
        QCOMPARE(look.looksLikeBlock, problems.isEmpty());
    }
};

QTEST_APPLESS_MAIN(GameKnowledgeTest)
#include "GameKnowledgeTest.moc"
