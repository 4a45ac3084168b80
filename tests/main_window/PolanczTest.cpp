// The About menu: the version beside the copyright notice, and a page that
// cannot be shown said so, with the file or address to open by hand.

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>

#include "../common/RecordingServices.h"
#include "../common/Rows.h"
#include "../common/TestFiles.h"
#include "platform/Paths.h"
#include "ui/main_window/Polancz.h"

namespace {

// An entry of About > Visit, whether the guide is there, whether the system
// opens the page, and what the user is then told ("" for nothing; "@" stands
// for the guide's file).
struct Visit {
    int entry;  // 0 the guide, 1 the home page (a section of the guide), 2 the problems page (on the web)
    bool guideThere, opens;
    QString told;
};

}  // namespace

Q_DECLARE_METATYPE(Visit)

class PolanczTest : public QObject {
    Q_OBJECT

    RecordingServices services_;

private slots:
    void init() {
        platform::resetServices();
        services_ = {};
        services_.install();
    }
    void cleanupTestCase() { platform::resetServices(); }

    void copyrightShowsTheVersion() {
        Polancz(Polancz::Addresses{}).Copyright_Click(nullptr);
        QCOMPARE(services_.texts(), QStringList{"Kelvory " KELVORY_VERSION "\n" + Polancz::copyrightNotice()});
    }

    void saysWhatCouldNotBeShown_data() {
        const QString noProgram = "No program on this computer could show the user guide. Open the file yourself:\n\n@";
        rows<Visit>({
            {"the guide opens", {0, true, true, ""}},
            {"no program shows the guide", {0, true, false, noProgram}},
            {"the guide is missing", {0, false, true, "The user guide was not found. It belongs beside Kelvory:\n\n@"}},
            {"no program shows a section of the guide", {1, true, false, noProgram}},
            {"a missing guide's section",
             {1, false, true, "The user guide was not found. It belongs beside Kelvory:\n\n@"}},
            {"a web page opens", {2, false, true, ""}},
            {"no program opens a web page",
             {2, true, false,
              "No program on this computer could open the page https://example.org/issues.\n\nOpen it in a web "
              "browser yourself."}},
        });
    }
    void saysWhatCouldNotBeShown() {
        QFETCH(Visit, row);
        QTemporaryDir dir;
        const std::filesystem::path folder = testfiles::fsPath(dir.path());
        if (row.guideThere)
            QVERIFY(testfiles::writeFile(folder / "UserGuide.html", "<!DOCTYPE html>\n"));
        const QString guide = platform::pathToFileUrl(folder / "UserGuide.html");
        Polancz about({guide, guide + "#about", "https://example.org/issues", folder / "UserGuide.html"});
        QStringList opened;
        platform::services().openAddress = [&opened, &row](const QString& address) {
            opened << address;
            return row.opens;
        };
        const QString address = QStringList{guide, guide + "#about", "https://example.org/issues"}[row.entry];
        void (Polancz::*const entries[])(QWidget*) = {&Polancz::CommunitySiteA_Click, &Polancz::CommunitySiteB_Click,
                                                      &Polancz::AuthorPage_Click};
        (about.*entries[row.entry])(nullptr);
        const bool missing = row.entry < 2 && !row.guideThere;
        QCOMPARE(opened, missing ? QStringList() : QStringList{address});
        QString told = row.told;
        told.replace('@', QDir::toNativeSeparators(dir.filePath("UserGuide.html")));
        QCOMPARE(services_.texts(), told.isEmpty() ? QStringList() : QStringList{told});
    }
};

QTEST_MAIN(PolanczTest)
#include "PolanczTest.moc"
