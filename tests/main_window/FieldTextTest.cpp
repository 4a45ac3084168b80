// Number conversion of the copy-back pass, and the present/store round trip.

#include <QTest>

#include "../common/Rows.h"
#include "core/Baza.h"
#include "core/Fields.h"
#include "ui/main_window/FieldText.h"

namespace {

// A text read in a locale between two bounds, and the whole number stored
// (none: refused).
struct Conversion {
    const char *locale, *text;
    qlonglong minimum, maximum;
    std::optional<qlonglong> value;
};

}  // namespace

Q_DECLARE_METATYPE(Conversion)

class FieldTextTest : public QObject {
    Q_OBJECT

private slots:
    void convertNumber_data() {
        const qlonglong i16 = 32767, i32 = 2147483647;
        rows<Conversion>({
            {"tie to even", {"C", "-2.5", -32768, i16, -2}},
            {"blanks around", {"C", " 12 ", -32768, i16, 12}},
            {"rounds past top", {"C", "32767.5", -32768, i16, {}}},
            {"byte refuses -1", {"C", "-1", 0, 255, {}}},
            {"32-bit past top", {"C", "2147483648", -2147483648LL, i32, {}}},
            {"German comma", {"de_DE", "12,6", -32768, i16, 13}},
            {"German thousands refused", {"de_DE", "1.234", -2147483648LL, i32, {}}},
        });
    }

    void convertNumber() {
        QFETCH(Conversion, row);
        QCOMPARE(::convertNumber(row.text, row.minimum, row.maximum, QLocale(row.locale)), row.value);
    }

    // Each field shown at both ends of its range reads back as the same
    // value; a category is shown whole and never read as a number.
    void presentedValuesStoreBackUnchanged() {
        Baza baza;
        for (int i = 0; i < Baza::LigaCount; ++i)
            baza.setLiga(i, i % 2 ? -2147483647 - 1 : 2147483647);
        for (int i = 0; i < Baza::StrCount; ++i)
            baza.setStr(i, i % 2 ? -32768 : 32767);
        for (int i = 0; i < Baza::CatLCount; ++i)
            baza.setCatL(i, -i);
        for (int i = 0; i < 13; ++i)
            baza.setMap(i, static_cast<std::uint8_t>(255 - i));
        baza.setCat(1, "abc");
        QCOMPARE(presentField(baza, *fieldOfMember(27)), QStringLiteral("abc        "));
        for (const Field& field : fields()) {
            const std::optional<long long> read = readField(field, presentField(baza, field), QLocale::c());
            QCOMPARE(read.has_value(), field.kind != FieldKind::Cat);
            if (read)
                QCOMPARE(*read, fieldNumber(baza, field));
        }
    }
};

QTEST_MAIN(FieldTextTest)
#include "FieldTextTest.moc"
