// Words for the user: numbered places filled in one pass, nested words
// translated in turn, plain values never translated.

#include <QtTest>

#include "../common/Rows.h"
#include "core/Words.h"

namespace {

struct Case {
    Words words;
    QString english;
    QString translated;  // through a translator that turns every text to upper case
};

}  // namespace

Q_DECLARE_METATYPE(Case)

class WordsTest : public QObject {
    Q_OBJECT

private slots:
    void fill_data() {
        const Words path = Words::value("/games/100%2 League");
        rows<Case>({
            {"nothing", {Words(), "", ""}},
            {"places in any order",
             {Words("T", "%2 then %1", {Words::number(7), Words::value("x")}), "x then 7", "x THEN 7"}},
            {"a value holding a place stays as it is",
             {Words("T", "at %1: %2", {path, Words::number(3)}), "at /games/100%2 League: 3",
              "AT /games/100%2 League: 3"}},
            {"nested words are translated too",
             {Words("T", "said: %1", {Words("T", "hello %1", {Words::value("ann")})}), "said: hello ann",
              "SAID: HELLO ann"}},
            {"a place without a value stays", {Words("T", "%1 and %3", {Words::value("a")}), "a and %3", "a AND %3"}},
            {"a percent sign alone stays", {Words("T", "100% of %1", {Words::value("b")}), "100% of b", "100% OF b"}},
            {"joined, empty parts left out",
             {Words::joined({Words::value("a"), Words(), Words("T", "b")}, "\n"), "a\nb", "a\nB"}},
            {"then", {Words("T", "one").then(Words::value("two")), "one\n\ntwo", "ONE\n\ntwo"}},
        });
    }
    void fill() {
        QFETCH(Case, row);
        QCOMPARE(QString::fromStdString(row.words.english()), row.english);
        const std::string translated = row.words.text([](const char* context, const char* source) {
            return QString(source).toUpper().toStdString() + (QByteArray(context) == "T" ? "" : "?");
        });
        QCOMPARE(QString::fromStdString(translated), row.translated);
        QCOMPARE(row.words.empty(), row.english.isEmpty());
    }
};

QTEST_GUILESS_MAIN(WordsTest)
#include "WordsTest.moc"
