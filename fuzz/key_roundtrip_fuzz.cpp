// Whatever the KEY reader accepts and the editor would save (every entry passes the entry
// check) reads back after writing, and a second write and read changes no cell, so the second
// and every later write give the same bytes: saving a file Skyvane opened never drifts. Files
// with faulty entries (an angle of 400, two entries on one frame) are refused by the pre-save
// check, so the writer never writes them. Steps may still change between the first and the
// second read: a file's own changes need not agree with its frames, and a turn over 0 too small
// per frame for six decimals is written as no turn (seed tiny-turn-over-zero.KEY).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/keyfile.h"
#include "core/numbers.h"
#include "core/validation.h"

namespace {

void check(bool condition) {
    if (!condition)
        __builtin_trap();
}

bool sameCells(const skyvane::TKeyDocument& a, const skyvane::TKeyDocument& b) {
    if (a.Fps != b.Fps || a.Nodes.size() != b.Nodes.size())
        return false;
    for (std::size_t k = 0; k < a.Nodes.size(); ++k) {
        const skyvane::TNode& x = a.Nodes[k];
        const skyvane::TNode& y = b.Nodes[k];
        if (x.Mesh != y.Mesh || x.Entries != y.Entries || x.Data != y.Data)
            return false;
    }
    return true;
}

bool everyEntryPasses(const skyvane::TKeyDocument& document) {
    for (const skyvane::TNode& node : document.Nodes)
        if (skyvane::checkEntries(node.Data, 0, skyvane::kMaxEntries - 1).fault())
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace skyvane;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const KeyReadResult first = readKeyText(text);
    if (!first.ok || !everyEntryPasses(first.document))
        return 0;
    std::string written;
    try {
        written = keyFileText(first.document, "fuzz.KEY", "date", "time");
    } catch (const ConversionError&) {
        return 0; // a cell the game could not load either: nothing is written
    } catch (const MathError&) {
        return 0;
    }
    const KeyReadResult second = readKeyText(written);
    check(second.ok && everyEntryPasses(second.document));
    const std::string rewritten = keyFileText(second.document, "fuzz.KEY", "date", "time");
    const KeyReadResult third = readKeyText(rewritten);
    check(third.ok);
    check(sameCells(second.document, third.document));
    return 0;
}
