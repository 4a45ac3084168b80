// Number conversion of the copy-back pass, and the present/store round trip.

#include <QTest>

#include "core/Baza.h"
#include "ui/main_window/FieldBindings.h"

class FieldBindingsTest : public QObject {
    Q_OBJECT

private slots:
    void convertNumber_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<qlonglong>("maximum");  // minimum: -maximum-1, or 0 for 255
        QTest::addColumn<bool>("converts");
        QTest::addColumn<qlonglong>("value");
        const qlonglong i16 = 32767, i32 = 2147483647;
        const auto row = [](const char* name, const char* locale, const char* text, qlonglong maximum, bool converts,
                            qlonglong value) {
            QTest::newRow(name) << QString(locale) << QString(text) << maximum << converts << value;
        };
        row("tie to even", "C", "-2.5", i16, true, -2);
        row("rounds past top", "C", "32767.5", i16, false, 0);
        row("16-bit bottom", "C", "-32768", i16, true, -32768);
        row("byte refuses -1", "C", "-1", 255, false, 0);
        row("byte takes 255", "C", "255", 255, true, 255);
        row("32-bit past top", "C", "2147483648", i32, false, 0);
        row("nan", "C", "nan", i16, false, 0);
        row("German comma", "de_DE", "12,6", i16, true, 13);
        row("German thousands refused", "de_DE", "1.234", i32, false, 0);
    }

    void convertNumber() {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(qlonglong, maximum);
        QFETCH(bool, converts);
        QFETCH(qlonglong, value);
        const qlonglong minimum = maximum == 255 ? 0 : -maximum - 1;
        const auto result = ::convertNumber(text, minimum, maximum, QLocale(locale));
        QCOMPARE(result.value_or(0), value);
        QCOMPARE(result.has_value(), converts);
    }

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
        Baza copy = baza;
        for (const FieldBinding& b : fieldBindings()) {
            const bool text = b.kind == FieldKind::Cat;  // category texts are stored by their pickers
            QCOMPARE(storeField(copy, b, QStringLiteral("0"), QLocale::c()), !text);
            QCOMPARE(storeField(copy, b, presentField(baza, b), QLocale::c()), !text);
            QCOMPARE(presentField(copy, b), presentField(baza, b));
        }
    }
};

QTEST_MAIN(FieldBindingsTest)
#include "FieldBindingsTest.moc"
