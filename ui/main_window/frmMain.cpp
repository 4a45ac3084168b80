#include "ui/main_window/frmMain.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <functional>

#include "core/FieldHelp.h"
#include "core/Fields.h"
#include "platform/Fonts.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "platform/Text.h"
#include "session/LeagueSession.h"
#include "ui/main_window/Artwork.h"
#include "ui/main_window/EditHistory.h"
#include "ui/main_window/FieldMarks.h"
#include "ui/main_window/FieldStates.h"
#include "ui/main_window/FieldText.h"
#include "ui/main_window/FocusRing.h"
#include "ui/main_window/Launcher.h"
#include "ui/main_window/Menus.h"
#include "ui/main_window/NamePickers.h"
#include "ui/main_window/RestoreFlow.h"
#include "ui/main_window/SetupMenu.h"
#include "ui/main_window/Telling.h"
#include "ui/widgets/Button_XP.h"
#include "ui/widgets/ListDialogs.h"

frmMain::frmMain(QWidget* parent) : QMainWindow(parent) {
    // The platform shows its modified marker in place of [*] while the block
    // has unsaved changes; the title's words stay.
    setWindowTitle(QCoreApplication::translate("frmMain", "Kelvory Exibition Mode[*]"));
    setWindowIcon(drawAppIcon());
    // A compact sans-serif face: the layout is measured in pixels, and wide
    // faces would clip the frame captions.
    setFont(platform::windowFont(8));

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("frmMainClient"));
    setCentralWidget(client);
    client->installEventFilter(this);  // to learn when the first paint is done
    form_ = buildForm(client);
    new FocusRing(client);
    host_ = std::make_unique<CatalogueHost>(form_);
    history_ = std::make_unique<EditHistory>([this] { return currentState(); },
                                             [this](const WindowState& state) { showState(state); });
    buildMenus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    useListDialogs(platform::services());
    // Empty when the system cannot tell: Ini then reads nothing and the Open
    // routine stops the program with a message.
    programFolder_ = platform::services().programFolder();
    session_ = std::make_unique<LeagueSession>(platform::services().dataFolder());
    ini_ = std::make_unique<Ini>(*host_, programFolder_);
    polancz_ = std::make_unique<Polancz>(Polancz::builtInAddresses(programFolder_));

    connectHandlers();
    explainFields();
}

frmMain::~frmMain() = default;

void frmMain::buildMenus() {
    ::buildMenus(menuBar());
    action(QStringLiteral("mnuRestoreOriginal"))->setEnabled(false);  // until a record exists
    const std::pair<const char*, std::function<void()>> handlers[] = {
        {"MnuFileOpen",
         [this] {
             if (!MnuFileOpen_Click()) {
                 Exit_Click();
             }
         }},
        {"Cmd_Zapisz", [this] { Cmd_Zapisz_Click(); }},
        {"mnuRestoreOriginal", [this] { RestoreOriginal_Click(); }},
        {"mnuImportSetup",
         [this] {
             if (const std::optional<SetupPreview> preview = importLeagueSetup(this, *session_)) {
                 importSetup(*preview);
             }
         }},
        {"mnuExportSetup", [this] { exportLeagueSetup(this, *session_); }},
        {"Exit", [this] { Exit_Click(); }},
        {"mnuUndo", [this] { mnuUndo_Click(); }},
        {"mnuRedo", [this] { mnuRedo_Click(); }},
        {"mnuRevert", [this] { mnuRevert_Click(); }},
        {"mnuShowChanges", [this] { mnuShowChanges_Click(); }},
        {"cmdCommunitySiteA", [this] { polancz_->CommunitySiteA_Click(this); }},
        {"cmdCommunitySiteB", [this] { polancz_->CommunitySiteB_Click(this); }},
        {"cmdAuthorPage", [this] { polancz_->AuthorPage_Click(this); }},
        {"Copyright", [this] { polancz_->Copyright_Click(this); }},
    };
    for (const auto& [name, handler] : handlers) {
        connect(action(QLatin1String(name)), &QAction::triggered, this, handler);
    }
    connectEditMenu();
}

void frmMain::connectHandlers() {
    for (const Field& field : fields()) {
        const int member = field.member;
        QLineEdit* box = form_.box(field);
        const QString typing = QCoreApplication::translate("frmMain", "Typing in %1").arg(fieldName(field));
        // A keystroke reports the edit before the new text: the edit notes
        // the box, and the keystroke becomes part of the history once the
        // copy-back pass has run on its text.
        connect(box, &QLineEdit::textChanged, this, [this, member, box, typing] {
            txt_Change(member);
            if (typedInto_ == box) {
                typedInto_ = nullptr;
                history_->typed(box, typing);
            }
        });
        const bool category = field.kind == FieldKind::Cat;
        connect(box, &QLineEdit::textEdited, this, [this, box, category, &field](const QString& text) {
            if (category) {
                // A category typed straight into its box is stored as its
                // picker would store it; the box holds no more than the field.
                session_->storeCategory(field, platform::toCodePage(text));
            }
            typedInto_ = session_->loaded() ? box : nullptr;
        });
        if (QComboBox* picker = form_.picker(field)) {
            const int number = field.picker;
            const QString choice = QCoreApplication::translate("frmMain", "Choice in %1").arg(fieldName(field));
            // A typed, deleted or pasted character, and a choice from the list,
            // both hand the picker's text on; but typing into a name picker
            // whose catalogue pairs numbers with names only searches its list.
            const bool name = field.kind == FieldKind::Str;
            connect(picker->lineEdit(), &QLineEdit::textEdited, this, [this, number, picker, typing, name] {
                if (name && nameLists_ && nameLists_->paired()) {
                    return;
                }
                // The picker keeps what is being typed into it.
                typedPicker_ = picker;
                Combo_Change(number);
                typedPicker_ = nullptr;
                if (session_->loaded()) {
                    history_->typed(picker->lineEdit(), typing);
                }
            });
            connect(picker, &QComboBox::activated, this, [this, number, choice] {
                if (session_->loaded()) {
                    history_->record(choice, [this, number] { Combo_Change(number); });
                } else {
                    Combo_Change(number);
                }
            });
        }
        connectHistory(field);
        if (field.kind != FieldKind::Cat) {
            box->installEventFilter(this);  // Up, Down, Page Up and Page Down step the value
        }
    }
    connect(form_.Open, &Button_XP::Click, this, &frmMain::Open_Click);
    connect(form_.cmd_Save_Start_Game, &Button_XP::Click, this, &frmMain::cmd_Save_Start_Game_Click);
}

bool frmMain::Form_Load() {
    // The pickers' lists (Petla, Str_Petla) are filled by afterFirstPaint:
    // closed pickers show only their own texts.
    ini_->Liga_Petla();
    refreshIndicators();

    if (!MnuFileOpen_Click()) {
        return false;
    }

    form_.Text1->setText(rememberedLauncher());

    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect placed = frameGeometry();
        placed.moveCenter(screen->availableGeometry().center());
        move(placed.topLeft());
    }
    return true;
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const int by = key->modifiers() & ~Qt::KeypadModifier ? 0
                       : key->key() == Qt::Key_Up             ? 1
                       : key->key() == Qt::Key_Down           ? -1
                       : key->key() == Qt::Key_PageUp         ? 10
                       : key->key() == Qt::Key_PageDown       ? -10
                                                              : 0;
        for (const Field& field : fields()) {
            if (by != 0 && watched == form_.box(field)) {
                stepBox(field, by);
                return true;
            }
        }
    }
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
    names_ = std::make_unique<NameCatalogue>(host_->takeNameCatalogue());
    session_->useNameIndices(names_->pairedIndices());
    nameLists_ = host_->shareNameLists(*names_, this);
    for (const Field& field : fields()) {
        QComboBox* picker = form_.picker(field);
        if (auto* part = picker ? picker->findChild<NamePicker*>(QString(), Qt::FindDirectChildrenOnly) : nullptr) {
            namePickers_[field.picker] = part;
            connect(part, &NamePicker::chosen, this, [this, &field](long long number) { chooseName(field, number); });
        }
    }
    // The name boxes are now checked against the catalogue, and explained by it.
    explainFields();
    refreshPickers();
    refreshChanges();
}

void frmMain::explainFields() {
    const NameIndices* names = names_ ? names_->pairedIndices() : nullptr;
    for (const Field& field : fields()) {
        const QString help = shown(fieldHelpWords(field, names));
        for (QWidget* control : {static_cast<QWidget*>(form_.box(field)), static_cast<QWidget*>(form_.picker(field))}) {
            if (control) {
                setFieldState(control, FieldState::Help, help);
                control->setWhatsThis(help);
            }
        }
    }
}

void frmMain::refreshPickers() {
    for (const Field& field : fields()) {
        QComboBox* picker = form_.picker(field);
        if (!picker || picker == typedPicker_) {
            continue;
        }
        const QString value = form_.box(field)->text();
        if (field.kind == FieldKind::Cat) {
            if (picker->currentText() != value) {
                const int at = picker->findText(value, Qt::MatchExactly);
                picker->setCurrentIndex(at);
                picker->setEditText(at >= 0 ? value : pickerCaption(field));
                picker->lineEdit()->setCursorPosition(0);
            }
        } else if (NamePicker* part = namePickers_.value(field.picker)) {
            part->showValue(readField(field, value, numberLocale_));
        }
    }
}

void frmMain::chooseName(const Field& field, long long number) {
    QLineEdit* box = form_.box(field);
    const QString text = QString::number(number);
    if (!session_->loaded()) {
        box->setText(text);
        return;
    }
    history_->record(tr("Choice in %1").arg(fieldName(field)), [box, &text] { box->setText(text); });
}

bool frmMain::offerLeaguesIni(const ConfigResult& config) {
    const QString why = tr("Kelvory cannot start.\n\n%1\n\nLeagues.ini is a text file beside Kelvory; its second "
                           "line names the game executable in Kelvory's folder, for example:\n\n"
                           "Kelvory reads line 2 of this file: the game executable in this folder.\nGame.exe")
                            .arg(shown(config.words()));
    if (config.status != ConfigResult::Status::Missing) {
        tellUser(this, platform::MessageIcon::Critical, why);
        return false;
    }
    const int answer = platform::services().askChoice(
        this, platform::MessageIcon::Critical, kApplicationTitle,
        why + tr("\n\nKelvory can write it for you: choose the game executable in its folder."),
        {tr("&Choose the Game Executable..."), tr("&Quit")}, 0);
    if (answer != 0) {
        return false;
    }
    const QString game = platform::services().openFileDialog(
        this, tr("Choose the Game Executable"), platform::pathToText(programFolder_),
        {{tr("Programs"), QStringLiteral("*.exe")}, {tr("All Files"), QStringLiteral("*")}}, 0);
    if (game.isEmpty()) {
        return false;
    }
    const std::string failure = createLeaguesIni(programFolder_, platform::textToPath(game));
    if (!failure.empty()) {
        tellUser(this, platform::MessageIcon::Critical, platform::fromUtf8(failure));
        return false;
    }
    return true;
}

bool frmMain::MnuFileOpen_Click() {
    std::filesystem::path game = gameOverride_;
    if (game.empty()) {
        ConfigResult config = ini_->Config();
        if (!config.ok() && offerLeaguesIni(config)) {
            config = ini_->Config();  // the file just written
        }
        if (!config.ok()) {
            return false;  // the user has been told why
        }
        // Line 2's own bytes, not the text the box shows: a name that is
        // not UTF-8 must still find its file.
        game = config.gamePath;
    } else {
        form_.Nazwa_Exe->setText(platform::pathToText(game.filename()));
    }
    if (session_->load(game)) {
        form_.Lokalizacja->setText(platform::pathToText(session_->game()));
        Pokaz_Dane();
        history_->settle();
        // Shown as loaded; saving asks again every time.
        tell(this, {Tone::Warning, session_->notABlockWarning()});
    }
    updateRestoreAction();
    return true;
}

void frmMain::Pokaz_Dane() {
    // Each box filled would run the copy-back pass while the boxes after it
    // are still empty (or, on a later load, still show the previous block).
    // Hold the pass back while presenting and run it once, when every box
    // shows its field: it then stores the presented values, which convert
    // back to themselves, and brings the indicators and marks up to date.
    presenting_ = true;
    for (const Field& field : fields()) {
        form_.box(field)->setText(presentField(session_->baza(), field));
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
    refreshIndicators();
    for (const Field& field : fields()) {
        if (field.kind == FieldKind::Cat) {
            continue;  // category texts are stored by their pickers alone
        }
        storeBox(field);
    }
    refreshChanges();
    refreshPickers();
}

void frmMain::refreshIndicators() {
    for (const Field& field : fields()) {
        if (field.indicator != 0) {
            ini_->ClubUnnament(field.row);
        }
    }
}

void frmMain::storeBox(const Field& field) {
    const QString text = form_.box(field)->text();
    session_->storeBox(field, platform::toUtf8(text), readField(field, text, numberLocale_));
    QString reason;
    if (session_->unstorable(field)) {
        reason = QCoreApplication::translate("frmMain", "Not stored: %1 keeps %2. Allowed: %3.")
                     .arg(fieldName(field), presentField(session_->baza(), field), allowedText(field));
    }
    setFieldMark(form_.box(field), reason);
}

bool frmMain::hasUnsavedChanges() const {
    return session_->hasUnsavedChanges();
}

void frmMain::editStep(const QString& what, const std::function<void()>& change) {
    if (!session_->loaded()) {
        return;
    }
    history_->record(what, [this, &change] {
        change();
        Pokaz_Dane();
    });
}

void frmMain::importSetup(const SetupPreview& preview) {
    editStep(QCoreApplication::translate("frmMain", "Import League Setup"),
             [this, &preview] { session_->applySetup(preview); });
}

void frmMain::restoreBlock(const RecordedBlock& recorded) {
    editStep(QCoreApplication::translate("frmMain", "Restore Original Values"),
             [this, &recorded] { session_->restore(recorded); });
}

void frmMain::stepBox(const Field& field, int by) {
    const std::optional<FieldRange> range = fieldRange(field.kind);
    if (!range || !session_->loaded()) {
        return;
    }
    QLineEdit* box = form_.box(field);
    const long long from =
        readField(field, box->text(), numberLocale_).value_or(fieldNumber(session_->values(), field));
    const QString to = QString::number(std::clamp(from + by, range->minimum, range->maximum));
    history_->record(QCoreApplication::translate("frmMain", "Step %1").arg(fieldName(field)),
                     [box, &to] { box->setText(to); });
}

void frmMain::Combo_Change(int number) {
    const Field* field = fieldOfPicker(number);
    QComboBox* picker = field ? form_.picker(*field) : nullptr;
    if (!picker) {
        return;
    }
    QLineEdit* box = form_.box(*field);
    box->setText(picker->currentText());
    if (field->kind == FieldKind::Cat) {
        // The copy-back pass never stores a category: its picker does.
        session_->storeCategory(*field, platform::toCodePage(box->text()));
        refreshChanges();
        refreshPickers();
    }
}

frmMain::SaveOutcome frmMain::Cmd_Zapisz_Click() {
    history_->seal();
    DiskState disk;
    const SaveOutcome outcome = saveBlock(this, *session_, disk);
    if (outcome == SaveOutcome::Reload) {
        // The question said the window's changes are dropped: the file's
        // values replace them, the hidden map slots and reserved bytes too.
        editStep(QCoreApplication::translate("frmMain", "Reload"), [this, &disk] { session_->takeFromDisk(disk); });
    }
    updateRestoreAction();  // the first save takes the record
    refreshChanges();       // a save that wrote the block leaves nothing changed
    if (outcome == SaveOutcome::Saved || outcome == SaveOutcome::Reload) {
        history_->settle();  // what the file holds now, hidden slots and reserved bytes included
    }
    return outcome;
}

void frmMain::cmd_Save_Start_Game_Click() {
    // The game starts only on an executable that holds what the window shows.
    if (Cmd_Zapisz_Click() == SaveOutcome::Saved) {
        startLauncher(this, form_.Text1->text());
    }
}

void frmMain::RestoreOriginal_Click() {
    if (const std::optional<RecordedBlock> chosen = chooseRecordedBlock(this, *session_)) {
        restoreBlock(*chosen);
    }
}

void frmMain::updateRestoreAction() {
    if (QAction* restore = action(QStringLiteral("mnuRestoreOriginal"))) {
        restore->setEnabled(session_->hasRecord());
    }
}

void frmMain::Open_Click() {
    chooseLauncher(this, form_.Text1);
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
    const platform::SaveChangesAnswer answer = platform::services().askSaveChanges(
        this, kApplicationTitle,
        QCoreApplication::translate("frmMain",
                                    "The league tables have changes that are not saved.\n\n"
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

QLineEdit* frmMain::txt(int member) const {
    const auto found = form_.txt.find(member);
    return found == form_.txt.end() ? nullptr : found->second;
}

QComboBox* frmMain::combo(int number) const {
    const auto found = form_.combo.find(number);
    return found == form_.combo.end() ? nullptr : found->second;
}

const Baza& frmMain::baza() const {
    return session_->baza();
}

std::filesystem::path frmMain::gamePath() const {
    return session_->game();
}

const Baza::Block& frmMain::savedBlock() const {
    return session_->saved();
}

QAction* frmMain::action(const QString& name) const {
    return findChild<QAction*>(name);
}
