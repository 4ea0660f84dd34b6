// Any bytes as settings.ini: loaded, checked, saved and loaded again; the sound backup in the
// same file muted into and restored from an in-memory sound scheme.
#include <cstdio>
#include <cstdlib>

#include "fuzz/settings_load_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string breach = fuzz::checkSettingsFile({reinterpret_cast<const char*>(data), size});
    if (!breach.empty()) {
        std::fprintf(stderr, "settings_load: %s\n", breach.c_str());
        std::abort();
    }
    return 0;
}
