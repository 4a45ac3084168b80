#include "ui/main_window/SaveFlow.h"

#include <QLineEdit>
#include <QStringList>

#include "core/Fields.h"
#include "platform/BinaryFile.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "platform/Text.h"
#include "store/BlockSave.h"
#include "ui/main_window/FieldMarks.h"
#include "ui/main_window/FieldText.h"
#include "ui/main_window/FormLayout.h"
#include "ui/main_window/Messages.h"

namespace {

QString refusedText(const QStringList& marked) {
    return QStringLiteral(
               "Nothing was saved: the game executable was not changed.\n\n"
               "These boxes hold values that cannot be stored:\n%1\n\n"
               "Correct them, then save again.")
        .arg(marked.join(QLatin1Char('\n')));
}

QString notLoadedText(const std::filesystem::path& lookedAt) {
    return QStringLiteral(
               "Nothing was saved: no game executable was loaded when Kelvory started.\n\n"
               "Kelvory looked for it at:\n%1\n\n"
               "Make sure line 2 of Leagues.ini names the game executable in Kelvory's "
               "folder, then start Kelvory again.")
        .arg(platform::pathToText(lookedAt));
}

// The same words as every other program part that saves the block.
QString failedText(const SaveError& error) {
    return platform::fromUtf8(saveFailureMessage(error));
}

}  // namespace

QStringList markedBoxes(const FormControls& form) {
    QStringList marked;
    for (const Field& field : fields()) {
        const QLineEdit* box = form.box(field);
        if (!fieldMark(box).isEmpty()) {
            marked << QStringLiteral("%1: \"%2\" (allowed: %3)").arg(fieldName(field), box->text(), allowedText(field));
        }
    }
    return marked;
}

SaveOutcome saveBlock(QWidget* owner, Baza& baza, const FormControls& form, const SaveTarget& target, FileState& saved,
                      FileState& onDisk) {
    if (!baza.loaded()) {
        tellUser(owner, platform::MessageIcon::Warning, notLoadedText(target.lookedAt));
        return SaveOutcome::NotLoaded;
    }
    const QStringList marked = markedBoxes(form);
    if (!marked.isEmpty()) {
        tellUser(owner, platform::MessageIcon::Warning, refusedText(marked));
        return SaveOutcome::Refused;
    }
    const auto askAboutChange = [owner](const DiskState& disk) {
        const int answer = platform::services().askChoice(
            owner, platform::MessageIcon::Warning, kApplicationTitle,
            platform::fromUtf8(outsideChangeQuestion(disk.change)),
            {QStringLiteral("&Overwrite"), QStringLiteral("&Reload"), QStringLiteral("Cancel")}, 2);
        return answer == 0   ? OutsideChangeAnswer::Overwrite
               : answer == 1 ? OutsideChangeAnswer::Reload
                             : OutsideChangeAnswer::Cancel;
    };
    try {
        // The location box shows the path readably; the save goes to the
        // exact path behind it.
        const BlockSaveResult result = saveLeagueBlock(baza, Expected{saved.block, saved.stamp}, target.location,
                                                       platform::services().dataFolder(), askAboutChange);
        switch (result.status) {
            case BlockSaveResult::Status::NotLoaded:
                tellUser(owner, platform::MessageIcon::Warning, notLoadedText(target.lookedAt));
                return SaveOutcome::NotLoaded;
            case BlockSaveResult::Status::Cancelled:
                return SaveOutcome::Cancelled;
            case BlockSaveResult::Status::Reload:
                onDisk = {result.save.disk.block, result.save.disk.stamp};
                return SaveOutcome::Reload;
            case BlockSaveResult::Status::Saved:
                saved = {baza.block(), result.save.stamp};
                break;
        }
    } catch (const FileError& error) {
        tellUser(owner, platform::MessageIcon::Critical, failedText(error));
        return SaveOutcome::Failed;
    } catch (const SafeSaveError& error) {
        if (error.kind() == SafeSaveError::Kind::PutBack && error.stampAfter().size >= 0) {
            saved.stamp = error.stampAfter();  // the put-back wrote the same bytes again
        }
        tellUser(owner, platform::MessageIcon::Critical, platform::fromUtf8(saveFailureMessage(error)));
        return SaveOutcome::Failed;
    } catch (const std::exception& error) {
        tellUser(owner, platform::MessageIcon::Critical,
                 QStringLiteral("The game executable could not be saved.\n\n%1\n%2")
                     .arg(form.Lokalizacja->text(), platform::fromUtf8(error.what())));
        return SaveOutcome::Failed;
    }
    tellUser(owner, platform::MessageIcon::Information, QStringLiteral("Save Successfully"));
    return SaveOutcome::Saved;
}
