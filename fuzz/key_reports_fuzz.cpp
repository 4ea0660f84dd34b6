// Any sequence of keyboard reports, frame ticks and paints, read from the bytes.
#include <cstdio>
#include <cstdlib>

#include "fuzz/key_reports_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string breach = fuzz::checkKeyReports({reinterpret_cast<const char*>(data), size});
    if (!breach.empty()) {
        std::fprintf(stderr, "key_reports: %s\n", breach.c_str());
        std::abort();
    }
    return 0;
}
