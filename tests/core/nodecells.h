// Nodes for the KEY tests, written as rows of cell texts.
#pragma once

#include <array>
#include <initializer_list>
#include <string>

#include "core/document.h"

namespace skyvane::test {

// One entry as cell texts: Frame, Steps, X, Y, Z, Pitch, Yaw, Roll.
using Cells = std::array<const char*, 8>;

inline TNode makeNode(const std::string& mesh, std::initializer_list<Cells> entries) {
    TNode node;
    node.Mesh = mesh;
    int e = 0;
    for (const Cells& cells : entries) {
        for (int c = 0; c < 8; ++c)
            node.Data.setCell(ColFrame + c, e, cells[c]);
        ++e;
    }
    node.Entries = static_cast<std::int16_t>(e);
    return node;
}

} // namespace skyvane::test
