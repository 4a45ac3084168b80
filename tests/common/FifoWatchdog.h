#pragma once

// Test helper: makes a FIFO and runs code that must not wait on it. Should the
// code hang in open() regardless, the watchdog opens the FIFO itself after the
// time limit, which releases the waiting open, so the test fails instead of
// hanging the suite.

#ifndef _WIN32

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <future>

inline bool makeFifo(const std::filesystem::path& path) {
    return ::mkfifo(path.c_str(), 0600) == 0;
}

// Runs `work` on this thread. Returns false when it took longer than `limit`
// (and had to be released by opening `fifo`).
inline bool finishesWithin(std::chrono::milliseconds limit, const std::filesystem::path& fifo,
                           const std::function<void()>& work) {
    std::promise<void> done;
    std::future<bool> watchdog = std::async(std::launch::async, [&fifo, limit, finished = done.get_future()] {
        if (finished.wait_for(limit) == std::future_status::ready)
            return true;
        // A reader and a writer at once: whoever waits in open() goes on, and
        // once this end is closed a read sees the end of the file.
        const int fd = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
        return false;
    });
    work();
    done.set_value();
    return watchdog.get();
}

#endif
