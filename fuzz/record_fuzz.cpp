// libFuzzer target: the reader of the records of original values. Built by ./dev.sh fuzz.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz/FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string broken = checkRecordInput(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!broken.empty()) {
        std::fprintf(stderr, "record reader: %s\n", broken.c_str());
        std::abort();
    }
    return 0;
}
