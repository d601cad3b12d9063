// libFuzzer target for stored skins; built by tools/fuzz-skin.sh.
#include <cstdint>
#include <cstdlib>

#include "tests/skin/fuzz/StoredSkinInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!RunStoredSkinInput(std::string_view(reinterpret_cast<const char*>(data), size)))
        std::abort();
    return 0;
}
