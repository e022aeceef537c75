// Models and images that nobody on the project wrote, from Debian's packages (fetched by
// scripts/fetch-real-files before these tests run, into REAL_FILES_DIR): what scenetool
// says of them, that convert makes each model one the viewer shows right side out, and
// that the images load as textures.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ScenetoolRun.h"
#include "objects/RMeshReading.h"
#include "support/TempFolder.h"

namespace {

const std::filesystem::path kRealFiles = REAL_FILES_DIR;

struct Orientation {
    double agreeing = 0;  // share of the triangles whose front side their normals point to
    double volume = 0;    // enclosed by the front sides: above 0 when they face outwards
};

// How the viewer sees the triangles of an R file: its front faces are those wound
// clockwise, so a triangle (a, b, c) faces along (c - a) x (b - a).
Orientation Measure(const RMesh& mesh) {
    const MeshVertex* v = mesh.vertices.data.get();
    const std::uint32_t* index = mesh.indices.data.get();
    const std::uint32_t triangles = mesh.indices.count / 3;
    Orientation result;
    std::uint32_t agreeing = 0;
    for (std::uint32_t t = 0; t < triangles; ++t) {
        const float* a = v[index[3 * t]].position;
        const float* b = v[index[3 * t + 1]].position;
        const float* c = v[index[3 * t + 2]].position;
        const double u[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
        const double w[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
        const double front[3] = {u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2],
                                 u[0] * w[1] - u[1] * w[0]};
        double normals = 0;
        for (int k = 0; k < 3; ++k) {
            const float* n = v[index[3 * t + k]].normal;
            normals += front[0] * n[0] + front[1] * n[1] + front[2] * n[2];
        }
        agreeing += normals > 0;
        result.volume += a[0] * front[0] + a[1] * front[1] + a[2] * front[2];
    }
    result.agreeing = triangles ? static_cast<double>(agreeing) / triangles : 0;
    return result;
}

class RealFiles : public testing::TestWithParam<const char*> {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(std::filesystem::exists(kRealFiles / "bunny.obj"))
            << "scripts/fetch-real-files " << kRealFiles << " did not fetch the files";
    }
    TempFolder folder;
};

// A model as people download it converts into one the viewer shows right side out: the
// triangles face where their normals point, and outwards.
TEST_P(RealFiles, ConvertMakesTheModelRightSideOut) {
    const std::filesystem::path in = kRealFiles / GetParam(), out = folder.Path() / "model.r";
    const ToolResult converted = RunScenetool({"convert", in.string(), out.string()});
    ASSERT_EQ(converted.status, 0) << converted.errors;
    const Orientation seen = Measure(ReadRMeshFile(out.string()));
    EXPECT_GT(seen.agreeing, 0.99) << GetParam();
    EXPECT_GT(seen.volume, 0.0) << GetParam();

    const ToolResult info = RunScenetool({"info", out.string()});
    EXPECT_EQ(info.status, 0) << info.output;
}

// What info says of each model as downloaded: why the viewer draws it wrongly or not at
// all, and what convert does about it.
TEST(RealModels, InfoExplainsWhatTheViewerMakesOfThem) {
    const std::string noNormals =
        " faces with an index outside their arrays, which are not drawn. The first is on line ";
    const std::string computes =
        ": its normal index is 0, but the file has no normals. "
        "scenetool convert computes normals and writes an R file the "
        "viewer draws.";
    const std::string wind =
        " faces wind counter-clockwise as seen from the side their normals "
        "point to (the first on line ";
    const std::string turns =
        "): the viewer takes clockwise faces as the front, so it shows "
        "their back and the model looks inside out. scenetool convert "
        "turns them.";
    const struct {
        std::string file;
        std::vector<std::string> problems;
    } models[] = {
        {"bunny.obj", {"The model file bunny.obj has 69666" + noNormals + "34836" + computes}},
        {"logo3d.obj", {"3088" + wind + "10827" + turns}},
        {"homedecor_cube.obj",
         {"The model file homedecor_cube.obj has 6" + noNormals + "15" + computes}},
        {"homedecor_kitchen_cabinet.obj",
         {"6" + wind + "40" + turns,
          "6 faces have more than three corners (the first on line 40): the viewer draws only "
          "the first three corners of each. scenetool convert fans them into triangles."}},
    };
    for (const auto& model : models) {
        const ToolResult info = RunScenetool({"info", model.file}, kRealFiles);
        EXPECT_EQ(info.status, 1) << model.file;
        const std::vector<std::string> lines = Lines(info.output);
        const auto problems = std::find(lines.begin(), lines.end(),
                                        "problems: " + std::to_string(model.problems.size()));
        ASSERT_NE(problems, lines.end()) << info.output;
        std::vector<std::string> found;
        for (auto line = problems + 1; line != lines.end(); ++line)
            found.push_back(line->substr(2));
        EXPECT_EQ(found, model.problems) << model.file;
    }
}

INSTANTIATE_TEST_SUITE_P(DebianModels, RealFiles,
                         testing::Values("bunny.obj", "logo3d.obj", "homedecor_cube.obj",
                                         "homedecor_kitchen_cabinet.obj"),
                         [](const auto& info) {
                             std::string name = info.param;
                             return name.substr(0, name.find('.'));
                         });

// Photographs and pictures of other programs load as textures, with nothing to report.
TEST(RealImages, LoadAsTexturesWithoutAWord) {
    TempFolder folder;
    std::ofstream(folder.Path() / "Scene.xml") << R"(<Scene><Effects>
  <Textures>
    <Texture name="crate" file=")" << (kRealFiles / "crate-base.png").string()
                                               << R"("/>
    <Texture name="jellyfish" file=")" << (kRealFiles / "jellyfish256.png").string()
                                               << R"("/>
    <Texture name="grass" file=")" << (kRealFiles / "terrain-grasslight-512.jpg").string()
                                               << R"("/>
  </Textures>
  <Shaders/>
  <Effect name="pictures"><Shader shader="NULL"/>
    <Sampler name="a" texture="crate"/><Sampler name="b" texture="jellyfish"/>
    <Sampler name="c" texture="grass"/></Effect>
</Effects><GraphicObjects/></Scene>
)";
    // Only warnings: the effect has no object and no program to use its samplers.
    const ToolResult checked = RunScenetool({"check", folder.Path().string()});
    EXPECT_NE(checked.output.find(": 0 errors and "), std::string::npos) << checked.output;
}

}  // namespace
