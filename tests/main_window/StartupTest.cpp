// The window's start-up and presenting: which folder it reads, the lists it
// fills, the boxes it fills from the block, and how it stops when a file it
// needs is missing or unusable.

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "WindowFixture.h"
#include "session/LeagueSession.h"
#include "ui/main_window/FieldMarks.h"

namespace {

// The block the presenting tests load: values at the ends of their ranges, a
// text that does not fill its category field, a logo index over its box's limit.
void presentedBlock(Baza& b) {
    b.setLiga13(2147483647);
    b.setStr1(-32768);
    b.setCat2("abc");
    b.setEurope(200);
    b.setCatL1(123);
}

}  // namespace

class StartupTest : public WindowFixture {
    Q_OBJECT

private slots:
    // The list is filled at start-up; the pickers' lists once, after the
    // window's first paint, with every item.
    void pickersAreFilledOnceAfterTheFirstPaint() {
        window_ = std::make_unique<frmMain>();
        QVERIFY(window_->Form_Load());
        QCOMPARE(combo(1)->count() + combo(26)->count(), 0);
        QCOMPARE(listItems(), (QStringList{"Top division", "Cup, knockout", "", "Last"}));
        window_->show();
        QTRY_COMPARE(combo(26)->count(), 5);
        window_->hide();
        window_->show();
        window_->afterFirstPaint();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        QCoreApplication::processEvents();  // a second filling, were one scheduled, runs here
        QCOMPARE(combo(1)->count(), 19);
        QCOMPARE(combo(26)->count(), 5);
        QVERIFY(services_.messages.isEmpty());
        // Every category picker offers the category identifiers, the name
        // pickers share one list of the name catalogue's items.
        QCOMPARE(combo(4)->itemText(18), QStringLiteral("category_18"));
        QCOMPARE(combo(14)->itemText(4), ProgramFolder::NameItems[4]);
        for (const auto& [number, picker] : window_->controls().combo)
            QVERIFY(number < 14 || picker->model() == combo(14)->model());
    }

    // Presenting fills the boxes with the pass held back, then runs it once:
    // nothing in the block changes, so saving at once writes the same bytes
    // (how each value is shown: FieldTextTest; which box holds which field:
    // tests/core/FieldsTest).
    void presentingLeavesTheBlockAsLoaded() {
        startLoaded(presentedBlock);
        const QByteArray before = folder_->game();
        QCOMPARE(window_->passCount(), 1);
        for (int member = 0; member <= 51; ++member)
            QVERIFY2(!txt(member) || fieldMark(txt(member)).isEmpty(), qPrintable(QString::number(member)));
        QVERIFY(!window_->hasUnsavedChanges());
        services_.choiceAnswer = 0;  // values the game is not known to take: Save Anyway
        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
        QVERIFY(folder_->game() == before);
    }

    // Presenting again while the boxes show other texts: the boxes not yet
    // refreshed must not be stored into the block on the way.
    void presentingAgainStoresNothingFromEarlierTexts() {
        startLoaded(presentedBlock);
        LeagueSession& session = window_->session();
        session.storeBox(*fieldOfMember(0), "11", 11);
        session.storeBox(*fieldOfMember(1), "21", 21);
        session.storeBox(*fieldOfMember(30), "4", 4);
        window_->Pokaz_Dane();
        QCOMPARE(txt(0)->text(), QStringLiteral("11"));
        QCOMPARE(txt(1)->text(), QStringLiteral("21"));
        QCOMPARE(window_->baza().Liga2(), 21);
        QCOMPARE(label(2), QStringLiteral("unnamed_39.bin"));
    }

    // Without its own folder Kelvory stops with a message, rather than taking
    // the current folder for it. Without Leagues.ini it says what the file
    // holds and offers to write it: the game executable chosen in Kelvory's
    // folder is named on its line 2 and opened; one chosen elsewhere is
    // refused, and nothing is written.
    void startWithoutLeaguesIni_data() {
        QTest::addColumn<bool>("folder");     // Kelvory knows its own folder
        QTest::addColumn<QString>("chosen");  // the file dialog's answer; "": Quit
        QTest::addColumn<bool>("started");
        QTest::addColumn<QString>("said");  // in the message or question shown first
        QTest::newRow("no program folder") << false << "" << false << "folder";
        QTest::newRow("quit") << true << "" << false << "second line names the game executable";
        QTest::newRow("the game chosen") << true << "game" << true << "Leagues.ini";
        QTest::newRow("a file elsewhere") << true << "decoy" << false << "Leagues.ini";
    }

    void startWithoutLeaguesIni() {
        QFETCH(bool, folder);
        QFETCH(QString, chosen);
        QFETCH(bool, started);
        QFETCH(QString, said);
        if (!folder)
            services_.programFolder.clear();
        QVERIFY(QFile::remove(folder_->file(QStringLiteral("Leagues.ini"))));
        services_.choiceAnswer = chosen.isEmpty() ? -1 : 0;
        const std::filesystem::path decoy = folder_->decoy / "victim.bin";
        services_.dialogAnswer = platform::pathToText(chosen == "game" ? folder_->gamePath() : decoy);
        QCOMPARE(start(), started);
        const QString first = folder ? services_.choiceTexts.value(0) : services_.messages.value(0).text;
        QVERIFY2(first.startsWith("Kelvory cannot start.\n\n") && first.contains(said), qPrintable(first));
        QCOMPARE(QFile::exists(folder_->file(QStringLiteral("Leagues.ini"))), started);
        QCOMPARE(window_->baza().loaded(), started);
        if (started) {
            QCOMPARE(services_.dialogStart, folder_->path());
            QCOMPARE(window_->gamePath(), folder_->gamePath());
        } else if (!chosen.isEmpty()) {
            QVERIFY(services_.messages.value(0).text.contains("must be in Kelvory's own folder"));
        }
    }

    // A catalogue over its limits fills no picker and is reported once, not
    // once per picker; start-up goes on.
    void oversizedCatalogueSaidOnce() {
        folder_->write("Setting/ID_Name_League.ini", QByteArray(100000, ','));
        QVERIFY(start());
        QCOMPARE(services_.messages.size(), 1);
        QVERIFY(services_.messages[0].text.contains("ID_Name_League.ini holds more than 100000 entries"));
        QCOMPARE(combo(14)->count(), 0);
        QCOMPARE(combo(26)->count(), 0);
        QCOMPARE(listItems().size(), 4);
    }

    // A box shows its value in the window's face, bold while it differs from
    // the loaded one; a text too wide for that face is drawn smaller, down to
    // 6 points, until it fits with three pixels to spare on either side (the
    // widest national name, -32768, needs 7.5 points).
    void wideValuesShowSmaller() {
        startShown();
        QFont face = window_->font();
        face.setBold(true);
        for (const auto& [member, text] : {std::pair{12, "-2147483648"}, {13, "-32768"}, {51, "255"}, {20, "7"}}) {
            QLineEdit* box = txt(member);
            box->setText(QString::fromLatin1(text));
            QVERIFY(box->font().bold());
            QVERIFY(box->font().pointSizeF() >= 6.0);
            QVERIFY2(QFontMetrics(box->font()).horizontalAdvance(box->text()) <= box->width() - 6, text);
        }
        QCOMPARE(txt(20)->font(), face);
    }
};

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
