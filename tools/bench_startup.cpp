// Measures how fast the editor opens its window, and how much memory it takes
// to get there, against the smallest Qt Widgets program that opens a window
// with one text box (floor_window, built beside this tool).
//
// Both programs run on a private Xvfb display, in alternating rounds. A round
// starts the program, watches the X server for its first top-level window to
// be mapped and then painted (the DAMAGE extension tells when the first pixels
// arrive), lets the program idle for a while so work deferred until after the
// window appears is counted too, then ends it with SIGTERM and takes its peak
// resident memory from wait4(). The programs carry no hooks for this.
//
// Usage:
//   bench_startup [options]            editor against the floor
//   bench_startup --sizes [options]    editor on name catalogues of 0, 300,
//                                      3,000, 10,000 and 20,000 items (10,000
//                                      pairs of a number and a name)
//   bench_startup --libraries          shared libraries mapped when the
//                                      window appears, editor and floor
// Options:
//   --rounds N      rounds per program (default 15; one warm-up round first)
//   --settle MS     idle time after the window appears (default 1000)
//   --editor PATH   the editor, inside its program folder (default: the build's);
//                   give it more than once to compare builds in one run
//   --floor PATH    the floor program (default: the build's)
//   --display :N    use this X display instead of starting Xvfb
//
// Linux only. Needs Xvfb (unless --display is given). Without libXdamage the
// window counts as shown when it is mapped.

#include <X11/Xlib.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

// ---- The DAMAGE extension, looked up at run time ----
//
// Only two calls are needed; taking them from the run-time library spares
// the build a development package.
struct Damage {
    using QueryExtension = int (*)(Display*, int*, int*);
    using Create = XID (*)(Display*, Drawable, int);
    static constexpr int ReportNonEmpty = 3;
    static constexpr int NotifyOffset = 0;

    Create create = nullptr;
    int eventBase = -1;

    bool load(Display* display) {
        void* library = dlopen("libXdamage.so.1", RTLD_NOW | RTLD_LOCAL);
        if (!library) {
            return false;
        }
        auto query = reinterpret_cast<QueryExtension>(dlsym(library, "XDamageQueryExtension"));
        create = reinterpret_cast<Create>(dlsym(library, "XDamageCreate"));
        int errorBase = 0;
        return query && create && query(display, &eventBase, &errorBase);
    }
    bool available() const { return eventBase >= 0 && create; }
};

// In a child between fork and exec: sends its output nowhere, without
// flushing anything the parent had buffered.
void silence() {
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) {
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
    }
}

// ---- A private display ----

class XServer {
public:
    ~XServer() {
        if (display_) {
            XCloseDisplay(display_);
        }
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }

    bool open(std::string name) {
        if (name.empty()) {
            name = startXvfb();
            if (name.empty()) {
                return false;
            }
        }
        name_ = name;
        for (int attempt = 0; attempt < 100 && !display_; ++attempt) {
            display_ = XOpenDisplay(name.c_str());
            if (!display_) {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
        }
        if (!display_) {
            std::fprintf(stderr, "bench_startup: cannot open display %s\n", name.c_str());
            return false;
        }
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });  // windows may vanish under us
        XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
        damage_.load(display_);
        return true;
    }

    Display* display() const { return display_; }
    const std::string& name() const { return name_; }
    const Damage& damage() const { return damage_; }

private:
    std::string startXvfb() {
        int number = 90;
        while (number < 200 && fs::exists("/tmp/.X" + std::to_string(number) + "-lock")) {
            ++number;
        }
        const std::string name = ":" + std::to_string(number);
        pid_ = fork();
        if (pid_ == 0) {
            silence();
            execlp("Xvfb", "Xvfb", name.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        if (pid_ < 0) {
            std::perror("bench_startup: fork");
            return {};
        }
        return name;
    }

    pid_t pid_ = -1;
    Display* display_ = nullptr;
    std::string name_;
    Damage damage_;
};

// ---- One run ----

struct Run {
    bool ok = false;
    double shownMs = 0;                  // start to first painted window
    double mappedMs = 0;                 // start to window mapped
    double peakMiB = 0;                  // peak resident memory over the whole run
    std::vector<std::string> libraries;  // mapped when the window appeared
};

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::vector<std::string> mappedLibraries(pid_t pid) {
    std::set<std::string> found;
    std::ifstream maps("/proc/" + std::to_string(pid) + "/maps");
    std::string line;
    while (std::getline(maps, line)) {
        const auto slash = line.find('/');
        if (slash == std::string::npos) {
            continue;
        }
        const std::string path = line.substr(slash);
        const std::string name = fs::path(path).filename().string();
        if (name.find(".so") != std::string::npos) {
            found.insert(path);
        }
    }
    return {found.begin(), found.end()};
}

// Reads every pending event; returns false when `deadline` passes first.
template <typename Handler>
bool pumpUntil(XServer& x, Clock::time_point deadline, Handler&& handler) {
    Display* d = x.display();
    const int fd = ConnectionNumber(d);
    for (;;) {
        while (XPending(d)) {
            XEvent event;
            XNextEvent(d, &event);
            if (handler(event)) {
                return true;
            }
        }
        const auto left = deadline - Clock::now();
        if (left <= Clock::duration::zero()) {
            return false;
        }
        const auto us = std::chrono::duration_cast<std::chrono::microseconds>(left).count();
        timeval tv{static_cast<time_t>(us / 1000000), static_cast<suseconds_t>(us % 1000000)};
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(fd, &fds);
        select(fd + 1, &fds, nullptr, nullptr, &tv);
    }
}

Run runOnce(XServer& x, const fs::path& program, int settleMs, bool listLibraries) {
    Run run;
    Display* d = x.display();
    const Damage& damage = x.damage();
    XSync(d, True);  // forget what earlier rounds left behind

    const std::string path = program.string();
    const std::string folder = program.parent_path().string();
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(folder.c_str()) != 0) {
            _exit(126);
        }
        setenv("DISPLAY", x.name().c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        silence();
        execl(path.c_str(), path.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    if (pid < 0) {
        std::perror("bench_startup: fork");
        return run;
    }

    std::set<Window> created;
    std::set<Window> mapped;
    const bool shown = pumpUntil(x, start + std::chrono::seconds(20), [&](const XEvent& event) {
        if (event.type == CreateNotify) {
            created.insert(event.xcreatewindow.window);
            if (damage.available()) {
                damage.create(d, event.xcreatewindow.window, Damage::ReportNonEmpty);
                XFlush(d);
            }
        } else if (event.type == MapNotify && created.count(event.xmap.window)) {
            mapped.insert(event.xmap.window);
            if (run.mappedMs == 0) {
                run.mappedMs = msSince(start);
            }
            if (!damage.available()) {
                run.shownMs = run.mappedMs;
                return true;
            }
        } else if (damage.available() && event.type == damage.eventBase + Damage::NotifyOffset &&
                   mapped.count(event.xany.window)) {
            run.shownMs = msSince(start);
            return true;
        }
        return false;
    });
    if (shown && listLibraries) {
        run.libraries = mappedLibraries(pid);
    }
    if (shown) {
        pumpUntil(x, Clock::now() + std::chrono::milliseconds(settleMs), [](const XEvent&) { return false; });
    }
    int status = 0;
    rusage usage{};
    const bool stillRunning = waitpid(pid, &status, WNOHANG) == 0;
    if (stillRunning) {
        kill(pid, SIGTERM);
    }
    wait4(pid, &status, 0, &usage);
    run.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;  // kibibytes on Linux
    run.ok = shown && stillRunning;
    if (!run.ok) {
        std::fprintf(stderr, "bench_startup: %s %s\n", path.c_str(),
                     shown ? "ended before it was stopped" : "showed no window within 20 s");
    }
    return run;
}

// ---- Figures ----

double median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

struct Series {
    std::string label;
    fs::path program;
    std::vector<double> shown, mapped, peak;

    void add(const Run& run) {
        if (run.ok) {
            shown.push_back(run.shownMs);
            mapped.push_back(run.mappedMs);
            peak.push_back(run.peakMiB);
        }
    }
    void print() const {
        std::printf("%-26s %5zu  %9.1f  %9.1f  %9.1f\n", label.c_str(), shown.size(), median(mapped), median(shown),
                    median(peak));
    }
};

void printHeader() {
    std::printf("%-26s %5s  %9s  %9s  %9s\n", "program", "runs", "mapped ms", "shown ms", "peak MiB");
}

// Runs every series once per round, in turn, after one warm-up round whose
// figures are dropped (it fills the system's file and font caches).
void alternate(XServer& x, std::vector<Series>& series, int rounds, int settleMs) {
    for (int round = 0; round <= rounds; ++round) {
        for (Series& s : series) {
            const Run run = runOnce(x, s.program, settleMs, false);
            if (round > 0) {
                s.add(run);
            }
        }
        std::fprintf(stderr, "\rround %d of %d", round, rounds);
    }
    std::fprintf(stderr, "\n");
}

// ---- Program folders with name catalogues of a given size ----

// Writes `count` items: pairs of a number and a club name, one pair a line.
void writeNamesCatalogue(const fs::path& file, int count) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    for (int item = 0; item < count; item += 2) {
        out << item / 2;
        if (item + 1 < count) {
            out << ",Club number " << item / 2;
        }
        out << "\r\n";
    }
}

// A copy of the editor's program folder whose name catalogue holds `count`
// items. The large game file is linked, not copied.
fs::path makeSizedFolder(const fs::path& editor, const fs::path& root, int count) {
    const fs::path source = editor.parent_path();
    const fs::path folder = root / ("names-" + std::to_string(count));
    fs::create_directories(folder);
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(source)) {
        const fs::path target = folder / fs::relative(entry.path(), source);
        if (entry.is_directory()) {
            fs::create_directories(target);
        } else if (entry.file_size() > 1024 * 1024 && entry.path() != editor) {
            fs::remove(target);
            fs::create_symlink(fs::absolute(entry.path()), target);
        } else {
            fs::copy_file(entry.path(), target, fs::copy_options::overwrite_existing);
        }
    }
    fs::create_directories(folder / "Setting");
    writeNamesCatalogue(folder / "Setting" / "ID_Name_League.ini", count);
    return folder / editor.filename();
}

void printLibraries(const char* title, const std::vector<std::string>& libraries) {
    std::printf("%s (%zu):\n", title, libraries.size());
    for (const std::string& library : libraries) {
        std::printf("  %s\n", library.c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = 15;
    int settleMs = 1000;
    bool sizes = false;
    bool libraries = false;
    std::vector<fs::path> editors;
    fs::path floor = KELVORY_FLOOR;
    std::string display;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--sizes") {
            sizes = true;
        } else if (arg == "--libraries") {
            libraries = true;
        } else if (arg == "--rounds" && hasValue) {
            rounds = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--settle" && hasValue) {
            settleMs = std::max(0, std::atoi(argv[++i]));
        } else if (arg == "--editor" && hasValue) {
            editors.push_back(fs::absolute(argv[++i]));
        } else if (arg == "--floor" && hasValue) {
            floor = argv[++i];
        } else if (arg == "--display" && hasValue) {
            display = argv[++i];
        } else {
            std::fprintf(stderr,
                         "usage: bench_startup [--sizes | --libraries] [--rounds N] [--settle MS]\n"
                         "                     [--editor PATH] [--floor PATH] [--display :N]\n");
            return 2;
        }
    }
    if (editors.empty()) {
        editors.push_back(KELVORY_EDITOR);
    }
    floor = fs::absolute(floor);
    std::vector<fs::path> programs = editors;
    programs.push_back(floor);
    for (const fs::path& program : programs) {
        if (!fs::is_regular_file(program)) {
            std::fprintf(stderr, "bench_startup: no program at %s\n", program.string().c_str());
            return 1;
        }
    }

    XServer x;
    if (!x.open(display)) {
        return 1;
    }
    std::printf("display %s, window shown = %s, %d round(s), %d ms idle after the window appears\n", x.name().c_str(),
                x.damage().available() ? "first paint" : "mapped", rounds, settleMs);

    // Labels the editors by number when there are several.
    auto editorLabel = [&](std::size_t i) {
        return editors.size() == 1 ? std::string("editor") : "editor " + std::to_string(i + 1);
    };
    for (std::size_t i = 0; editors.size() > 1 && i < editors.size(); ++i) {
        std::printf("%s: %s\n", editorLabel(i).c_str(), editors[i].string().c_str());
    }

    if (libraries) {
        const Run floorRun = runOnce(x, floor, 0, true);
        bool ok = floorRun.ok;
        printLibraries("floor", floorRun.libraries);
        for (std::size_t i = 0; i < editors.size(); ++i) {
            const Run editorRun = runOnce(x, editors[i], 0, true);
            ok = ok && editorRun.ok;
            std::vector<std::string> extra;
            std::set_difference(editorRun.libraries.begin(), editorRun.libraries.end(), floorRun.libraries.begin(),
                                floorRun.libraries.end(), std::back_inserter(extra));
            printLibraries(editorLabel(i).c_str(), editorRun.libraries);
            printLibraries((editorLabel(i) + ", not in the floor").c_str(), extra);
        }
        return ok ? 0 : 1;
    }

    std::vector<Series> series;
    series.push_back({"floor", floor, {}, {}, {}});
    fs::path scratch;
    if (sizes) {
        scratch = fs::temp_directory_path() / ("bench_startup-" + std::to_string(getpid()));
        for (std::size_t i = 0; i < editors.size(); ++i) {
            for (int count : {0, 300, 3000, 10000, 20000}) {
                const fs::path folder = scratch / std::to_string(i + 1);
                series.push_back({editorLabel(i) + ", " + std::to_string(count) + " names",
                                  makeSizedFolder(editors[i], folder, count),
                                  {},
                                  {},
                                  {}});
            }
        }
    } else {
        for (std::size_t i = 0; i < editors.size(); ++i) {
            series.push_back({editorLabel(i), editors[i], {}, {}, {}});
        }
    }

    alternate(x, series, rounds, settleMs);

    printHeader();
    for (const Series& s : series) {
        s.print();
    }
    const Series& base = series.front();
    for (std::size_t i = 1; i < series.size(); ++i) {
        const Series& s = series[i];
        std::printf("%-26s shown %.2fx the floor, peak memory %.2fx the floor\n", s.label.c_str(),
                    median(s.shown) / std::max(median(base.shown), 1e-9),
                    median(s.peak) / std::max(median(base.peak), 1e-9));
    }
    if (!scratch.empty()) {
        std::error_code ignored;
        fs::remove_all(scratch, ignored);
    }
    return 0;
}
