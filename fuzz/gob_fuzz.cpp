// Any bytes given to the GOB reader: a directory whose every entry lies inside the archive and
// is found again by its name, or a reason naming the byte. Level entries are read too.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzzcheck.h"
#include "formats/gob.h"
#include "formats/level.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace skyvane::fuzz;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto directory = skyvane::readGobDirectory(bytes);
    checkVerdict(directory, "byte ");
    for (const auto& entry : directory.value) {
        check(std::uint64_t{entry.offset} + entry.size <= size);
        const auto found = skyvane::gobEntryBytes(bytes, directory.value, entry.name);
        check(found && found->data() >= bytes.data() &&
              found->data() + found->size() <= bytes.data() + size);
    }
    for (const auto& name : skyvane::gobLevelNames(directory.value))
        checkVerdict(skyvane::readLevel(*skyvane::gobEntryBytes(bytes, directory.value, name)),
                     "line ");
    return 0;
}
