// Writes a ready-made program folder for trying Kelvory without the game:
//
//   <folder>/Leagues.ini                   line 2 names the stand-in game file
//   <folder>/Setting/ID_Name_League.ini    names for the thirteen name pickers
//   <folder>/Setting/Structure.ini         entries of the "Structure League" list
//   <folder>/StandInGame.exe               15,613,092 bytes of pseudo-random
//                                          filler with a plausible league block
//   <folder>/resources/click.wav           the button's click sound
//
// Every file is made up here; nothing is copied from anywhere. A file that is
// already there is left alone, so edits made while trying the editor survive
// the next build; --reset writes every file afresh.
//
// Usage: make_demo [--reset] <folder>
//        make_demo --click-sound <file>   writes only the click sound, the one
//                                         made-up file the program ships with

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "core/Baza.h"

namespace fs = std::filesystem;

namespace {

constexpr std::uint64_t kGameSize = 15613092;
constexpr const char* kGameName = "StandInGame.exe";

// Line 1 is free text that the editor skips; line 2 names the game file.
constexpr std::string_view kLeaguesIni =
    "Kelvory demo folder: the second line names the game executable beside the editor\r\n"
    "StandInGame.exe\r\n";

// Numbers and made-up club names; a name holding a comma is quoted.
constexpr std::string_view kNamesCatalogue =
    "0,Northvale\r\n"
    "1,\"Harbour Town, United\"\r\n"
    "2,Eastmarsh\r\n"
    "3,\"Kingsbridge, Athletic\"\r\n"
    "4,Redcliff Rovers\r\n"
    "5,Stonehaven\r\n"
    "6,\"Port Amber, FC\"\r\n"
    "7,Westerby Town\r\n"
    "8,Lowmoor\r\n"
    "9,\"Silver Lake, Sporting\"\r\n"
    "10,Brackenford\r\n"
    "11,Mill Cross\r\n"
    "12,\"Ashgrove, Wanderers\"\r\n"
    "13,Fenwick Albion\r\n"
    "14,Greyhollow\r\n";

constexpr std::string_view kStructureCatalogue =
    "\"Slot 0, National Cup A\"\r\n"
    "\"Slot 1, National Cup B\"\r\n"
    "\"Slot 2, National Cup C\"\r\n"
    "\"Slot 3, National Cup D\"\r\n"
    "Slot 4 - First Division\r\n"
    "Slot 5 - Second Division\r\n"
    "Slot 6 - Third Division\r\n"
    "Slot 7 - Coastal League\r\n"
    "Slot 8 - Highland League\r\n"
    "Slot 9 - Demo League\r\n"
    "Slot 10 - Reserve League\r\n"
    "\"Slot 11, Other Clubs East\"\r\n"
    "\"Slot 12, Other Clubs West\"\r\n";

// SplitMix64: small, fast and the same on every system.
class Filler {
public:
    explicit Filler(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

private:
    std::uint64_t state_;
};

void writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + path.u8string());
    }
}

// Writes through a temporary name, so an interrupted run leaves no half file
// that a later run would take for a finished one.
void writeFileAtomically(const fs::path& path, const std::string& bytes) {
    fs::path part = path;
    part += ".part";
    writeBytes(part, bytes);
    fs::rename(part, path);
}

std::string fillerBytes() {
    std::string bytes(kGameSize, '\0');
    Filler filler(0x4B656C766F7279ull);
    for (std::uint64_t i = 0; i < kGameSize; i += 8) {
        std::uint64_t word = filler.next();
        for (std::uint64_t b = 0; b < 8 && i + b < kGameSize; ++b, word >>= 8) {
            bytes[i + b] = static_cast<char>(word & 0xFF);
        }
    }
    return bytes;
}

// The stand-in game file: filler, then a league block written by the block
// store itself at its real offsets.
void writeGameFile(const fs::path& path) {
    fs::path part = path;
    part += ".part";
    writeBytes(part, fillerBytes());

    Baza baza;
    if (!baza.Wczytaj(part)) {
        throw std::runtime_error("cannot read back " + part.u8string());
    }
    for (int i = 0; i < Baza::LigaCount; ++i) {
        baza.setLiga(i, i);  // slot numbers
    }
    for (int i = 0; i < Baza::StrCount; ++i) {
        baza.setStr(i, static_cast<std::int16_t>(i));  // numbers of the names catalogue
    }
    for (int i = 0; i < Baza::CatCount; ++i) {
        baza.setCat(i, "category_0" + std::to_string(i + 1));
    }
    const std::int32_t logos[Baza::CatLCount] = {0, 4, 9, 13, 18, 22, 29};
    for (int i = 0; i < Baza::CatLCount; ++i) {
        baza.setCatL(i, logos[i]);
    }
    // Europe .. OtherLatinAmerican, then the seven slots the editor does not show.
    const std::uint8_t maps[Baza::MapCount] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 4, 0, 2, 9, 10, 0, 0, 0, 9, 10};
    for (int i = 0; i < Baza::MapCount; ++i) {
        baza.setMap(i, maps[i]);
    }
    baza.Zapisz(part);
    fs::rename(part, path);
}

void putLe(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

// A 30 ms click: a quickly decaying tone with a little noise on its attack,
// 16-bit PCM, mono, 22,050 samples a second.
std::string clickWav() {
    constexpr std::uint32_t rate = 22050;
    constexpr std::uint32_t samples = rate * 30 / 1000;
    constexpr double pi = 3.14159265358979323846;
    Filler noise(7);
    std::string pcm;
    for (std::uint32_t n = 0; n < samples; ++n) {
        const double t = static_cast<double>(n) / rate;
        const double envelope = std::exp(-t / 0.004);
        const double hiss = (static_cast<double>(noise.next() % 2001) / 1000.0 - 1.0) * std::exp(-t / 0.001);
        const double value = 0.55 * envelope * std::sin(2 * pi * 1800 * t) + 0.25 * hiss;
        const auto sample = static_cast<std::int16_t>(std::lround(value * 32767 * 0.8));
        putLe(pcm, static_cast<std::uint16_t>(sample), 2);
    }
    std::string wav = "RIFF";
    putLe(wav, static_cast<std::uint32_t>(36 + pcm.size()), 4);
    wav += "WAVEfmt ";
    putLe(wav, 16, 4);        // format chunk size
    putLe(wav, 1, 2);         // PCM
    putLe(wav, 1, 2);         // mono
    putLe(wav, rate, 4);      // samples a second
    putLe(wav, rate * 2, 4);  // bytes a second
    putLe(wav, 2, 2);         // bytes a sample frame
    putLe(wav, 16, 2);        // bits a sample
    wav += "data";
    putLe(wav, static_cast<std::uint32_t>(pcm.size()), 4);
    return wav + pcm;
}

// Writes the folder, or with --click-sound the one file; returns the exit code.
int run(int argc, char** argv) {
    if (argc == 3 && std::string_view(argv[1]) == "--click-sound") {
        writeFileAtomically(fs::u8path(argv[2]), clickWav());
        return 0;
    }
    bool reset = false;
    fs::path folder;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--reset") {
            reset = true;
        } else if (folder.empty()) {
            folder = fs::u8path(arg);
        } else {
            folder.clear();
            break;
        }
    }
    if (folder.empty()) {
        std::fprintf(stderr, "usage: make_demo [--reset] <folder>\n       make_demo --click-sound <file>\n");
        return 2;
    }

    fs::create_directories(folder / "Setting");
    fs::create_directories(folder / "resources");
    int written = 0;
    auto make = [&](const fs::path& path, auto&& write) {
        if (reset || !fs::exists(path)) {
            write(path);
            ++written;
        }
    };
    auto text = [](std::string_view content) {
        return [content](const fs::path& path) { writeFileAtomically(path, std::string(content)); };
    };
    make(folder / "Leagues.ini", text(kLeaguesIni));
    make(folder / "Setting" / "ID_Name_League.ini", text(kNamesCatalogue));
    make(folder / "Setting" / "Structure.ini", text(kStructureCatalogue));
    make(folder / kGameName, writeGameFile);
    make(folder / "resources" / "click.wav", [](const fs::path& path) { writeFileAtomically(path, clickWav()); });
    std::printf("Demo program folder %s: %d file(s) written, %d kept.\n", folder.u8string().c_str(), written,
                5 - written);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "make_demo: %s\n", error.what());
        return 1;
    }
}
