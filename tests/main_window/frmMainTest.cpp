// Drives the real main window on a temporary program folder, with the system
// services (messages, settings, dialogs, starting programs) replaced by fakes
// that record what the window asked of them.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSettings>
#include <QTest>
#include <memory>

#include "ProgramFolder.h"
#include "core/Baza.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "ui/main_window/frmMain.h"
#include "ui/widgets/Button_XP.h"

namespace {

struct Message {
    platform::MessageIcon icon;
    QString caption;
    QString text;
};

QString categoryPadded(const QString& text) {
    return text.leftJustified(11, QLatin1Char(' '), true);
}

}  // namespace

class FrmMainTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ProgramFolder> folder_;
    std::unique_ptr<frmMain> window_;
    QList<Message> messages_;
    QStringList events_;  // messages and program starts, in order
    QStringList started_;
    QMap<QString, QString> settings_;
    QString dialogAnswer_;
    platform::StartResult startAnswer_{true, {}};

    void installFakes() {
        platform::Services& s = platform::services();
        s.programFolder = [this] { return folder_->path(); };
        s.showMessage = [this](QWidget*, platform::MessageIcon icon, const QString& caption, const QString& text) {
            messages_.append({icon, caption, text});
            events_.append(QStringLiteral("message: ") + text);
        };
        s.startProgram = [this](const QString& commandLine) {
            started_.append(commandLine);
            events_.append(QStringLiteral("start: ") + commandLine);
            return startAnswer_;
        };
        s.readSetting = [this](const QString& a, const QString& s, const QString& k, const QString& def) {
            return settings_.value(a + '/' + s + '/' + k, def);
        };
        s.saveSetting = [this](const QString& a, const QString& s, const QString& k, const QString& value) {
            settings_.insert(a + '/' + s + '/' + k, value);
            return true;
        };
        s.openFileDialog = [this](QWidget*, const QString&, const QString&, const QList<platform::FileFilter>&, int) {
            return dialogAnswer_;
        };
        s.openAddress = [this](const QString& address) {
            events_.append(QStringLiteral("open: ") + address);
            return true;
        };
    }

    // Starts the window as the program does; returns Form_Load's result.
    bool start() {
        window_ = std::make_unique<frmMain>();
        window_->setNumberLocale(QLocale::c());
        return window_->Form_Load();
    }

    void startLoaded(const std::function<void(Baza&)>& edit = {}) {
        folder_->writeGame(edit);
        QVERIFY(start());
        QVERIFY(window_->baza().loaded());
    }

    QLineEdit* txt(int member) { return window_->txt(member); }

    // Replaces a box's text by typing, as a user would.
    void type(QWidget* box, const QString& text) {
        auto* edit = qobject_cast<QLineEdit*>(box);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }

    void choose(int comboNumber, const QString& item) {
        QComboBox* picker = window_->combo(comboNumber);
        const int index = picker->findText(item);
        QVERIFY2(index >= 0, qPrintable(item));
        picker->setCurrentIndex(index);
        emit picker->activated(index);
    }

    QByteArray gameBytes() const { return folder_->readAll(QLatin1String(ProgramFolder::GameName)); }

    int messagesSaying(const QString& text) const {
        int n = 0;
        for (const Message& m : messages_) {
            n += m.text == text ? 1 : 0;
        }
        return n;
    }

private slots:
    void init() {
        folder_ = std::make_unique<ProgramFolder>();
        messages_.clear();
        events_.clear();
        started_.clear();
        settings_.clear();
        dialogAnswer_.clear();
        startAnswer_ = {true, {}};
        installFakes();
    }

    void cleanup() {
        window_.reset();
        folder_.reset();
        platform::resetServices();
    }

    void startupFillsPickersListAndBoxes() {
        startLoaded();
        QCOMPARE(window_->windowTitle(), QStringLiteral("Kelvory Exibition Mode"));
        for (int n = 1; n <= 4; ++n) {
            QComboBox* picker = window_->combo(n);
            QCOMPARE(picker->count(), 19);
            QCOMPARE(picker->itemText(0), QStringLiteral("category_00"));
            QCOMPARE(picker->itemText(18), QStringLiteral("category_18"));
            QCOMPARE(picker->currentText(), QStringLiteral("Select category to Sector %1").arg(n - 1));
        }
        for (int n = 14; n <= 26; ++n) {
            QComboBox* picker = window_->combo(n);
            QStringList items;
            for (int i = 0; i < picker->count(); ++i)
                items << picker->itemText(i);
            QCOMPARE(items, ProgramFolder::nameItems());
            QCOMPARE(picker->currentText(), QStringLiteral("Select Index"));
        }
        QStringList lines;
        for (int i = 0; i < window_->controls().List1->count(); ++i)
            lines << window_->controls().List1->item(i)->text();
        QCOMPARE(lines, ProgramFolder::structureItems());
        QCOMPARE(window_->controls().Nazwa_Exe->text(), QLatin1String(ProgramFolder::GameName));
        QCOMPARE(platform::textToPath(window_->controls().Lokalizacja->text()),
                 platform::textToPath(folder_->gamePath()));
        QCOMPARE(window_->controls().Text1->text(), QStringLiteral("Change..."));
        QVERIFY(messages_.isEmpty());
        QVERIFY(!window_->action("MnuFileOpen")->isVisible());
        QVERIFY(window_->action("Cmd_Zapisz")->isVisible());
    }

    void presentingShowsEveryField() {
        startLoaded([](Baza& b) {
            for (int i = 0; i < Baza::LigaCount; ++i)
                b.setLiga(i, 100 + i);
            b.setLiga3(-1);
            b.setStr1(-32768);
            b.setStr13(32767);
            b.setCat1("category_07");
            b.setCat2("abc");
            b.setEurope(200);
            b.setOtherLatinAmerican(10);
            b.setCatL1(123);
            b.setCatL2(5);
            b.setCatL7(29);
        });
        QCOMPARE(txt(0)->text(), QStringLiteral("100"));
        QCOMPARE(txt(2)->text(), QStringLiteral("-1"));
        QCOMPARE(txt(12)->text(), QStringLiteral("112"));
        QCOMPARE(txt(13)->text(), QStringLiteral("-32768"));
        QCOMPARE(txt(25)->text(), QStringLiteral("32767"));
        QCOMPARE(txt(26)->text(), QStringLiteral("category_07"));
        QCOMPARE(txt(27)->text(), QStringLiteral("abc        "));
        QCOMPARE(txt(30)->text(), QStringLiteral("123"));  // longer than two typed characters
        QCOMPARE(txt(39)->text(), QStringLiteral("200"));
        QCOMPARE(txt(51)->text(), QStringLiteral("10"));
        // Indicators follow the presented logo indexes; 123 matches none.
        QCOMPARE(window_->controls().label.at(2)->text(), QStringLiteral("Label2"));
        QCOMPARE(window_->controls().label.at(3)->text(), QStringLiteral("unnamed_40.bin"));
        QCOMPARE(window_->controls().label.at(8)->text(), QStringLiteral("unnamed_64.bin"));
        // Presenting touches neither the pickers nor the block.
        QCOMPARE(window_->combo(2)->currentText(), QStringLiteral("Select category to Sector 1"));
        QCOMPARE(window_->baza().Liga3(), -1);
        QCOMPARE(window_->baza().CatL1(), 123);
        QCOMPARE(window_->passCount(), 50);
    }

    void saveWithoutEditsKeepsEveryByte() {
        startLoaded();
        const QByteArray before = gameBytes();
        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
        QCOMPARE(gameBytes(), before);
        QCOMPARE(messages_.size(), 1);
        QCOMPARE(messages_[0].text, QStringLiteral("Save Successfully"));
        QCOMPARE(messages_[0].caption, QStringLiteral("Kelvory"));
        QVERIFY(messages_[0].icon == platform::MessageIcon::Information);
    }

    void typingSevenIntoMember5ChangesOnlyItsFourBytes() {
        startLoaded([](Baza& b) { b.setLiga6(-99); });
        const QByteArray before = gameBytes();
        type(txt(5), QStringLiteral("7"));
        QCOMPARE(window_->baza().Liga6(), 7);
        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
        const QByteArray after = gameBytes();
        QCOMPARE(after.size(), before.size());
        const qsizetype at = Baza::LigaOffset + 20;
        for (qsizetype i = 0; i < after.size(); ++i) {
            if (i >= at && i < at + 4)
                continue;
            if (after[i] != before[i])
                QFAIL(qPrintable(QStringLiteral("byte %1 changed").arg(i)));
        }
        QCOMPARE(after.mid(at, 4), QByteArray("\x07\x00\x00\x00", 4));
    }

    void typedTextReachesItsField_data() {
        QTest::addColumn<int>("member");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("stored");
        QTest::addColumn<int>("expected");

        QTest::newRow("slot 7") << 5 << "7" << true << 7;
        QTest::newRow("slot letters") << 2 << "abc" << false << 0;
        QTest::newRow("slot cleared") << 2 << "" << false << 0;
        QTest::newRow("slot blanks around") << 0 << " 12 " << true << 12;
        QTest::newRow("slot 12.4") << 0 << "12.4" << true << 12;
        QTest::newRow("slot 12.6") << 0 << "12.6" << true << 13;
        QTest::newRow("slot tie to even down") << 0 << "12.5" << true << 12;
        QTest::newRow("slot tie to even up") << 0 << "13.5" << true << 14;
        QTest::newRow("slot beyond 32 bits") << 1 << "2147483648" << false << 0;
        QTest::newRow("name -5") << 14 << "-5" << true << -5;
        QTest::newRow("name 32768") << 14 << "32768" << false << 0;
        QTest::newRow("map 7") << 39 << "7" << true << 7;
        QTest::newRow("map above legend kept") << 40 << "11" << true << 11;
        QTest::newRow("map -1") << 41 << "-1" << false << 0;
        QTest::newRow("map 255") << 51 << "255" << true << 255;
    }

    void typedTextReachesItsField() {
        QFETCH(int, member);
        QFETCH(QString, typed);
        QFETCH(bool, stored);
        QFETCH(int, expected);
        startLoaded();
        // The field of a member, read the same way for every group.
        auto field = [this](int m) -> long long {
            const Baza& b = window_->baza();
            if (m <= 12)
                return b.liga(m);
            if (m <= 25)
                return b.str(m - 13);
            if (m >= 30 && m <= 36)
                return b.catL(m - 30);
            return b.map(m - 39);
        };
        const long long before = field(member);
        window_->txt(member)->setText(typed);           // as the program's own change would
        QCOMPARE(window_->txt(member)->text(), typed);  // the pass never rewrites a box
        QCOMPARE(field(member), stored ? expected : before);
    }

    void aPassStoresEveryConvertibleBox() {
        startLoaded();
        txt(3)->setText(QStringLiteral("letters"));
        const QSignalBlocker quiet(txt(8));
        txt(8)->setText(QStringLiteral("44"));  // shown, not yet carried over
        QVERIFY(window_->baza().Liga9() != 44);
        const int before = window_->passCount();
        type(txt(45), QStringLiteral("3"));
        QCOMPARE(window_->passCount(), before + 2);  // delete, then one key
        QCOMPARE(window_->baza().SerieA(), 3);
        QCOMPARE(window_->baza().Liga9(), 44);  // another box carried over by the same pass
    }

    void clubLogoBoxesTakeTwoTypedCharacters() {
        startLoaded();
        QLineEdit* box = txt(33);
        type(box, QStringLiteral("123"));
        QCOMPARE(box->text(), QStringLiteral("12"));
        QCOMPARE(window_->baza().CatL4(), 12);
        QCOMPARE(window_->controls().label.at(5)->text(), QStringLiteral("unnamed_47.bin"));
        box->setText(QStringLiteral("1234"));  // the program may show more
        QCOMPARE(box->text(), QStringLiteral("1234"));
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), QStringLiteral("123"));
        // Other boxes have no such limit.
        type(txt(0), QStringLiteral("123456"));
        QCOMPARE(window_->baza().Liga1(), 123456);
    }

    void indicatorsFollowEveryPass() {
        startLoaded([](Baza& b) { b.setCatL3(4); });
        QCOMPARE(window_->controls().label.at(4)->text(), QStringLiteral("unnamed_39.bin"));
        txt(32)->setText(QStringLiteral("30"));  // matches nothing: the label keeps its file
        QCOMPARE(window_->controls().label.at(4)->text(), QStringLiteral("unnamed_39.bin"));
        QCOMPARE(window_->baza().CatL3(), 30);
        type(txt(32), QStringLiteral("0"));
        QCOMPARE(window_->controls().label.at(4)->text(), QStringLiteral("unnamed_35.bin"));
    }

    void categoryPickersStoreTheirText() {
        startLoaded([](Baza& b) { b.setCat2("category_01"); });
        const int before = window_->passCount();
        choose(3, QStringLiteral("category_07"));
        QCOMPARE(txt(28)->text(), QStringLiteral("category_07"));
        QCOMPARE(QString::fromStdString(window_->baza().Cat3()), QStringLiteral("category_07"));
        QCOMPARE(window_->passCount(), before + 1);

        type(txt(27), QStringLiteral("category_09"));  // typing into the box never stores it
        QCOMPARE(QString::fromStdString(window_->baza().Cat2()), QStringLiteral("category_01"));

        QLineEdit* field = window_->combo(2)->lineEdit();  // every key typed into the picker does
        field->clear();
        for (const QString& typed : {QStringLiteral("a"), QStringLiteral("ab")}) {
            QTest::keyClick(field, typed.back().toLatin1());
            QCOMPARE(txt(27)->text(), typed);
            QCOMPARE(QString::fromStdString(window_->baza().Cat2()), categoryPadded(typed));
        }
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClick(field, Qt::Key_Backspace);
        QCOMPARE(QString::fromStdString(window_->baza().Cat2()), QString(11, QLatin1Char(' ')));
    }

    void namePickerHandsItsTextToTheBox_data() {
        QTest::addColumn<int>("combo");
        QTest::addColumn<QString>("item");
        QTest::addColumn<bool>("stored");
        QTest::newRow("number") << 18 << "12" << true;
        QTest::newRow("negative number") << 26 << "-7" << true;
        QTest::newRow("name") << 20 << "Northern League" << false;
        QTest::newRow("out of range") << 15 << "32768" << false;
        QTest::newRow("first national picker") << 14 << "12" << true;
    }

    void namePickerHandsItsTextToTheBox() {
        QFETCH(int, combo);
        QFETCH(QString, item);
        QFETCH(bool, stored);
        startLoaded([](Baza& b) {
            for (int i = 0; i < Baza::StrCount; ++i)
                b.setStr(i, 1000 + i);
        });
        const int member = combo - 1;
        const int field = combo - 14;
        choose(combo, item);
        QCOMPARE(txt(member)->text(), item);
        QCOMPARE(int(window_->baza().str(field)), stored ? item.toInt() : 1000 + field);
    }

    void hiddenMapSlotsSurviveEdits() {
        startLoaded([](Baza& b) {
            for (int i = 13; i < Baza::MapCount; ++i)
                b.setMap(i, static_cast<std::uint8_t>(230 + i));
        });
        for (int member = 39; member <= 51; ++member)
            type(txt(member), QStringLiteral("9"));
        choose(1, QStringLiteral("category_03"));
        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
        const QByteArray map = gameBytes().mid(Baza::MapOffset, Baza::MapSize);
        for (int i = 0; i < Baza::MapCount; ++i) {
            QCOMPARE(int(static_cast<unsigned char>(map[i])), i < 13 ? 9 : 230 + i);
        }
    }

    void missingGameStartsEmptyAndRefusesToSave() {
        folder_->writeText(QStringLiteral("Leagues.ini"), "x\r\nNot There.exe\r\n");
        QVERIFY(start());
        QVERIFY(!window_->baza().loaded());
        QVERIFY(window_->controls().Lokalizacja->text().isEmpty());
        for (const auto& [member, box] : window_->controls().txt)
            QVERIFY(box->text().isEmpty());
        QVERIFY(messages_.isEmpty());  // silent at start-up

        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::NotLoaded);
        QCOMPARE(messagesSaying(QStringLiteral("Save Successfully")), 0);
        QCOMPARE(messages_.size(), 1);
        QVERIFY(messages_[0].text.contains(QStringLiteral("Not There.exe")));
        QVERIFY(!QFile::exists(folder_->file(QStringLiteral("Not There.exe"))));

        // Save and Start Game still starts the launcher after saying so.
        window_->controls().Text1->setText(QStringLiteral("/opt/launcher"));
        window_->cmd_Save_Start_Game_Click();
        QCOMPARE(started_, QStringList{QStringLiteral("/opt/launcher")});
    }

    void failedSaveIsReportedAndKeepsTheBlock() {
        startLoaded();
        type(txt(0), QStringLiteral("77"));
        // Something replaced the game file with a folder: every write fails.
        QVERIFY(QFile::remove(folder_->gamePath()));
        QVERIFY(QDir(folder_->path()).mkdir(QLatin1String(ProgramFolder::GameName)));
        window_->controls().Text1->setText(QStringLiteral("/opt/launcher"));
        window_->cmd_Save_Start_Game_Click();
        QCOMPARE(messagesSaying(QStringLiteral("Save Successfully")), 0);
        QCOMPARE(messages_.size(), 1);
        QVERIFY(messages_[0].icon == platform::MessageIcon::Critical);
        QVERIFY(messages_[0].text.contains(QLatin1String(ProgramFolder::GameName)));
        QVERIFY(started_.isEmpty());  // never start the game after a failed save
        QCOMPARE(window_->baza().Liga1(), 77);

        // The cause fixed, the same edits save.
        QVERIFY(QDir(folder_->path()).rmdir(QLatin1String(ProgramFolder::GameName)));
        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
        QCOMPARE(gameBytes().mid(Baza::LigaOffset, 4), QByteArray("\x4d\x00\x00\x00", 4));
    }

    void unusableLeaguesIniStopsWithAMessage_data() {
        QTest::addColumn<QByteArray>("content");  // empty: no file at all
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("one line") << QByteArray("only a first line\r\n");
    }

    void unusableLeaguesIniStopsWithAMessage() {
        QFETCH(QByteArray, content);
        if (content.isEmpty()) {
            QVERIFY(QFile::remove(folder_->file(QStringLiteral("Leagues.ini"))));
        } else {
            folder_->writeText(QStringLiteral("Leagues.ini"), content);
        }
        folder_->writeGame();
        QVERIFY(!start());
        QCOMPARE(messages_.size(), 1);
        QVERIFY(messages_[0].icon == platform::MessageIcon::Critical);
        QVERIFY(messages_[0].text.contains(QStringLiteral("Leagues.ini")));
    }

    void saveAndStartWaitsForTheMessage() {
        startLoaded();
        const QString launcher = folder_->file(QStringLiteral("Game Launcher/vozi.exe"));
        window_->controls().Text1->setText(launcher);
        emit window_->controls().cmd_Save_Start_Game->Click();
        QCOMPARE(events_, (QStringList{QStringLiteral("message: Save Successfully"), "start: " + launcher}));
    }

    void failedLauncherStartIsReported() {
        startLoaded();
        startAnswer_ = {false, QStringLiteral("No such file")};
        window_->cmd_Save_Start_Game_Click();
        QCOMPARE(started_, QStringList{QStringLiteral("Change...")});
        QCOMPARE(messages_.size(), 2);
        QVERIFY(messages_[1].text.contains(QStringLiteral("No such file")));
        QVERIFY(window_->baza().loaded());
    }

    void launcherPicker_data() {
        QTest::addColumn<QString>("answer");  // what the dialog returns; "@" stands for the folder
        QTest::addColumn<bool>("taken");
        QTest::newRow("cancelled") << "" << false;
        QTest::newRow("file that does not exist") << "@/nowhere/vozi.exe" << false;
        QTest::newRow("existing file") << "@/Leagues.ini" << true;
    }

    void launcherPicker() {
        QFETCH(QString, answer);
        QFETCH(bool, taken);
        startLoaded();
        answer.replace(QLatin1Char('@'), folder_->path());
        dialogAnswer_ = answer;
        window_->controls().Text1->setText(QStringLiteral("typed by hand"));
        emit window_->controls().Open->Click();
        const QString expected = taken ? answer : QStringLiteral("typed by hand");
        QCOMPARE(window_->controls().Text1->text(), expected);
        QCOMPARE(settings_.value(QStringLiteral("vozi/Options/vozi")), expected);  // stored in every case
    }

    void launcherPathIsRememberedAcrossRuns() {
        // The real settings store, redirected to a temporary folder.
        QTemporaryDir store;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, store.path());
        platform::services().readSetting = platform::systemServices().readSetting;
        platform::services().saveSetting = platform::systemServices().saveSetting;
        startLoaded();
        QCOMPARE(window_->controls().Text1->text(), QStringLiteral("Change..."));
        dialogAnswer_ = folder_->gamePath();
        window_->Open_Click();
        window_.reset();
        QVERIFY(start());
        QCOMPARE(window_->controls().Text1->text(), folder_->gamePath());
    }

    void aboutMenuOpensPagesAndShowsTheNotice() {
        startLoaded();
        for (const char* name : {"cmdCommunitySiteA", "cmdCommunitySiteB", "cmdAuthorPage"}) {
            window_->action(QLatin1String(name))->trigger();
        }
        QCOMPARE(events_.size(), 3);
        for (const QString& event : events_)
            QVERIFY2(event.startsWith(QStringLiteral("open: ")), qPrintable(event));
        QVERIFY(events_[0].contains(QStringLiteral("UserGuide.html")));
        window_->action(QStringLiteral("Copyright"))->trigger();
        QCOMPARE(messages_.size(), 1);
        QCOMPARE(messages_[0].text, QStringLiteral("Copyright \u00A9 2026 The Kelvory authors"));
        QCOMPARE(messages_[0].caption, QStringLiteral("Kelvory"));
    }

    void exitClosesWithoutAsking() {
        startLoaded();
        window_->show();
        type(txt(0), QStringLiteral("5"));
        const QByteArray before = gameBytes();
        window_->action(QStringLiteral("Exit"))->trigger();
        QVERIFY(!window_->isVisible());
        QVERIFY(messages_.isEmpty());
        QCOMPARE(gameBytes(), before);
    }

    void layoutMatchesTheDesign_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QRect>("geometry");
        const struct {
            const char *name, *parent;
            QRect geometry;
        } rows[] = {
            {"Frame1", "frmMainClient", {8, 8, 113, 385}},
            {"Frame5", "frmMainClient", {0, 392, 289, 281}},
            {"txt_0", "Frame11", {16, 16, 57, 19}},
            {"txt_14", "Frame13", {8, 88, 33, 19}},
            {"txt_15", "Frame13", {8, 40, 33, 19}},
            {"Combo15", "Frame13", {48, 88, 97, 21}},
            {"Combo4", "Frame10", {96, 88, 169, 21}},
            {"txt_36", "Frame9", {8, 160, 81, 19}},
            {"txt_43", "Frame6", {8, 136, 81, 19}},
            {"txt_51", "Frame6", {8, 328, 81, 19}},
            {"Open", "Frame8", {528, 24, 17, 17}},
            {"cmd_Save_Start_Game", "Frame8", {224, 48, 121, 25}},
            {"Lokalizacja", "frmMainClient", {296, 656, 553, 19}},
        };
        for (const auto& row : rows) {
            QTest::newRow(row.name) << QString(row.name) << QString(row.parent) << row.geometry;
        }
    }

    void layoutMatchesTheDesign() {
        QFETCH(QString, name);
        QFETCH(QString, parent);
        QFETCH(QRect, geometry);
        frmMain window;
        QWidget* control = window.controls().byName.value(name);
        QVERIFY2(control, qPrintable(name));
        QCOMPARE(control->parentWidget()->objectName(), parent);
        QCOMPARE(control->geometry(), geometry);
    }

    void boxesHaveTheirColoursAlignmentAndNames() {
        frmMain window;
        const QColor yellow(255, 255, 0), green(0, 255, 0);
        for (const auto& [member, box] : window.controls().txt) {
            QCOMPARE(box->palette().color(QPalette::Base), member >= 39 ? green : yellow);
            const bool left = member >= 26 && member <= 29;
            QCOMPARE(bool(box->alignment() & Qt::AlignLeft), left);
            QVERIFY(!box->accessibleName().isEmpty());
        }
        QCOMPARE(window.controls().txt.size(), std::size_t(50));
        QVERIFY(!window.controls().txt.count(37) && !window.controls().txt.count(38));
        QVERIFY(window.controls().Lokalizacja->isReadOnly());
        QCOMPARE(window.centralWidget()->size(), QSize(855, 678));
    }

    void tabFollowsReadingOrder() {
        startLoaded();
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        auto focused = [] {
            QWidget* w = QApplication::focusWidget();
            if (w && qobject_cast<QComboBox*>(w->parentWidget()))
                w = w->parentWidget();
            return w;
        };
        // Rows of the National Name frame run top to bottom: 13, 15, 16, 14.
        txt(13)->setFocus();
        const QList<QWidget*> expected = {window_->combo(14), txt(15), window_->combo(16), txt(16),
                                          window_->combo(17), txt(14), window_->combo(15), txt(17)};
        for (QWidget* next : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(focused(), next);
        }
        // From the last slot box to the first name box.
        txt(12)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(focused(), static_cast<QWidget*>(txt(13)));
    }
};

QTEST_MAIN(FrmMainTest)
#include "frmMainTest.moc"
