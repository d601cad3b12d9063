// libFuzzer target for the skin INI value readers and the compositions; built by
// tools/fuzz-skin.sh geometry.
#include <cstdint>
#include <cstdlib>

#include "tests/skin/fuzz/GeometryInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!RunGeometryInput(std::string_view(reinterpret_cast<const char*>(data), size)))
        std::abort();
    return 0;
}
