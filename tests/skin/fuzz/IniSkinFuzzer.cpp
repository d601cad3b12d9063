// libFuzzer target for skin INI texts through the store and the frame geometry; built
// by tools/fuzz-skin.sh ini.
#include <cstdint>
#include <cstdlib>

#include "tests/skin/fuzz/IniSkinInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!RunIniSkinInput(std::string_view(reinterpret_cast<const char*>(data), size)))
        std::abort();
    return 0;
}
