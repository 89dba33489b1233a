// Any bytes given to the 3DO mesh-name reader: names or "not a 3DO", or a conversion error.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "formats/model3do.h"
#include "core/numbers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const auto names = skyvane::read3doMeshNames(text);
        if (names && names->size() > text.size())
            __builtin_trap();
    } catch (const skyvane::ConversionError&) {
    }
    return 0;
}
