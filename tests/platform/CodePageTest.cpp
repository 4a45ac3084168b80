#include <QtTest>

#include <set>

#include "platform/CodePage.h"

class CodePageTest : public QObject {
    Q_OBJECT

private slots:
    void everyByteRoundTrips() {
        std::set<std::string> decoded;
        for (int b = 0; b < 256; ++b) {
            const std::string one(1, static_cast<char>(b));
            decoded.insert(codepage::decode(one));
            bool lossy = true;
            QCOMPARE(codepage::encode(codepage::decode(one), &lossy), one);
            QVERIFY(!lossy);
        }
        QCOMPARE(decoded.size(), std::size_t(256));  // no two bytes share a character
    }

    void convertsBothWays_data() {
        QTest::addColumn<QByteArray>("utf8");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("lossy");
        QTest::newRow("euro and e acute") << QByteArray("\xE2\x82\xAC\xC3\xA9") << QByteArray("\x80\xE9") << false;
        QTest::newRow("L stroke is not in the page") << QByteArray("\xC5\x81odz") << QByteArray("?odz") << true;
        QTest::newRow("truncated sequence") << QByteArray("a\xC3") << QByteArray("a?") << true;
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
