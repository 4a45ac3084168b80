// Number conversion of the copy-back pass, and the binding of boxes to fields.

#include <QTest>
#include <set>

#include "core/Baza.h"
#include "ui/main_window/FieldBindings.h"

class FieldBindingsTest : public QObject {
    Q_OBJECT

private slots:
    void convertNumber_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<qlonglong>("minimum");
        QTest::addColumn<qlonglong>("maximum");
        QTest::addColumn<bool>("converts");
        QTest::addColumn<qlonglong>("value");

        const qlonglong i16min = -32768, i16max = 32767;
        QTest::newRow("plain") << "C"
                               << "12" << i16min << i16max << true << 12LL;
        QTest::newRow("blanks") << "C"
                                << "  12  " << i16min << i16max << true << 12LL;
        QTest::newRow("round down") << "C"
                                    << "12.4" << i16min << i16max << true << 12LL;
        QTest::newRow("round up") << "C"
                                  << "12.6" << i16min << i16max << true << 13LL;
        QTest::newRow("tie even") << "C"
                                  << "-2.5" << i16min << i16max << true << -2LL;
        QTest::newRow("rounds past top") << "C"
                                         << "32767.5" << i16min << i16max << false << 0LL;
        QTest::newRow("just past top") << "C"
                                       << "32768" << i16min << i16max << false << 0LL;
        QTest::newRow("byte refuses -1") << "C"
                                         << "-1" << 0LL << 255LL << false << 0LL;
        QTest::newRow("byte refuses 256") << "C"
                                          << "256" << 0LL << 255LL << false << 0LL;
        QTest::newRow("empty") << "C"
                               << "" << i16min << i16max << false << 0LL;
        QTest::newRow("letters") << "C"
                                 << "12a" << i16min << i16max << false << 0LL;
        QTest::newRow("not a number") << "C"
                                      << "nan" << i16min << i16max << false << 0LL;
        QTest::newRow("32-bit past top") << "C"
                                         << "2147483648" << -2147483648LL << 2147483647LL << false << 0LL;
        QTest::newRow("German comma") << "de_DE"
                                      << "12,6" << i16min << i16max << true << 13LL;
        QTest::newRow("German thousands refused") << "de_DE"
                                                  << "1.234" << -2147483648LL << 2147483647LL << false << 0LL;
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
        if (converts) {
            QCOMPARE(*result, value);
        }
    }

    void everyFieldHasExactlyOneBox() {
        std::set<std::pair<int, int>> fields;
        std::set<int> members;
        for (const FieldBinding& b : fieldBindings()) {
            QVERIFY(members.insert(b.member).second);
            QVERIFY(fields.insert({int(b.kind), b.index}).second);
        }
        QVERIFY(!members.count(37) && !members.count(38));
        QCOMPARE(*members.begin(), 0);
        QCOMPARE(*members.rbegin(), 51);
        // Member 43 shows the fifth map slot, PrimerLeague; 51 the thirteenth.
        Baza baza;
        baza.setPrimerLeague(4);
        baza.setOtherLatinAmerican(12);
        for (const FieldBinding& b : fieldBindings()) {
            if (b.member == 43)
                QCOMPARE(presentField(baza, b), QStringLiteral("4"));
            if (b.member == 51)
                QCOMPARE(presentField(baza, b), QStringLiteral("12"));
        }
    }

    void presentedValuesConvertBackUnchanged() {
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
            if (b.kind == FieldKind::Cat) {
                QVERIFY(!storeField(copy, b, presentField(baza, b), QLocale::c()));
                continue;
            }
            QVERIFY(storeField(copy, b, QStringLiteral("0"), QLocale::c()));
            QVERIFY(storeField(copy, b, presentField(baza, b), QLocale::c()));
        }
        for (int i = 0; i < Baza::LigaCount; ++i)
            QCOMPARE(copy.liga(i), baza.liga(i));
        for (int i = 0; i < Baza::StrCount; ++i)
            QCOMPARE(copy.str(i), baza.str(i));
        for (int i = 0; i < Baza::CatLCount; ++i)
            QCOMPARE(copy.catL(i), baza.catL(i));
        for (int i = 0; i < Baza::MapCount; ++i)
            QCOMPARE(copy.map(i), baza.map(i));
    }
};

QTEST_MAIN(FieldBindingsTest)
#include "FieldBindingsTest.moc"
