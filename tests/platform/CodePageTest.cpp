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

    // Every byte decodes as the system's own converter reads code page 1252
    // (the five bytes the page leaves out stand for the control characters
    // of the same number, as Windows reads them).
    void matchesTheSystemsCodePage() {
        QStringDecoder system("windows-1252");
        if (!system.isValid())
            QSKIP("this Qt has no converter for code page 1252");
        for (int b = 0; b < 256; ++b) {
            const char byte = static_cast<char>(b);
            const QString expected = system.decode(QByteArrayView(&byte, 1));
            QCOMPARE(QString::fromStdString(codepage::decode(std::string(1, byte))), expected);
        }
    }

    // A character the page lacks, and a cut UTF-8 sequence, become '?' and
    // say so (every character the page holds: everyByteRoundTrips).
    void lossyEncoding() {
        for (const auto& [utf8, bytes] : {std::pair{"\xC5\x81odz", "?odz"}, {"a\xC3", "a?"}}) {
            bool lossy = false;
            QCOMPARE(codepage::encode(utf8, &lossy), std::string(bytes));
            QVERIFY(lossy);
        }
    }

    // Two, three and four bytes are UTF-8; code page 1252's e acute, an
    // overlong slash, a surrogate, a code above U+10FFFF and a cut sequence
    // are not.
    void utf8Validity() {
        QVERIFY(codepage::isValidUtf8("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"));
        for (const char* bytes : {"caf\xE9", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82"})
            QVERIFY2(!codepage::isValidUtf8(bytes), QByteArray(bytes).toHex().constData());
    }

    // How a whole text file is read, and what its bytes become (the plain
    // forms of a catalogue are read end to end in IniTest).
    void textForm_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("utf8");
        QTest::addColumn<int>("markLength");
        QTest::addColumn<QByteArray>("text");  // the file after the mark, as UTF-8
        const QByteArray mark = "\xEF\xBB\xBF";
        QTest::newRow("mark, then a malformed byte")
            << mark + "a\xE9\xF0\x9F\x98\x81" << true << 3 << QByteArray("a\xEF\xBF\xBD\xF0\x9F\x98\x81");
        QTest::newRow("UTF-8 and one stray byte")
            << QByteArray("\xC3\xA9\xE9") << false << 0 << QByteArray("\xC3\x83\xC2\xA9\xC3\xA9");
        QTest::newRow("ASCII only") << QByteArray("1,One\r\n") << false << 0 << QByteArray("1,One\r\n");
    }

    void textForm() {
        QFETCH(QByteArray, file);
        QFETCH(bool, utf8);
        QFETCH(int, markLength);
        QFETCH(QByteArray, text);
        const std::string bytes = file.toStdString();
        const codepage::TextForm form = codepage::detectTextForm(bytes);
        QCOMPARE(form.encoding == codepage::Encoding::Utf8, utf8);
        QCOMPARE(int(form.markLength), markLength);
        QCOMPARE(QByteArray::fromStdString(codepage::toUtf8(bytes.substr(form.markLength), form.encoding)), text);
    }
};

QTEST_MAIN(CodePageTest)
#include "CodePageTest.moc"
