// Times loading and saving the league block of a full-size game file.
//
// Usage: bench_baza [runs] [file]
// Without a file, a 15,613,092-byte file of pseudo-random bytes is made in the
// system's temporary folder and removed afterwards. The file is not changed:
// each save writes back the block that was loaded.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/Baza.h"

namespace {

using Clock = std::chrono::steady_clock;

double microseconds(Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

void report(const char* what, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    double sum = 0;
    for (double t : times) {
        sum += t;
    }
    std::printf("%-5s runs %zu  median %.1f us  mean %.1f us  min %.1f us  max %.1f us\n", what, times.size(),
                times[times.size() / 2], sum / times.size(), times.front(), times.back());
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    std::filesystem::path file;
    bool made = false;
    if (argc > 2) {
        file = std::filesystem::u8path(argv[2]);
    } else {
        file = std::filesystem::temp_directory_path() / "kelvory_bench_game.exe";
        std::string bytes(static_cast<std::size_t>(Baza::BlockEnd), '\0');
        std::mt19937 generator(1);
        for (char& b : bytes) {
            b = static_cast<char>(generator() & 0xFF);
        }
        std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        made = true;
    }

    Baza baza;
    std::vector<double> loads;
    std::vector<double> saves;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        if (!baza.Wczytaj(file)) {
            std::fprintf(stderr, "cannot load %s\n", file.u8string().c_str());
            return 1;
        }
        loads.push_back(microseconds(Clock::now() - start));
    }
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        baza.Zapisz(file);
        saves.push_back(microseconds(Clock::now() - start));
    }
    report("load", loads);
    report("save", saves);
    if (made) {
        std::filesystem::remove(file);
    }
    return 0;
}
