// libFuzzer target: the escaping of kelvory-cli's JSON writer. Built by ./dev.sh fuzz.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz/FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string broken = checkJsonInput(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!broken.empty()) {
        std::fprintf(stderr, "JSON writer: %s\n", broken.c_str());
        std::abort();
    }
    return 0;
}
