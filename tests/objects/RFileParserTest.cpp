#include "objects/RFileParser.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "factory/Creators.h"
#include "factory/FactoryException.h"
#include "objects/ModelFileError.h"
#include "objects/OBJGraphicObject.h"
#include "objects/RAGraphicObject.h"
#include "objects/RGraphicObject.h"
#include "scene/FileGraphicMemento.h"
#include "support/MeshFiles.h"
#include "support/ModelRoutes.h"
#include "support/Thrown.h"
#include "support/TempFolder.h"

namespace {

// Three vertices whose 27 floats all differ, and one triangle.
TestMesh Triangle() {
    TestMesh mesh{std::vector<MeshVertex>(3), {2, 0, 1}};
    auto* floats = reinterpret_cast<float*>(mesh.vertices.data());
    for (int i = 0; i < 27; ++i) floats[i] = i * 1.5f - 7.0f;
    return mesh;
}

std::vector<float> Floats(const MeshVertex* vertices, std::size_t count) {
    const auto* first = reinterpret_cast<const float*>(vertices);
    return {first, first + count * 9};
}

// A target that already holds a mesh, so a failed parse can be seen to keep it.
struct FilledTarget {
    FilledTarget() { Tarnhold::RFileParser(object, "old.r").ParseBuffer(RFileBytes(Triangle())); }
    RenderableGraphicObject object;
};

// Each case is read from memory, from a file and from a pipe.
class RFileParserRoutes : public testing::TestWithParam<ModelRoute> {
protected:
    void Parse(RenderableGraphicObject& target, const std::string& bytes) {
        ParseThrough(GetParam(), Tarnhold::RFileParser(target, name), path, bytes);
    }

    TempFolder folder;
    const std::filesystem::path path = folder.Path() / "m.r";
    const std::string name = path.string();
};

INSTANTIATE_TEST_SUITE_P(Sources, RFileParserRoutes, testing::ValuesIn(kModelRoutes),
                         ModelRouteName);

TEST_P(RFileParserRoutes, TwoZeroCountsReplaceTheMeshWithAnEmptyOne) {
    FilledTarget target;
    const std::string bytes = RawRFileBytes(0, {}, 0, {});
    ASSERT_EQ(bytes.size(), 8u);
    Parse(target.object, bytes);
    EXPECT_EQ(target.object.vertices.count, 0u);
    EXPECT_EQ(target.object.indices.count, 0u);
}

TEST_P(RFileParserRoutes, ReadsEveryVertexFloatAndIndexAndIgnoresTrailingBytes) {
    const TestMesh mesh = Triangle();
    for (const std::string& tail : {std::string(), std::string("\x07\0\0\0garbage", 11)}) {
        RenderableGraphicObject target;
        Parse(target, RFileBytes(mesh) + tail);
        ASSERT_EQ(target.vertices.count, 3u);
        EXPECT_EQ(Floats(target.vertices.data.get(), 3), Floats(mesh.vertices.data(), 3));
        ASSERT_EQ(target.indices.count, 3u);
        EXPECT_EQ(
            std::vector<std::uint32_t>(target.indices.data.get(), target.indices.data.get() + 3),
            mesh.indices);
    }
}

TEST_P(RFileParserRoutes, DamagedFilesNameTheProblemAndKeepTheTarget) {
    const std::string whole = RFileBytes(Triangle());  // 4 + 3 * 36 + 4 + 12 = 128 bytes
    const std::vector<MeshVertex> one = {Vertex(1, 2, 3)};
    const std::string cut = "The model file " + name + " is cut short: it ends at byte ";
    const std::string range = "The model file " + name + " has a vertex index out of range: ";
    const struct {
        std::string bytes, message;
    } cases[] = {
        {whole.substr(0, 3), cut + "3, before the end of its vertex count (4 bytes from byte 0)."},
        {whole.substr(0, 4 + 2 * 36 + 10),
         cut + "86, before the end of its 3 vertices (108 bytes from byte 4)."},
        {RawRFileBytes(1, one, 0, {}).substr(0, 24),
         cut + "24, before the end of its 1 vertex (36 bytes from byte 4)."},
        {whole.substr(0, 4 + 3 * 36 + 2),
         cut + "114, before the end of its triangle count (4 bytes from byte 112)."},
        {whole.substr(0, 128 - 4),
         cut + "124, before the end of its 1 triangle (12 bytes from byte 116)."},
        {RawRFileBytes(1, one, 2, {0, 0, 0, 0}),
         cut + "60, before the end of its 2 triangles (24 bytes from byte 44)."},
        // Counts far beyond the file are reported, not allocated.
        {RawRFileBytes(0xFFFFFFFF, {}, 0, {}),
         cut + "8, before the end of its 4294967295 vertices (154618822620 bytes from byte 4)."},
        {RawRFileBytes(0, {}, 0xFFFFFFFF, {}),
         cut + "8, before the end of its 4294967295 triangles (51539607540 bytes from byte 8)."},
        // The first index not below the vertex count, at its own byte offset.
        {RawRFileBytes(3, Triangle().vertices, 2, {0, 1, 2, 2, 3, 7}),
         range + "3 at byte 132, but the file has 3 vertices."},
        {RawRFileBytes(1, one, 1, {0, 0, 1}), range + "1 at byte 52, but the file has 1 vertex."},
        {RawRFileBytes(0, {}, 1, {0, 0, 0}), range + "0 at byte 8, but the file has 0 vertices."},
        // Indices are checked a chunk at a time; this one lies well past the first chunk.
        {RawRFileBytes(1, one, 24000,
                       [] {
                           std::vector<std::uint32_t> indices(72000, 0);
                           indices[70000] = 1;
                           return indices;
                       }()),
         range + "1 at byte 280044, but the file has 1 vertex."},
    };
    for (const auto& damaged : cases) {
        FilledTarget target;
        const MeshVertex* vertices = target.object.vertices.data.get();
        const std::uint32_t* indices = target.object.indices.data.get();
        EXPECT_EQ(MessageOf<ModelFileError>([&] { Parse(target.object, damaged.bytes); }),
                  damaged.message);
        EXPECT_EQ(target.object.vertices.data.get(), vertices) << damaged.message;
        EXPECT_EQ(target.object.vertices.count, 3u) << damaged.message;
        EXPECT_EQ(target.object.indices.data.get(), indices) << damaged.message;
        EXPECT_EQ(target.object.indices.count, 3u) << damaged.message;
    }
}

TEST(RFileParser, FilesThatCannotBeReadNameTheFile) {
    TempFolder folder;
    RenderableGraphicObject target;
    const std::string missing = (folder.Path() / "missing.r").string();
    const std::string directory = folder.Path().string();
    EXPECT_EQ(MessageOf<ModelFileError>([&] { Tarnhold::RFileParser(target, missing).Parse(); }),
              "The model file " + missing + " was not found.");
    EXPECT_EQ(MessageOf<ModelFileError>([&] { Tarnhold::RFileParser(target, directory).Parse(); }),
              "The model file " + directory + " could not be read: Is a directory.");
}

TEST(CreateRGraphicObject, ReadsTheFileAndCopiesPositionAndScale) {
    TempFolder folder;
    FileGraphicMemento description;
    description.fileName = (folder.Path() / "tri.r").string();
    description.position = {1.5f, -2.0f, 3.25f};
    description.scale = {4.0f, 5.0f, 6.0f};
    WriteRFile(description.fileName, Triangle());
    const auto object = CreateRGraphicObject(description);
    EXPECT_EQ(object->vertices.count, 3u);
    EXPECT_EQ(object->indices.count, 3u);
    const Vector3 at = object->position, scale = object->scale;
    EXPECT_EQ(std::vector<float>({at.x, at.y, at.z}), std::vector<float>({1.5f, -2.0f, 3.25f}));
    EXPECT_EQ(std::vector<float>({scale.x, scale.y, scale.z}), std::vector<float>({4, 5, 6}));

    description.fileName = (folder.Path() / "gone.r").string();
    EXPECT_EQ(MessageOf<FactoryException>([&] { CreateRGraphicObject(description); }),
              "The model file " + description.fileName + " was not found.");
}

// A creator given the description of something that has no model file refuses it.
TEST(ModelCreators, NeedAModelFileDescription) {
    AbstractGraphicMemento description;
    std::vector<Problem> problems;
    EXPECT_EQ(MessageOf<FactoryException>([&] { CreateRGraphicObject(description); }),
              "An R object needs a model file description.");
    EXPECT_EQ(MessageOf<FactoryException>([&] { CreateRAGraphicObject(description); }),
              "An RA object needs a model file description.");
    EXPECT_EQ(MessageOf<FactoryException>([&] { CreateOBJGraphicObject(description, problems); }),
              "An OBJ object needs a model file description.");
}

// An object element without a file attribute is reported at its line, not as a file named
// "" that was not found.
TEST(ModelCreators, RefuseAnEmptyFileNameSayingWhere) {
    FileGraphicMemento description;
    description.sourceLine = 23;
    EXPECT_EQ(MessageOf<FactoryException>([&] { CreateRGraphicObject(description); }),
              "Scene.xml line 23: the R object has no file attribute, so it has no model to draw.");
    description.sourceLine = 0;
    EXPECT_EQ(MessageOf<FactoryException>([&] { CreateRAGraphicObject(description); }),
              "The RA object has no file attribute, so it has no model to draw.");
}

}  // namespace
