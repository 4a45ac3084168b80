#include "ui/main_window/SaveFlow.h"

#include <QCoreApplication>

#include "platform/Services.h"
#include "platform/Text.h"
#include "session/Messages.h"
#include "ui/main_window/Telling.h"

namespace {

// A question with the program's own buttons; the last one is the way out.
int ask(QWidget* owner, const Words& text, const QStringList& buttons, int preselected) {
    return platform::services().askChoice(owner, platform::MessageIcon::Warning, kApplicationTitle, shown(text),
                                          buttons, preselected);
}

}  // namespace

SaveOutcome saveBlock(QWidget* owner, LeagueSession& session, DiskState& disk) {
    SaveQuestions questions;
    questions.outsideChange = [owner](const DiskState& found) {
        const int answer =
            ask(owner, messages::outsideChangeQuestion(found.change),
                {QCoreApplication::translate("SaveFlow", "&Overwrite"),
                 QCoreApplication::translate("SaveFlow", "&Reload"), QCoreApplication::translate("SaveFlow", "Cancel")},
                2);
        return answer == 0   ? OutsideChangeAnswer::Overwrite
               : answer == 1 ? OutsideChangeAnswer::Reload
                             : OutsideChangeAnswer::Cancel;
    };
    const auto saveAnyway = [owner](const Words& question) {
        return ask(owner, question,
                   {QCoreApplication::translate("SaveFlow", "Save &Anyway"),
                    QCoreApplication::translate("SaveFlow", "Cancel")},
                   1) == 0;
    };
    questions.outsideGame = saveAnyway;
    questions.notABlock = saveAnyway;
    questions.gameRunning = [owner](const Words& question) {
        const int answer = ask(
            owner, question,
            {QCoreApplication::translate("SaveFlow", "&Retry"), QCoreApplication::translate("SaveFlow", "Save &Anyway"),
             QCoreApplication::translate("SaveFlow", "Cancel")},
            0);
        return answer == 0 ? RunningAnswer::Retry : answer == 1 ? RunningAnswer::SaveAnyway : RunningAnswer::Cancel;
    };
    // Setting the record aside saves at once: the user asked to save. Cancel
    // leaves it all as it was, said in the question already.
    bool declined = false;
    questions.damagedRecord = [owner, &declined](const Words& question) {
        declined = platform::services().askChoice(
                       owner, platform::MessageIcon::Critical, kApplicationTitle, shown(question),
                       {QCoreApplication::translate("SaveFlow", "&Set Aside and Start a New Record"),
                        QCoreApplication::translate("SaveFlow", "Cancel")},
                       1) != 0;
        return !declined;
    };
    LeagueSession::SaveResult result = session.save(questions);
    disk = result.disk;
    if (!result.carried.empty()) {
        result.told.words = Words::joined({result.told.words, result.carried}, "\n\n");
    }
    if (!declined) {
        tell(owner, result.told);
    }
    return result.status;
}
