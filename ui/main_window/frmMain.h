#pragma once

#include <QHash>
#include <QLocale>
#include <QMainWindow>
#include <filesystem>
#include <functional>
#include <memory>

#include "catalogues/Ini.h"
#include "core/Baza.h"
#include "ui/main_window/CatalogueHost.h"
#include "ui/main_window/FormLayout.h"
#include "ui/main_window/Polancz.h"
#include "ui/main_window/SaveFlow.h"

class LeagueSession;
class NameCatalogue;
class NameLists;
class NamePicker;
struct RecordedBlock;
struct SetupPreview;

struct Field;
struct WindowState;
class EditHistory;
class QAction;
class QMenu;
class QUndoStack;
class QCloseEvent;
class QComboBox;
class QLineEdit;

// The editor's one window: shows the league block of the game executable in an
// array of boxes and pickers, carries edits back into the block, and saves it.
class frmMain : public QMainWindow {
    Q_OBJECT

public:
    using SaveOutcome = ::SaveOutcome;

    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // Start-up: fills the list, runs the Open routine, reads the launcher
    // path. Returns false when the program cannot go on (no usable
    // Leagues.ini); the user has then been told why.
    bool Form_Load();

    // The start-up work the first paint does not need, run from the event
    // loop right after the window's first paint: fills the pickers' lists
    // (the category identifiers and the name catalogue). Runs once; later
    // calls do nothing.
    void afterFirstPaint();

    // The Open routine: reads the game's file name from Leagues.ini, loads the
    // block and presents it. Returns false when Leagues.ini could not be read.
    bool MnuFileOpen_Click();

    // Opens the game executable at `game` instead of the one Leagues.ini
    // names (kelvory --game PATH). Call before Form_Load.
    void setGame(const std::filesystem::path& game) { gameOverride_ = game; }

    // Writes every shown value into its box.
    void Pokaz_Dane();

    // The copy-back pass, run on every text change of any member (held back
    // while Pokaz_Dane fills the boxes, which runs it once at its end).
    void txt_Change(int index);

    // Save asks first when another program changed the file since it was
    // loaded or saved (Overwrite, Reload, Cancel); Save and Start Game starts
    // the launcher only after a save that wrote.
    SaveOutcome Cmd_Zapisz_Click();
    void cmd_Save_Start_Game_Click();
    // Menu > Restore Original Values: offers the recorded blocks and puts the
    // one chosen in as unsaved edits.
    void RestoreOriginal_Click();
    void Open_Click();
    void Exit_Click();

    // Whether the block differs from what the last load or successful save
    // left in the file. Always false while no block is loaded.
    bool hasUnsavedChanges() const;

    // Puts the values a setup names into the boxes as unsaved edits: one undo
    // step, "Import League Setup". Nothing is written until Save.
    void importSetup(const SetupPreview& preview);
    // Puts a recorded block back whole (every field, the hidden map slots and
    // the reserved bytes) as unsaved edits: one undo step, "Restore Original
    // Values".
    void restoreBlock(const RecordedBlock& recorded);

    // The block as the file held it after the last load or successful save.
    const Baza::Block& savedBlock() const;

    // The Edit menu: undo and redo of the last step, putting back every
    // field as last loaded or saved (after asking, when something is
    // changed), and the list of the changed fields.
    void mnuUndo_Click();
    void mnuRedo_Click();
    void mnuRevert_Click();
    void mnuShowChanges_Click();
    // Puts back one field's value as last loaded or saved: one undo step.
    void revertField(const Field& field);
    // Steps a numeric box's value by `by` (Up and Down: one; Page Up and
    // Page Down: ten), from what its text reads or else from its field's
    // value, within what the field can hold: one undo step. Does nothing
    // while no block is loaded.
    void stepBox(const Field& field, int by);
    // The context menu of a field's box or picker (`control`): the text
    // field's own entries, with the window's Undo and Redo in place of the
    // text field's, and "Revert to Saved Value". The caller owns it.
    QMenu* fieldMenu(QWidget* control, const Field& field);

    // Runs the handler of picker ComboN as a typed change or as a choice from
    // its list would: the picker's text goes into the box beside it, and a
    // category picker stores it into its field.
    void Combo_Change(int number);

    // Access for the program's own tests and tools.
    LeagueSession& session() { return *session_; }
    const Baza& baza() const;
    const FormControls& controls() const { return form_; }
    QLineEdit* txt(int member) const;
    QComboBox* combo(int number) const;
    QAction* action(const QString& name) const;
    std::filesystem::path gamePath() const;
    int passCount() const { return passCount_; }
    QUndoStack& undoStack();

    // The locale that typed numbers are read in (the user's, by default).
    void setNumberLocale(const QLocale& locale) { numberLocale_ = locale; }

protected:
    // Exit and the close box: asks what to do with unsaved changes.
    void closeEvent(QCloseEvent* event) override;
    // The first paint of the client area schedules afterFirstPaint.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Hands a numeric box's text to the session, which stores it or notes
    // that it cannot be stored, and draws the box's not-stored mark from what
    // the session holds (nothing is marked while no block is loaded). The
    // mark carries its reason as tooltip and description.
    void storeBox(const Field& field);
    // Brings every file-name indicator in step with the logo box on its row.
    void refreshIndicators();
    // Makes every picker show the entry of its box's value: the paired name
    // for a name box, the category text for a category box, its caption when
    // no entry has the value. A picker that is being typed into keeps the
    // typed text (NamePicker::showValue).
    void refreshPickers();
    // A name chosen in a paired name picker: its number goes into the box
    // beside it, one undo step.
    void chooseName(const Field& field, long long number);
    // Gives every box and picker its help (what it is, its ranges) as
    // tooltip, accessible description and What's This.
    void explainFields();

    // Brings the changed marks of every box and picker, and the title's
    // modified state, in step with the block.
    void refreshChanges();
    // What the window shows now, and putting such a state back.
    WindowState currentState() const;
    void showState(const WindowState& state);

    // Runs `change` on the session's values as one undo step named `what`,
    // and shows the values it leaves. Does nothing while no block is loaded.
    void editStep(const QString& what, const std::function<void()>& change);

    // Says why Leagues.ini cannot be used and, when there is none, offers to
    // write it by choosing the game executable. Returns true once written.
    bool offerLeaguesIni(const ConfigResult& config);

    void buildMenus();
    // Undo and Redo are enabled while the history has a step to take.
    void connectEditMenu();
    // Restore Original Values is offered only once a record exists.
    void updateRestoreAction();
    void connectHandlers();
    void connectHistory(const Field& field);

    FormControls form_;
    std::unique_ptr<CatalogueHost> host_;  // how ini_ reaches the controls
    std::unique_ptr<LeagueSession> session_;
    std::unique_ptr<Ini> ini_;
    std::unique_ptr<Polancz> polancz_;
    std::unique_ptr<NameCatalogue> names_;  // read by afterFirstPaint
    NameLists* nameLists_ = nullptr;        // the name pickers' lists, made from names_
    QHash<int, NamePicker*> namePickers_;   // each name picker's part in them, by picker number
    std::filesystem::path programFolder_;
    std::filesystem::path gameOverride_;  // kelvory --game PATH
    QLocale numberLocale_;
    int passCount_ = 0;
    bool presenting_ = false;
    bool listsFilled_ = false;  // afterFirstPaint has run
    std::unique_ptr<EditHistory> history_;
    QObject* typedInto_ = nullptr;      // the box whose keystroke the next pass completes
    QComboBox* typedPicker_ = nullptr;  // the picker whose typed text is being handed to its box
};
