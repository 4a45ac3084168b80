// Number conversion of the copy-back pass, and the present/store round trip.

#include <QTest>

#include "core/Baza.h"
#include "core/Fields.h"
#include "ui/main_window/FieldText.h"

class FieldTextTest : public QObject {
    Q_OBJECT

private slots:
    void convertNumber_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<qlonglong>("minimum");
        QTest::addColumn<qlonglong>("maximum");
        QTest::addColumn<bool>("converts");
        QTest::addColumn<qlonglong>("value");
        const qlonglong i16 = 32767, i32 = 2147483647;
        const auto row = [](const char* name, const char* locale, const char* text, qlonglong minimum,
                            qlonglong maximum, bool converts, qlonglong value) {
            QTest::newRow(name) << QString(locale) << QString(text) << minimum << maximum << converts << value;
        };
        row("tie to even", "C", "-2.5", -32768, i16, true, -2);
        row("blanks around", "C", " 12 ", -32768, i16, true, 12);
        row("rounds past top", "C", "32767.5", -32768, i16, false, 0);
        row("byte refuses -1", "C", "-1", 0, 255, false, 0);
        row("32-bit past top", "C", "2147483648", -2147483648LL, i32, false, 0);
        row("German comma", "de_DE", "12,6", -32768, i16, true, 13);
        row("German thousands refused", "de_DE", "1.234", -2147483648LL, i32, false, 0);
    }

    void convertNumber() {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(qlonglong, minimum);
        QFETCH(qlonglong, maximum);
        QFETCH(bool, converts);
        QFETCH(qlonglong, value);
        const auto result = ::convertNumber(text, minimum, maximum, QLocale(locale));
        QCOMPARE(result.has_value(), converts);
        QCOMPARE(result.value_or(0), value);
    }

    // Each field shown at both ends of its range stores back to the same
    // value; a category is shown whole and never stored by the pass.
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
        Baza copy = baza;
        for (const Field& field : fields()) {
            const bool text = field.kind == FieldKind::Cat;
            QCOMPARE(storeField(copy, field, QStringLiteral("0"), QLocale::c()), !text);
            QCOMPARE(storeField(copy, field, presentField(baza, field), QLocale::c()), !text);
            QCOMPARE(presentField(copy, field), presentField(baza, field));
        }
        QVERIFY(copy.block() == baza.block());
    }
};

QTEST_MAIN(FieldTextTest)
#include "FieldTextTest.moc"
