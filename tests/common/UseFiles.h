#pragma once

// Test helper: puts a file layer in place of the system's for as long as it
// lives.

#include "platform/FileSystem.h"

struct UseFiles {
    explicit UseFiles(platform::FileSystem* files) { platform::useFileSystem(files); }
    ~UseFiles() { platform::useFileSystem(nullptr); }
};
