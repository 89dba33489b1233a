// The 3DO mesh-name reader: names in file order, and what makes a file not a 3DO model.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/fileio.h"
#include "core/numbers.h"
#include "formats/model3do.h"

namespace skyvane {
namespace {

using Names = std::vector<std::string>;

const std::string kHeader = "# MODEL cam.3do\r\nSECTION: HEADER\r\n3DO 2.1\r\n\r\n";

std::string model(const std::string& geometry) {
    return kHeader + "SECTION: MODELRESOURCE\r\nMATERIALS 1\r\n\r\nSECTION: GEOMETRYDEF\r\n" +
           geometry;
}

TEST(Mesh3do, meshes_giveTheirNamesInOrder) {
    const std::string text = model("RADIUS 1.0\r\nMESHES 3\r\n"
                                   "MESH 0\r\nNAME body\r\nVERTICES 8\r\n"
                                   "MESH 1\r\nNAME wing.l\r\n"
                                   "MESH 2\r\nNAME wing.r\r\n"
                                   "MESHES 1\r\nMESH 3\r\nNAME late\r\n");
    EXPECT_EQ(read3doMeshNames(text), (Names{"body", "wing.l", "wing.r"}));
}

TEST(Mesh3do, nameWithABlank_isPassedOverForTheNextNameLine) {
    const std::string text = model("MESHES 1\nMESH 0\nNAME two words\nMESH 1\nNAME second\n");
    EXPECT_EQ(read3doMeshNames(text), (Names{"second"}));
}

TEST(Mesh3do, zeroOrNegativeMeshes_giveAnEmptyList) {
    EXPECT_EQ(read3doMeshNames(model("MESHES 0\n")), Names{});
    EXPECT_EQ(read3doMeshNames(model("MESHES -4\n")), Names{});
}

TEST(Mesh3do, notAModel_givesNothing) {
    const std::pair<const char*, std::string> cases[] = {
        {"empty", ""},
        {"plain text", "hello\nworld\n"},
        {"KEY file", "SECTION: HEADER\nFPS 15\nJOINTS 1\nSECTION: KEYFRAME NODES\n"},
        {"3DO line is the last", "SECTION: HEADER\n3DO 2.1\n"},
        {"3DO line before header", "3DO 2.1\nSECTION: HEADER\nx\n"},
        {"ends before GEOMETRYDEF", kHeader + "SECTION: MODELRESOURCE\n"},
        {"ends before MESHES", model("RADIUS 1\n")},
        {"ends before an announced mesh", model("MESHES 2\nMESH 0\nNAME a\n")},
        {"ends before the name of a mesh", model("MESHES 1\nMESH 0\n")},
        {"huge count", model("MESHES 2000000000\nMESH 0\nNAME a\n")},
    };
    for (const auto& [name, text] : cases)
        EXPECT_EQ(read3doMeshNames(text), std::nullopt) << name;
}

TEST(Mesh3do, meshesCountNotAnInteger_isAConversionError) {
    try {
        read3doMeshNames(model("MESHES 2.5\n"));
        ADD_FAILURE() << "no conversion error";
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'2.5' is not a valid integer value");
    }
}

TEST(Mesh3do, fromFile_readsTheFileOrRaisesFileError) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "skyvane_mesh3do_test.3do";
    std::ofstream(path, std::ios::binary) << model("MESHES 1\nMESH 0\nNAME cam\n");
    EXPECT_EQ(read3doMeshNamesFromFile(path.string()), Names{"cam"});
    std::filesystem::remove(path);
    EXPECT_THROW(read3doMeshNamesFromFile(path.string()), FileError);
}

} // namespace
} // namespace skyvane
