// Drives the real main window on a temporary program folder, with messages,
// settings, dialogs and program starts replaced by recording fakes.
//
// The tests at the end run it against real files in a program folder of their
// own: which folder it reads, which file it saves into, and what it does when
// a file is gone, too short, or not a file at all.

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
#include <QUrl>
#include <QWheelEvent>
#include <fstream>
#include <memory>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

#include "../common/FifoWatchdog.h"
#include "../common/Rows.h"
#include "core/Baza.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "ui/main_window/FieldMarks.h"
#include "ui/main_window/frmMain.h"
#include "ui/widgets/Button_XP.h"

namespace {

const QString GameName = QStringLiteral("Game File.exe");
const QStringList NameItems = {"12", "Northern League", "Harbour, United", "32768", "-7"};
const QByteArray MissingGame = "x\r\nNot There.exe\r\n";  // a Leagues.ini that loads nothing

namespace fs = std::filesystem;

void writeFile(const fs::path& path, const QByteArray& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.constData(), bytes.size());
    if (!out.flush())
        qFatal("cannot write %s", path.u8string().c_str());
}

QByteArray readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return QByteArray::fromStdString(std::string(std::istreambuf_iterator<char>(in), {}));
}

QByteArray gameBytes(qsizetype length) {
    QByteArray bytes((length + 3) / 4 * 4, Qt::Uninitialized);
    QRandomGenerator(20261206).fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
    return bytes.left(length);
}

struct Message {
    platform::MessageIcon icon;
    QString text;
};

QStringList itemsOf(QComboBox* picker) {
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

// A program folder laid out like an installation (Leagues.ini, the two
// catalogues, a stand-in game file of pseudo-random bytes) and beside it a
// decoy folder, the current one: nothing may be read from it or written to it.
struct Folder {
    QTemporaryDir dir;
    fs::path root, program, decoy;

    explicit Folder(const fs::path& programName)
        : root(fs::canonical(dir.path().toStdString())), program(root / programName), decoy(root / "decoy") {
        for (const fs::path& folder : {program, decoy})
            fs::create_directories(folder / "Setting");
        write("Leagues.ini", "Kelvory test folder\r\n" + GameName.toUtf8() + "\r\n");
        write("Setting/ID_Name_League.ini", "12,Northern League\r\n\"Harbour, United\"\r\n32768\r\n-7\r\n");
        write("Setting/Structure.ini", "Top division\r\n\"Cup, knockout\"\r\n\r\nLast\r\n");
        write(GameName, gameBytes(Baza::BlockEnd));
        writeFile(decoy / "Leagues.ini", "Decoy\r\nvictim.bin\r\n");
        writeFile(decoy / "Setting" / "Structure.ini", "Decoy list\r\n");
        writeFile(decoy / "Setting" / "ID_Name_League.ini", "1,Decoy\r\n");
        writeFile(decoy / "victim.bin", gameBytes(100));
    }
    ~Folder() {
        std::error_code ignored;  // never throw from a destructor
        fs::remove_all(root, ignored);
    }  // QTemporaryDir cannot name every folder below it
    QString path() const { return platform::pathToText(program); }
    QString file(const QString& name) const { return platform::pathToText(program / name.toStdString()); }
    void write(const QString& name, const QByteArray& bytes) const { writeFile(program / name.toStdString(), bytes); }
    fs::path gamePath() const { return program / GameName.toStdString(); }
    QByteArray game() const { return readFile(gamePath()); }
    void writeGame(const std::function<void(Baza&)>& edit) const {
        Baza baza;
        if (edit && baza.Wczytaj(gamePath())) {
            edit(baza);
            baza.Zapisz(gamePath());
        }
    }
};

// Rows of the data-driven tests below, in the order of their tests.
struct NameChoice {
    QString item;
    int stored;
    bool marked;
};
struct LayoutRow {
    QString parent;
    QRect geometry;
};
struct NotStored {
    int member;
    QString typed, box, kept, allowed;
};
struct LogoEdit {
    int member;
    QString edit, text, shown;  // edit: T type at end, P paste at end, C clear, B backspace, A select all
};
struct ExitCase {
    QString typed;  // into box 0, which loads as 5
    bool viaCloseBox;
    platform::SaveChangesAnswer answer;
    bool asked, closes;
    int inFile;  // Liga1 in the file afterwards
};
struct AccessibleRow {
    QAccessible::Role role;
    QString name, action;  // action: one it must offer
};
struct CategoryTyping {
    int picker;
    bool intoBox;
    QString keys, shown;
    QByteArray stored;
};
struct PipeCase {
    QString file;
    bool starts, loaded;
    int listItems, pickerItems;
};

}  // namespace

Q_DECLARE_METATYPE(NameChoice)
Q_DECLARE_METATYPE(LayoutRow)
Q_DECLARE_METATYPE(NotStored)
Q_DECLARE_METATYPE(LogoEdit)
Q_DECLARE_METATYPE(ExitCase)
Q_DECLARE_METATYPE(AccessibleRow)
Q_DECLARE_METATYPE(CategoryTyping)
Q_DECLARE_METATYPE(PipeCase)

class FrmMainTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Folder> folder_;
    std::unique_ptr<frmMain> window_;
    QList<Message> messages_;
    QStringList events_, started_;
    QString dialogAnswer_, dialogTitle_;
    platform::StartResult startAnswer_{true, {}};
    platform::SaveChangesAnswer closeAnswer_ = platform::SaveChangesAnswer::Cancel;
    int questions_ = 0;
    fs::path programFolder_;
    QString previousCurrent_;

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

    void startShown(const std::function<void(Baza&)>& edit = {}) {
        startLoaded(edit);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
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

    // A program folder with its own name, in place of the one every test gets.
    void useFolder(const fs::path& programName) {
        QDir::setCurrent(previousCurrent_);  // Windows cannot remove the current folder
        folder_ = std::make_unique<Folder>(programName);
        programFolder_ = folder_->program;
        QVERIFY(QDir::setCurrent(QString::fromStdString(folder_->decoy.u8string())));
    }

    QStringList listItems() const {
        QStringList items;
        for (int i = 0; i < window_->controls().List1->count(); ++i)
            items << window_->controls().List1->item(i)->text();
        return items;
    }

private slots:
    void init() {
        previousCurrent_ = QDir::currentPath();
        useFolder("Kelvory");
        messages_.clear();
        events_.clear();
        started_.clear();
        dialogAnswer_.clear();
        startAnswer_ = {true, {}};
        questions_ = 0;
        platform::Services& s = platform::services();
        s.programFolder = [this] { return programFolder_; };
        s.showMessage = [this](QWidget*, platform::MessageIcon icon, const QString&, const QString& text) {
            messages_.append({icon, text});
            events_.append("message: " + text);
        };
        s.startProgram = [this](const QString& commandLine) {
            started_.append(commandLine);
            events_.append("start: " + commandLine);
            return startAnswer_;
        };
        s.readSetting = [](const QString&, const QString&, const QString&, const QString& def) { return def; };
        s.saveSetting = [](const QString&, const QString&, const QString&, const QString&) { return true; };
        s.openFileDialog = [this](QWidget*, const QString& title, const QString&, const QList<platform::FileFilter>&,
                                  int) {
            dialogTitle_ = title;
            return dialogAnswer_;
        };
        s.askSaveChanges = [this](QWidget*, const QString&, const QString&) {
            ++questions_;
            return closeAnswer_;
        };
        s.openAddress = [this](const QString& address) {
            events_.append("open: " + address);
            return true;
        };
    }

    void cleanup() {
        window_.reset();
        QCOMPARE(readFile(folder_->decoy / "victim.bin"), gameBytes(100));  // the current folder stays as it was
        QCOMPARE(std::distance(fs::directory_iterator(folder_->decoy), fs::directory_iterator()), 3);
        QDir::setCurrent(previousCurrent_);
        folder_.reset();
        platform::resetServices();
    }

    // The list is filled at start-up; the pickers' lists once, after the
    // window's first paint, with every item.
    void pickersAreFilledOnceAfterTheFirstPaint() {
        folder_->writeGame({});
        window_ = std::make_unique<frmMain>();
        QVERIFY(window_->Form_Load());
        QCOMPARE(window_->combo(1)->count() + window_->combo(26)->count(), 0);
        QCOMPARE(listItems(), (QStringList{"Top division", "Cup, knockout", "", "Last"}));
        window_->show();
        QTRY_COMPARE(window_->combo(26)->count(), int(NameItems.size()));
        window_->hide();
        window_->show();
        window_->afterFirstPaint();
        QTest::qWait(20);
        for (int n = 1; n <= 26; n = n == 4 ? 14 : n + 1) {
            const QStringList items = itemsOf(window_->combo(n));
            if (n <= 4)
                QCOMPARE(QString::number(items.size()) + items.front() + items.back(), "19category_00category_18");
            else
                QCOMPARE(items, NameItems);
            QCOMPARE(window_->combo(n)->currentText(), n <= 4
                                                           ? QStringLiteral("Select category to Sector %1").arg(n - 1)
                                                           : QStringLiteral("Select Index"));
        }
        QVERIFY(messages_.isEmpty());
    }

    // Presenting fills the boxes with the pass held back, then runs it once:
    // nothing in the block changes, so saving at once writes the same bytes.
    void presentingShowsTheBlockAndLeavesItAsLoaded() {
        startLoaded([](Baza& b) {
            b.setLiga3(-1);
            b.setStr1(-32768);
            b.setCat2("abc");
            b.setEurope(200);
            b.setCatL1(123);
            b.setCatL2(5);
            b.setCatL3(3);
            b.setCatL7(29);
        });
        const QByteArray before = folder_->game();
        const QStringList shown = {txt(2)->text(), txt(13)->text(), txt(39)->text(), txt(30)->text(), txt(27)->text()};
        QCOMPARE(shown, (QStringList{"-1", "-32768", "200", "123", "abc        "}));
        const QStringList labels = {label(2), label(3), label(4), label(8)};  // 123 matches no logo
        QCOMPARE(labels, (QStringList{"Label2", "unnamed_40.bin", "unnamed_38.bin", "unnamed_64.bin"}));
        QCOMPARE(window_->passCount(), 1);
        for (int member = 0; member <= 51; ++member)
            QVERIFY2(!txt(member) || fieldMark(txt(member)).isEmpty(), qPrintable(QString::number(member)));
        QVERIFY(!window_->hasUnsavedChanges());
        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
        QVERIFY(folder_->game() == before);

        // Presenting again while the boxes show other texts: the boxes not yet
        // refreshed must not be stored into the block on the way.
        window_->baza().setLiga1(11);
        window_->baza().setLiga2(21);
        window_->baza().setCatL1(4);
        window_->Pokaz_Dane();
        QCOMPARE(txt(0)->text() + ' ' + txt(1)->text(), QStringLiteral("11 21"));
        QCOMPARE(window_->baza().liga(1), 21);
        QCOMPARE(label(2), QStringLiteral("unnamed_39.bin"));
    }

    void categoryChoiceStoresTextInOnePass() {
        startLoaded([](Baza& b) { b.setCat2("category_01"); });
        const int passes = window_->passCount();
        choose(3, QStringLiteral("category_07"));
        QCOMPARE(window_->passCount(), passes + 1);
        QCOMPARE(QString::fromStdString(window_->baza().Cat3()), QStringLiteral("category_07"));
    }

    // A name picker copies its choice into its box; only numbers in range are
    // stored.
    void choosingFromANamePicker_data() {
        rows<NameChoice>({
            {"12", {"12", 12, false}},
            {"name", {"Northern League", 1005, true}},
            {"32768", {"32768", 1005, true}},
            {"-7", {"-7", -7, false}},
        });
    }

    void choosingFromANamePicker() {
        QFETCH(NameChoice, row);
        startLoaded([](Baza& b) { b.setStr(7, 1005); });
        choose(21, row.item);
        QCOMPARE(txt(20)->text(), row.item);
        QCOMPARE(int(window_->baza().str(7)), row.stored);
        QCOMPARE(!fieldMark(txt(20)).isEmpty(), row.marked);
        // One list for all thirteen, each with its own text.
        QCOMPARE(window_->combo(21)->currentText() + '/' + window_->combo(22)->currentText(),
                 row.item + "/Select Index");
        for (int n = 14; n <= 26; ++n)
            QCOMPARE(window_->combo(n)->model(), window_->combo(21)->model());
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

    // Without a block nothing is marked, and saving writes nothing but the
    // launcher still starts.
    void withNothingLoaded() {
        folder_->write("Leagues.ini", MissingGame);
        QVERIFY(start());
        QVERIFY(!window_->baza().loaded());
        type(txt(17), QStringLiteral("32768"));
        QVERIFY(window_->findChildren<QLineEdit*>().size() > 50);
        for (QLineEdit* box : window_->findChildren<QLineEdit*>())
            QCOMPARE(fieldMark(box), QString());
        setLauncher(QStringLiteral("/opt/launcher"));
        window_->cmd_Save_Start_Game_Click();
        QCOMPARE(messages_.size(), 1);
        QVERIFY(messages_[0].text.contains(QStringLiteral("Not There.exe")));
        QVERIFY(!QFile::exists(folder_->file(QStringLiteral("Not There.exe"))));
        QCOMPARE(started_, QStringList{"/opt/launcher"});
    }

    void saveToAnUnwritableFileIsReportedAndKeepsTheBlock() {
        startLoaded();
        const QByteArray before = folder_->game();
        type(txt(0), QStringLiteral("77"));
        const QString game = folder_->file(GameName);
#ifdef Q_OS_WIN
        // Held open by another program that lets others read but not write,
        // as the running game holds its executable.
        const HANDLE held = CreateFileW(reinterpret_cast<LPCWSTR>(game.utf16()), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        QVERIFY(held != INVALID_HANDLE_VALUE);
        window_->cmd_Save_Start_Game_Click();
        CloseHandle(held);
#else
        // Permission bits do not stop root; an immutable file stops everyone.
        if (QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), game}) != 0)
            QSKIP("chattr +i is not available here (needs Linux, root and a file system that supports it)");
        window_->cmd_Save_Start_Game_Click();
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), game});
#endif
        QCOMPARE(messages_.size(), 1);
        QVERIFY(messages_[0].icon == platform::MessageIcon::Critical);
        QVERIFY(messages_[0].text.contains(game));
        QVERIFY(started_.isEmpty());
        QVERIFY(folder_->game() == before);
        QVERIFY(window_->hasUnsavedChanges());
        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
        QCOMPARE(folder_->game().mid(Baza::LigaOffset, 4), QByteArray("\x4d\x00\x00\x00", 4));
    }

    // Without its own folder, or without a usable Leagues.ini, Kelvory stops
    // with a message; without a folder before reading anything, rather than
    // taking the current folder for it.
    void startStopsWithAMessage_data() {
        QTest::addColumn<QByteArray>("content");  // of Leagues.ini; "-": no folder, empty: no file
        QTest::addColumn<QString>("said");
        QTest::newRow("no program folder") << QByteArray("-") << "folder";
        QTest::newRow("Leagues.ini missing") << QByteArray() << "Leagues.ini";
        QTest::newRow("Leagues.ini of one line") << QByteArray("only a first line\r\n") << "Leagues.ini";
    }

    void startStopsWithAMessage() {
        QFETCH(QByteArray, content);
        QFETCH(QString, said);
        if (content == "-")
            programFolder_.clear();
        else if (content.isEmpty())
            QVERIFY(QFile::remove(folder_->file(QStringLiteral("Leagues.ini"))));
        else
            folder_->write("Leagues.ini", content);
        QVERIFY(!start());
        QCOMPARE(messages_.size(), 1);
        QVERIFY(messages_[0].icon == platform::MessageIcon::Critical);
        QVERIFY2(messages_[0].text.contains(said), qPrintable(messages_[0].text));
        QVERIFY(content != "-" || listItems().isEmpty());
        QCOMPARE(window_->combo(14)->count(), 0);
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
        QTest::newRow("cancelled") << QString() << false;
        QTest::newRow("nonexistent") << QStringLiteral("@/nowhere/vozi.exe") << false;
        QTest::newRow("existing") << QStringLiteral("@/Leagues.ini") << true;
    }

    // The choice, or the text kept, is remembered in the settings store for the next run.
    void launcherPicker() {
        QFETCH(QString, answer);
        QFETCH(bool, taken);
        QTemporaryDir store;
        QSettings::setDefaultFormat(QSettings::IniFormat);  // a file, never the registry
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, store.path());
        platform::services().readSetting = platform::systemServices().readSetting;
        platform::services().saveSetting = platform::systemServices().saveSetting;
        startLoaded();
        QCOMPARE(window_->controls().Text1->text(), QStringLiteral("Change..."));
        dialogAnswer_ = answer.replace(QLatin1Char('@'), folder_->path());
        setLauncher(QStringLiteral("typed by hand"));
        emit window_->controls().Open->Click();
        QCOMPARE(dialogTitle_ + " / " + window_->windowTitle(), "Open vozi.exe / Kelvory Exibition Mode");
        const QString expected = taken ? answer : QStringLiteral("typed by hand");
        QCOMPARE(window_->controls().Text1->text(), expected);
        QVERIFY(start());
        QCOMPARE(window_->controls().Text1->text(), expected);
    }

    void aboutOpensItsPagesAndNotice() {
        startLoaded();
        for (const char* entry : {"cmdCommunitySiteA", "cmdCommunitySiteB", "cmdAuthorPage", "Copyright"})
            window_->action(QLatin1String(entry))->trigger();
        // The guide lies beside the program; pages not configured at build
        // time open its matching section.
        const QString guide =
            QUrl::fromLocalFile(QDir::fromNativeSeparators(folder_->path()) + "/UserGuide.html").toString();
        const QString home = QStringLiteral(KELVORY_HOME_URL);
        const QString issues = QStringLiteral(KELVORY_ISSUES_URL);
        QCOMPARE(events_, (QStringList{"open: " + guide, "open: " + (home.isEmpty() ? guide + "#about" : home),
                                       "open: " + (issues.isEmpty() ? guide + "#reporting-a-problem" : issues),
                                       QStringLiteral("message: Copyright \u00A9 2026 The Kelvory authors")}));
    }

    void layoutMatchesTheDesign_data() {
        rows<LayoutRow>({
            {"Frame5", {"frmMainClient", {0, 392, 289, 281}}},
            {"txt_14", {"Frame13", {8, 88, 38, 19}}},
            {"Combo15", {"Frame13", {48, 88, 97, 21}}},
            {"txt_51", {"Frame6", {8, 328, 81, 19}}},
            {"cmd_Save_Start_Game", {"Frame8", {224, 48, 121, 25}}},
        });
    }

    void layoutMatchesTheDesign() {
        QFETCH(LayoutRow, row);
        frmMain window;
        QWidget* control = window.controls().byName.value(QTest::currentDataTag());
        QVERIFY(control);
        QCOMPARE(control->parentWidget()->objectName(), row.parent);
        QCOMPARE(control->geometry(), row.geometry);
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
        const QString i32 = QStringLiteral("whole numbers from -2147483648 to 2147483647");
        rows<NotStored>({
            {"name 32768", {17, "32768", "Club Name, row 1", "3276", "whole numbers from -32768 to 32767"}},
            {"map 300", {40, "300", "Maps Load u_1426.bin ->dt06.img, row 2", "30", "whole numbers from 0 to 255"}},
            {"letters", {2, "abc", "National Slot, row 3", "-1", i32}},
            {"cleared", {36, "", "Club Category Logo(dt04.img), row 7", "29", i32}},
        });
    }

    void textThatIsNotStoredIsMarkedAndStopsSave() {
        QFETCH(NotStored, row);
        const auto& [member, typed, box, kept, allowed] = row;
        startLoaded([](Baza& b) {
            b.setLiga3(-1);
            b.setCatL7(29);
        });
        const QByteArray before = folder_->game();
        QLineEdit* edit = txt(member);
        type(edit, typed);
        const QString reason = "Not stored: " + box + " keeps " + kept + ". Allowed: " + allowed + ".";
        QCOMPARE((QStringList{fieldMark(edit), edit->toolTip(), edit->accessibleDescription()}),
                 QStringList(3, reason));
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
        for (const QString& line : {box + ": \"" + typed + "\" (allowed: " + allowed + ")",
                                    QStringLiteral("Maps Load u_1426.bin ->dt06.img, row 13: \"-1\" (allowed: "
                                                   "whole numbers from 0 to 255)"),
                                    QStringLiteral("not changed")})
            QVERIFY2(told.contains(line), qPrintable(told));
        QVERIFY(!events_.contains(QStringLiteral("message: Save Successfully")));

        type(edit, QStringLiteral("12"));
        type(txt(51), QStringLiteral("3"));
        QCOMPARE(fieldMark(edit), QString());
        QVERIFY(!mark->isVisibleTo(edit));
        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
        QVERIFY(folder_->game() != before);
    }

    void wheelOverAClosedPickerChangesNothing() {
        startShown([](Baza& b) { b.setStr5(44); });
        txt(0)->setFocus();
        QComboBox* picker = window_->combo(18);
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

    // Each club logo box loaded with 123 (three characters, one over its
    // limit), one edit, then what it shows and stores.
    void logoLimitHoldsTheTextTheProgramSet_data() {
        rows<LogoEdit>({
            {"type at end", {30, "T", "4567", "123"}},
            {"paste at end", {31, "P", "45", "123"}},
            {"long paste into a cleared box", {32, "CP", "4567", "45"}},
            {"delete, then type", {33, "BT", "89", "12"}},
            {"replace all by typing", {34, "AT", "987", "98"}},
            {"paste over a selection", {35, "AP", "4567", "45"}},
            {"clear, then type", {36, "CT", "123", "12"}},
        });
    }

    void logoLimitHoldsTheTextTheProgramSet() {
        QFETCH(LogoEdit, row);
        const auto& [member, edit, text, shown] = row;
        startLoaded([](Baza& b) {
            for (int i = 0; i < Baza::CatLCount; ++i)
                b.setCatL(i, 123);
        });
        QLineEdit* box = txt(member);
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
        QCOMPARE(window_->baza().catL(member - 30), shown.toInt());
    }

    void exitAsksAboutUnsavedEdits_data() {
        using A = platform::SaveChangesAnswer;
        rows<ExitCase>({
            {"Save, Exit", {"77", false, A::Save, true, true, 77}},
            {"Discard", {"77", true, A::Discard, true, true, 5}},
            {"Cancel", {"77", false, A::Cancel, true, false, 5}},
            {"Save refused", {"77x", true, A::Save, true, false, 5}},
            {"typed back to the loaded value", {"5", false, A::Cancel, false, true, 5}},
            {"nothing typed", {"", true, A::Cancel, false, true, 5}},
        });
    }

    void exitAsksAboutUnsavedEdits() {
        QFETCH(ExitCase, row);
        const auto& [typed, viaCloseBox, answer, asked, closes, inFile] = row;
        startShown([](Baza& b) { b.setLiga1(5); });
        if (!typed.isEmpty())
            type(txt(0), typed);
        closeAnswer_ = answer;
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
        const QString press = QAccessibleActionInterface::pressAction();
        const QString menu = QAccessibleActionInterface::showMenuAction();
        rows<AccessibleRow>({
            {"cmd_Save_Start_Game", {QAccessible::Button, "Save and Start Game", press}},
            {"Open", {QAccessible::Button, "Choose the launcher program", press}},
            {"Combo22", {QAccessible::ComboBox, "Club Name, row 5, picker", menu}},
            {"Combo4",
             {QAccessible::ComboBox, "National Category Logo League u_1426.bin ->dt06.img, row 4, picker", menu}},
            {"txt_43", {QAccessible::EditableText, "Maps Load u_1426.bin ->dt06.img, row 5", {}}},
            {"Frame7", {QAccessible::Grouping, "Maps", {}}},
        });
    }

    void accessibleRolesNamesAndActions() {
        QFETCH(AccessibleRow, row);
        const auto& [role, name, action] = row;
        startLoaded();
        window_->show();
        QWidget* widget = window_->controls().byName.value(QTest::currentDataTag());
        QVERIFY(widget);
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
        QVERIFY(iface);
        QCOMPARE(iface->role(), role);
        QCOMPARE(iface->text(QAccessible::Name), name);
        QAccessibleActionInterface* actions = iface->actionInterface();
        QVERIFY(action.isEmpty() || (actions && actions->actionNames().contains(action)));
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

    // Every Cat loads as "category_01"; keys are typed one by one, after
    // clearing, into a category picker or its box.
    void typingACategoryStoresWhatTheBoxHolds_data() {
        rows<CategoryTyping>({
            {"a", {2, false, "a", "a", "a          "}},
            {"a then b", {2, false, "ab", "ab", "ab         "}},
            {"cleared", {1, false, "", "", "           "}},
            {"picker, cut at 11", {3, false, "category_123", "category_12", "category_12"}},
            {"box, cut at 11", {4, true, "category_100", "category_10", "category_10"}},
            {"code page letters",
             {3, true, QStringLiteral("caf\u00e9 \u20ac"), QStringLiteral("caf\u00e9 \u20ac"), "caf\xe9 \x80     "}},
            {"outside the code page", {3, true, QStringLiteral("a\u0394b"), "ab", "ab         "}},
        });
    }

    void typingACategoryStoresWhatTheBoxHolds() {
        QFETCH(CategoryTyping, row);
        const auto& [picker, intoBox, keys, shown, stored] = row;
        startLoaded([](Baza& b) {
            for (int i = 0; i < 4; ++i)
                b.setCat(i, "category_01");
        });
        type(intoBox ? txt(25 + picker) : window_->combo(picker)->lineEdit(), keys);
        QCOMPARE(txt(25 + picker)->text(), shown);
        QCOMPARE(QByteArray::fromStdString(window_->baza().cat(picker - 1)), stored);
    }

    // The value boxes draw their own one-pixel frame (grey, blue with the
    // focus) around their colour, without a style sheet.
    void valueBoxesDrawTheirFrameAndColour() {
        folder_->write("Leagues.ini", MissingGame);  // empty boxes
        QVERIFY(start());
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        window_->activateWindow();
        for (const auto& [member, base] : {std::pair{0, QColor(255, 255, 0)}, {51, QColor(0, 255, 0)}}) {  // slot, map
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
    }

    // The pickers have no completer: typing the start of an item leaves just
    // what was typed. Their lists open with every item.
    void pickersOfferTheirItemsWithoutCompleting() {
        startShown();
        for (const auto& [combo, typed, items] : {std::tuple{2, "categ", 19}, {20, "North", int(NameItems.size())}}) {
            QComboBox* picker = window_->combo(combo);
            QVERIFY(picker->isEditable() && picker->completer() == nullptr);  // typing offscreen shows no completion
            type(picker->lineEdit(), typed);
            QCOMPARE(picker->currentText(), QString(typed));
            picker->showPopup();
            QTRY_VERIFY(picker->view()->isVisible());
            QCOMPARE(picker->view()->model()->rowCount(), items);
            picker->hidePopup();
            QCOMPARE(picker->currentText(), QString(typed));
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
        if (text.size() == 1)
            QCOMPARE(box->font(), window_->font());

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
        QVERIFY2(first >= 3 && last <= image.width() - 4,
                 qPrintable(QStringLiteral("ink from %1 to %2 in %3").arg(first).arg(last).arg(image.width())));
        QVERIFY2(last - first + 1 >= needed - 3, "the text was cut");
    }
    // Kelvory reads and saves its own folder's files, not the current
    // folder's, even when its folder's name is not UTF-8.
    // A folder name that text cannot carry safely: bytes that are not UTF-8
    // where names are bytes, letters beyond code page 1252 on Windows.
    void ownFolderWithAnUnusualName() {
#ifdef Q_OS_WIN
        const fs::path name = fs::u8path("Mecz Pi\xC5\x82ka caf\xC3\xA9");
        const QString shown = QStringLiteral("Mecz Pi\u0142ka caf\u00E9"), inUrl = "Mecz%20Pi%C5%82ka%20caf%C3%A9";
#else
        const fs::path name = "caf\xE9";  // code page 1252 e acute: not UTF-8
        const QString shown = QStringLiteral("caf\u00E9"), inUrl = "caf%E9";
#endif
        useFolder(name);
        QVERIFY(start());
        QVERIFY(window_->baza().loaded());
        const QString root = QString::fromStdString(folder_->root.u8string());
        const QString sep = QDir::separator();
        QCOMPARE(window_->controls().Lokalizacja->text(), root + sep + shown + sep + "Game File.exe");
        QCOMPARE(listItems().value(0), QStringLiteral("Top division"));
        window_->txt(5)->setText(QStringLiteral("7"));
        QCOMPARE(window_->Cmd_Zapisz_Click(), frmMain::SaveOutcome::Saved);
        QVERIFY(folder_->game() ==
                gameBytes(Baza::BlockEnd).replace(Baza::LigaOffset + 20, 4, QByteArray("\x07\0\0\0", 4)));
        // The user guide beside the program, addressed with every byte of its folder.
        window_->action(QStringLiteral("cmdCommunitySiteA"))->trigger();
        const QString rootUrl = QUrl::fromLocalFile(QDir::fromNativeSeparators(root)).toString();
        QCOMPARE(events_.last(), "open: " + rootUrl + "/" + inUrl + "/UserGuide.html");
    }

    // A save that would create or grow the file is refused with a message
    // that says why; nothing is written and the launcher is not started.
    void saveRefused_data() {
        QTest::addColumn<bool>("vanished");  // otherwise: a 1,000-byte file
        QTest::addColumn<QStringList>("said");
        QTest::newRow("file deleted after start") << true << QStringList{"no longer exists", "Game File.exe"};
        QTest::newRow("1,000-byte file") << false
                                         << QStringList{"1,000 bytes", "15,612,412 to 15,613,091", "Game File.exe"};
    }

    void saveRefused() {
        QFETCH(bool, vanished);
        QFETCH(QStringList, said);
        if (!vanished)
            folder_->write(GameName, gameBytes(1000));
        QVERIFY(start());
        QVERIFY(window_->baza().loaded());
        if (vanished)
            QVERIFY(fs::remove(folder_->gamePath()));
        else
            QCOMPARE(window_->txt(39)->text(), QStringLiteral("0"));  // zeros past the end
        window_->controls().Text1->setText(QStringLiteral("/opt/vozi.exe"));
        window_->cmd_Save_Start_Game_Click();
        QCOMPARE(messages_.size(), 1);
        QVERIFY(messages_[0].icon == platform::MessageIcon::Critical);
        for (const QString& words : said)
            QVERIFY2(messages_[0].text.contains(words), qPrintable(messages_[0].text));
        QVERIFY(started_.isEmpty());
        if (vanished)
            QVERIFY(!fs::exists(folder_->gamePath()));
        else
            QVERIFY(folder_->game() == gameBytes(1000));
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
        fs::rename(folder_->gamePath(), folder_->program / fs::u8path(shown.toStdString()));
#else
        fs::rename(folder_->gamePath(), folder_->program / line2.toStdString());  // the bytes are the name
#endif
        QVERIFY(start());
        QVERIFY(window_->baza().loaded());
        QCOMPARE(window_->controls().Nazwa_Exe->text(), shown);
        QVERIFY(window_->controls().Lokalizacja->text().endsWith(QDir::separator() + shown));
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
        const fs::path pipe = folder_->program / file.toStdString();
        fs::remove(pipe);
        QVERIFY(makeFifo(pipe));
        bool started = !starts;
        QVERIFY(finishesWithin(std::chrono::seconds(1), pipe, [&] { started = start(); }));
        QCOMPARE(started, starts);
        QCOMPARE(window_->baza().loaded(), loaded);
        QCOMPARE(this->listItems().size(), listItems);
        QCOMPARE(window_->combo(26)->count(), pickerItems);
        QCOMPARE(messages_.size(), starts ? 0 : 1);
        QVERIFY(starts || messages_[0].text.contains("Leagues.ini"));
#endif
    }
};

QTEST_MAIN(FrmMainTest)
#include "frmMainTest.moc"
