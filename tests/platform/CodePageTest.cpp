#include <QtTest>

#include <set>

#include "platform/CodePage.h"

class CodePageTest : public QObject {
    Q_OBJECT

private slots:
    void everyByteRoundTrips() {
        std::string all;
        std::set<std::string> decoded;
        for (int b = 0; b < 256; ++b) {
            const std::string one(1, static_cast<char>(b));
            decoded.insert(codepage::decode(one));
            bool lossy = true;
            QCOMPARE(codepage::encode(codepage::decode(one), &lossy), one);
            QVERIFY(!lossy);
            all += one;
        }
        QCOMPARE(decoded.size(), std::size_t(256));  // no two bytes share a character
        QCOMPARE(codepage::encode(codepage::decode(all)), all);
    }

    // A lossless row must also decode back; a lossy one only encodes.
    void convertsBothWays_data() {
        QTest::addColumn<QByteArray>("utf8");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("lossy");
        QTest::newRow("ASCII and NUL") << QByteArray("ab\0c", 4) << QByteArray("ab\0c", 4) << false;
        QTest::newRow("euro and e acute") << QByteArray("\xE2\x82\xAC\xC3\xA9") << QByteArray("\x80\xE9") << false;
        QTest::newRow("undefined 0x81 is a control") << QByteArray("\xC2\x81") << QByteArray("\x81") << false;
        QTest::newRow("S caron, Y diaeresis") << QByteArray("\xC5\xA0\xC5\xB8") << QByteArray("\x8A\x9F") << false;
        QTest::newRow("no-break space, y diaeresis")
            << QByteArray("\xC2\xA0\xC3\xBF") << QByteArray("\xA0\xFF") << false;
        QTest::newRow("L stroke is not in the page") << QByteArray("\xC5\x81odz") << QByteArray("?odz") << true;
        QTest::newRow("CJK") << QByteArray("a\xE4\xB8\xAD") << QByteArray("a?") << true;
        QTest::newRow("outside the BMP is one character")
            << QByteArray("\xF0\x9F\x98\x80!") << QByteArray("?!") << true;
        QTest::newRow("U+0080 has no byte") << QByteArray("\xC2\x80") << QByteArray("?") << true;
        QTest::newRow("truncated sequence") << QByteArray("a\xC3") << QByteArray("a?") << true;
        QTest::newRow("bad continuation") << QByteArray("\xC3(") << QByteArray("?(") << true;
        QTest::newRow("lone continuation byte") << QByteArray("\x80x") << QByteArray("?x") << true;
        QTest::newRow("overlong slash") << QByteArray("\xE0\x80\xAF") << QByteArray("???") << true;
        QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << QByteArray("???") << true;
        QTest::newRow("invalid lead byte") << QByteArray("\xFF") << QByteArray("?") << true;
    }

    void convertsBothWays() {
        QFETCH(QByteArray, utf8);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, lossy);
        bool wasLossy = !lossy;
        QCOMPARE(codepage::encode(utf8.toStdString(), &wasLossy), bytes.toStdString());
        QCOMPARE(wasLossy, lossy);
        if (!lossy) {
            QCOMPARE(codepage::decode(bytes.toStdString()), utf8.toStdString());
        }
    }
};

QTEST_MAIN(CodePageTest)
#include "CodePageTest.moc"
