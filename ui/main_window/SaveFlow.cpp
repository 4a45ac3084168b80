#include "ui/main_window/SaveFlow.h"

#include "platform/Services.h"
#include "platform/Text.h"
#include "session/Messages.h"
#include "ui/main_window/Messages.h"

SaveOutcome saveBlock(QWidget* owner, LeagueSession& session, DiskState& disk) {
    const auto askAboutChange = [owner](const DiskState& found) {
        const int answer = platform::services().askChoice(
            owner, platform::MessageIcon::Warning, kApplicationTitle,
            platform::fromUtf8(outsideChangeQuestion(found.change)),
            {QStringLiteral("&Overwrite"), QStringLiteral("&Reload"), QStringLiteral("Cancel")}, 2);
        return answer == 0   ? OutsideChangeAnswer::Overwrite
               : answer == 1 ? OutsideChangeAnswer::Reload
                             : OutsideChangeAnswer::Cancel;
    };
    const LeagueSession::SaveResult result = session.save(askAboutChange);
    disk = result.disk;
    tell(owner, result.told);
    return result.status;
}
