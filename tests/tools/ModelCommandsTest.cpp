// scenetool convert, animate and info, run as a user runs them.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "RgbImage.h"
#include "ScenetoolRun.h"
#include "objects/FrameAnimatableRGO.h"
#include "objects/RAFileParser.h"
#include "objects/RFileParser.h"
#include "support/MeshFiles.h"
#include "support/TempFolder.h"

namespace {

void WriteText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::vector<float> Floats(const std::vector<MeshVertex>& vertices) {
    const auto* first = reinterpret_cast<const float*>(vertices.data());
    return {first, first + vertices.size() * 9};
}

TestMesh ReadR(const std::filesystem::path& path) {
    RenderableGraphicObject object;
    Tarnhold::RFileParser(object, path.string()).Parse();
    const MeshVertex* v = object.vertices.data.get();
    const std::uint32_t* i = object.indices.data.get();
    return {{v, v + object.vertices.count}, {i, i + object.indices.count}};
}

// Cube(2) with its 8 corners shared: one quad per side, wound as Cube's triangles, each
// corner "p//n" with one normal per side when `normals`, else just "p".
std::string SharedCubeObj(bool normals) {
    const auto triple = [](const float* v) {
        return std::to_string(v[0]) + " " + std::to_string(v[1]) + " " + std::to_string(v[2]);
    };
    const TestMesh cube = Cube(2.0f);
    std::map<std::string, int> corners;
    std::string points, sides;
    for (std::size_t side = 0; side < 6; ++side) {
        if (normals) sides += "vn " + triple(cube.vertices[side * 4].normal) + "\n";
        sides += "f";
        for (std::size_t k = 0; k < 4; ++k) {
            const std::string p = triple(cube.vertices[side * 4 + k].position);
            const auto [at, added] = corners.try_emplace(p, corners.size() + 1);
            if (added) points += "v " + p + "\n";
            sides +=
                " " + std::to_string(at->second) + (normals ? "//" + std::to_string(side + 1) : "");
        }
        sides += "\n";
    }
    return points + sides;
}

// ObjText's text with texture coordinates, without its normals: no vn lines, corners p/t.
std::string WithoutNormals(const std::string& text) {
    return std::regex_replace(std::regex_replace(text, std::regex("vn [^\n]*\n"), ""),
                              std::regex("(\\d+/\\d+)/\\d+"), "$1");
}

class ModelCommands : public testing::Test {
protected:
    ToolResult Run(const std::vector<std::string>& arguments) {
        return RunScenetool(arguments, folder.Path());
    }
    std::filesystem::path At(const char* name) const { return folder.Path() / name; }

    TempFolder folder;
};

TEST_F(ModelCommands, ConvertFansPolygonsKeepingTheirWinding) {
    // A quad clockwise seen from +z and a pentagon clockwise seen from -z.
    WriteText(At("in.obj"),
              "v 0 0 0\nv 0 10 0\nv 10 10 0\nv 10 0 0\n"
              "v 0 0 4\nv 10 0 4\nv 14 6 4\nv 4 12 4\nv -4 6 4\n"
              "g sides\nf 1 2 3 4\nf 5 6 7 8 9 # five\n");
    const ToolResult result =
        Run({"convert", "in.obj", "out.r", "--scale", "0.5", "--keep-winding"});
    EXPECT_EQ(result.status, 0) << result.errors;
    EXPECT_EQ(result.output, "Wrote 9 vertices and 5 triangles to out.r\n");
    EXPECT_EQ(result.errors, "");
    const TestMesh mesh = ReadR(At("out.r"));
    EXPECT_EQ(mesh.indices,
              (std::vector<std::uint32_t>{0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7, 4, 7, 8}));
    std::vector<MeshVertex> expected;
    for (const auto [x, y, z] : {std::array<float, 3>{0, 0, 0}, {0, 5, 0}, {5, 5, 0}, {5, 0, 0}}) {
        expected.push_back({{x, y, z}, {0, 0, 1}, {0, 0, 0}});
    }
    for (const auto [x, y] : {std::array<float, 2>{0, 0}, {5, 0}, {7, 3}, {2, 6}, {-2, 3}}) {
        expected.push_back({{x, y, 2}, {0, 0, -1}, {0, 0, 0}});
    }
    EXPECT_EQ(Floats(mesh.vertices), Floats(expected));
}

// The file's own vertices, or the same without normals, give back Cube's mesh exactly:
// computed normals point out, as Cube's front faces are clockwise seen from outside.
TEST_F(ModelCommands, ConvertGivesBackACubeWithOrWithoutItsNormals) {
    const std::string withNormals = ObjText(Cube(2.0f), true);
    const std::string withoutNormals = WithoutNormals(withNormals);
    ASSERT_EQ(withoutNormals.find("vn"), std::string::npos);
    for (const std::string& text : {withNormals, withoutNormals}) {
        WriteText(At("cube.obj"), text);
        const ToolResult result = Run({"convert", "cube.obj", "cube.r"});
        EXPECT_EQ(result.status, 0) << result.errors;
        EXPECT_EQ(result.output, "Wrote 24 vertices and 12 triangles to cube.r\n");
        const TestMesh mesh = ReadR(At("cube.r"));
        EXPECT_EQ(Floats(mesh.vertices), Floats(Cube(2.0f).vertices));
        EXPECT_EQ(mesh.indices, Cube(2.0f).indices);
    }
}

// The positions of the triangles' corners in the order they are written.
std::vector<float> CornerPositions(const TestMesh& mesh) {
    std::vector<float> positions;
    for (std::uint32_t index : mesh.indices) {
        const float* p = mesh.vertices[index].position;
        positions.insert(positions.end(), p, p + 3);
    }
    return positions;
}

// Cube wound the other way, as most OBJ files are, is turned back: by its normals, or
// without them by the volume it encloses. --keep-winding leaves it as written.
TEST_F(ModelCommands, ConvertTurnsCounterClockwiseFacesToTheViewersFront) {
    const std::string withNormals = ObjText(Reversed(Cube(2.0f)), true);
    const std::string withoutNormals = WithoutNormals(withNormals);
    const std::string keep = "; --keep-winding keeps them as written.\n";
    const std::string wrote = "Wrote 24 vertices and 12 triangles to cube.r\n";
    const struct {
        std::string text, turned;
    } cases[] = {
        {withNormals,
         "Turned 12 faces that wound counter-clockwise as seen from the side their normals point "
         "to, so that the viewer shows their front" +
             keep},
        {withoutNormals,
         "Turned 12 faces without normals, which wind counter-clockwise seen from outside (the "
         "volume the faces enclose is positive)" +
             keep},
    };
    for (const auto& c : cases) {
        WriteText(At("cube.obj"), c.text);
        ToolResult result = Run({"convert", "cube.obj", "cube.r"});
        EXPECT_EQ(result.status, 0) << result.errors;
        EXPECT_EQ(result.output, c.turned + wrote);
        const TestMesh mesh = ReadR(At("cube.r"));
        EXPECT_EQ(Floats(mesh.vertices), Floats(Cube(2.0f).vertices));
        EXPECT_EQ(mesh.indices, Cube(2.0f).indices);

        EXPECT_EQ(Run({"info", "cube.r"}).status, 0);

        result = Run({"convert", "cube.obj", "cube.r", "--keep-winding"});
        EXPECT_EQ(result.output, wrote);
        EXPECT_EQ(CornerPositions(ReadR(At("cube.r"))), CornerPositions(Reversed(Cube(2.0f))));
    }
    // An R file that keeps the faces' winding against their normals says what the viewer
    // makes of it.
    WriteText(At("cube.obj"), withNormals);
    Run({"convert", "cube.obj", "cube.r", "--keep-winding"});
    const ToolResult info = Run({"info", "cube.r"});
    EXPECT_EQ(info.status, 1);
    EXPECT_NE(info.output.find(
                  "\n  12 triangles wind counter-clockwise as seen from the side their normals "
                  "point to (the first is triangle 1, at byte 872): the viewer takes clockwise "
                  "triangles as the front, so it shows their back and the model looks inside "
                  "out. scenetool convert, run again on the OBJ file the mesh was made from, "
                  "turns them.\n"),
              std::string::npos)
        << info.output;
}

// The viewer's picture of converted cubes: the centre pixel is lit where the faces towards
// the camera are drawn as the front, and dark where only the far faces' backs are drawn.
TEST_F(ModelCommands, ConvertedCubesShowTheirLitFront) {
    WriteText(At("Scene.xml"),
              "<Scene><Effects><Textures/><Shaders/></Effects><GraphicObjects>\n"
              "<R file=\"cube.r\" effect=\"NULL\" pos=\"-250,300,2654\" scale=\"1,1,1\"/>\n"
              "</GraphicObjects></Scene>\n");
    const auto centre = [&](const std::string& obj, const std::vector<std::string>& options) {
        WriteText(At("cube.obj"), obj);
        std::vector<std::string> arguments = {"convert", "cube.obj", "cube.r"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        EXPECT_EQ(Run(arguments).status, 0);
        const ToolResult rendered = Run({"render", ".", "-o", "cube.png"});
        EXPECT_EQ(rendered.status, 0) << rendered.output << rendered.errors;
        const auto picture = RgbImage::LoadPng(At("cube.png").string());
        if (!picture) {
            ADD_FAILURE() << "no picture: " << rendered.errors;
            return -1;
        }
        return int{picture->At(picture->Width() / 2, picture->Height() / 2)[0]};
    };
    const std::string counterClockwise = ObjText(Reversed(Cube(40)), false);
    EXPECT_GT(centre(counterClockwise, {}), 100);
    EXPECT_LT(centre(counterClockwise, {"--keep-winding"}), 40);
    // Quads without normals, of which the viewer draws nothing as OBJ.
    EXPECT_GT(centre(SharedCubeObj(false), {"--scale", "20"}), 100);
}

TEST_F(ModelCommands, ConvertSharesCornersWithTheSameIndicesAndWeighsNormalsByArea) {
    WriteText(At("cube.obj"), SharedCubeObj(true));
    ToolResult result = Run({"convert", "cube.obj", "cube.r", "--scale", "1"});
    EXPECT_EQ(result.output, "Wrote 24 vertices and 12 triangles to cube.r\n");
    EXPECT_EQ(ReadR(At("cube.r")).vertices.size(), 24u);

    // Without normals each corner is one vertex, with a unit normal pointing out.
    WriteText(At("cube.obj"), SharedCubeObj(false));
    result = Run({"convert", "cube.obj", "cube.r", "--scale", "1"});
    EXPECT_EQ(result.output, "Wrote 8 vertices and 12 triangles to cube.r\n");
    for (const MeshVertex& v : ReadR(At("cube.r")).vertices) {
        const float* n = v.normal;
        EXPECT_NEAR(n[0] * n[0] + n[1] * n[1] + n[2] * n[2], 1.0f, 1e-6);
        for (int axis = 0; axis < 3; ++axis) EXPECT_GT(n[axis] * v.position[axis], 0.0f);
    }

    // A triangle facing +z of area 1 and one facing +x of area 0.5 share an edge.
    WriteText(At("fold.obj"), "v 0 0 0\nv 0 1 0\nv 2 0 0\nv 0 0 -1\nf 1 2 3\nf 1 2 4\n");
    result = Run({"convert", "fold.obj", "fold.r", "--scale", "1", "--keep-winding"});
    const std::vector<MeshVertex> vertices = ReadR(At("fold.r")).vertices;
    ASSERT_EQ(vertices.size(), 4u);
    const float shared[3] = {1 / std::sqrt(5.0f), 0, 2 / std::sqrt(5.0f)};
    const float expected[4][3] = {
        {shared[0], 0, shared[2]}, {shared[0], 0, shared[2]}, {0, 0, 1}, {1, 0, 0}};
    for (std::size_t i = 0; i < 4; ++i) {
        for (int axis = 0; axis < 3; ++axis) {
            EXPECT_NEAR(vertices[i].normal[axis], expected[i][axis], 1e-6) << i;
        }
    }
}

TEST_F(ModelCommands, ConvertResolvesNegativeIndicesAndEveryCornerForm) {
    WriteText(At("in.obj"),
              "v 0 0 0\nv 0 10 0\nv 10 10 0\nvt 0.25 0.5\nvn 0 1 0\n"
              "f -3/-1/-1 -2/-1/-1 -1/-1/-1\n"
              "v 20 0 0\nvt 0.75 1\nf 3 -1/-1 1//-1 2/1/1\n");
    const ToolResult result = Run({"convert", "in.obj", "out.r", "--keep-winding"});
    EXPECT_EQ(result.status, 0) << result.errors;
    const TestMesh mesh = ReadR(At("out.r"));
    // The last corner is the second vertex again.
    EXPECT_EQ(mesh.indices, (std::vector<std::uint32_t>{0, 1, 2, 3, 4, 5, 3, 5, 1}));
    const float one = 10 * 0.1f, two = 20 * 0.1f;
    const std::vector<MeshVertex> expected = {
        {{0, 0, 0}, {0, 1, 0}, {0.25f, 0.5f, 0}},     {{0, one, 0}, {0, 1, 0}, {0.25f, 0.5f, 0}},
        {{one, one, 0}, {0, 1, 0}, {0.25f, 0.5f, 0}}, {{one, one, 0}, {0, 0, 1}, {0, 0, 0}},
        {{two, 0, 0}, {0, 0, 1}, {0.75f, 1, 0}},      {{0, 0, 0}, {0, 1, 0}, {0, 0, 0}},
    };
    EXPECT_EQ(Floats(mesh.vertices), Floats(expected));
}

// Faces that cannot be used are reported at their line and left out; the rest is written.
TEST_F(ModelCommands, ConvertReportsBadFacesAndWritesTheRest) {
    WriteText(At("in.obj"),
              "v 0 0 0\nv 0 1 0\nv 1 1 0\nf 1 2 3\nf 1 2 4\nf 1 -4 3\nf 1 2\n"
              "f 1/1 2/1 3/1\nf 0 1 2\nf 1//2 2//1 3//1\nv 1 x 0\nf 3 2 1\n");
    const ToolResult result = Run({"convert", "in.obj", "out.r"});
    EXPECT_EQ(result.status, 1);
    const std::string left = "; the face is left out";
    EXPECT_EQ(
        Lines(result.errors),
        (std::vector<std::string>{
            "in.obj:5: position index 4 of corner 3 is out of range (the file has 3 positions)" +
                left,
            "in.obj:6: position index -4 of corner 2 is out of range (3 positions come before it)" +
                left,
            "in.obj:7: a face needs at least 3 corners, this one has 2" + left,
            "in.obj:8: texture-coordinate index 1 of corner 1 is out of range (the file has no "
            "texture coordinates)" +
                left,
            "in.obj:9: position index 0 of corner 1 is out of range (indices start at 1, or count "
            "back from -1)" +
                left,
            "in.obj:10: normal index 2 of corner 1 is out of range (the file has no normals)" +
                left,
            "in.obj:11: The model file in.obj has an unreadable number in the v statement on line "
            "11, at \"x\"; reading stopped there, and what came before it is kept.",
        }));
    EXPECT_EQ(result.output,
              "Turned 1 face without normals, taking it to wind counter-clockwise as OBJ's "
              "convention has it, as the faces enclose about no volume to tell their outside "
              "by; --keep-winding keeps it as written.\n"
              "Wrote 3 vertices and 1 triangle to out.r (faces with problems left out)\n");
    EXPECT_EQ(ReadR(At("out.r")).indices, (std::vector<std::uint32_t>{0, 1, 2}));

    WriteText(At("bad.obj"), "v 0 0 0\nf 1 2 3\n");
    const ToolResult nothing = Run({"convert", "bad.obj", "bad.r"});
    EXPECT_EQ(nothing.status, 1);
    EXPECT_NE(
        nothing.errors.find("scenetool convert: bad.obj has no face to convert; nothing written\n"),
        std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(At("bad.r")));
}

TEST_F(ModelCommands, ConvertFailures) {
    ToolResult result = Run({"convert", "gone.obj", "out.r"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.errors, "scenetool convert: The model file gone.obj was not found.\n");

    WriteText(At("in.obj"), ObjText(Square(0, 0, 1, 1), false));
    result = Run({"convert", "in.obj", "missing/out.r"});
    EXPECT_EQ(result.status, 3);
    EXPECT_EQ(result.errors,
              "scenetool convert: cannot write missing/out.r: No such file or directory\n");

    for (const std::vector<std::string>& arguments : {std::vector<std::string>{"convert", "in.obj"},
                                                      {"convert", "in.obj", "o.r", "--scale", "0"},
                                                      {"convert", "in.obj", "o.r", "--scale", "x"},
                                                      {"animate", "a.r", "k.csv"},
                                                      {"info"},
                                                      {"info", "in.txt"}}) {
        EXPECT_EQ(Run(arguments).status, 2) << arguments.back();
    }
    EXPECT_FALSE(std::filesystem::exists(At("o.r")));
    EXPECT_EQ(
        Run({"info", "in.txt"}).errors,
        "scenetool info: in.txt is not a model file by its name: it must end in .r, .ra or .obj\n");
    for (const char* command : {"convert", "animate", "info"}) {
        result = Run({command, "--help"});
        EXPECT_EQ(result.status, 0) << command;
        EXPECT_NE(result.output.find("Usage:"), std::string::npos) << command;
    }
}

TEST_F(ModelCommands, AnimateWritesTheMeshAndKeysTheViewerReadsBack) {
    WriteRFile(At("cube.r"), Cube(2.0f));
    WriteText(At("keys.csv"),
              "\xEF\xBB\xBF time_ms , x , y , z\r\n# start\n\n0,0,0,0\n 250 , 1.5 , -2 , 3e2 \n"
              "250,+4,5,6\n2147483647,0.1,0,-0\n");
    const ToolResult result = Run({"animate", "cube.r", "keys.csv", "out.ra"});
    EXPECT_EQ(result.status, 0) << result.errors;
    EXPECT_EQ(result.output,
              "Wrote 24 vertices, 12 triangles and 4 translation keys (0 ms to 2147483647 ms) to "
              "out.ra\n");

    FrameAnimatableRGO object;
    Tarnhold::RAFileParser(object, At("out.ra").string()).Parse();
    const MeshVertex* v = object.vertices.data.get();
    EXPECT_EQ(Floats({v, v + object.vertices.count}), Floats(Cube(2.0f).vertices));
    const std::uint32_t* i = object.indices.data.get();
    EXPECT_EQ(std::vector<std::uint32_t>(i, i + object.indices.count), Cube(2.0f).indices);
    // Compared bitwise, so that -0 stays -0.
    const std::vector<TranslationKey> expected = {
        {0, 0, 0, 0}, {250, 1.5f, -2, 300}, {250, 4, 5, 6}, {2147483647, 0.1f, 0, -0.0f}};
    ASSERT_EQ(object.translationTrack.count, expected.size());
    EXPECT_EQ(std::memcmp(object.translationTrack.data.get(), expected.data(),
                          expected.size() * sizeof(TranslationKey)),
              0);
    EXPECT_EQ(object.auxTrack.count, 0u);
}

TEST_F(ModelCommands, AnimateReportsEveryBadLineAndWritesNothing) {
    WriteRFile(At("m.r"), Square(0, 0, 1, 1));
    WriteText(At("keys.csv"),
              "0,0,0,0\ntime_ms,x,y,z\n100,1,2\n1.5,0,0,0\n2147483648,0,0,0\n200,x,0,0\n"
              "300,0,1e39,0\n400,0,0,inf\n500,0,0,0\n499,0,0,0\n,,,\n");
    ToolResult result = Run({"animate", "m.r", "keys.csv", "out.ra"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.output, "");
    EXPECT_EQ(Lines(result.errors),
              (std::vector<std::string>{
                  "keys.csv:2: the time \"time_ms\" is not a whole number of milliseconds",
                  "keys.csv:3: expected 4 fields (time_ms,x,y,z), found 3",
                  "keys.csv:4: the time \"1.5\" is not a whole number of milliseconds",
                  "keys.csv:5: the time 2147483648 is outside the 32-bit range (-2147483648 to "
                  "2147483647)",
                  "keys.csv:6: x \"x\" is not a number",
                  "keys.csv:7: y \"1e39\" is not a finite 32-bit float",
                  "keys.csv:8: z \"inf\" is not a finite 32-bit float",
                  "keys.csv:10: the time 499 comes before the time 500 of the previous key; keys "
                  "must be in time order",
                  "keys.csv:11: the time \"\" is not a whole number of milliseconds",
                  "scenetool animate: nothing written",
              }));
    EXPECT_FALSE(std::filesystem::exists(At("out.ra")));

    // A damaged mesh is reported with the reader's message, and nothing is written either.
    WriteText(At("m.r"), RawRFileBytes(3, {}, 0, {}));
    WriteText(At("keys.csv"), "0,0,0,0\n");
    result = Run({"animate", "m.r", "keys.csv", "out.ra"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(Lines(result.errors),
              (std::vector<std::string>{
                  "scenetool animate: The model file m.r is cut short: it ends at byte 8, before "
                  "the end of its 3 vertices (108 bytes from byte 4).",
                  "scenetool animate: nothing written"}));
    EXPECT_FALSE(std::filesystem::exists(At("out.ra")));
}

TEST_F(ModelCommands, InfoDescribesEachKindOfModel) {
    WriteRFile(At("sq.R"), Square(0, 0, 1, 2));
    ToolResult result = Run({"info", "sq.R"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.output,
              "sq.R: R mesh\nvertices: 4\ntriangles: 2\nbounds: (0, 0, 0) to (1, 2, 0)\n"
              "problems: none\n");

    std::vector<TranslationKey> keys;
    std::string listed;
    for (int n = 0; n < 12; ++n) {
        keys.push_back({n * 100 - 100, float(n), 0, -1});
        if (n < 10)
            listed +=
                "  " + std::to_string(n * 100 - 100) + " ms: (" + std::to_string(n) + ", 0, -1)\n";
    }
    WriteRAFile(At("sq.ra"), Translated(Square(0, 0, 1, 2), 0, 0, -3), keys,
                {AuxKey{5, {1, 2, 3, 4}}});
    result = Run({"info", "sq.ra"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(
        result.output,
        "sq.ra: RA animated mesh\nvertices: 4\ntriangles: 2\nbounds: (0, 0, -3) to (1, 2, -3)\n"
        "translation keys: 12, from -100 ms to 1000 ms\n" +
            listed +
            "  ... and 2 more\n"
            "second-track keys: 1\nproblems: none\n");

    WriteText(At("m.obj"), ObjText(Square(0, 0, 1, 2), true) + "f 1/1/1 2/2/2 9/3/3\n");
    result = Run({"info", "m.obj"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.output,
              "m.obj: OBJ model\npositions: 4\ntexture coordinates: 4\nnormals: 4\nfaces: 3\n"
              "bounds (positions times 0.1, as the viewer reads them): (0, 0, 0) to (1, 2, 0)\n"
              "problems: 1\n  The model file m.obj has 1 face with an index outside its arrays, "
              "which is not drawn. It is on line 16: its position index is 9, but the file has 4 "
              "positions.\n");
}

// What the viewer makes of OBJ files as exporters write them, at the first face concerned;
// a reader's entry is completed rather than said again.
TEST_F(ModelCommands, InfoExplainsWindingCornersAndMissingNormals) {
    const struct {
        std::string name, text, problem;
    } cases[] = {
        {"ccw.obj", ObjText(Reversed(Cube(40)), false),
         "12 faces wind counter-clockwise as seen from the side their normals point to (the "
         "first on line 50): the viewer takes clockwise faces as the front, so it shows their "
         "back and the model looks inside out. scenetool convert turns them."},
        {"quads.obj", SharedCubeObj(true),
         "6 faces have more than three corners (the first on line 10): the viewer draws only "
         "the first three corners of each. scenetool convert fans them into triangles."},
        {"bare.obj", SharedCubeObj(false),
         "The model file bare.obj has 6 faces with an index outside their arrays, which are not "
         "drawn. The first is on line 9: its normal index is 0, but the file has no normals. "
         "scenetool convert computes normals and writes an R file the viewer draws."},
    };
    for (const auto& c : cases) {
        WriteText(At(c.name.c_str()), c.text);
        const ToolResult result = Run({"info", c.name});
        EXPECT_EQ(result.status, 1) << c.name;
        EXPECT_TRUE(result.output.ends_with("\nproblems: 1\n  " + c.problem + "\n"))
            << result.output;
    }
}

TEST_F(ModelCommands, InfoReportsDamagedFilesAndKeysOutOfOrder) {
    WriteText(At("bad.r"), RFileBytes(Square(0, 0, 1, 1)).substr(0, 50));
    ToolResult result = Run({"info", "bad.r"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.output, "");
    EXPECT_EQ(result.errors,
              "scenetool info: The model file bad.r is cut short: it ends at byte 50, before the "
              "end of its 4 vertices (144 bytes from byte 4).\n");

    WriteRAFile(At("back.ra"), Square(0, 0, 1, 1), {{0, 0, 0, 0}, {200, 0, 0, 0}, {100, 0, 0, 0}});
    result = Run({"info", "back.ra"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.output.find(
                  "problems: 1\n  The model file back.ra has 1 translation key earlier than the "
                  "key before it; the first is key 3 at 100 ms, after 200 ms. The viewer expects "
                  "the keys in time order.\n"),
              std::string::npos)
        << result.output;
}

}  // namespace
