// Drives the real main window on a temporary program folder, with messages,
// settings, dialogs and program starts replaced by recording fakes.

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <memory>

#include "core/Baza.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "ui/main_window/FieldMarks.h"
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
    platform::SaveChangesAnswer closeAnswer_ = platform::SaveChangesAnswer::Cancel;
    int questions_ = 0;

    bool start() {
        window_ = std::make_unique<frmMain>();
        window_->setNumberLocale(QLocale::c());
        if (!window_->Form_Load())
            return false;
        window_->afterFirstPaint();  // as the window does once it is shown
        return true;
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
        for (QChar c : text) {
            if (c.unicode() < 128) {
                QTest::keyClick(edit, c.toLatin1());
            } else {  // beyond ASCII: a key event that carries the character
                QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
                QApplication::sendEvent(edit, &press);
            }
        }
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
        questions_ = 0;
        platform::Services& s = platform::services();
        s.programFolder = [this] { return platform::textToPath(folder_->dir.path()); };
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
        s.askSaveChanges = [this](QWidget*, const QString&, const QString&) {
            ++questions_;
            events_.append(QStringLiteral("question"));
            return closeAnswer_;
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

    // The pickers' lists are filled right after the window's first paint,
    // from the event loop, with the same items as a direct call gives.
    void showingTheWindowFillsThePickersOnce() {
        folder_->writeGame({});
        window_ = std::make_unique<frmMain>();
        QVERIFY(window_->Form_Load());
        QCOMPARE(window_->combo(1)->count(), 0);
        QCOMPARE(window_->combo(26)->count(), 0);
        QCOMPARE(window_->controls().List1->count(), 4);
        window_->show();
        QTRY_COMPARE(window_->combo(26)->count(), int(NameItems.size()));
        QCOMPARE(window_->combo(1)->count(), 19);
        QCOMPARE(window_->combo(4)->itemText(18), QStringLiteral("category_18"));
        QCOMPARE(window_->combo(14)->itemText(2), NameItems[2]);
        QCOMPARE(window_->combo(1)->currentText(), QStringLiteral("Select category to Sector 0"));
        QCOMPARE(window_->combo(26)->currentText(), QStringLiteral("Select Index"));
        window_->hide();
        window_->show();
        window_->afterFirstPaint();
        QTest::qWait(20);
        QCOMPARE(window_->combo(1)->count(), 19);
        QCOMPARE(window_->combo(26)->count(), int(NameItems.size()));
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
        QCOMPARE(QString::fromStdString(window_->baza().Cat2()), QStringLiteral("category_09"));
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

    void saveToAnImmutableFileIsReportedAndKeepsTheBlock() {
        startLoaded();
        const QByteArray before = folder_->game();
        type(txt(0), QStringLiteral("77"));
        // Permission bits do not stop root; an immutable file stops everyone.
        const QString game = folder_->file(GameName);
        if (QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), game}) != 0)
            QSKIP("chattr +i is not available here (needs Linux, root and a file system that supports it)");
        window_->cmd_Save_Start_Game_Click();
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), game});
        QCOMPARE(messages_.size(), 1);
        QVERIFY(messages_[0].icon == platform::MessageIcon::Critical);
        QVERIFY(messages_[0].text.contains(game));
        QVERIFY(started_.isEmpty());
        QVERIFY(folder_->game() == before);
        QVERIFY(window_->hasUnsavedChanges());
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
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, store.path());
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

    void aboutOpensItsPagesAndNotice() {
        startLoaded();
        for (const char* entry : {"cmdCommunitySiteA", "cmdCommunitySiteB", "cmdAuthorPage", "Copyright"})
            window_->action(QLatin1String(entry))->trigger();
        // The guide lies beside the program; pages not configured at build
        // time open its matching section.
        const QString guide = QStringLiteral("file://") + folder_->dir.path() + QStringLiteral("/UserGuide.html");
        const QString home = QStringLiteral(KELVORY_HOME_URL);
        const QString issues = QStringLiteral(KELVORY_ISSUES_URL);
        QCOMPARE(events_, (QStringList{"open: " + guide, "open: " + (home.isEmpty() ? guide + "#about" : home),
                                       "open: " + (issues.isEmpty() ? guide + "#reporting-a-problem" : issues),
                                       QStringLiteral("message: Copyright \u00A9 2026 The Kelvory authors")}));
    }

    void layoutMatchesTheDesign_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("Frame5") << "Frame5"
                                << "frmMainClient" << QRect(0, 392, 289, 281);
        QTest::newRow("txt_14") << "txt_14"
                                << "Frame13" << QRect(8, 88, 38, 19);
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

    // Typed key by key, 32768 passes through 3276, which a name field can
    // hold; the box then shows 32768 while the field keeps 3276.
    void textThatIsNotStoredIsMarkedAndStopsSave_data() {
        QTest::addColumn<int>("member");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<QString>("allowed");
        QTest::newRow("name 32768") << 17 << "32768"
                                    << "Club Name, row 1"
                                    << "3276"
                                    << "whole numbers from -32768 to 32767";
        QTest::newRow("map 300") << 40 << "300"
                                 << "Maps Load u_1426.bin ->dt06.img, row 2"
                                 << "30"
                                 << "whole numbers from 0 to 255";
        QTest::newRow("letters") << 2 << "abc"
                                 << "National Slot, row 3"
                                 << "-1"
                                 << "whole numbers from -2147483648 to 2147483647";
        QTest::newRow("cleared") << 36 << ""
                                 << "Club Category Logo(dt04.img), row 7"
                                 << "29"
                                 << "whole numbers from -2147483648 to 2147483647";
    }

    void textThatIsNotStoredIsMarkedAndStopsSave() {
        QFETCH(int, member);
        QFETCH(QString, typed);
        QFETCH(QString, box);
        QFETCH(QString, kept);
        QFETCH(QString, allowed);
        startLoaded([](Baza& b) {
            b.setLiga3(-1);
            b.setCatL7(29);
        });
        const QByteArray before = folder_->game();
        QLineEdit* edit = txt(member);
        type(edit, typed);
        const QString reason = "Not stored: " + box + " keeps " + kept + ". Allowed: " + allowed + ".";
        QCOMPARE(fieldMark(edit), reason);
        QCOMPARE(edit->toolTip(), reason);
        QCOMPARE(edit->accessibleDescription(), reason);
        QWidget* mark = edit->findChild<QWidget*>(QStringLiteral("fieldMark"));
        QVERIFY(mark && mark->isVisibleTo(edit) && mark->geometry() == edit->rect());
        type(txt(51), QStringLiteral("-1"));  // a second marked box

        setLauncher(QStringLiteral("/opt/vozi.exe"));
        window_->cmd_Save_Start_Game_Click();
        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Refused);
        QVERIFY(folder_->game() == before);
        QVERIFY(started_.isEmpty());
        QCOMPARE(messages_.size(), 2);
        const QString& told = messages_[0].text;
        QVERIFY(messages_[0].icon == platform::MessageIcon::Warning);
        QVERIFY2(told.contains(box + ": \"" + typed + "\" (allowed: " + allowed + ")"), qPrintable(told));
        QVERIFY2(
            told.contains("Maps Load u_1426.bin ->dt06.img, row 13: \"-1\" (allowed: whole numbers from 0 to 255)"),
            qPrintable(told));
        QVERIFY(told.contains(QStringLiteral("not changed")));
        QVERIFY(!texts().contains(QStringLiteral("Save Successfully")));

        type(edit, QStringLiteral("12"));
        type(txt(51), QStringLiteral("3"));
        QCOMPARE(fieldMark(edit), QString());
        QVERIFY(!mark->isVisibleTo(edit));
        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
        QVERIFY(folder_->game() != before);
    }

    void nothingIsMarkedWhileNothingIsLoaded() {
        folder_->write("Leagues.ini", "x\r\nNot There.exe\r\n");
        QVERIFY(start());
        type(txt(17), QStringLiteral("32768"));
        QVERIFY(window_->findChildren<QLineEdit*>().size() > 50);
        for (QLineEdit* box : window_->findChildren<QLineEdit*>())
            QCOMPARE(fieldMark(box), QString());
    }

    void wheelOverAClosedPickerChangesNothing() {
        startLoaded([](Baza& b) { b.setStr5(44); });
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        txt(0)->setFocus();
        QComboBox* picker = window_->combo(18);
        QCOMPARE(picker->focusPolicy(), Qt::StrongFocus);
        for (QWidget* target : {static_cast<QWidget*>(picker), static_cast<QWidget*>(picker->lineEdit())}) {
            const QPointF at(target->width() / 2.0, target->height() / 2.0);
            for (int notch : {-120, -120, 120, -120}) {
                QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, notch), Qt::NoButton, Qt::NoModifier,
                                  Qt::NoScrollPhase, false);
                QApplication::sendEvent(target, &wheel);
            }
        }
        QCOMPARE(picker->currentIndex(), -1);
        QCOMPARE(picker->currentText(), QStringLiteral("Select Index"));
        QCOMPARE(txt(17)->text(), QStringLiteral("44"));
        QVERIFY(!picker->hasFocus() && !picker->lineEdit()->hasFocus());
        QVERIFY(!window_->hasUnsavedChanges());
    }

    // Box 30 loaded with 123, one edit, then what it shows and stores.
    void logoLimitHoldsTheTextTheProgramSet_data() {
        QTest::addColumn<QString>("edit");  // T: type at end, P: paste at end, C: clear, B: backspace, A: select all
        QTest::addColumn<QString>("text");  // what is typed or pasted
        QTest::addColumn<QString>("shown");
        QTest::newRow("type at end") << "T"
                                     << "4567"
                                     << "123";
        QTest::newRow("paste at end") << "P"
                                      << "45"
                                      << "123";
        QTest::newRow("long paste into a cleared box") << "CP"
                                                       << "4567"
                                                       << "45";
        QTest::newRow("delete, then type") << "BT"
                                           << "89"
                                           << "12";
        QTest::newRow("replace all by typing") << "AT"
                                               << "987"
                                               << "98";
        QTest::newRow("paste over a selection") << "AP"
                                                << "4567"
                                                << "45";
    }

    void logoLimitHoldsTheTextTheProgramSet() {
        QFETCH(QString, edit);
        QFETCH(QString, text);
        QFETCH(QString, shown);
        startLoaded([](Baza& b) { b.setCatL1(123); });
        QLineEdit* box = txt(30);
        QCOMPARE(box->text(), QStringLiteral("123"));
        box->setFocus();
        box->end(false);
        for (QChar step : edit) {
            if (step == 'T') {
                QTest::keyClicks(box, text);
            } else if (step == 'P') {
                QApplication::clipboard()->setText(text);
                box->paste();
            } else if (step == 'C') {
                box->selectAll();
                QTest::keyClick(box, Qt::Key_Delete);
            } else if (step == 'B') {
                QTest::keyClick(box, Qt::Key_Backspace);
            } else if (step == 'A') {
                box->selectAll();
            }
        }
        QCOMPARE(box->text(), shown);
        QCOMPARE(window_->baza().catL(0), shown.toInt());
    }

    void exitAsksAboutUnsavedEdits_data() {
        QTest::addColumn<QString>("typed");  // into box 0, which loads as 5
        QTest::addColumn<bool>("viaCloseBox");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<int>("inFile");  // Liga1 in the file afterwards
        const int save = int(platform::SaveChangesAnswer::Save);
        const int discard = int(platform::SaveChangesAnswer::Discard);
        const int cancel = int(platform::SaveChangesAnswer::Cancel);
        QTest::newRow("Save, Exit") << "77" << false << save << true << true << 77;
        QTest::newRow("Save, close box") << "77" << true << save << true << true << 77;
        QTest::newRow("Discard") << "77" << true << discard << true << true << 5;
        QTest::newRow("Cancel") << "77" << false << cancel << true << false << 5;
        QTest::newRow("Save refused") << "77x" << true << save << true << false << 5;
        QTest::newRow("typed back to the loaded value") << "5" << false << cancel << false << true << 5;
        QTest::newRow("nothing typed") << "" << true << cancel << false << true << 5;
    }

    void exitAsksAboutUnsavedEdits() {
        QFETCH(QString, typed);
        QFETCH(bool, viaCloseBox);
        QFETCH(int, answer);
        QFETCH(bool, asked);
        QFETCH(bool, closes);
        QFETCH(int, inFile);
        startLoaded([](Baza& b) { b.setLiga1(5); });
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        if (!typed.isEmpty())
            type(txt(0), typed);
        closeAnswer_ = platform::SaveChangesAnswer(answer);
        if (viaCloseBox)
            window_->close();
        else
            window_->action(QStringLiteral("Exit"))->trigger();
        QCOMPARE(questions_, asked ? 1 : 0);
        QCOMPARE(window_->isVisible(), !closes);
        QCOMPARE(folder_->game().mid(Baza::LigaOffset, 4), QByteArray(1, char(inFile)) + QByteArray(3, '\0'));
        if (!closes)
            QCOMPARE(txt(0)->text(), typed);
    }

    void accessibleRolesNamesAndActions_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("action");  // one it must offer
        const int button = QAccessible::Button;
        QTest::newRow("save and start") << "cmd_Save_Start_Game" << button << "Save and Start Game"
                                        << QAccessibleActionInterface::pressAction();
        QTest::newRow("launcher picker") << "Open" << button << "Choose the launcher program"
                                         << QAccessibleActionInterface::pressAction();
        QTest::newRow("name picker") << "Combo22" << int(QAccessible::ComboBox) << "Club Name, row 5, picker"
                                     << QAccessibleActionInterface::showMenuAction();
        QTest::newRow("category picker") << "Combo4" << int(QAccessible::ComboBox)
                                         << "National Category Logo League u_1426.bin ->dt06.img, row 4, picker"
                                         << QAccessibleActionInterface::showMenuAction();
        QTest::newRow("second map column")
            << "txt_43" << int(QAccessible::EditableText) << "Maps Load u_1426.bin ->dt06.img, row 5" << QString();
        QTest::newRow("frame") << "Frame7" << int(QAccessible::Grouping) << "Maps" << QString();
    }

    void accessibleRolesNamesAndActions() {
        QFETCH(QString, control);
        QFETCH(int, role);
        QFETCH(QString, name);
        QFETCH(QString, action);
        startLoaded();
        window_->show();
        QWidget* widget = window_->controls().byName.value(control);
        QVERIFY(widget);
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
        QVERIFY(iface);
        QCOMPARE(int(iface->role()), role);
        QCOMPARE(iface->text(QAccessible::Name), name);
        QAccessibleActionInterface* actions = iface->actionInterface();
        QVERIFY(action.isEmpty() || (actions && actions->actionNames().contains(action)));
        if (role == QAccessible::Button) {
            bool clicked = false;
            connect(static_cast<Button_XP*>(widget), &Button_XP::Click, this, [&clicked] { clicked = true; });
            actions->doAction(QAccessibleActionInterface::pressAction());
            QTRY_VERIFY(clicked);
        }
    }

    void everyControlAndFrameHasItsOwnName() {
        frmMain window;
        QStringList names;
        for (QWidget* widget : window.findChildren<QWidget*>()) {
            if (qobject_cast<QLineEdit*>(widget) && qobject_cast<QComboBox*>(widget->parentWidget()))
                continue;  // a picker's own text field carries the picker's name
            if (qobject_cast<QLineEdit*>(widget) || qobject_cast<QComboBox*>(widget) || widget->inherits("QGroupBox")) {
                const QString name = QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
                QVERIFY2(!name.isEmpty(), qPrintable(widget->objectName()));
                names << name;
            }
        }
        QCOMPARE(names.size(), 50 + 17 + 3 + 14);
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), names.size());
    }

    void titlesAreExact() {
        startLoaded();
        QString title;
        platform::services().openFileDialog = [&title](QWidget*, const QString& t, const QString&,
                                                       const QList<platform::FileFilter>&, int) {
            title = t;
            return QString();
        };
        window_->Open_Click();
        QCOMPARE(window_->windowTitle(), QStringLiteral("Kelvory Exibition Mode"));
        QCOMPARE(title, QStringLiteral("Open vozi.exe"));
    }

    // Cat2 before the first key: "category_01".
    void typingIntoPickersStoresTheirText_data() {
        QTest::addColumn<int>("picker");
        QTest::addColumn<QString>("keys");  // typed one by one after clearing; "" clears only
        QTest::addColumn<QString>("member");
        QTest::addColumn<QString>("field");
        QTest::newRow("a") << 2 << "a"
                           << "a"
                           << "a          ";
        QTest::newRow("a then b") << 2 << "ab"
                                  << "ab"
                                  << "ab         ";
        QTest::newRow("cleared") << 1 << ""
                                 << ""
                                 << "           ";
        QTest::newRow("longer than a category") << 3 << "category_123"
                                                << "category_12"
                                                << "category_12";
    }

    void typingIntoPickersStoresTheirText() {
        QFETCH(int, picker);
        QFETCH(QString, keys);
        QFETCH(QString, member);
        QFETCH(QString, field);
        startLoaded([](Baza& b) {
            for (int i = 0; i < 4; ++i)
                b.setCat(i, "category_01");
        });
        QLineEdit* edit = window_->combo(picker)->lineEdit();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, keys);
        QCOMPARE(txt(25 + picker)->text(), member);
        QCOMPARE(QString::fromLatin1(window_->baza().cat(picker - 1)), field);
    }

    void typingIntoACategoryBoxStoresWhatItHolds_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("short") << "ab"
                               << "ab" << QByteArray("ab         ");
        QTest::newRow("cut at 11") << "category_100"
                                   << "category_10" << QByteArray("category_10");
        QTest::newRow("code page letters") << QStringLiteral("caf\u00e9 \u20ac") << QStringLiteral("caf\u00e9 \u20ac")
                                           << QByteArray("caf\xe9 \x80     ");
        QTest::newRow("outside the code page") << QStringLiteral("a\u0394b") << "ab" << QByteArray("ab         ");
    }

    void typingIntoACategoryBoxStoresWhatItHolds() {
        QFETCH(QString, keys);
        QFETCH(QString, shown);
        QFETCH(QByteArray, stored);
        startLoaded();
        type(txt(28), keys);
        QCOMPARE(txt(28)->text(), shown);
        QCOMPARE(QByteArray::fromStdString(window_->baza().cat(2)), stored);
    }

    void choosingANumberFromANamePicker_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("stored");
        QTest::addColumn<bool>("marked");
        QTest::newRow("32768") << "32768" << 1005 << true;
        QTest::newRow("-7") << "-7" << -7 << false;
    }

    void choosingANumberFromANamePicker() {
        QFETCH(QString, item);
        QFETCH(int, stored);
        QFETCH(bool, marked);
        startLoaded([](Baza& b) { b.setStr(7, 1005); });
        choose(21, item);
        QCOMPARE(txt(20)->text(), item);
        QCOMPARE(int(window_->baza().str(7)), stored);
        QCOMPARE(!fieldMark(txt(20)).isEmpty(), marked);
    }

    void namePickersShareOneListButKeepTheirOwnText() {
        startLoaded();
        choose(15, QStringLiteral("12"));
        QCOMPARE(window_->combo(15)->currentText(), QStringLiteral("12"));
        QCOMPARE(window_->combo(16)->currentText(), QStringLiteral("Select Index"));
        QAbstractItemModel* shared = window_->combo(14)->model();
        for (int n = 15; n <= 26; ++n)
            QCOMPARE(window_->combo(n)->model(), shared);
        QCOMPARE(shared->rowCount(), NameItems.size());
    }

    // Presenting fills the boxes with the pass held back, then runs it once:
    // nothing in the block changes, so saving at once writes the same bytes.
    void presentingLeavesTheBlockAsLoaded() {
        startLoaded([](Baza& b) {
            b.setCatL3(3);
            b.setCatL7(29);
        });
        const QByteArray before = folder_->game();
        QCOMPARE(window_->passCount(), 1);
        QCOMPARE(label(4), QStringLiteral("unnamed_38.bin"));
        QCOMPARE(label(8), QStringLiteral("unnamed_64.bin"));
        for (int member = 0; member <= 51; ++member)
            if (txt(member))
                QVERIFY2(fieldMark(txt(member)).isEmpty(), qPrintable(QString::number(member)));
        QVERIFY(!window_->hasUnsavedChanges());
        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
        QVERIFY(folder_->game() == before);
    }

    // Presenting again while the boxes still show other texts: the boxes not
    // yet refreshed must not be stored into the block on the way.
    void presentingAgainShowsTheBlockNotTheOldTexts() {
        startLoaded([](Baza& b) {
            b.setLiga1(10);
            b.setLiga2(20);
        });
        window_->baza().setLiga1(11);
        window_->baza().setLiga2(21);
        window_->baza().setCatL1(4);
        window_->Pokaz_Dane();
        QCOMPARE(txt(0)->text(), QStringLiteral("11"));
        QCOMPARE(txt(1)->text(), QStringLiteral("21"));
        QCOMPARE(window_->baza().liga(1), 21);
        QCOMPARE(label(2), QStringLiteral("unnamed_39.bin"));
    }

    // The value boxes draw their own one-pixel frame (grey, blue with the
    // focus) around their colour, without a style sheet.
    void valueBoxesDrawTheirFrameAndColour_data() {
        QTest::addColumn<int>("member");
        QTest::addColumn<QColor>("base");
        QTest::newRow("slot") << 0 << QColor(255, 255, 0);
        QTest::newRow("logo") << 33 << QColor(255, 255, 0);
        QTest::newRow("map") << 51 << QColor(0, 255, 0);
    }

    void valueBoxesDrawTheirFrameAndColour() {
        QFETCH(int, member);
        QFETCH(QColor, base);
        folder_->write("Leagues.ini", "x\r\nNot There.exe\r\n");  // empty boxes
        QVERIFY(start());
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        QLineEdit* box = txt(member);
        QVERIFY(box->styleSheet().isEmpty());
        window_->activateWindow();
        window_->controls().Text1->setFocus();
        QTRY_VERIFY(!box->hasFocus());
        auto ringAndInside = [box](QRgb* ring, QRgb* inside) {
            const QImage image = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
            const int w = image.width(), h = image.height();
            *ring = image.pixel(0, 0);
            *inside = image.pixel(1, 1);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const bool onRing = x == 0 || y == 0 || x == w - 1 || y == h - 1;
                    if (onRing && image.pixel(x, y) != *ring)
                        return false;
                    const bool clearOfCursor = x < w / 2 - 3 || x > w / 2 + 3;
                    if (!onRing && clearOfCursor && image.pixel(x, y) != *inside)
                        return false;
                }
            return true;
        };
        QRgb ring = 0, inside = 0;
        QVERIFY(ringAndInside(&ring, &inside));
        QCOMPARE(QColor(ring), QColor(0x7a, 0x7a, 0x7a));
        QCOMPARE(QColor(inside), base);

        box->setFocus();
        QTRY_VERIFY(box->hasFocus());
        QVERIFY(ringAndInside(&ring, &inside));
        QCOMPARE(QColor(ring), QColor(0x2f, 0x65, 0xca));
        QCOMPARE(QColor(inside), base);
    }

    // The pickers have no completer: typing the start of an item leaves just
    // what was typed. Their lists open with every item.
    void pickersOfferTheirItemsWithoutCompleting_data() {
        QTest::addColumn<int>("combo");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("items");
        QTest::newRow("category") << 2 << "categ" << 19;
        QTest::newRow("name") << 20 << "North" << int(NameItems.size());
    }

    void pickersOfferTheirItemsWithoutCompleting() {
        QFETCH(int, combo);
        QFETCH(QString, typed);
        QFETCH(int, items);
        startLoaded();
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        QComboBox* picker = window_->combo(combo);
        QVERIFY(picker->isEditable());
        QVERIFY(picker->completer() == nullptr);
        type(picker->lineEdit(), typed);
        QCOMPARE(picker->currentText(), typed);
        picker->showPopup();
        QTRY_VERIFY(picker->view()->isVisible());
        QCOMPARE(picker->view()->model()->rowCount(), items);
        picker->hidePopup();
        QCOMPARE(picker->currentText(), typed);
    }

    // The widest value of each field, drawn into its box: the glyphs must
    // stay clear of the frame, and the text must fit the box's text area.
    void widestValuesShowWhole_data() {
        QTest::addColumn<int>("member");
        QTest::addColumn<QString>("text");
        QTest::newRow("national slot") << 0 << "-2147483648";
        QTest::newRow("club slot") << 12 << "-2147483648";
        QTest::newRow("national name") << 13 << "-32768";
        QTest::newRow("club name") << 25 << "-32768";
        QTest::newRow("club logo") << 36 << "-2147483648";
        QTest::newRow("map") << 51 << "255";
        QTest::newRow("small value, window face") << 20 << "7";
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
        // Text area: the box less its one-pixel frame (no inner margin).
        const int room = box->width() - 2;
        const int needed = QFontMetrics(box->font()).horizontalAdvance(text);
        QVERIFY2(needed + 4 <= room, qPrintable(QStringLiteral("%1 px of text in %2 px").arg(needed).arg(room)));
        QVERIFY(box->font().pointSizeF() >= 6.0);
        if (text.size() == 1)
            QCOMPARE(box->font(), window_->font());

        // Rendered: find the text's ink between the frame lines.
        const QImage image = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRgb base = image.pixel(image.width() / 2, 2);
        int first = -1, last = -1;
        for (int x = 1; x < image.width() - 1; ++x) {
            for (int y = 2; y < image.height() - 2; ++y) {
                if (qGray(image.pixel(x, y)) < qGray(base) - 60) {
                    if (first < 0)
                        first = x;
                    last = x;
                    break;
                }
            }
        }
        QVERIFY(first >= 0);
        QVERIFY2(first >= 3 && last <= image.width() - 4,
                 qPrintable(QStringLiteral("ink from %1 to %2 in %3").arg(first).arg(last).arg(image.width())));
        QVERIFY2(last - first + 1 >= needed - 3, "the text was cut");
    }
};

QTEST_MAIN(FrmMainTest)
#include "frmMainTest.moc"
