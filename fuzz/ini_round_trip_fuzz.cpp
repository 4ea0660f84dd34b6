// Any bytes as an INI file: read, written back and read again, then one key edited and removed.
#include <cstdio>
#include <cstdlib>

#include "fuzz/ini_round_trip_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string breach = fuzz::checkIniRoundTrip({reinterpret_cast<const char*>(data), size});
    if (!breach.empty()) {
        std::fprintf(stderr, "ini_round_trip: %s\n", breach.c_str());
        std::abort();
    }
    return 0;
}
