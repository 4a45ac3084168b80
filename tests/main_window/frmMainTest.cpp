// Drives the real main window on a temporary program folder, with messages,
// settings, dialogs and program starts replaced by recording fakes.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "core/Baza.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "ui/main_window/frmMain.h"
#include "ui/widgets/Button_XP.h"

namespace {

const QString GameName = QStringLiteral("Game File.exe");
const QStringList NameItems = {"12", "Northern League", "Harbour, United", "32768", "-7"};

// A folder laid out like an installation: Leagues.ini, the two catalogues and
// a stand-in game file of pseudo-random bytes.
struct Folder {
    QTemporaryDir dir;
    Folder() {
        QDir(dir.path()).mkpath(QStringLiteral("Setting"));
        write("Leagues.ini", "Kelvory test folder\r\n" + GameName.toUtf8() + "\r\n");
        write("Setting/ID_Name_League.ini", "12,Northern League\r\n\"Harbour, United\"\r\n32768\r\n-7\r\n");
        write("Setting/Structure.ini", "Top division\r\n\"Cup, knockout\"\r\n\r\nLast\r\n");
    }
    QString file(const QString& name) const { return dir.filePath(name); }
    void write(const QString& name, const QByteArray& bytes) const {
        QFile out(file(name));
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(name));
    }
    QByteArray game() const {
        QFile in(file(GameName));
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }
    void writeGame(const std::function<void(Baza&)>& edit) const {
        QByteArray bytes(static_cast<qsizetype>(Baza::BlockEnd), Qt::Uninitialized);
        QRandomGenerator(20261206).fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
        write(GameName, bytes);
        Baza baza;
        const auto path = platform::textToPath(file(GameName));
        if (edit && baza.Wczytaj(path)) {
            edit(baza);
            baza.Zapisz(path);
        }
    }
};

struct Message {
    platform::MessageIcon icon;
    QString text;
};

}  // namespace

class FrmMainTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Folder> folder_;
    std::unique_ptr<frmMain> window_;
    QList<Message> messages_;
    QStringList events_, started_;
    QMap<QString, QString> settings_;
    QString dialogAnswer_;
    platform::StartResult startAnswer_{true, {}};

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
    QString label(int i) { return window_->controls().label.at(i)->text(); }
    void setLauncher(const QString& path) { window_->controls().Text1->setText(path); }

    void type(QLineEdit* edit, const QString& text) {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }

    void choose(int combo, const QString& item) {
        QComboBox* picker = window_->combo(combo);
        const int index = picker->findText(item);
        QVERIFY2(index >= 0, qPrintable(item));
        picker->setCurrentIndex(index);
        emit picker->activated(index);
    }

    QStringList texts() const {
        QStringList out;
        for (const Message& m : messages_)
            out << m.text;
        return out;
    }

private slots:
    void init() {
        folder_ = std::make_unique<Folder>();
        messages_.clear();
        events_.clear();
        started_.clear();
        settings_.clear();
        dialogAnswer_.clear();
        startAnswer_ = {true, {}};
        platform::Services& s = platform::services();
        s.programFolder = [this] { return folder_->dir.path(); };
        s.showMessage = [this](QWidget*, platform::MessageIcon icon, const QString&, const QString& text) {
            messages_.append({icon, text});
            events_.append("message: " + text);
        };
        s.startProgram = [this](const QString& commandLine) {
            started_.append(commandLine);
            events_.append("start: " + commandLine);
            return startAnswer_;
        };
        s.readSetting = [this](const QString& a, const QString& g, const QString& k, const QString& def) {
            return settings_.value(a + '/' + g + '/' + k, def);
        };
        s.saveSetting = [this](const QString& a, const QString& g, const QString& k, const QString& value) {
            settings_.insert(a + '/' + g + '/' + k, value);
            return true;
        };
        s.openFileDialog = [this](QWidget*, const QString&, const QString&, const QList<platform::FileFilter>&, int) {
            return dialogAnswer_;
        };
        s.openAddress = [this](const QString& address) {
            events_.append("open: " + address);
            return true;
        };
    }

    void cleanup() {
        window_.reset();
        folder_.reset();
        platform::resetServices();
    }

    void startupFillsPickersAndList() {
        startLoaded();
        for (int n = 1; n <= 26; n = n == 4 ? 14 : n + 1) {
            QComboBox* picker = window_->combo(n);
            QStringList items;
            for (int i = 0; i < picker->count(); ++i)
                items << picker->itemText(i);
            if (n <= 4) {
                QCOMPARE(items.size(), 19);
                QCOMPARE(items.front() + items.back(), QStringLiteral("category_00category_18"));
            } else {
                QCOMPARE(items, NameItems);
            }
            QCOMPARE(picker->currentText(), n <= 4 ? QStringLiteral("Select category to Sector %1").arg(n - 1)
                                                   : QStringLiteral("Select Index"));
        }
        QListWidget* list = window_->controls().List1;
        QStringList lines;
        for (int i = 0; i < list->count(); ++i)
            lines << list->item(i)->text();
        QCOMPARE(lines, (QStringList{"Top division", "Cup, knockout", "", "Last"}));
        QVERIFY(messages_.isEmpty());
    }

    void presentingShowsFieldsAndIndicators() {
        startLoaded([](Baza& b) {
            b.setLiga3(-1);
            b.setStr1(-32768);
            b.setCat2("abc");
            b.setEurope(200);
            b.setCatL1(123);
            b.setCatL2(5);
        });
        const QStringList shown = {txt(2)->text(), txt(13)->text(), txt(39)->text(), txt(30)->text(), txt(27)->text()};
        QCOMPARE(shown, (QStringList{"-1", "-32768", "200", "123", "abc        "}));
        QCOMPARE(label(2), QStringLiteral("Label2"));  // 123 matches no logo
        QCOMPARE(label(3), QStringLiteral("unnamed_40.bin"));
    }

    void savingOneEditChangesOnlyItsFourBytes() {
        startLoaded([](Baza& b) { b.setLiga6(-99); });
        QByteArray expected = folder_->game();
        expected.replace(Baza::LigaOffset + 20, 4, QByteArray("\x07\x00\x00\x00", 4));
        type(txt(5), QStringLiteral("7"));
        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
        QVERIFY(folder_->game() == expected);  // whole file, no dump on failure
        QCOMPARE(texts(), QStringList{"Save Successfully"});
    }

    void typedTextReachesItsField_data() {
        QTest::addColumn<int>("member");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("stored");  // -999: the field keeps its value
        const int kept = -999;
        QTest::newRow("name 32768") << 14 << "32768" << kept;
        QTest::newRow("map -1") << 41 << "-1" << kept;
        QTest::newRow("map 256") << 41 << "256" << kept;
        QTest::newRow("letters") << 2 << "abc" << kept;
        QTest::newRow("empty") << 2 << "" << kept;
        QTest::newRow("blanks around") << 0 << " 12 " << 12;
        QTest::newRow("12.4") << 0 << "12.4" << 12;
        QTest::newRow("12.6") << 0 << "12.6" << 13;
        QTest::newRow("12.5 to even") << 0 << "12.5" << 12;
        QTest::newRow("13.5 to even") << 0 << "13.5" << 14;
    }

    void typedTextReachesItsField() {
        QFETCH(int, member);
        QFETCH(QString, typed);
        QFETCH(int, stored);
        startLoaded();
        auto field = [this](int m) -> long long {
            const Baza& b = window_->baza();
            return m <= 12 ? b.liga(m) : m <= 25 ? b.str(m - 13) : b.map(m - 39);
        };
        const long long before = field(member);
        txt(member)->setText(typed);
        QCOMPARE(txt(member)->text(), typed);  // the pass never rewrites a box
        QCOMPARE(field(member), stored == -999 ? before : stored);
    }

    void categoryChoiceStoresTextInOnePass() {
        startLoaded([](Baza& b) { b.setCat2("category_01"); });
        const int passes = window_->passCount();
        choose(3, QStringLiteral("category_07"));
        QCOMPARE(window_->passCount(), passes + 1);
        QCOMPARE(QString::fromStdString(window_->baza().Cat3()), QStringLiteral("category_07"));
        type(txt(27), QStringLiteral("category_09"));
        QCOMPARE(QString::fromStdString(window_->baza().Cat2()), QStringLiteral("category_01"));
    }

    void namePickerStoresNumbersOnly_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("stored");
        QTest::newRow("number") << "12" << 12;
        QTest::newRow("name") << "Northern League" << 1005;
    }

    void namePickerStoresNumbersOnly() {
        QFETCH(QString, item);
        QFETCH(int, stored);
        startLoaded([](Baza& b) { b.setStr(4, 1005); });
        choose(18, item);
        QCOMPARE(txt(17)->text(), item);
        QCOMPARE(int(window_->baza().Str5()), stored);
    }

    void hiddenMapSlotsSurviveEdits() {
        startLoaded([](Baza& b) {
            for (int i = 13; i < Baza::MapCount; ++i)
                b.setMap(i, static_cast<std::uint8_t>(230 + i));
        });
        for (int member = 39; member <= 51; ++member)
            type(txt(member), QStringLiteral("9"));
        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
        const QByteArray map = folder_->game().mid(Baza::MapOffset, Baza::MapSize);
        for (int i = 0; i < Baza::MapCount; ++i)
            QCOMPARE(int(static_cast<unsigned char>(map[i])), i < 13 ? 9 : 230 + i);
    }

    void saveBeforeLoadWritesNothingButStartsLauncher() {
        folder_->write("Leagues.ini", "x\r\nNot There.exe\r\n");
        QVERIFY(start());
        QVERIFY(!window_->baza().loaded());
        setLauncher(QStringLiteral("/opt/launcher"));
        window_->cmd_Save_Start_Game_Click();
        QCOMPARE(messages_.size(), 1);
        QVERIFY(messages_[0].text.contains(QStringLiteral("Not There.exe")));
        QVERIFY(!QFile::exists(folder_->file(QStringLiteral("Not There.exe"))));
        QCOMPARE(started_, QStringList{"/opt/launcher"});
    }

    void failedSaveIsReportedAndKeepsTheBlock() {
        startLoaded();
        type(txt(0), QStringLiteral("77"));
        QVERIFY(QFile::remove(folder_->file(GameName)));  // a folder in its place: writes fail
        QVERIFY(QDir(folder_->dir.path()).mkdir(GameName));
        window_->cmd_Save_Start_Game_Click();
        QCOMPARE(messages_.size(), 1);
        QVERIFY(messages_[0].icon == platform::MessageIcon::Critical);
        QVERIFY(messages_[0].text != QStringLiteral("Save Successfully"));
        QVERIFY(started_.isEmpty());
        QVERIFY(QDir(folder_->dir.path()).rmdir(GameName));
        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
        QCOMPARE(folder_->game().mid(Baza::LigaOffset, 4), QByteArray("\x4d\x00\x00\x00", 4));
    }

    void unusableLeaguesIniStopsWithAMessage_data() {
        QTest::addColumn<QByteArray>("content");  // empty: no file at all
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("one line") << QByteArray("only a first line\r\n");
    }

    void unusableLeaguesIniStopsWithAMessage() {
        QFETCH(QByteArray, content);
        if (content.isEmpty())
            QVERIFY(QFile::remove(folder_->file(QStringLiteral("Leagues.ini"))));
        else
            folder_->write("Leagues.ini", content);
        QVERIFY(!start());
        QCOMPARE(messages_.size(), 1);
        QVERIFY(messages_[0].text.contains(QStringLiteral("Leagues.ini")));
    }

    void saveAndStartOrdersMessageAndLaunch_data() {
        QTest::addColumn<bool>("starts");
        QTest::newRow("started") << true;
        QTest::newRow("start fails") << false;
    }

    void saveAndStartOrdersMessageAndLaunch() {
        QFETCH(bool, starts);
        startLoaded();
        startAnswer_ = {starts, QStringLiteral("No such file")};
        setLauncher(QStringLiteral("/opt/vozi.exe"));
        emit window_->controls().cmd_Save_Start_Game->Click();
        QCOMPARE(events_.mid(0, 2), (QStringList{"message: Save Successfully", "start: /opt/vozi.exe"}));
        QCOMPARE(events_.size(), starts ? 2 : 3);
        QVERIFY(starts || events_[2].contains(QStringLiteral("No such file")));
    }

    void launcherPicker_data() {
        QTest::addColumn<QString>("answer");  // "@" stands for the folder
        QTest::addColumn<bool>("taken");
        QTest::newRow("cancelled") << "" << false;
        QTest::newRow("nonexistent") << "@/nowhere/vozi.exe" << false;
        QTest::newRow("existing") << "@/Leagues.ini" << true;
    }

    void launcherPicker() {
        QFETCH(QString, answer);
        QFETCH(bool, taken);
        startLoaded();
        dialogAnswer_ = answer.replace(QLatin1Char('@'), folder_->dir.path());
        setLauncher(QStringLiteral("typed by hand"));
        emit window_->controls().Open->Click();
        const QString expected = taken ? answer : QStringLiteral("typed by hand");
        QCOMPARE(window_->controls().Text1->text(), expected);
        QCOMPARE(settings_.value(QStringLiteral("vozi/Options/vozi")), expected);
    }

    void launcherPathIsRememberedAcrossRuns() {
        QTemporaryDir store;
        QSettings::setDefaultFormat(QSettings::IniFormat);  // a file, never the registry
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, store.path());
        platform::services().readSetting = platform::systemServices().readSetting;
        platform::services().saveSetting = platform::systemServices().saveSetting;
        startLoaded();
        QCOMPARE(window_->controls().Text1->text(), QStringLiteral("Change..."));
        dialogAnswer_ = folder_->file(GameName);
        window_->Open_Click();
        QVERIFY(start());
        QCOMPARE(window_->controls().Text1->text(), folder_->file(GameName));
    }

    void clubLogoBoxesTakeTwoTypedCharacters() {
        startLoaded();
        for (int member = 30; member <= 36; ++member) {
            type(txt(member), QStringLiteral("123"));
            QCOMPARE(txt(member)->text(), QStringLiteral("12"));
            QCOMPARE(window_->baza().catL(member - 30), 12);
        }
        type(txt(0), QStringLiteral("123"));
        QCOMPARE(txt(0)->text(), QStringLiteral("123"));
    }

    void aboutOpensPagesAndExitAsksNothing() {
        startLoaded();
        window_->show();
        window_->action(QStringLiteral("cmdAuthorPage"))->trigger();
        window_->action(QStringLiteral("Copyright"))->trigger();
        window_->action(QStringLiteral("Exit"))->trigger();
        QVERIFY(events_.size() == 2 && events_[0].startsWith(QStringLiteral("open: ")));
        QCOMPARE(events_[1], QStringLiteral("message: Copyright \u00A9 2026 The Kelvory authors"));
        QVERIFY(!window_->isVisible());
    }

    void layoutMatchesTheDesign_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("Frame5") << "Frame5"
                                << "frmMainClient" << QRect(0, 392, 289, 281);
        QTest::newRow("txt_14") << "txt_14"
                                << "Frame13" << QRect(8, 88, 33, 19);
        QTest::newRow("Combo15") << "Combo15"
                                 << "Frame13" << QRect(48, 88, 97, 21);
        QTest::newRow("txt_51") << "txt_51"
                                << "Frame6" << QRect(8, 328, 81, 19);
        QTest::newRow("save and start") << "cmd_Save_Start_Game"
                                        << "Frame8" << QRect(224, 48, 121, 25);
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

    void tabRunsDownTheNationalNameRows() {
        startLoaded();
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        auto focused = [] {
            QWidget* w = QApplication::focusWidget();
            return w && qobject_cast<QComboBox*>(w->parentWidget()) ? w->parentWidget() : w;
        };
        txt(12)->setFocus();  // the last slot box leads to the first name row
        const QList<QWidget*> expected = {txt(13), window_->combo(14), txt(15), window_->combo(16),
                                          txt(16), window_->combo(17), txt(14), window_->combo(15)};
        for (QWidget* next : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(focused(), next);
        }
    }
};

QTEST_MAIN(FrmMainTest)
#include "frmMainTest.moc"
