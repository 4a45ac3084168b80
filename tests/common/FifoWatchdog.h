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
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <thread>

inline bool makeFifo(const std::filesystem::path& path) {
    return ::mkfifo(path.c_str(), 0600) == 0;
}

// Runs `work` on this thread. Returns false when it took longer than `limit`
// (and had to be released by opening `fifo`).
inline bool finishesWithin(std::chrono::milliseconds limit, const std::filesystem::path& fifo,
                           const std::function<void()>& work) {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    bool released = false;
    std::thread watchdog([&] {
        std::unique_lock<std::mutex> lock(mutex);
        if (!finished.wait_for(lock, limit, [&] { return done; })) {
            released = true;
            // A reader and a writer at once: whoever waits in open() goes on,
            // and once this end is closed a read sees the end of the file.
            const int fd = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
        }
    });
    work();
    {
        std::lock_guard<std::mutex> lock(mutex);
        done = true;
    }
    finished.notify_all();
    watchdog.join();
    return !released;
}

#endif
