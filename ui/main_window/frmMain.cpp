#include "ui/main_window/frmMain.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStringListModel>
#include <QTimer>

#include "platform/Fonts.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "platform/Text.h"
#include "ui/main_window/Artwork.h"
#include "ui/main_window/FieldBindings.h"
#include "ui/main_window/FieldMarks.h"
#include "ui/main_window/Pickers.h"
#include "ui/widgets/Button_XP.h"
#include "ui/widgets/Scn_Common_Dialog.h"

namespace {

// Where the launcher path is remembered in the user's settings.
const QString kSettingsApplication = QStringLiteral("vozi");
const QString kSettingsSection = QStringLiteral("Options");
const QString kSettingsKey = QStringLiteral("vozi");
const QString kNoLauncher = QStringLiteral("Change...");

const QString kLauncherDialogTitle = QStringLiteral("Open vozi.exe");
const QString kLauncherFilter = QStringLiteral("vozi.exe (*.exe)|*.exe| All Files (*.*)|*.*");

QString qs(const std::string& utf8) {
    return platform::fromUtf8(utf8);
}

}  // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Kelvory Exibition Mode"));
    setWindowIcon(drawAppIcon());
    // A compact sans-serif face: the layout is measured in pixels, and wide
    // faces would clip the frame captions.
    setFont(platform::windowFont(8));

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("frmMainClient"));
    setCentralWidget(client);
    client->installEventFilter(this);  // to learn when the first paint is done
    form_ = buildForm(client);
    buildMenus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    // Empty when the system cannot tell: Ini then reads nothing and the Open
    // routine stops the program with a message.
    programFolder_ = platform::services().programFolder();
    baza_ = std::make_unique<Baza>();
    ini_ = std::make_unique<Ini>(static_cast<IniHost&>(*this), programFolder_);
    polancz_ = std::make_unique<Polancz>(Polancz::builtInAddresses(programFolder_));

    connectHandlers();
}

frmMain::~frmMain() = default;

void frmMain::buildMenus() {
    auto named = [](QAction* action, const char* name) {
        action->setObjectName(QLatin1String(name));
        return action;
    };

    QMenu* menu = menuBar()->addMenu(QStringLiteral("Menu"));
    menu->setObjectName(QStringLiteral("mnuMenu"));
    QAction* open = named(menu->addAction(QStringLiteral("Open")), "MnuFileOpen");
    open->setVisible(false);  // the Open routine runs once, at start-up
    named(menu->addSeparator(), "Sep")->setVisible(false);
    QAction* save = named(menu->addAction(QStringLiteral("Save")), "Cmd_Zapisz");
    named(menu->addSeparator(), "Sep2");
    QAction* exit = named(menu->addAction(QStringLiteral("Exit")), "Exit");

    QMenu* about = menuBar()->addMenu(QStringLiteral("About"));
    about->setObjectName(QStringLiteral("mnuAbout"));
    QMenu* visit = about->addMenu(QStringLiteral("Visit"));
    visit->setObjectName(QStringLiteral("Visit"));
    QAction* guide = named(visit->addAction(QStringLiteral("Kelvory User Guide")), "cmdCommunitySiteA");
    visit->addSeparator();
    QAction* home = named(visit->addAction(QStringLiteral("Kelvory Home Page")), "cmdCommunitySiteB");
    visit->addSeparator();
    QAction* issues = named(visit->addAction(QStringLiteral("Report a Problem")), "cmdAuthorPage");
    named(about->addSeparator(), "Sep5");
    QAction* copyright = named(about->addAction(QStringLiteral("Copyright")), "Copyright");

    connect(open, &QAction::triggered, this, [this] {
        if (!MnuFileOpen_Click()) {
            Exit_Click();
        }
    });
    connect(save, &QAction::triggered, this, [this] { Cmd_Zapisz_Click(); });
    connect(exit, &QAction::triggered, this, &frmMain::Exit_Click);
    connect(guide, &QAction::triggered, this, [this] { polancz_->CommunitySiteA_Click(this); });
    connect(home, &QAction::triggered, this, [this] { polancz_->CommunitySiteB_Click(this); });
    connect(issues, &QAction::triggered, this, [this] { polancz_->AuthorPage_Click(this); });
    connect(copyright, &QAction::triggered, this, [this] { polancz_->Copyright_Click(this); });
}

void frmMain::connectHandlers() {
    for (const auto& [member, box] : form_.txt) {
        const int index = member;
        connect(box, &QLineEdit::textChanged, this, [this, index] { txt_Change(index); });
        if (index >= 26 && index <= 29) {
            // A category typed straight into its box is stored as its picker
            // would store it; the box holds no more than the field does.
            connect(box, &QLineEdit::textEdited, this,
                    [this, index](const QString& text) { baza_->setCat(index - 26, platform::toCodePage(text)); });
        }
    }
    for (const auto& [number, picker] : form_.combo) {
        const int n = number;
        // A typed, deleted or pasted character, and a choice from the list,
        // both hand the picker's text on.
        connect(picker->lineEdit(), &QLineEdit::textEdited, this, [this, n] { Combo_Change(n); });
        connect(picker, &QComboBox::activated, this, [this, n] { Combo_Change(n); });
    }
    connect(form_.Open, &Button_XP::Click, this, &frmMain::Open_Click);
    connect(form_.cmd_Save_Start_Game, &Button_XP::Click, this, &frmMain::cmd_Save_Start_Game_Click);
}

bool frmMain::Form_Load() {
    // The pickers' lists (Petla, Str_Petla) are filled by afterFirstPaint:
    // closed pickers show only their own texts.
    ini_->Liga_Petla();
    ini_->ClubUnnament1();
    ini_->ClubUnnament2();
    ini_->ClubUnnament3();
    ini_->ClubUnnament4();
    ini_->ClubUnnament5();
    ini_->ClubUnnament6();
    ini_->ClubUnnament7();

    if (!MnuFileOpen_Click()) {
        return false;
    }

    form_.Text1->setText(
        platform::services().readSetting(kSettingsApplication, kSettingsSection, kSettingsKey, kNoLauncher));

    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect placed = frameGeometry();
        placed.moveCenter(screen->availableGeometry().center());
        move(placed.topLeft());
    }
    return true;
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    // The window's client area is painted in the first paint; once that
    // paint is done, the event loop runs the rest of the start-up.
    if (watched == centralWidget() && event->type() == QEvent::Paint) {
        centralWidget()->removeEventFilter(this);
        QTimer::singleShot(0, this, &frmMain::afterFirstPaint);
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::afterFirstPaint() {
    if (listsFilled_) {
        return;
    }
    listsFilled_ = true;
    ini_->Petla();
    ini_->Str_Petla();
    shareNameList();
}

bool frmMain::MnuFileOpen_Click() {
    const ConfigResult config = ini_->Config();
    if (!config.ok()) {
        platform::services().showMessage(this, platform::MessageIcon::Critical, kApplicationTitle,
                                         QStringLiteral("Kelvory cannot start.\n\n%1").arg(qs(config.message())));
        return false;
    }
    // Line 2's own bytes, not the text the box shows: a name that is not
    // UTF-8 must still find its file.
    gamePath_ = config.gamePath;
    if (baza_->Wczytaj(gamePath_)) {
        savedBlock_ = baza_->block();
        locationPath_ = gamePath_;
        form_.Lokalizacja->setText(platform::pathToText(locationPath_));
        Pokaz_Dane();
    }
    return true;
}

void frmMain::Pokaz_Dane() {
    // Each box filled would run the copy-back pass while the boxes after it
    // are still empty (or, on a later load, still show the previous block).
    // Hold the pass back while presenting and run it once, when every box
    // shows its field: it then stores the presented values, which convert
    // back to themselves, and brings the indicators and marks up to date.
    presenting_ = true;
    for (const FieldBinding& binding : fieldBindings()) {
        txt(binding.member)->setText(presentField(*baza_, binding));
    }
    presenting_ = false;
    txt_Change(-1);
}

void frmMain::txt_Change(int /*index*/) {
    if (presenting_) {
        return;  // Pokaz_Dane runs the pass once it has filled every box
    }
    // The pass reads every box, whichever changed, and never writes a box, so
    // it cannot set itself off again.
    ++passCount_;
    for (int n = 1; n <= 7; ++n) {
        ini_->ClubUnnament(n);
    }
    for (const FieldBinding& binding : fieldBindings()) {
        if (binding.kind == FieldKind::Cat) {
            continue;  // category texts are stored by their pickers alone
        }
        markField(binding, storeField(*baza_, binding, txt(binding.member)->text(), numberLocale_));
    }
}

void frmMain::markField(const FieldBinding& binding, bool stored) {
    QLineEdit* box = txt(binding.member);
    QString reason;
    // Before a block is loaded nothing can be saved, so nothing is marked.
    if (!stored && baza_->loaded()) {
        reason = QStringLiteral("Not stored: %1 keeps %2. Allowed: %3.")
                     .arg(box->accessibleName(), presentField(*baza_, binding), allowedText(binding));
    }
    setFieldMark(box, reason);
}

QString frmMain::allowedText(const FieldBinding& binding) {
    const std::optional<FieldRange> range = fieldRange(binding.kind);
    return range ? allowedValuesText(range->minimum, range->maximum) : QString();
}

QStringList frmMain::markedBoxes() const {
    QStringList marked;
    for (const FieldBinding& binding : fieldBindings()) {
        const QLineEdit* box = txt(binding.member);
        if (!fieldMark(box).isEmpty()) {
            marked << QStringLiteral("%1: \"%2\" (allowed: %3)")
                          .arg(box->accessibleName(), box->text(), allowedText(binding));
        }
    }
    return marked;
}

bool frmMain::hasUnsavedChanges() const {
    return baza_->loaded() && baza_->block() != savedBlock_;
}

void frmMain::shareNameList() {
    auto* names = new QStringListModel(nameItems_, this);
    names->setObjectName(QStringLiteral("nameCatalogue"));
    nameItems_.clear();
    for (int number = 14; number <= 26; ++number) {
        sharePickerList(combo(number), names);
    }
}

void frmMain::Combo_Change(int number) {
    QComboBox* picker = combo(number);
    if (!picker) {
        return;
    }
    if (number >= 1 && number <= 4) {
        QLineEdit* box = txt(25 + number);
        box->setText(picker->currentText());
        baza_->setCat(number - 1, platform::toCodePage(box->text()));
    } else if (number >= 14 && number <= 26) {
        txt(number - 1)->setText(picker->currentText());
    }
}

frmMain::SaveOutcome frmMain::Cmd_Zapisz_Click() {
    if (baza_->loaded()) {
        const QStringList marked = markedBoxes();
        if (!marked.isEmpty()) {
            warn(QStringLiteral("Nothing was saved: the game executable was not changed.\n\n"
                                "These boxes hold values that cannot be stored:\n%1\n\n"
                                "Correct them, then save again.")
                     .arg(marked.join(QLatin1Char('\n'))));
            return SaveOutcome::Refused;
        }
    }
    try {
        // The location box shows the path readably; the save goes to the
        // exact path behind it.
        if (!baza_->Zapisz(locationPath_)) {
            warn(QStringLiteral("Nothing was saved: no game executable was loaded when Kelvory started.\n\n"
                                "Kelvory looked for it at:\n%1\n\n"
                                "Make sure line 2 of Leagues.ini names the game executable in Kelvory's "
                                "folder, then start Kelvory again.")
                     .arg(platform::pathToText(gamePath_)));
            return SaveOutcome::NotLoaded;
        }
    } catch (const FileError& error) {
        const QString path = platform::pathToText(error.path());
        QString reason = qs(error.reason());
        if (!reason.isEmpty()) {
            reason[0] = reason[0].toUpper();
        }
        QString text;
        switch (error.kind()) {
            case FileError::Kind::Missing:
                text = QStringLiteral(
                           "Nothing was saved: the game executable no longer exists.\n\n%1\n\n"
                           "Kelvory does not create it. Put the game executable back in place, "
                           "then save again; your changes are still here.")
                           .arg(path);
                break;
            case FileError::Kind::TooShort:
                text = QStringLiteral(
                           "Nothing was saved: this file is too short to be the game executable.\n\n"
                           "%1\n\n%2.\n\n"
                           "Kelvory only writes into bytes that already exist. Check that line 2 of "
                           "Leagues.ini names the game executable.")
                           .arg(path, reason);
                break;
            case FileError::Kind::NotAFile:
                text = QStringLiteral("Nothing was saved: the game executable is not a regular file.\n\n%1\n\n%2.")
                           .arg(path, reason);
                break;
            default:
                text = QStringLiteral(
                           "The game executable could not be saved.\n\n%1\n%2\n\n"
                           "Your changes are still here. Close the game if it is running, make sure "
                           "the file can be written, and save again.")
                           .arg(path, reason);
                break;
        }
        platform::services().showMessage(this, platform::MessageIcon::Critical, kApplicationTitle, text);
        return SaveOutcome::Failed;
    } catch (const std::exception& error) {
        platform::services().showMessage(this, platform::MessageIcon::Critical, kApplicationTitle,
                                         QStringLiteral("The game executable could not be saved.\n\n%1\n%2")
                                             .arg(form_.Lokalizacja->text(), qs(error.what())));
        return SaveOutcome::Failed;
    }
    savedBlock_ = baza_->block();
    platform::services().showMessage(this, platform::MessageIcon::Information, kApplicationTitle,
                                     QStringLiteral("Save Successfully"));
    return SaveOutcome::Saved;
}

void frmMain::cmd_Save_Start_Game_Click() {
    const SaveOutcome saved = Cmd_Zapisz_Click();
    if (saved == SaveOutcome::Failed || saved == SaveOutcome::Refused) {
        return;  // never start the game on a half-written or unsaved executable
    }
    const QString launcher = form_.Text1->text();
    const platform::StartResult started = platform::services().startProgram(launcher);
    if (!started.started) {
        QString reason = started.error;
        if (!reason.contains(launcher)) {
            reason = launcher + QLatin1Char('\n') + reason;
        }
        warn(QStringLiteral("The launcher could not be started.\n\n%1\n\n"
                            "Choose the launcher with the \"...\" button beside its box.")
                 .arg(reason));
    }
}

void frmMain::Open_Click() {
    Scn_Common_Dialog dialog;
    const std::optional<QString> chosen = dialog.OpenFileName(this, kLauncherDialogTitle, QString(), kLauncherFilter);
    if (chosen && Baza::File_Exists(platform::textToPath(*chosen))) {
        form_.Text1->setText(*chosen);
    }
    if (!platform::services().saveSetting(kSettingsApplication, kSettingsSection, kSettingsKey, form_.Text1->text())) {
        warn(QStringLiteral("Kelvory could not remember the launcher for the next start."));
    }
}

void frmMain::Exit_Click() {
    if (close()) {
        QCoreApplication::quit();
    }
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (!hasUnsavedChanges()) {
        event->accept();
        return;
    }
    const platform::SaveChangesAnswer answer =
        platform::services().askSaveChanges(this, kApplicationTitle,
                                            QStringLiteral("The league tables have changes that are not saved.\n\n"
                                                           "Save them to the game executable before closing?"));
    switch (answer) {
        case platform::SaveChangesAnswer::Save:
            if (Cmd_Zapisz_Click() == SaveOutcome::Saved) {
                event->accept();
            } else {
                event->ignore();  // the user has been told why; the edits stay
            }
            return;
        case platform::SaveChangesAnswer::Discard:
            event->accept();
            return;
        case platform::SaveChangesAnswer::Cancel:
            break;
    }
    event->ignore();
}

void frmMain::warn(const QString& text) {
    platform::services().showMessage(this, platform::MessageIcon::Warning, kApplicationTitle, text);
}

QLineEdit* frmMain::txt(int member) const {
    const auto found = form_.txt.find(member);
    return found == form_.txt.end() ? nullptr : found->second;
}

QComboBox* frmMain::combo(int number) const {
    const auto found = form_.combo.find(number);
    return found == form_.combo.end() ? nullptr : found->second;
}

QAction* frmMain::action(const QString& name) const {
    return findChild<QAction*>(name);
}

void frmMain::appendItem(const std::string& control, const std::string& item) {
    if (control.size() == 7 && control.compare(0, 5, "Combo") == 0) {
        const int number = (control[5] - '0') * 10 + (control[6] - '0');
        if (number >= 14 && number <= 26) {
            // The thirteen name pickers share one list; the catalogue offers
            // each item to every one of them in turn.
            if (number == 14) {
                nameItems_.append(qs(item));
            }
            return;
        }
    }
    const QString name = qs(control);
    QWidget* widget = form_.byName.value(name);
    if (auto* picker = qobject_cast<QComboBox*>(widget)) {
        // Adding the first item would make it current and replace the
        // picker's own text; keep that text.
        const QString text = picker->currentText();
        picker->addItem(qs(item));
        if (picker->currentIndex() != -1) {
            picker->setCurrentIndex(-1);
            picker->setEditText(text);
            picker->lineEdit()->setCursorPosition(0);
        }
    } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
        list->addItem(qs(item));
    }
}

void frmMain::setText(const std::string& control, const std::string& text) {
    if (auto* box = qobject_cast<QLineEdit*>(form_.byName.value(qs(control)))) {
        box->setText(qs(text));
    }
}

std::string frmMain::memberText(int index) const {
    const QLineEdit* box = txt(index);
    return box ? platform::toUtf8(box->text()) : std::string();
}

void frmMain::setCaption(const std::string& label, const std::string& caption) {
    if (auto* target = qobject_cast<QLabel*>(form_.byName.value(qs(label)))) {
        target->setText(qs(caption));
        // Let the whole file name show, however narrow the label was laid out.
        target->resize(std::max(target->minimumWidth(), target->sizeHint().width()), target->height());
    }
}
