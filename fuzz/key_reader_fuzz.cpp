// Any bytes given to the KEY reader: no crash, no sanitizer report, and a document only on
// success.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/keyfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const skyvane::KeyReadResult result = skyvane::readKeyText(text);
    if (!result.ok && !result.document.Nodes.empty())
        __builtin_trap();
    if (result.ok && result.document.Nodes.size() > text.size())
        __builtin_trap();
    return 0;
}
