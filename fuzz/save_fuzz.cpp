// libFuzzer target: saving the league block with faults at steps its input
// chooses. Built by ./dev.sh fuzz.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "tests/support/FaultySave.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string broken = checkSaveFaultsInput(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!broken.empty()) {
        std::fprintf(stderr, "save under faults: %s\n", broken.c_str());
        std::abort();
    }
    return 0;
}
