// The 3DO mesh-name reader: the names of the meshes a model's geometry section announces.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace skyvane {

// The mesh names in file order, or nothing when the text is not a valid 3DO model (no header,
// no "3DO" line, or it ends before GEOMETRYDEF, MESHES or an announced mesh). A MESHES count
// that is not an integer throws ConversionError.
std::optional<std::vector<std::string>> read3doMeshNames(std::string_view text);

// Reads the file first; throws FileError when it cannot be read.
std::optional<std::vector<std::string>> read3doMeshNamesFromFile(const std::string& path);

} // namespace skyvane
