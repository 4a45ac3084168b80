#include <QDir>
#include <QtTest>

#include "../common/TestFiles.h"
#include "tests/support/FaultySave.h"
#include "fuzz/FuzzChecks.h"

using Check = std::string (*)(std::string_view);
Q_DECLARE_METATYPE(Check)

// Every input kept from fuzzing (the seeds, and any input that ever broke a
// reader) goes through the same checks as under the fuzzer, on every build.
class FuzzRegressionTest : public QObject {
    Q_OBJECT

private slots:
    void keptInputsStillPass_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<Check>("check");
        const QList<QPair<QString, Check>> readers = {{"setup", &checkSetupInput},
                                                      {"catalogue", &checkCatalogueInput},
                                                      {"record", &checkRecordInput},
                                                      {"save", &checkSaveFaultsInput},
                                                      {"json", &checkJsonInput}};
        for (const auto& [reader, check] : readers) {
            const QDir folder(QStringLiteral(KELVORY_TEST_DATA "/fuzz/") + reader);
            const QStringList files = folder.entryList(QDir::Files, QDir::Name);
            QVERIFY2(!files.isEmpty(), qPrintable(folder.path() + " holds no inputs"));
            for (const QString& file : files)
                QTest::newRow(qPrintable(reader + "/" + file)) << folder.filePath(file) << check;
        }
    }
    void keptInputsStillPass() {
        QFETCH(QString, file);
        QFETCH(Check, check);
        QVERIFY(QFileInfo(file).size() > 0);
        const QByteArray input = testfiles::readFile(file);
        const std::string broken = check(std::string_view(input.constData(), input.size()));
        QVERIFY2(broken.empty(), broken.c_str());
    }
};

QTEST_MAIN(FuzzRegressionTest)
#include "FuzzRegressionTest.moc"
