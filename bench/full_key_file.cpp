// Writes the largest document the editor holds (50 nodes of 1000 entries) to a KEY file, the
// file that `skyvane-key check` and the fgets loader are timed on.
#include <iostream>

#include "core/fileio.h"
#include "fulldocument.h"
#include "core/keyfile.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "Usage: full_key_file FILE\n";
        return 2;
    }
    try {
        skyvane::saveKeyFile(argv[1], skyvane::bench::fullDocument(), "d", "t");
    } catch (const skyvane::FileError& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    return 0;
}
