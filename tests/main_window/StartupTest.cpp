// The window's start-up and presenting: which folder it reads, the lists it
// fills, the boxes it fills from the block, where its controls sit, and how it
// stops when a file it needs is missing or unusable.

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "../common/FifoWatchdog.h"
#include "../common/Rows.h"
#include "WindowFixture.h"
#include "ui/main_window/FieldMarks.h"

namespace {

const QStringList Categories = {"category_00", "category_01", "category_02", "category_03", "category_04",
                                "category_05", "category_06", "category_07", "category_08", "category_09",
                                "category_10", "category_11", "category_12", "category_13", "category_14",
                                "category_15", "category_16", "category_17", "category_18"};

QStringList itemsOf(const QComboBox* picker) {
    QStringList items;
    for (int i = 0; i < picker->count(); ++i)
        items << picker->itemText(i);
    return items;
}

// The first and last pixel colours of a box's frame ring and of its inside
// (clear of the text cursor in the middle); false when either is not uniform.
bool ringAndInside(QWidget* box, QRgb* ring, QRgb* inside) {
    const QImage image = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const int w = image.width(), h = image.height();
    *ring = image.pixel(0, 0);
    *inside = image.pixel(1, 1);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool onRing = x == 0 || y == 0 || x == w - 1 || y == h - 1;
            if (onRing ? image.pixel(x, y) != *ring : (x < w / 2 - 3 || x > w / 2 + 3) && image.pixel(x, y) != *inside)
                return false;
        }
    return true;
}

// The block the presenting tests load: values at the ends of their ranges,
// texts that fill a category field or not, logo indexes that match or not.
void presentedBlock(Baza& b) {
    b.setLiga3(-1);
    b.setLiga13(2147483647);
    b.setStr1(-32768);
    b.setStr13(32767);
    b.setCat2("abc");
    b.setCat3("category_07");
    b.setEurope(200);
    b.setOtherLatinAmerican(255);
    b.setCatL1(123);
    b.setCatL2(5);
    b.setCatL3(3);
    b.setCatL7(29);
}

struct Placed {
    QString parent;
    QRect geometry;
};
struct PipeCase {
    QString file;
    bool starts, loaded;
    int listItems, pickerItems;
};

}  // namespace

Q_DECLARE_METATYPE(Placed)
Q_DECLARE_METATYPE(PipeCase)

class StartupTest : public WindowFixture {
    Q_OBJECT

private slots:
    // The list is filled at start-up; the pickers' lists once, after the
    // window's first paint, with every item.
    void pickersAreFilledOnceAfterTheFirstPaint() {
        window_ = std::make_unique<frmMain>();
        QVERIFY(window_->Form_Load());
        QCOMPARE(combo(1)->count(), 0);
        QCOMPARE(combo(26)->count(), 0);
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
    }

    void eachPickerHoldsItsListAndText_data() {
        QTest::addColumn<int>("picker");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QString>("text");
        QTest::newRow("Combo1") << 1 << Categories << "Select category to Sector 0";
        QTest::newRow("Combo2") << 2 << Categories << "Select category to Sector 1";
        QTest::newRow("Combo3") << 3 << Categories << "Select category to Sector 2";
        QTest::newRow("Combo4") << 4 << Categories << "Select category to Sector 3";
        for (int picker = 14; picker <= 26; ++picker)
            QTest::addRow("Combo%d", picker) << picker << ProgramFolder::NameItems << "Select Index";
    }

    void eachPickerHoldsItsListAndText() {
        QFETCH(int, picker);
        QFETCH(QStringList, items);
        QFETCH(QString, text);
        startLoaded();
        QCOMPARE(itemsOf(combo(picker)), items);
        QCOMPARE(combo(picker)->currentText(), text);
        QCOMPARE(combo(picker)->currentIndex(), -1);
    }

    void presentingShowsEachField_data() {
        QTest::addColumn<int>("member");
        QTest::addColumn<QString>("shown");
        QTest::newRow("Liga3 -1") << 2 << "-1";
        QTest::newRow("Liga13 highest") << 12 << "2147483647";
        QTest::newRow("Str1 lowest") << 13 << "-32768";
        QTest::newRow("Str13 highest") << 25 << "32767";
        QTest::newRow("Cat2, 11 characters untrimmed") << 27 << "abc        ";
        QTest::newRow("Cat3 an identifier") << 28 << "category_07";
        QTest::newRow("CatL1 of three digits") << 30 << "123";
        QTest::newRow("CatL7") << 36 << "29";
        QTest::newRow("Europe 200, not clamped") << 39 << "200";
        QTest::newRow("OtherLatinAmerican") << 51 << "255";
    }

    void presentingShowsEachField() {
        QFETCH(int, member);
        QFETCH(QString, shown);
        startLoaded(presentedBlock);
        QCOMPARE(txt(member)->text(), shown);
    }

    // Each indicator names the file of the logo index in the box on its row.
    void presentingSetsTheIndicators_data() {
        QTest::addColumn<int>("label");
        QTest::addColumn<QString>("caption");
        QTest::newRow("CatL1 123 matches no logo") << 2 << "Label2";
        QTest::newRow("CatL2 5") << 3 << "unnamed_40.bin";
        QTest::newRow("CatL3 3") << 4 << "unnamed_38.bin";
        QTest::newRow("CatL7 29") << 8 << "unnamed_64.bin";
    }

    void presentingSetsTheIndicators() {
        QFETCH(int, label);
        QFETCH(QString, caption);
        startLoaded(presentedBlock);
        QCOMPARE(this->label(label), caption);
    }

    // Presenting fills the boxes with the pass held back, then runs it once:
    // nothing in the block changes, so saving at once writes the same bytes.
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
        window_->baza().setLiga1(11);
        window_->baza().setLiga2(21);
        window_->baza().setCatL1(4);
        window_->Pokaz_Dane();
        QCOMPARE(txt(0)->text(), QStringLiteral("11"));
        QCOMPARE(txt(1)->text(), QStringLiteral("21"));
        QCOMPARE(window_->baza().Liga2(), 21);
        QCOMPARE(label(2), QStringLiteral("unnamed_39.bin"));
    }

    // Without its own folder, or without a usable Leagues.ini, Kelvory stops
    // with a message; without a folder before reading anything, rather than
    // taking the current folder for it.
    void startStopsWithAMessage_data() {
        QTest::addColumn<QByteArray>("content");  // of Leagues.ini; "-": no folder, empty: no file
        QTest::addColumn<QString>("said");
        QTest::addColumn<int>("listItems");
        QTest::newRow("no program folder") << QByteArray("-") << "folder" << 0;
        QTest::newRow("Leagues.ini missing") << QByteArray() << "Leagues.ini" << 4;
        QTest::newRow("Leagues.ini of one line") << QByteArray("only a first line\r\n") << "Leagues.ini" << 4;
        // The name box would show the whole line while the file opened and
        // saved would be the name cut at the NUL.
        QTest::newRow("NUL in line 2") << QByteArray("x\r\nGame File.exe\0.bak\r\n", 23)
                                       << "holds a character that a file name cannot hold" << 4;
    }

    void startStopsWithAMessage() {
        QFETCH(QByteArray, content);
        QFETCH(QString, said);
        QFETCH(int, listItems);
        if (content == "-")
            services_.programFolder.clear();
        else if (content.isEmpty())
            QVERIFY(QFile::remove(folder_->file(QStringLiteral("Leagues.ini"))));
        else
            folder_->write("Leagues.ini", content);
        QVERIFY(!start());
        QCOMPARE(services_.messages.size(), 1);
        QVERIFY(services_.messages[0].icon == platform::MessageIcon::Critical);
        QVERIFY2(services_.messages[0].text.startsWith("Kelvory cannot start.\n\n"),
                 qPrintable(services_.messages[0].text));
        QVERIFY2(services_.messages[0].text.contains(said), qPrintable(services_.messages[0].text));
        QCOMPARE(this->listItems().size(), listItems);
        QCOMPARE(combo(14)->count(), 0);
    }

    // A catalogue over its limits fills no picker and is reported once, not
    // once per picker; start-up goes on.
    void oversizedCatalogueSaidOnce_data() {
        QTest::addColumn<QString>("catalogue");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("said");
        QTest::newRow("names, too many") << "Setting/ID_Name_League.ini" << QByteArray(100000, ',')
                                         << "ID_Name_League.ini holds more than 100000 entries";
        QTest::newRow("structure, too large")
            << "Setting/Structure.ini" << QByteArray(4 * 1024 * 1024 + 1, 'a') << "Structure.ini is larger than 4 MiB";
    }
    void oversizedCatalogueSaidOnce() {
        QFETCH(QString, catalogue);
        QFETCH(QByteArray, content);
        QFETCH(QString, said);
        folder_->write(catalogue, content);
        QVERIFY(start());
        QCOMPARE(services_.messages.size(), 1);
        QVERIFY2(services_.messages[0].text.contains(said), qPrintable(services_.messages[0].text));
        const bool names = catalogue.contains("Name");
        QCOMPARE(combo(14)->count(), names ? 0 : 5);
        QCOMPARE(combo(26)->count(), names ? 0 : 5);
        QCOMPARE(listItems().size(), names ? 4 : 0);
    }

    // Kelvory reads and saves its own folder's files, not the current
    // folder's, even when its folder's name is not UTF-8 (where names are
    // bytes) or holds letters beyond code page 1252 (on Windows).
    void ownFolderWithAnUnusualName() {
#ifdef Q_OS_WIN
        const std::filesystem::path name = std::filesystem::u8path("Mecz Pi\xC5\x82ka caf\xC3\xA9");
        const QString shown = QStringLiteral("Mecz Pi\u0142ka caf\u00E9"), inUrl = "Mecz%20Pi%C5%82ka%20caf%C3%A9";
#else
        const std::filesystem::path name = "caf\xE9";  // code page 1252 e acute: not UTF-8
        const QString shown = QStringLiteral("caf\u00E9"), inUrl = "caf%E9";
#endif
        useFolder(name);
        QVERIFY(start());
        QVERIFY(window_->baza().loaded());
        const QString root = QString::fromStdString(folder_->root.u8string());
        const QString sep = QDir::separator();
        QCOMPARE(window_->controls().Lokalizacja->text(), root + sep + shown + sep + "Game File.exe");
        QCOMPARE(listItems().value(0), QStringLiteral("Top division"));
        txt(5)->setText(QStringLiteral("7"));
        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
        // Liga6 is bytes 20 to 23 of the slot table.
        QVERIFY(folder_->game() ==
                testfiles::gameBytes().replace(Baza::LigaOffset + 20, 4, QByteArray("\x07\0\0\0", 4)));
        // The user guide beside the program, addressed with every byte of its folder.
        window_->action(QStringLiteral("cmdCommunitySiteA"))->trigger();
        QCOMPARE(services_.events.last(), "open: " + fileUrl(root) + "/" + inUrl + "/UserGuide.html");
    }

    // A file named on line 2 in UTF-8, or in code page 1252, is found; the
    // name box shows it readably.
    void gameNamedOnLine2_data() {
        QTest::addColumn<QByteArray>("line2");
        QTest::addColumn<QString>("shown");
#ifndef Q_OS_WIN  // Windows reads line 2 in code page 1252 only
        QTest::newRow("UTF-8") << QByteArray("Gr\xC3\xA9 \xC5\xBB\xC3\xB3\xC5\x82w.exe")
                               << QStringLiteral("Gr\u00E9 \u017B\u00F3\u0142w.exe");
#endif
        QTest::newRow("code page 1252") << QByteArray("Gr\xE9.exe") << QStringLiteral("Gr\u00E9.exe");
    }

    void gameNamedOnLine2() {
        QFETCH(QByteArray, line2);
        QFETCH(QString, shown);
        folder_->write("Leagues.ini", "Kelvory\r\n" + line2 + "\r\n");
#ifdef Q_OS_WIN
        std::filesystem::rename(folder_->gamePath(), folder_->program / std::filesystem::u8path(shown.toStdString()));
#else
        std::filesystem::rename(folder_->gamePath(), folder_->program / line2.toStdString());  // the bytes are the name
#endif
        QVERIFY(start());
        QVERIFY(window_->baza().loaded());
        QCOMPARE(window_->controls().Nazwa_Exe->text(), shown);
        QCOMPARE(window_->controls().Lokalizacja->text(), folder_->path() + QDir::separator() + shown);
        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
    }

    // A pipe in place of one of Kelvory's files never holds start-up (the
    // game file's case is BazaTest's).
    void pipeInPlaceOf_data() {
        // A start that stops is never shown, so the pickers' lists stay unfilled.
        rows<PipeCase>({
            {"Leagues.ini", {"Leagues.ini", false, false, 4, 0}},
            {"Structure.ini", {"Setting/Structure.ini", true, true, 0, 5}},
            {"ID_Name_League.ini", {"Setting/ID_Name_League.ini", true, true, 4, 0}},
        });
    }

    void pipeInPlaceOf() {
#ifdef Q_OS_WIN
        QSKIP("Windows folders hold no named pipes");
#else
        QFETCH(PipeCase, row);
        const auto& [file, starts, loaded, listItems, pickerItems] = row;
        const std::filesystem::path pipe = folder_->program / file.toStdString();
        std::filesystem::remove(pipe);
        QVERIFY(makeFifo(pipe));
        bool started = !starts;
        QVERIFY(finishesWithin(std::chrono::seconds(1), pipe, [&] { started = start(); }));
        QCOMPARE(started, starts);
        QCOMPARE(window_->baza().loaded(), loaded);
        QCOMPARE(this->listItems().size(), listItems);
        QCOMPARE(combo(26)->count(), pickerItems);
        QCOMPARE(services_.messages.size(), starts ? 0 : 1);
        if (!starts)
            QVERIFY(services_.messages[0].text.contains("Leagues.ini"));
#endif
    }

    void controlsSitWhereTheDesignPutsThem_data() {
        rows<Placed>({
            {"Frame5", {"frmMainClient", {0, 392, 289, 281}}},
            {"txt_0", {"Frame11", {16, 16, 75, 19}}},
            {"txt_13", {"Frame13", {8, 16, 38, 19}}},
            {"txt_14", {"Frame13", {8, 88, 38, 19}}},
            {"Combo15", {"Frame13", {48, 88, 97, 21}}},
            {"Combo4", {"Frame10", {96, 88, 169, 21}}},
            {"Label8", {"Frame9", {96, 160, 32, 13}}},
            {"txt_42", {"Frame6", {8, 104, 81, 19}}},
            {"txt_43", {"Frame6", {8, 136, 81, 19}}},
            {"cmd_Save_Start_Game", {"Frame8", {224, 48, 121, 25}}},
        });
    }

    void controlsSitWhereTheDesignPutsThem() {
        QFETCH(Placed, row);
        frmMain window;
        QWidget* control = window.controls().byName.value(QTest::currentDataTag());
        QVERIFY(control);
        QCOMPARE(control->parentWidget()->objectName(), row.parent);
        QCOMPARE(control->geometry(), row.geometry);
    }

    // The value boxes draw their own one-pixel frame (grey, blue with the
    // focus) around their colour, without a style sheet.
    void valueBoxesDrawTheirFrameAndColour_data() {
        QTest::addColumn<int>("member");
        QTest::addColumn<QColor>("base");
        QTest::newRow("slot, yellow") << 0 << QColor(255, 255, 0);
        QTest::newRow("map, green") << 51 << QColor(0, 255, 0);
    }

    void valueBoxesDrawTheirFrameAndColour() {
        QFETCH(int, member);
        QFETCH(QColor, base);
        folder_->write("Leagues.ini", ProgramFolder::MissingGame);  // empty boxes
        QVERIFY(start());
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        window_->activateWindow();
        QLineEdit* box = txt(member);
        QVERIFY(box->styleSheet().isEmpty());
        for (QWidget* focus : {static_cast<QWidget*>(window_->controls().Text1), static_cast<QWidget*>(box)}) {
            focus->setFocus();
            QTRY_VERIFY(focus->hasFocus());
            QRgb ring = 0, inside = 0;
            QVERIFY(ringAndInside(box, &ring, &inside));
            QCOMPARE(QColor(ring), focus == box ? QColor(0x2f, 0x65, 0xca) : QColor(0x7a, 0x7a, 0x7a));
            QCOMPARE(QColor(inside), base);
        }
    }

    // The widest value of each field, drawn into its box: the glyphs must
    // stay clear of the frame, and the text must fit the box's text area.
    void widestValuesShowWhole_data() {
        QTest::addColumn<int>("member");
        QTest::addColumn<QString>("text");
        QTest::newRow("national slot") << 0 << QStringLiteral("-2147483648");
        QTest::newRow("club slot") << 12 << QStringLiteral("-2147483648");
        QTest::newRow("national name") << 13 << QStringLiteral("-32768");
        QTest::newRow("club name") << 25 << QStringLiteral("-32768");
        QTest::newRow("club logo") << 36 << QStringLiteral("-2147483648");
        QTest::newRow("map") << 51 << QStringLiteral("255");
        QTest::newRow("small value, window face") << 20 << QStringLiteral("7");
    }

    void widestValuesShowWhole() {
        QFETCH(int, member);
        QFETCH(QString, text);
        startLoaded();
        window_->show();
        QLineEdit* box = txt(member);
        box->setText(text);
        box->deselect();
        box->clearFocus();
        const int needed = QFontMetrics(box->font()).horizontalAdvance(text);
        QVERIFY(box->font().pointSizeF() >= 6.0);
        // The value differs from the loaded one, so the box shows it in bold:
        // the wider face, which must fit as well.
        QFont face = window_->font();
        face.setBold(true);
        QVERIFY(box->font().bold());
        if (text.size() == 1)
            QCOMPARE(box->font(), face);

        // Rendered: find the text's ink between the frame lines.
        const QImage image = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRgb base = image.pixel(image.width() / 2, 2);
        int first = -1, last = -1;
        for (int x = 1; x < image.width() - 1; ++x) {
            for (int y = 2; y < image.height() - 2; ++y) {
                if (qGray(image.pixel(x, y)) < qGray(base) - 60) {
                    first = first < 0 ? x : first;
                    last = x;
                    break;
                }
            }
        }
        QVERIFY2(first >= 3, qPrintable(QStringLiteral("ink from %1 in %2").arg(first).arg(image.width())));
        QVERIFY2(last <= image.width() - 4, qPrintable(QStringLiteral("ink to %1 in %2").arg(last).arg(image.width())));
        QVERIFY2(last - first + 1 >= needed - 3, "the text was cut");
    }
};

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
