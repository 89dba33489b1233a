// The largest document the editor holds, 50 nodes of 1000 entries, for the benchmarks of
// reading, writing and showing it.
#pragma once

#include <string>

#include "core/document.h"
#include "core/numbers.h"

namespace skyvane::bench {

// A trajectory that moves and turns on every entry, so every change and flag is computed.
inline TKeyDocument fullDocument() {
    TKeyDocument document;
    document.Fps = 29.97f;
    for (int k = 0; k < kMaxNodes; ++k) {
        TNode node;
        node.Mesh = "mesh" + std::to_string(k);
        for (int e = 0; e < kMaxEntries; ++e) {
            const long double t = e + k * 0.001L;
            const std::string cells[8] = {
                std::to_string(e * 3),
                "3",
                formatPattern(t * 1.25L, "###0.000000"),
                formatPattern(-t * 0.5L, "###0.000000"),
                formatPattern(t * t * 0.001L, "###0.000000"),
                formatPattern(static_cast<long double>((e * 7) % 360), "###0.000000"),
                formatPattern(static_cast<long double>((e * 13 + k) % 360) + 0.25L, "###0.000000"),
                formatPattern(static_cast<long double>((e * 29) % 360), "###0.000000"),
            };
            for (int c = 0; c < 8; ++c)
                node.Data.setCell(ColFrame + c, e, cells[c]);
        }
        node.Entries = kMaxEntries;
        document.Nodes.push_back(std::move(node));
    }
    return document;
}

} // namespace skyvane::bench
