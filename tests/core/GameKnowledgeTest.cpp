#include <QRegularExpression>
#include <QtTest>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <set>
#include <stdexcept>

#include "../common/Rows.h"
#include "core/Baza.h"
#include "core/BazaRegions.h"
#include "core/BlockLook.h"
#include "core/FieldHelp.h"
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

// Words about a field, as the window shows them (std::nullopt: none).
using FieldWordsOf = std::function<std::optional<Words>(const Field&, const NameIndices*, const Baza::Block&)>;

// The words through a translator that puts every text it is asked for in
// brackets, with the brackets and all within them taken out: what is left
// was never offered for translation.
std::string untranslated(const Words& words) {
    const std::string shown =
        words.text([](const char*, const char* source) { return "\x01" + std::string(source) + "\x02"; });
    std::string left;
    int depth = 0;
    for (const char c : shown) {
        depth += c == '\x01' ? 1 : c == '\x02' ? -1 : 0;
        if (depth == 0 && c != '\x02')
            left += c;
    }
    return left;
}

// A paired name catalogue that lists the indices given.
class ListedNames : public NameIndices {
public:
    explicit ListedNames(std::vector<long long> indices) : indices_(std::move(indices)) {}
    bool lists(long long index) const override {
        return std::find(indices_.begin(), indices_.end(), index) != indices_.end();
    }
    std::size_t nameCount() const override { return indices_.size(); }
    std::string fileName() const override { return "ID_Name_League.ini"; }

private:
    std::vector<long long> indices_;
};

// What a box of each kind says about itself: the member, then the help's
// lines, worked out from the field's C type and the game's own ranges.
struct Help {
    int member;
    bool withNames;  // the paired catalogue of ListedNames {0, 4, 12}
    QString text;
};

QString holds(long long lowest, long long highest) {
    return QString("The box holds whole numbers from %1 to %2.").arg(lowest).arg(highest);
}

// Values as a user sets them: every one in what the game takes.
Baza::Block plainBlock() {
    Baza::Block block = baza_regions::blockOf({});
    for (int i = 0; i < 13; ++i)
        block.map[i] = static_cast<std::uint8_t>(i % 11);
    block.cat = {"category_00", "category_18", "category_05", "category_11"};
    return block;
}

}  // namespace

Q_DECLARE_METATYPE(FieldWordsOf)
Q_DECLARE_METATYPE(Kind)
Q_DECLARE_METATYPE(Text)
Q_DECLARE_METATYPE(LookCase)
Q_DECLARE_METATYPE(Help)

class GameKnowledgeTest : public QObject {
    Q_OBJECT

private slots:
    // Each kind at its ends and one step beyond, where the field can hold it
    // (a 16-bit name index falls outside only below 0).
    void numbersOutsideWhatTheGameTakes_data() {
        rows<Kind>({
            {"Liga1", {0, 0, 100, "slot numbers 0 to 100", "0 to 100"}},
            {"Str5", {17, 0, 32767, "name indices 0 to 32767", "0 to 32767"}},
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

    // With a paired catalogue a name index is within what the game takes
    // exactly when the catalogue lists it, whatever its size; no other kind
    // of field looks at the catalogue.
    void namesAgainstThePairedCatalogue() {
        const ListedNames names({0, 4, 12});
        const Field& name = *fieldOfMember(17);
        const Field& map = *fieldOfMember(39);
        Baza baza;
        copyFields(baza, plainBlock());
        for (const long long index : {-1LL, 0LL, 4LL, 5LL, 12LL, 57LL, 32767LL}) {
            setFieldNumber(baza, name, index);
            const bool listed = index == 0 || index == 4 || index == 12;
            QCOMPARE(withinGameRange(baza.block(), name, &names), listed);
            QCOMPARE(QString::fromStdString(outsideGameRange(baza.block(), name, &names).value_or("")),
                     listed ? QString()
                            : QString("Outside what the game takes: no name %1 in ID_Name_League.ini").arg(index));
        }
        setFieldNumber(baza, map, 4);
        QVERIFY(withinGameRange(baza.block(), map, &names));
        setFieldNumber(baza, map, 12);
        QCOMPARE(QString::fromStdString(outsideGameRange(baza.block(), map, &names).value_or("")),
                 "Outside what the game takes: map codes 0 to 10");
        QCOMPARE(QString::fromStdString(gameRangeNote(name, &names)),
                 "the game takes the name indices listed in ID_Name_League.ini");
        QCOMPARE(QString::fromStdString(gameRangeNote(map, &names)), "the game takes 0 to 10");
        setFieldNumber(baza, name, 57);
        QCOMPARE(fieldsOutsideGameRange(baza.block(), &names), (std::vector<const Field*>{&name, &map}));
        QCOMPARE(fieldsOutsideGameRange(baza.block()), std::vector<const Field*>{&map});
    }

    // One row per kind: the sentence, a map box's slot, what the box holds
    // (the field's C type) and what the game takes (its own ranges).
    void helpSaysTheSameRanges_data() {
        const QString int32 = holds(std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max());
        const QString int16 = holds(std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max());
        rows<Help>({
            {"slot",
             {6, false,
              "Which league slot the third club division loads.\n" + int32 +
                  "\nThe game takes slot numbers 0 to 100."}},
            {"name",
             {13, false,
              "Which name the first national division shows: an index into the game's league "
              "names.\n" +
                  int16 + "\nThe game takes name indices 0 to 32767."}},
            {"name, paired catalogue",
             {14, true,
              "Which name the second national division shows: an index into the game's league names.\n" + int16 +
                  "\nThe game takes the name indices listed in ID_Name_League.ini (3 names)."}},
            {"category",
             {28, true,
              "The category logo text of sector 2, which the game loads from u_1426.bin "
              "into dt06.img.\nThe box holds a text of up to 11 characters.\nThe game takes "
              "category texts category_00 to category_18."}},
            {"club logo",
             {36, false,
              "Which logo file of dt04.img the seventh club category shows: 0 is "
              "unnamed_35.bin, 1 is unnamed_36.bin and so on.\n" +
                  int32 + "\nThe game takes club category logo indices 0 to 29."}},
            {"map",
             {40, true,
              "Which map the Africa slot loads from u_1426.bin into dt06.img.\nRow 2, Africa.\n" +
                  holds(0, std::numeric_limits<std::uint8_t>::max()) + "\nThe game takes map codes 0 to 10."}},
        });
    }
    void helpSaysTheSameRanges() {
        QFETCH(Help, row);
        const ListedNames names({0, 4, 12});
        QCOMPARE(QString::fromStdString(fieldHelpText(*fieldOfMember(row.member), row.withNames ? &names : nullptr)),
                 row.text);
    }

    // Every box has a sentence of its own.
    void everyBoxExplainsItself() {
        std::set<std::string> sentences;
        for (const Field& field : fields()) {
            QVERIFY2(field.meaning.size() > 20 && field.meaning.back() == '.', field.name);
            QVERIFY2(sentences.insert(field.meaning).second, field.meaning.c_str());
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

    // Every word the window shows about a field is offered for translation,
    // with or without a paired catalogue: what no translator sees is only
    // numbers, file names and punctuation.
    void everyWordIsOfferedForTranslation_data() {
        QTest::addColumn<FieldWordsOf>("wordsOf");
        QTest::newRow("help") << FieldWordsOf([](const Field& f, const NameIndices* n, const Baza::Block&) {
            return std::optional<Words>(fieldHelpWords(f, n));
        });
        QTest::newRow("name and slot") << FieldWordsOf([](const Field& f, const NameIndices*, const Baza::Block&) {
            return std::optional<Words>(fieldLabel(f).then(fieldSlot(f), ", "));
        });
        QTest::newRow("outside") << FieldWordsOf(
            [](const Field& f, const NameIndices* n, const Baza::Block& b) { return outsideGameRangeText(b, f, n); });
        QTest::newRow("note") << FieldWordsOf([](const Field& f, const NameIndices* n, const Baza::Block&) {
            return std::optional<Words>(gameRangeNoteText(f, n));
        });
    }
    void everyWordIsOfferedForTranslation() {
        QFETCH(FieldWordsOf, wordsOf);
        const ListedNames names({1});
        Baza baza;  // every field outside what the game takes: empty texts, and numbers at 101 or over
        for (const Field& field : fields())
            if (field.kind != FieldKind::Cat)
                setFieldNumber(baza, field, field.kind == FieldKind::Map ? 255 : 32767);
        const QRegularExpression plain(
            QRegularExpression::anchoredPattern(R"([-0-9 .,:()\n]*|[-0-9 .,:()\n]*ID_Name_League\.ini[-0-9 .,:()\n]*)"));
        int said = 0;
        for (const Field& field : fields()) {
            for (const NameIndices* catalogue : std::initializer_list<const NameIndices*>{nullptr, &names}) {
                const std::optional<Words> words = wordsOf(field, catalogue, baza.block());
                if (!words)
                    continue;
                const std::string left = untranslated(*words);
                QVERIFY2(plain.match(QString::fromStdString(left)).hasMatch(), (std::string(field.name) + ": " + left).c_str());
                ++said;
            }
        }
        QVERIFY(said >= FieldCount);
    }
};

QTEST_APPLESS_MAIN(GameKnowledgeTest)
#include "GameKnowledgeTest.moc"
