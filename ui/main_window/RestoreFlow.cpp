#include "ui/main_window/RestoreFlow.h"

#include <QDateTime>
#include <QStringList>
#include <system_error>
#include <tuple>

#include "core/Fields.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "platform/Text.h"
#include "store/OriginalRecord.h"
#include "store/SafeSave.h"
#include "ui/main_window/Messages.h"

namespace {

const QString kCaption = QStringLiteral("Restore Original Values");

// A record's UTC date in the user's local time.
QString localDate(const std::string& date) {
    QDateTime time = QDateTime::fromString(QString::fromStdString(date), Qt::ISODate);
    if (!time.isValid()) {
        return QString::fromStdString(date);
    }
    return time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString differences(const Baza::Block& recorded, const Baza::Block& shown) {
    const auto count = changedFields(recorded, shown).size();
    if (count == 0) {
        return QStringLiteral("the same values as the window");
    }
    return count == 1 ? QStringLiteral("1 field differs from the window")
                      : QStringLiteral("%1 fields differ from the window").arg(count);
}

// Whether the executable is the one the record was taken of; when not, asks
// whether to go on.
bool sameExecutableOrGoOn(QWidget* owner, const std::filesystem::path& game, const OriginalRecord& record) {
    std::int64_t size = -1;
    std::string head;
    try {
        std::tie(size, head) = identityOf(game);
    } catch (const FileError& error) {
        tellUser(owner, platform::MessageIcon::Warning,
                 QStringLiteral("The game executable cannot be read.\n\n%1\n%2")
                     .arg(platform::pathToText(game), platform::fromUtf8(error.reason())));
        return false;
    }
    if (size == record.size && head == record.headSha256) {
        return true;
    }
    const QString text =
        QStringLiteral(
            "The game executable changed since the record of its original values was taken on %1: it was %2 bytes "
            "long then and is %3 bytes now, or its first bytes differ. The game may have been updated or replaced, "
            "and the recorded values may not fit it.\n\nShow the recorded values anyway?")
            .arg(localDate(record.original.date))
            .arg(record.size)
            .arg(size);
    return platform::services().askChoice(owner, platform::MessageIcon::Warning, kApplicationTitle, text,
                                          {QStringLiteral("&Show Them"), QStringLiteral("Cancel")}, 1) == 0;
}

}  // namespace

bool hasOriginalRecord(const std::filesystem::path& game) {
    const std::filesystem::path folder = platform::services().dataFolder();
    if (folder.empty() || game.empty()) {
        return false;
    }
    std::error_code error;
    return std::filesystem::is_regular_file(recordFileFor(folder, game), error);
}

std::optional<Baza::Block> chooseRecordedBlock(QWidget* owner, const std::filesystem::path& game,
                                               const Baza::Block& shown) {
    const std::filesystem::path file = recordFileFor(platform::services().dataFolder(), game);
    std::optional<OriginalRecord> record;
    try {
        record = readRecordFile(file);
    } catch (const RecordError& error) {
        tellUser(owner, platform::MessageIcon::Warning,
                 QStringLiteral("The record of the original values cannot be read.\n\n%1\n%2")
                     .arg(platform::pathToText(file), platform::fromUtf8(error.what())));
        return std::nullopt;
    }
    if (!record) {
        tellUser(owner, platform::MessageIcon::Information,
                 QStringLiteral("There is no record of the original values of this game executable yet: Kelvory "
                                "takes one at its first save into it."));
        return std::nullopt;
    }
    if (!sameExecutableOrGoOn(owner, game, *record)) {
        return std::nullopt;
    }
    std::vector<Baza::Block> blocks{baza_regions::blockOf(record->original.bytes)};
    QStringList lines{QStringLiteral("Original values, recorded %1: %2")
                          .arg(localDate(record->original.date), differences(blocks.front(), shown))};
    for (auto it = record->history.rbegin(); it != record->history.rend(); ++it) {
        blocks.push_back(baza_regions::blockOf(it->bytes));
        lines
            << QStringLiteral("Before the save of %1: %2").arg(localDate(it->date), differences(blocks.back(), shown));
    }
    const int chosen = platform::services().chooseFromList(
        owner, kCaption,
        QStringLiteral("Kelvory recorded the original values of this game executable on %1, before its first save "
                       "into it, and the values before each later save. The values chosen go into the window as "
                       "changes; nothing is written until you save.")
            .arg(localDate(record->original.date)),
        lines, 0, QStringLiteral("&Restore"));
    if (chosen < 0 || chosen >= static_cast<int>(blocks.size())) {
        return std::nullopt;
    }
    return blocks[static_cast<std::size_t>(chosen)];
}
