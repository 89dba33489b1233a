// A yardstick for reading KEY files: a plain C loader with fgets and sscanf, as a game of its
// time reads them. It parses the same numbers as Skyvane's reader (frame, flags, the six values
// and the six changes of every entry) into 32-bit floats and checks nothing beyond the line
// shapes. Only for measuring; the editor never uses it.
#pragma once

#include <cstdio>
#include <cstring>
#include <vector>

namespace skyvane::bench {

struct LoadedEntry {
    float frame = 0;
    unsigned flags = 0;
    float values[6] = {};
    float changes[6] = {};
};

struct LoadedNode {
    char mesh[32] = "";
    std::vector<LoadedEntry> entries;
};

struct LoadedKey {
    float fps = 0;
    std::vector<LoadedNode> nodes;
};

namespace detail {

// The next line that is neither blank nor a comment; false at the end of the file.
inline bool nextLine(std::FILE* file, char* line, int size) {
    while (std::fgets(line, size, file)) {
        const char* first = line + std::strspn(line, " \t\r\n");
        if (*first != '\0' && *first != '#')
            return true;
    }
    return false;
}

inline bool loadEntries(std::FILE* file, char* line, int size, LoadedNode& node, int count) {
    node.entries.resize(static_cast<std::size_t>(count));
    for (LoadedEntry& entry : node.entries) {
        int index = 0;
        float* v = entry.values;
        float* d = entry.changes;
        if (!nextLine(file, line, size) ||
            std::sscanf(line, "%d: %f %x %f %f %f %f %f %f", &index, &entry.frame, &entry.flags,
                        &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]) != 9)
            return false;
        if (!nextLine(file, line, size) ||
            std::sscanf(line, "%f %f %f %f %f %f", &d[0], &d[1], &d[2], &d[3], &d[4], &d[5]) != 6)
            return false;
    }
    return true;
}

} // namespace detail

// False when the file cannot be opened or a line does not have the expected shape.
inline bool loadWithFgets(const char* path, LoadedKey& key) {
    std::FILE* file = std::fopen(path, "r");
    if (!file)
        return false;
    char line[512];
    const int size = sizeof line;
    int joints = -1;
    bool ok = true;
    while (ok && joints < 0 && detail::nextLine(file, line, size)) {
        std::sscanf(line, "FPS %f", &key.fps);
        std::sscanf(line, "JOINTS %d", &joints);
    }
    key.nodes.resize(joints > 0 ? static_cast<std::size_t>(joints) : 0);
    for (LoadedNode& node : key.nodes) {
        int number = -1;
        int count = -1;
        while (ok && count < 0 && (ok = detail::nextLine(file, line, size))) {
            std::sscanf(line, "NODE %d", &number);
            std::sscanf(line, "MESH NAME %31s", node.mesh);
            std::sscanf(line, "ENTRIES %d", &count);
        }
        ok = ok && detail::loadEntries(file, line, size, node, count);
    }
    std::fclose(file);
    return ok && joints >= 0;
}

} // namespace skyvane::bench
