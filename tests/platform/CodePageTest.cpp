#include <QtTest>

#include <set>

#include "platform/CodePage.h"

class CodePageTest : public QObject {
    Q_OBJECT

private slots:
    void everyByteRoundTrips();
    void decodesLikeTheCodePage_data();
    void decodesLikeTheCodePage();
    void encodesWhatItCan_data();
    void encodesWhatItCan();
};

void CodePageTest::everyByteRoundTrips() {
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

void CodePageTest::decodesLikeTheCodePage_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("ASCII and NUL") << QByteArray("ab\0c", 4) << QString::fromUtf8("ab\0c", 4);
    QTest::newRow("euro sign") << QByteArray("\x80") << QStringLiteral("\u20AC");
    QTest::newRow("undefined 0x81 stays a control") << QByteArray("\x81") << QStringLiteral("\u0081");
    QTest::newRow("S caron") << QByteArray("\x8A") << QStringLiteral("\u0160");
    QTest::newRow("Y diaeresis") << QByteArray("\x9F") << QStringLiteral("\u0178");
    QTest::newRow("no-break space") << QByteArray("\xA0") << QStringLiteral("\u00A0");
    QTest::newRow("Latin-1 letters") << QByteArray("Jos\xE9 \xFF") << QStringLiteral("Jos\u00E9 \u00FF");
}

void CodePageTest::decodesLikeTheCodePage() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    const std::string utf8 = codepage::decode(bytes.toStdString());
    QCOMPARE(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())), text);
}

void CodePageTest::encodesWhatItCan_data() {
    QTest::addColumn<QByteArray>("utf8");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("lossy");
    QTest::newRow("plain ASCII") << QByteArray("category_07") << QByteArray("category_07") << false;
    QTest::newRow("euro and e acute") << QByteArray("\xE2\x82\xAC\xC3\xA9") << QByteArray("\x80\xE9") << false;
    QTest::newRow("L stroke is not in the page") << QByteArray("\xC5\x81odz") << QByteArray("?odz") << true;
    QTest::newRow("CJK") << QByteArray("a\xE4\xB8\xAD") << QByteArray("a?") << true;
    QTest::newRow("outside the BMP is one character") << QByteArray("\xF0\x9F\x98\x80!") << QByteArray("?!") << true;
    QTest::newRow("U+0080 has no byte") << QByteArray("\xC2\x80") << QByteArray("?") << true;
    QTest::newRow("truncated sequence") << QByteArray("a\xC3") << QByteArray("a?") << true;
    QTest::newRow("bad continuation") << QByteArray("\xC3(") << QByteArray("?(") << true;
    QTest::newRow("lone continuation byte") << QByteArray("\x80x") << QByteArray("?x") << true;
    QTest::newRow("overlong NUL") << QByteArray("\xC0\x80") << QByteArray("??") << true;
    QTest::newRow("overlong slash") << QByteArray("\xE0\x80\xAF") << QByteArray("???") << true;
    QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << QByteArray("???") << true;
    QTest::newRow("invalid lead byte") << QByteArray("\xFF") << QByteArray("?") << true;
}

void CodePageTest::encodesWhatItCan() {
    QFETCH(QByteArray, utf8);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, lossy);
    bool wasLossy = !lossy;
    QCOMPARE(codepage::encode(utf8.toStdString(), &wasLossy), bytes.toStdString());
    QCOMPARE(wasLossy, lossy);
}

QTEST_MAIN(CodePageTest)
#include "CodePageTest.moc"
