#include "ui/main_window/RestoreFlow.h"

#include <QCoreApplication>

#include <QDateTime>
#include <QStringList>

#include "core/Fields.h"
#include "platform/Services.h"
#include "platform/Text.h"
#include "session/LeagueSession.h"
#include "ui/main_window/Telling.h"

namespace {

// In the window's language, so asked for once it is chosen.
QString caption() {
    return QCoreApplication::translate("RestoreFlow", "Restore Original Values");
}

QString differences(const Baza::Block& recorded, const Baza::Block& shown) {
    const auto count = changedFields(recorded, shown).size();
    if (count == 0) {
        return QCoreApplication::translate("RestoreFlow", "the same values as the window");
    }
    return count == 1 ? QCoreApplication::translate("RestoreFlow", "1 field differs from the window")
                      : QCoreApplication::translate("RestoreFlow", "%1 fields differ from the window").arg(count);
}

QString lineFor(const RecordedBlock& recorded, const Baza::Block& now) {
    const QString date = QString::fromStdString(localDate(recorded.date));
    QString differ = differences(recorded.block, now);
    if (!recorded.recordedAt.empty()) {  // carried over from the record of a moved, copied or patched game
        differ += QStringLiteral("; ") + shown(messages::recordedAt(recorded.recordedAt, recorded.date));
    }
    switch (recorded.kind) {
        case RecordedBlock::Kind::Original:
            return QCoreApplication::translate("RestoreFlow", "Original values, recorded %1: %2").arg(date, differ);
        case RecordedBlock::Kind::BeforeSave:
            return QCoreApplication::translate("RestoreFlow", "Before the save of %1: %2").arg(date, differ);
        case RecordedBlock::Kind::EarlierOriginal:
            return QCoreApplication::translate(
                       "RestoreFlow", "Original values of an earlier game executable (%1 bytes), recorded %2: %3")
                .arg(recorded.size)
                .arg(date, differ);
    }
    return date;
}

}  // namespace

std::optional<RecordedBlock> chooseRecordedBlock(QWidget* owner, const LeagueSession& session) {
    if (!session.loaded()) {
        return std::nullopt;
    }
    const RestoreChoice choice = session.restoreChoice();
    if (!choice.problem.words.empty()) {
        tell(owner, choice.problem);
        return std::nullopt;
    }
    if (!choice.otherExecutable.empty() &&
        platform::services().askChoice(
            owner, platform::MessageIcon::Warning, kApplicationTitle,
            shown(choice.otherExecutable) +
                QCoreApplication::translate("RestoreFlow", "\n\nShow the recorded values anyway?"),
            {QCoreApplication::translate("RestoreFlow", "&Show Them"),
             QCoreApplication::translate("RestoreFlow", "Cancel")},
            1) != 0) {
        return std::nullopt;
    }
    const Baza::Block& now = session.values();
    QStringList lines;
    for (const RecordedBlock& recorded : choice.blocks) {
        lines << lineFor(recorded, now);
    }
    QString text = QCoreApplication::translate(
                       "RestoreFlow",
                       "Kelvory recorded the original values of this game executable on %1, before its first save "
                       "into it, and the values before each later save. The values chosen go into the window as "
                       "changes; nothing is written until you save.")
                       .arg(QString::fromStdString(localDate(choice.blocks.front().date)));
    if (!choice.newestTaken.empty()) {
        text += QStringLiteral("\n\n") + shown(choice.newestTaken);
    }
    const int chosen = platform::services().chooseFromList(owner, caption(), text, lines, 0,
                                                           QCoreApplication::translate("RestoreFlow", "&Restore"));
    if (chosen < 0 || chosen >= lines.size()) {
        return std::nullopt;
    }
    return choice.blocks[static_cast<std::size_t>(chosen)];
}
