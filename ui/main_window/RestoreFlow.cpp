#include "ui/main_window/RestoreFlow.h"

#include <QDateTime>
#include <QStringList>
#include <system_error>
#include <tuple>

#include "core/Fields.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "platform/Text.h"
#include "store/OriginalRecord.h"
#include "store/RecordFile.h"
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
bool sameExecutableOrGoOn(QWidget* owner, const std::filesystem::path& game, const RecordedExecutable& recorded) {
    ExecutableIdentity identity;
    try {
        identity = identityOf(game);
    } catch (const FileError& error) {
        tellUser(owner, platform::MessageIcon::Warning,
                 QStringLiteral("The game executable cannot be read.\n\n%1\n%2")
                     .arg(platform::pathToText(game), platform::fromUtf8(error.reason())));
        return false;
    }
    if (identity == recorded.identity) {
        return true;
    }
    const QString text =
        QStringLiteral(
            "The game executable changed since the record of its original values was taken on %1: it was %2 bytes "
            "long then and is %3 bytes now, or its first bytes differ. The game may have been updated or replaced, "
            "and the recorded values may not fit it.\n\nShow the recorded values anyway?")
            .arg(localDate(recorded.original.date))
            .arg(recorded.identity.size)
            .arg(identity.size);
    return platform::services().askChoice(owner, platform::MessageIcon::Warning, kApplicationTitle, text,
                                          {QStringLiteral("&Show Them"), QStringLiteral("Cancel")}, 1) == 0;
}

}  // namespace

bool hasOriginalRecord(const std::filesystem::path& game) {
    try {
        const RecordPlace place(platform::services().dataFolder(), game);
        return platform::fileSystem().entryKind(place.file()) == platform::EntryKind::RegularFile;
    } catch (const std::exception&) {
        return false;
    }
}

std::optional<Baza::Block> chooseRecordedBlock(QWidget* owner, const std::filesystem::path& game,
                                               const Baza::Block& shown) {
    std::filesystem::path file;
    std::optional<OriginalRecord> record;
    try {
        const RecordPlace place(platform::services().dataFolder(), game);
        file = place.file();
        const auto lock = place.lock(kRecordLockWait);
        record = place.read();
    } catch (const std::exception& error) {
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
    // The executable now at the path, or the newest one met there.
    const RecordedExecutable* matching = nullptr;
    try {
        matching = record->find(identityOf(game));
    } catch (const FileError&) {
    }
    const RecordedExecutable& recorded = matching ? *matching : record->executables.back();
    if (!sameExecutableOrGoOn(owner, game, recorded)) {
        return std::nullopt;
    }
    std::vector<Baza::Block> blocks{baza_regions::blockOf(recorded.original.bytes)};
    QStringList lines{QStringLiteral("Original values, recorded %1: %2")
                          .arg(localDate(recorded.original.date), differences(blocks.front(), shown))};
    for (auto it = recorded.history.rbegin(); it != recorded.history.rend(); ++it) {
        blocks.push_back(baza_regions::blockOf(it->bytes));
        lines
            << QStringLiteral("Before the save of %1: %2").arg(localDate(it->date), differences(blocks.back(), shown));
    }
    const int chosen = platform::services().chooseFromList(
        owner, kCaption,
        QStringLiteral("Kelvory recorded the original values of this game executable on %1, before its first save "
                       "into it, and the values before each later save. The values chosen go into the window as "
                       "changes; nothing is written until you save.")
            .arg(localDate(recorded.original.date)),
        lines, 0, QStringLiteral("&Restore"));
    if (chosen < 0 || chosen >= static_cast<int>(blocks.size())) {
        return std::nullopt;
    }
    return blocks[static_cast<std::size_t>(chosen)];
}
