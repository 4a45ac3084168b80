#include "cli/Cli.h"

#include <cstdlib>
#include <optional>

#include "catalogues/Ini.h"
#include "cli/CommandLine.h"
#include "cli/Json.h"
#include "core/GameRanges.h"
#include "core/Hex.h"
#include "platform/CodePage.h"
#include "platform/ConsoleProgram.h"
#include "platform/FileNames.h"
#include "session/LeagueSession.h"
#include "setup/LeagueSetup.h"

#ifndef KELVORY_VERSION
#define KELVORY_VERSION "unknown"
#endif

namespace {

// --- What the console takes ---

// UTF-8 when the locale's character set is (the first of LC_ALL, LC_CTYPE
// and LANG that is set names it); ASCII otherwise, as in the C locale.
Charset consoleCharset() {
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) {
            std::string set = value;
            for (char& c : set) {
                c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
            }
            return set.find("utf-8") != std::string::npos || set.find("utf8") != std::string::npos ? Charset::Utf8
                                                                                                   : Charset::Ascii;
        }
    }
#ifdef _WIN32
    return Charset::Utf8;  // the console program sets the console to UTF-8
#else
    return Charset::Ascii;
#endif
}

// A message in the console's characters: Kelvory's own typographic ones
// become ASCII where the console does not take UTF-8.
std::string inCharset(std::string text, Charset charset) {
    if (charset == Charset::Utf8) {
        return text;
    }
    static const std::pair<std::string, std::string> kAscii[] = {{"→", "->"}, {"…", "..."}, {"“", "\""},
                                                                 {"”", "\""}, {"‘", "'"},   {"’", "'"}};
    for (const auto& [typographic, ascii] : kAscii) {
        for (std::size_t at = text.find(typographic); at != std::string::npos;
             at = text.find(typographic, at + ascii.size())) {
            text.replace(at, typographic.size(), ascii);
        }
    }
    return text;
}

// --- The block as results ---

// The short ASCII name of a field: liga_1, str_5, cat_2, catl_3, map_13.
std::string fieldId(const Field& field) {
    const char* kind = "";
    switch (field.kind) {
        case FieldKind::Liga:
            kind = "liga";
            break;
        case FieldKind::Str:
            kind = "str";
            break;
        case FieldKind::Cat:
            kind = "cat";
            break;
        case FieldKind::CatL:
            kind = "catl";
            break;
        case FieldKind::Map:
            kind = "map";
            break;
    }
    return std::string(kind) + "_" + std::to_string(field.index + 1);
}

// How many map slots the window shows: the rest are hidden.
int shownMapSlots() {
    int shown = 0;
    for (const Field& field : fields()) {
        shown += field.kind == FieldKind::Map ? 1 : 0;
    }
    return shown;
}

template <typename Bytes>
void appendHex(std::string& digits, const Bytes& bytes) {
    for (const std::uint8_t byte : bytes) {
        digits += hex::byte(byte);
    }
}

// The bytes of the block that no box shows, in three parts.
struct HiddenPart {
    const char* key;
    std::string (*hexOf)(const Baza::Block& block);
};

const HiddenPart kHidden[] = {
    {"map_slots",
     [](const Baza::Block& block) {
         std::string digits;
         for (std::size_t i = static_cast<std::size_t>(shownMapSlots()); i < block.map.size(); ++i) {
             digits += hex::byte(block.map[i]);
         }
         return digits;
     }},
    {"str_reserved",
     [](const Baza::Block& block) {
         std::string digits;
         for (const auto& pair : block.strReserved) {
             appendHex(digits, pair);
         }
         return digits;
     }},
    {"cat_reserved",
     [](const Baza::Block& block) {
         std::string digits;
         appendHex(digits, block.catReserved);
         return digits;
     }},
};

Json hiddenJson(const Baza::Block& block) {
    Json hidden = Json::object();
    for (const HiddenPart& part : kHidden) {
        hidden.set(part.key, Json::text(part.hexOf(block)));
    }
    return hidden;
}

bool sameHidden(const Baza::Block& a, const Baza::Block& b) {
    for (const HiddenPart& part : kHidden) {
        if (part.hexOf(a) != part.hexOf(b)) {
            return false;
        }
    }
    return true;
}

Json valueJson(const SetupValue& value) {
    return value.field->kind == FieldKind::Cat ? Json::text(codepage::decode(value.text)) : Json::number(value.number);
}

Json fieldJson(const SetupValue& value, const Baza::Block& block) {
    const Field& field = *value.field;
    Json storable = Json::object();
    if (const std::optional<FieldRange> range = fieldRange(field.kind)) {
        storable.set("min", Json::number(range->minimum)).set("max", Json::number(range->maximum));
    } else {
        storable.set("length", Json::number(Baza::CatLength)).set("code_page", Json::number(1252));
    }
    const GameRange& game = gameRange(field.kind);
    return Json::object()
        .set("key", Json::text(setupName(field)))
        .set("id", Json::text(fieldId(field)))
        .set("value", valueJson(value))
        .set("storable", std::move(storable))
        .set("game_range", Json::object()
                               .set("min", Json::number(game.minimum))
                               .set("max", Json::number(game.maximum))
                               .set("text", Json::text(game.values)))
        .set("outside_game", Json::boolean(outsideGameRange(block, field).has_value()));
}

const char* kindName(RecordedBlock::Kind kind) {
    switch (kind) {
        case RecordedBlock::Kind::Original:
            return "original";
        case RecordedBlock::Kind::BeforeSave:
            return "before-save";
        case RecordedBlock::Kind::EarlierOriginal:
            return "earlier-original";
    }
    return "";
}

Json entryJson(std::size_t number, const RecordedBlock& entry, const Baza::Block& now) {
    return Json::object()
        .set("number", Json::number(static_cast<long long>(number)))
        .set("kind", Json::text(kindName(entry.kind)))
        .set("date", Json::text(localIsoDate(entry.date)))
        .set("changed_fields", Json::number(static_cast<long long>(changedFields(entry.block, now).size())))
        .set("hidden_differs", Json::boolean(!sameHidden(entry.block, now)))
        .set("executable_size", Json::number(entry.size))
        .set("recorded_at", entry.recordedAt.empty()
                                ? Json()
                                : Json::text(platform::pathToShow(std::filesystem::u8path(entry.recordedAt))));
}

// "recorded <date>", or for an entry carried over from another record where
// and when it was recorded.
std::string recordedWords(const RecordedBlock& entry) {
    return entry.recordedAt.empty() ? "recorded " + localIsoDate(entry.date)
                                    : messages::recordedAt(entry.recordedAt, entry.date, Wording::Console).english();
}

// --- The help's descriptions of the JSON documents ---

constexpr const char* kChangesJson =
    "With --json: {\"game\": the game executable's path, \"changes\": one object per box that would change, in the "
    "window's order, \"hidden\": null, or where the bytes no box shows would change (restore only) {\"from\": ..., "
    "\"to\": ...} in the form of \"kelvory-cli help show\"}. A change is {\"key\": the box's name in a setup file, "
    "\"id\": its short name (as show gives it), \"from\" and \"to\": the values (a number, or a category's 11 "
    "characters), \"outside_game\": whether the new value lies outside what the game takes}.";

constexpr const char* kAsciiJson =
    "The document is ASCII: any other character is written as a \\u escape. Keys stay as they are from one version "
    "to the next; new keys may be added.";

// --- Running a command ---

struct Context {
    std::filesystem::path programFolder;
    std::filesystem::path recordFolder;
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
};

const std::vector<CommandSpec>& commandTable();

}  // namespace

class Runner {
public:
    Runner(const CommandLine& line, const Context& context)
        : line_(line),
          context_(context),
          session_(context.recordFolder, Wording::Console),
          out_(context.out),
          err_(context.err),
          charset_(consoleCharset()) {}

    // Whether the command saved into the game executable.
    bool savedGame() const { return saved_; }

    CliExit help() {
        const CommandSpec* command = findCommand(commandTable(), line_.operand);
        out_ << (command ? commandHelp(*command) : usageText(commandTable()));
        return CliExit::Done;
    }

    CliExit completion() {
        out_ << bashCompletion(commandTable());
        return CliExit::Done;
    }

    CliExit show() {
        if (!loadGame()) {
            return CliExit::GameUnreadable;
        }
        warnNotABlock();
        const Baza::Block& block = session_.values();
        const Setup values = setupOf(session_.baza());
        if (has(kJson)) {
            Json list = Json::array();
            for (const SetupValue& value : values) {
                list.push(fieldJson(value, block));
            }
            out_ << Json::object()
                        .set("game", Json::text(platform::pathToShow(session_.game())))
                        .set("looks_like_block", Json::boolean(session_.notABlockWarning().empty()))
                        .set("fields", std::move(list))
                        .set("hidden", hiddenJson(block))
                        .write();
            return CliExit::Done;
        }
        out_ << writeSetup(values, [&block](const SetupValue& value) {
            return outsideGameRange(block, *value.field)
                       ? std::string("outside what the game takes: ") + gameRange(value.field->kind).words
                       : std::string();
        });
        return CliExit::Done;
    }

    CliExit exportSetup() {
        if (!loadGame()) {
            return CliExit::GameUnreadable;
        }
        warnNotABlock();
        const Setup values = setupOf(session_.baza());
        if (line_.operand == "-") {
            out_ << writeSetup(values);
            return CliExit::Done;
        }
        try {
            writeSetupFile(platform::argumentPath(line_.operand), values);
        } catch (const SetupError& error) {
            say(error.what());
            return CliExit::SetupInvalid;
        }
        return CliExit::Done;
    }

    CliExit diff() { return applySetup(); }

    CliExit apply() { return applySetup(); }

    CliExit history() {
        if (!loadGame()) {
            return CliExit::GameUnreadable;
        }
        const RestoreChoice choice = session_.restoreChoice();
        if (!choice.problem.words.empty()) {
            say(choice.problem.words.english());
            return CliExit::NoRecord;
        }
        if (!choice.otherExecutable.empty()) {
            warn(choice.otherExecutable.english());
        }
        if (!choice.newestTaken.empty()) {
            say(choice.newestTaken.english());
        }
        const Baza::Block& now = session_.values();
        if (has(kJson)) {
            Json entries = Json::array();
            for (std::size_t i = 0; i < choice.blocks.size(); ++i) {
                entries.push(entryJson(i + 1, choice.blocks[i], now));
            }
            out_ << Json::object()
                        .set("game", Json::text(platform::pathToShow(session_.game())))
                        .set("record", Json::text(platform::pathToShow(choice.recordFile)))
                        .set("other_executable", Json::boolean(!choice.otherExecutable.empty()))
                        .set("entries", std::move(entries))
                        .write();
            return CliExit::Done;
        }
        for (std::size_t i = 0; i < choice.blocks.size(); ++i) {
            const RecordedBlock& entry = choice.blocks[i];
            const std::size_t changed = changedFields(entry.block, now).size();
            std::string kind = kindName(entry.kind);
            kind.resize(16, ' ');
            out_ << (i < 9 ? " " : "") << i + 1 << "  " << kind << "  " << localIsoDate(entry.date) << "  " << changed
                 << (changed == 1 ? " field differs" : " fields differ")
                 << (sameHidden(entry.block, now) ? "" : ", and hidden bytes")
                 << (entry.recordedAt.empty() ? "" : "; " + inCharset(recordedWords(entry), charset_)) << "\n";
        }
        return CliExit::Done;
    }

    CliExit restore() {
        if (!loadGame()) {
            return CliExit::GameUnreadable;
        }
        if (!checkBlockLook()) {
            return CliExit::Refused;
        }
        const RestoreChoice choice = session_.restoreChoice();
        if (!choice.problem.words.empty()) {
            say(choice.problem.words.english());
            return CliExit::NoRecord;
        }
        const std::size_t number = line_.operand == "original" ? 1 : std::stoul(line_.operand);
        if (number > choice.blocks.size()) {
            say("The record holds no entry " + line_.operand + ": \"kelvory-cli history\" lists " +
                std::to_string(choice.blocks.size()) + ".");
            return CliExit::NoRecord;
        }
        const RecordedBlock& entry = choice.blocks[number - 1];
        say("Entry " + std::to_string(number) + ": " + kindName(entry.kind) + ", " + recordedWords(entry) + ".");
        if (!choice.newestTaken.empty()) {
            say(choice.newestTaken.english());
        }
        // Values recorded of another executable than this one need --force.
        Words other = choice.otherExecutable;
        if (entry.kind == RecordedBlock::Kind::EarlierOriginal) {
            other = Words::value("Entry " + std::to_string(number) +
                                 " holds the original values of an earlier game executable at this path (" +
                                 std::to_string(entry.size) + " bytes).");
        }
        const Json entryDocument = entryJson(number, entry, session_.values());
        if (entry.block == session_.values()) {
            say("Nothing to restore: the game executable holds these values.");
            if (has(kJson)) {
                listChanges(entryDocument, !other.empty());
            }
            return CliExit::Done;
        }
        session_.restore(entry);
        listChanges(entryDocument, !other.empty());
        if (!other.empty()) {
            warn(other.english());
            if (!dryRun() && !forced("restoring values recorded of a different executable")) {
                return refuse(CliExit::Refused, "Nothing was written. Give --force to restore them anyway.");
            }
        }
        return dryRun() ? CliExit::Done : save();
    }

    CliExit setAsideRecord() {
        if (!loadGame()) {
            return CliExit::GameUnreadable;
        }
        const SetAsideResult aside = session_.setAsideRecord();
        say(aside.told.words.english());
        return aside.status == SetAsideStatus::Failed ? CliExit::SaveFailed : CliExit::Done;
    }

private:
    bool has(Option option) const { return (line_.options & option) != 0; }
    bool dryRun() const { return !line_.command->writes || has(kDryRun); }

    // Every line not a result: one message, each of its lines after the
    // program's name.
    void say(const std::string& text, const char* kind = "") {
        std::size_t from = 0;
        while (from < text.size()) {
            const std::size_t end = std::min(text.find('\n', from), text.size());
            if (end > from) {
                err_ << "kelvory-cli: " << kind << inCharset(text.substr(from, end - from), charset_) << "\n";
            }
            from = end + 1;
        }
    }
    void warn(const std::string& text) { say(text, "warning: "); }

    // Whether --force overrides the check `what`; says so when it does.
    bool forced(const std::string& what) {
        if (has(kForce)) {
            warn("--force: " + what);
        }
        return has(kForce);
    }

    // Ends the command with `status`: the changes it did not save, then why.
    CliExit refuse(CliExit status, const std::string& why) {
        if (!dryRun()) {
            for (const std::string& line : pending_) {
                say("not saved: " + line);
            }
        }
        say(why);
        return status;
    }

    bool loadGame() {
        std::filesystem::path game;
        if (has(kGame)) {
            game = platform::argumentPath(line_.game);
        } else {
            const ConfigResult config = readLeaguesIni(context_.programFolder);
            if (!config.ok()) {
                say(config.message() + " Give the game executable's path with --game PATH.");
                return false;
            }
            game = config.gamePath;
        }
        if (session_.load(game, BlockNeed::Whole)) {
            return true;
        }
        say(session_.loadFailure().english() +
            (has(kGame) ? "" : " Line 2 of Leagues.ini in kelvory-cli's folder names it; --game PATH names another."));
        return false;
    }

    void warnNotABlock() {
        if (const Words warning = session_.notABlockWarning(); !warning.empty()) {
            warn(warning.english());
        }
    }

    // Whether a command may go on with the bytes it loaded: one that saves is
    // refused when they do not look like a league block, unless --force.
    bool checkBlockLook() {
        warnNotABlock();
        if (!session_.notABlockWarning().empty() && !dryRun() &&
            !forced("saving into bytes that do not look like a league block")) {
            refuse(CliExit::Refused, "Nothing was written. Give --force to save into this file anyway.");
            return false;
        }
        return true;
    }

    std::optional<Setup> readSetup() {
        try {
            if (line_.operand != "-") {
                return readSetupFile(platform::argumentPath(line_.operand));
            }
            // As a file is read: one byte more than allowed tells one too long.
            std::string content(SetupMaxBytes + 1, '\0');
            context_.in.read(content.data(), static_cast<std::streamsize>(content.size()));
            if (context_.in.bad()) {
                throw SetupError("standard input", 0, "it could not be read.");
            }
            content.resize(static_cast<std::size_t>(context_.in.gcount()));
            return parseSetup(content, "standard input");
        } catch (const SetupError& error) {
            say(error.what());
            return std::nullopt;
        }
    }

    // diff and apply.
    CliExit applySetup() {
        // The setup is checked before the game executable is even opened.
        const std::optional<Setup> setup = readSetup();
        if (!setup) {
            return CliExit::SetupInvalid;
        }
        if (!loadGame()) {
            return CliExit::GameUnreadable;
        }
        if (!checkBlockLook()) {
            return CliExit::Refused;
        }
        const SetupPreview preview = session_.previewSetup(*setup);
        session_.applySetup(preview);
        // Values the game is not known to take are stored as given; they are
        // only warned about, or with --strict refused.
        for (const Words& line : preview.outsideGame) {
            warn("outside what the game takes: " + line.english());
        }
        listChanges(Json(), false);
        if (has(kStrict) && !preview.outsideGame.empty()) {
            return refuse(CliExit::Refused,
                          "Nothing was written: --strict refuses values the game is not known to take.");
        }
        if (dryRun()) {
            return has(kExitCode) && session_.hasUnsavedChanges() ? CliExit::Changes : CliExit::Done;
        }
        if (!session_.hasUnsavedChanges()) {
            return CliExit::Done;
        }
        // Kelvory writes nothing it would itself refuse to save into later.
        if (const Words problems = session_.valuesNotABlock();
            !problems.empty() && !forced("writing values that do not look like a league block")) {
            return refuse(CliExit::Refused, problems.english() +
                                                " Nothing was written: with these values the league block would not "
                                                "look like one. Give --force to save them anyway.");
        }
        return save();
    }

    // The changes the values now make to the file: listed as the result of a
    // dry run, or kept to list once saved. `entry` and `otherExecutable` join
    // a restore's JSON document.
    void listChanges(const Json& entry, bool otherExecutable) {
        const Baza::Block& from = session_.saved();
        const Baza::Block& to = session_.values();
        const std::vector<SetupChange> changes = session_.changes();
        if (has(kJson)) {
            Json list = Json::array();
            for (const SetupChange& change : changes) {
                list.push(Json::object()
                              .set("key", Json::text(setupName(*change.field)))
                              .set("id", Json::text(fieldId(*change.field)))
                              .set("from", valueJson(change.before))
                              .set("to", valueJson(change.after))
                              .set("outside_game", Json::boolean(outsideGameRange(to, *change.field).has_value())));
            }
            Json document = Json::object().set("game", Json::text(platform::pathToShow(session_.game())));
            if (line_.command->operand == Operand::Entry || line_.command->fixedOperand) {
                document.set("entry", entry).set("other_executable", Json::boolean(otherExecutable));
            }
            document.set("changes", std::move(list))
                .set("hidden", sameHidden(from, to)
                                   ? Json()
                                   : Json::object().set("from", hiddenJson(from)).set("to", hiddenJson(to)));
            out_ << document.write();
            return;
        }
        pending_.clear();
        for (const SetupChange& change : changes) {
            pending_.push_back(describeChange(change, charset_));
        }
        for (const HiddenPart& part : kHidden) {
            if (part.hexOf(from) != part.hexOf(to)) {
                pending_.push_back(std::string("hidden ") + part.key + ": " + part.hexOf(from) +
                                   (charset_ == Charset::Ascii ? " -> " : " → ") + part.hexOf(to));
            }
        }
        if (pending_.empty()) {
            say("No changes.");
        } else if (dryRun()) {
            listPending();
        }
    }

    void listPending() {
        for (const std::string& line : pending_) {
            out_ << line << "\n";
        }
    }

    CliExit save() {
        // The file must still hold what was loaded, and that must be what
        // Kelvory last wrote: another program's change since then, or one
        // made while this command ran, is not overwritten unasked.
        SaveQuestions questions;
        questions.outsideChange = [this](const DiskState&) {
            return forced("saving over a league block another program changed") ? OutsideChangeAnswer::Overwrite
                                                                                : OutsideChangeAnswer::Cancel;
        };
        // Warned about already, or refused before with --strict.
        questions.outsideGame = [](const Words&) { return true; };
        // Said and decided before: the session asks again at the save.
        questions.notABlock = [this](const Words&) { return has(kForce); };
        Words running;
        questions.gameRunning = [this, &running](const Words& question) {
            running = question;
            if (has(kWhileRunning)) {
                warn("--while-running: saving while the game is running");
            }
            return has(kWhileRunning) ? RunningAnswer::SaveAnyway : RunningAnswer::Cancel;
        };
        const LeagueSession::SaveResult saved = session_.save(questions, SaveCheck::LastWriteToo);
        switch (saved.status) {
            case LeagueSession::SaveStatus::Saved:
                saved_ = true;
                listPending();
                if (!saved.carried.empty()) {
                    say(saved.carried.english());
                }
                say(saved.told.words.english());
                return CliExit::Done;
            case LeagueSession::SaveStatus::Reload:
            case LeagueSession::SaveStatus::Cancelled:
                return refuse(CliExit::Refused, messages::outsideChange(saved.disk.change, Wording::Console).english() +
                                                    " Nothing was written. Give --force to save over it.");
            case LeagueSession::SaveStatus::GameRunning:
                if (saved.heldByGame) {
                    return refuse(CliExit::GameRunning,
                                  saved.told.words.english() +
                                      " The system keeps the running game's file from being written: no option can "
                                      "help. Close the game, then run the command again.");
                }
                return refuse(CliExit::GameRunning,
                              running.english() +
                                  " Nothing was written. Close the game, or give --while-running to save anyway.");
            case LeagueSession::SaveStatus::Declined:
                return refuse(CliExit::Refused, "Nothing was written.");
            case LeagueSession::SaveStatus::NotLoaded:
            case LeagueSession::SaveStatus::Refused:
            case LeagueSession::SaveStatus::Failed:
                break;
        }
        return refuse(CliExit::SaveFailed, saved.told.words.english());
    }

    const CommandLine& line_;
    const Context& context_;
    LeagueSession session_;
    std::ostream& out_;
    std::ostream& err_;
    Charset charset_;
    std::vector<std::string> pending_;  // the change lines of a save, listed once it is done
    bool saved_ = false;
};

namespace {

const std::vector<CommandSpec>& commandTable() {
    using E = CliExit;
    const std::vector<E> common = {E::Done, E::Unexpected, E::Usage};
    const auto exits = [&common](std::initializer_list<E> more) {
        std::vector<E> all = common;
        all.insert(all.end(), more);
        return all;
    };
    const std::vector<E> restoreExits =
        exits({E::GameUnreadable, E::SaveFailed, E::Refused, E::NoRecord, E::GameRunning});
    constexpr unsigned kSaving = kGame | kDryRun | kForce | kWhileRunning | kJson;
    static const std::vector<CommandSpec> table = {
        {"show", Operand::None, nullptr, nullptr, kGame | kJson, false, exits({E::GameUnreadable}),
         "print the league block as a setup file",
         "Prints every value of the league block as a league setup file, the boxes in the window's order. A value "
         "the game is not known to take gets a comment line after its own; bytes that do not look like a league "
         "block are warned about on standard error.\n\n"
         "With --json: {\"game\": the game executable's path, \"looks_like_block\": true or false, \"fields\": one "
         "object per box in the window's order, \"hidden\": the bytes no box shows}. A field is {\"key\": the box's "
         "name in a setup file, \"id\": its short name (liga_1 ... liga_13, str_1 ... str_13, cat_1 ... cat_4, "
         "catl_1 ... catl_7, map_1 ... map_13), \"value\": a number, or a category's 11 characters, \"storable\": "
         "what the field can hold ({\"min\", \"max\"}, or for a category {\"length\", \"code_page\"}), "
         "\"game_range\": what the game takes ({\"min\", \"max\", \"text\"}; for a category the numbers NN of the "
         "texts category_NN), \"outside_game\": true or false}. \"hidden\" holds hexadecimal strings: \"map_slots\", "
         "the map slots after map_13; \"str_reserved\", the two bytes after each name index; \"cat_reserved\", the "
         "byte after each of the first three category texts. For example:\n\n"
         "  {\"key\": \"Maps Load u_1426.bin ->dt06.img, row 1\", \"id\": \"map_1\", \"value\": 11, \"storable\": "
         "{\"min\": 0, \"max\": 255},\n   \"game_range\": {\"min\": 0, \"max\": 10, \"text\": \"0 to 10\"}, "
         "\"outside_game\": true}\n\n" +
             std::string(kAsciiJson),
         [](Runner& runner) { return runner.show(); }},
        {"export", Operand::File, "FILE", nullptr, kGame, false, exits({E::GameUnreadable, E::SetupInvalid}),
         "write the league block to the setup file FILE (\"-\": standard output)",
         "Writes every value of the league block to the league setup file FILE, as show prints them; FILE \"-\" "
         "writes them to standard output. A file at FILE is replaced only when it is a league setup or empty; "
         "anything else there is left untouched (status 4). The new file is written beside it first and put in "
         "place whole.",
         [](Runner& runner) { return runner.exportSetup(); }},
        {"diff", Operand::File, "FILE", nullptr, kGame | kStrict | kJson | kExitCode, false,
         exits({E::GameUnreadable, E::SetupInvalid, E::Refused, E::Changes}),
         "list what applying the setup file FILE would change (\"-\": standard input)",
         "Lists what applying the league setup file FILE would change, one line per box: \"Club Name, row 3: 12 → "
         "300\" (\"->\" where the console does not take UTF-8). FILE \"-\" reads the setup from standard input. "
         "Values the game is not known to take are warned about on standard error; with --strict they end the "
         "command with status 6. Nothing is written. With --exit-code the status tells whether anything would "
         "change: 9 when it would, 0 when not.\n\n" +
             std::string(kChangesJson) + "\n\n" + kAsciiJson,
         [](Runner& runner) { return runner.diff(); }},
        {"apply", Operand::File, "FILE", nullptr, kSaving | kStrict, true,
         exits({E::GameUnreadable, E::SetupInvalid, E::SaveFailed, E::Refused, E::GameRunning}),
         "change the league block as the setup file FILE says, and save it",
         "Changes the league block as the league setup file FILE says (\"-\": standard input) and saves it as the "
         "window's Save does: the values it overwrites are recorded first, the bytes are read back, and a write "
         "that fails part-way is put back. Once saved it lists the changes, as diff does, and says \"Save "
         "Successfully\" on standard error; with --dry-run it lists them and saves nothing.\n\n"
         "Nothing is written, status 6, when another program changed the league block since Kelvory last saved it, "
         "when the bytes in the file or the values to write do not look like a league block (--force overrides "
         "each, and says so), or with --strict when values lie outside what the game takes; status 8 while the game "
         "is running (--while-running). A command refused lists its changes on standard error.\n\n"
         "With --json and --dry-run: the document of \"kelvory-cli help diff\".",
         [](Runner& runner) { return runner.apply(); }},
        {"history", Operand::None, nullptr, nullptr, kGame | kJson, false, exits({E::GameUnreadable, E::NoRecord}),
         "list the values recorded of the game executable, numbered for restore",
         "Lists what the record keeps of this game executable, an entry a line: its number, its kind, its date "
         "(local time with its offset, ISO 8601) and how many boxes differ from the file now. The numbers follow "
         "the window's Restore Original Values list: 1 is the original (the values before Kelvory's first save "
         "into this executable), 2 the values before the newest save, 3 those before the save before it, and so "
         "on; after them come the originals of earlier executables at the same path (before an update of the "
         "game). A game folder moved or copied, or a game patched outside the league block, shows the original and "
         "history recorded for the same game at its old path, which its next save carries over; such an entry says "
         "where it was recorded. Status 7 when there is no readable record.\n\n"
         "With --json: {\"game\", \"record\": the record file's path, \"other_executable\": true when the executable "
         "changed since the record was taken, \"entries\": [{\"number\", \"kind\": \"original\", \"before-save\" or "
         "\"earlier-original\", \"date\", \"changed_fields\": how many boxes differ from the file, "
         "\"hidden_differs\": whether the bytes no box shows differ, \"executable_size\": the size of the executable "
         "it was taken of, \"recorded_at\": the path it was recorded for when it was carried over, else null}]}.\n\n" +
             std::string(kAsciiJson),
         [](Runner& runner) { return runner.history(); }},
        {"restore", Operand::Entry, "ENTRY", nullptr, kSaving, true, restoreExits,
         "put back a recorded entry (its number in history, or \"original\"), and save it",
         "Puts back the league block of a history entry whole (all 199 bytes: the map slots no box shows and the "
         "reserved bytes too) and saves it with the checks of apply. ENTRY is a number that \"kelvory-cli history\" "
         "lists, or \"original\", which is 1: 1 is the original, 2 the values before the newest save, 3 those before "
         "the save "
         "before it, and so on, as the window's Restore Original Values list orders them. Once saved it lists the "
         "changes, the bytes no box shows as \"hidden\" "
         "lines in hexadecimal; with --dry-run it lists them and saves nothing. When the file already holds the "
         "entry's values there is nothing to restore (status 0).\n\n"
         "Values recorded of another executable (the executable changed since the record was taken, or an entry "
         "of an earlier one) are restored only with --force (otherwise status 6). Status 7 when there is no "
         "readable record, or no such entry.\n\n"
         "With --json and --dry-run: the document of \"kelvory-cli help diff\", with \"entry\" (the entry, as "
         "history gives it) and \"other_executable\" (true when the executable changed since the record was "
         "taken).",
         [](Runner& runner) { return runner.restore(); }},
        {"restore-original", Operand::None, nullptr, "original", kSaving, true, restoreExits,
         "the same as \"restore original\"",
         "The same as \"kelvory-cli restore original\": puts back the values recorded before Kelvory's first save "
         "into this game executable.",
         [](Runner& runner) { return runner.restore(); }},
        {"record set-aside", Operand::None, nullptr, nullptr, kGame, false, exits({E::GameUnreadable, E::SaveFailed}),
         "set aside a record that cannot be read, to start a new one",
         "Renames the record of the original values of this game executable, when it cannot be read, beside itself "
         "(league-block-....damaged-DATE.txt in Kelvory's data folder), where it is kept; a save refuses to replace "
         "it, and the next save starts a new record, whose original values are those the game executable holds "
         "then. The game executable is not written. A record that can be read, or none, is left as it is (status "
         "0, and it says so). Status 5 when the record cannot be renamed, or another Kelvory is saving into the "
         "same game executable.",
         [](Runner& runner) { return runner.setAsideRecord(); }},
        {"help", Operand::Command, "[COMMAND]", nullptr, 0, false, common, "show this help, or a command's",
         "Shows the usage of kelvory-cli, or what COMMAND does, its options and its statuses. \"kelvory-cli COMMAND "
         "--help\" shows the same.",
         [](Runner& runner) { return runner.help(); }},
        {"completion", Operand::Shell, "bash", nullptr, 0, false, common, "print a completion script for bash",
         "Prints a completion script for bash: the commands, their options, the setup files for FILE. \"cmake "
         "--install\" puts it in share/bash-completion/completions under the install prefix, where bash-completion "
         "finds it for a prefix of /usr/local or ~/.local; otherwise load it with: source <(kelvory-cli completion "
         "bash)",
         [](Runner& runner) { return runner.completion(); }},
    };
    return table;
}

}  // namespace

CliExit runCli(const std::vector<std::string>& arguments, const std::filesystem::path& programFolder,
               const std::filesystem::path& recordFolder, std::istream& in, std::ostream& out, std::ostream& err) {
    CommandLine line;
    try {
        line = readCommandLine(arguments, commandTable());
    } catch (const UsageError& error) {
        err << "kelvory-cli: " << error.what << " Try \"kelvory-cli help"
            << (error.command ? std::string(" ") + error.command->name : std::string()) << "\".\n";
        return CliExit::Usage;
    }
    CliExit result = CliExit::Done;
    bool savedGame = false;
    if (line.options & kVersion) {
        out << "kelvory-cli " KELVORY_VERSION "\n";
    } else if (!line.command) {
        out << usageText(commandTable());
    } else if (line.options & kHelp) {
        out << commandHelp(*line.command);
    } else {
        const Context context{programFolder, recordFolder, in, out, err};
        Runner runner(line, context);
        result = line.command->run(runner);
        savedGame = runner.savedGame();
    }
    if (!out.flush()) {
        // A save that went through stays a success: the script must not take
        // it for a failure and run it again, or restore what it did.
        err << "kelvory-cli: the output could not be written"
            << (savedGame ? "; the game executable was saved.\n" : ".\n");
        return savedGame ? result : CliExit::Unexpected;
    }
    return result;
}
