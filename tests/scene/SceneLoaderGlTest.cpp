#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/SceneRuntime.h"
#include "factory/Factory.h"
#include "objects/RenderableGraphicObject.h"
#include "resources/ResourceRegistry.h"
#include "scene/SceneException.h"
#include "support/GlTestContext.h"
#include "support/LogEntries.h"
#include "support/MeshFiles.h"
#include "support/TempFolder.h"
#include "support/TestImages.h"

namespace {

namespace fs = std::filesystem;
using Entries = std::vector<LogEntry>;
using Names = std::set<std::string>;

// The loader reads Scene.xml from the working folder; this makes `folder` that folder for
// as long as it lives.
class WorkingFolder {
public:
    explicit WorkingFolder(const fs::path& folder) : previous(fs::current_path()) {
        fs::current_path(folder);
    }
    ~WorkingFolder() { fs::current_path(previous); }

    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

private:
    fs::path previous;
};

Entries operator+(Entries first, const Entries& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// A scene file is loaded in a folder holding the files the scenes name: stone.png,
// plain.vert, plain.frag and cube.r (and nothing called missing.png).
class SceneLoaderGl : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_GL(gl);
        ASSERT_TRUE(WriteRgbImage(File("stone.png"), 2, 2, [](int, int) { return Rgb{9, 8, 7}; }));
        ASSERT_TRUE(WriteBytes(File("plain.vert"),
                               "#version 120\nvoid main() { gl_Position = gl_Vertex; }\n"));
        ASSERT_TRUE(WriteBytes(File("plain.frag"),
                               "#version 120\nvoid main() { gl_FragColor = vec4(1.0); }\n"));
        WriteRFile(File("cube.r"), Cube(10));
    }

    std::string File(const std::string& name) const { return (folder.Path() / name).string(); }

    void UseScene(const std::string& name) {
        fs::copy_file(fs::path(SCENE_FILES_DIR) / (name + ".xml"), File("Scene.xml"));
    }

    // Runs the loader; the message of the SceneException it threw, if it threw one.
    std::optional<std::string> Load() {
        const WorkingFolder inFolder(folder.Path());
        try {
            runtime.Load();
        } catch (const SceneException& failure) {
            return failure.what();
        }
        return std::nullopt;
    }

    Entries Logged() const { return EntriesOf(logPath); }

    RenderableGraphicObject& Object(std::size_t index) {
        return dynamic_cast<RenderableGraphicObject&>(*factory.objects[index]);
    }

    GlTestContext gl{64, 64};
    TempFolder folder;
    std::string logPath = File("Log.htm");
    SceneRuntime runtime{logPath};
    ResourceRegistry& registry = runtime.registry;
    Factory& factory = runtime.factory;
};

struct SceneCase {
    std::string file;  // in SCENE_FILES_DIR without ".xml"; empty: the folder has no Scene.xml
    bool throws = false;
    std::size_t objects = 0;
    Names registered;  // "texture NAME", "program NAME", "effect NAME"
    Entries log;       // "FOLDER" stands for the working folder
};

SceneCase Case(std::string file, bool throws, std::size_t objects, Names registered, Entries log) {
    return {std::move(file), throws, objects, std::move(registered), std::move(log)};
}

void PrintTo(const SceneCase& scene, std::ostream* out) { *out << scene.file; }

std::vector<SceneCase> SceneCases() {
    const Entries opening = {Title("Scene initialization"), Heading("file Scene.xml"),
                             Message("start parsing \t" + kTime), Message("Creating scene ...")};
    const auto closing = [](const Entries& factoryErrors) {
        return Entries{Message("end parsing \t" + kTime), Message("Creating graphic object."),
                       Heading("Factory."), Message("starting at: \t" + kTime)} +
               factoryErrors + Entries{Message("ending at:\t" + kTime)};
    };
    const auto cube = [](const std::string& effect) {
        return Entries{Heading("R"), Message("file:\tcube.r"), Message("effect:\t" + effect)};
    };
    const Entries stone = {Heading("Texture"), Message("name:\tstone"),
                           Message("file:\tstone.png")};
    const Entries plain = {Heading("GLSL"), Message("name:\tplain"), Message("vert:\tplain.vert"),
                           Message("frag:\tplain.frag")};
    const Entries lit = {Message("name:\tlit"), Message("shader:\tplain")};
    const Entries fileFailure = {Title("Scene initialization"), Heading("file Scene.xml")};
    const auto catchIn = [](const std::string& section) {
        return Error("Scene::Load() catch exception in " + section + " loading.");
    };
    const auto unregistered = [](int line, const std::string& effect) {
        return Error("Scene.xml line " + std::to_string(line) +
                     ": the R object cube.r names the effect " + effect +
                     ", which is not registered; it is drawn with the NULL effect.");
    };
    const Names allThree = {"texture stone", "program plain", "effect NULL", "effect lit"};

    return {
        Case("minimal", false, 0, {"effect NULL"}, opening + closing({})),
        Case("full", false, 3,
             {"texture stone", "texture wall", "program plain", "effect ", "effect NULL",
              "effect lit"},
             opening + stone +
                 Entries{Heading("Cubemap"), Heading("Texture"), Message("file:\tstone.png"),
                         Message("name:\twall")} +
                 plain + Entries{Heading("HLSL")} + lit + Entries{Message("shader:\tplain")} +
                 cube("lit") +
                 Entries{Heading("R"), Message("pos:\t1,2,3"), Message("scale:\t2,2,2"),
                         Message("effect:\tNULL"), Message("file:\tcube.r"), Heading("Light")} +
                 cube("shiny") + closing({unregistered(24, "shiny")})),
        Case("model_types", false, 1, {"effect NULL"},
             opening +
                 Entries{Heading("OBJ"), Message("file:\tcube.obj"), Message("effect:\tNULL"),
                         Heading("RA"), Message("file:\tcube.ra"), Heading("ra"), Heading("Obj")} +
                 cube("NULL") +
                 closing({Error("Scene.xml line 9: The model file cube.obj was not found."),
                          Error("Scene.xml line 10: The model file cube.ra was not found.")})),
        Case("", true, 0, {},
             fileFailure + Entries{Error("Scene.xml was not found in the working folder FOLDER."),
                                   Error("File Scene.xml not exist.")}),
        // At the wrong end tag, naming the element it should have closed.
        Case("malformed", true, 0, {},
             fileFailure + Entries{Error("Scene.xml line 6 is not well-formed XML: the end tag "
                                         "</Effect> does not match the open element <Effects> "
                                         "from line 3."),
                                   Error("File Scene.xml not exist.")}),
        Case("no_scene", true, 0, {},
             opening + Entries{Error("Scene.xml line 2: the top element is scene; the scene must "
                                     "be in a Scene element."),
                               Error("No Scene tag in Scene.xml.")}),
        Case("no_effects", true, 0, {},
             opening + Entries{Error("Scene.xml line 2: the Scene element has no Effects element."),
                               Error("No Effects tag in Scene.xml.")}),
        Case("no_textures", false, 1, {"program plain", "effect NULL", "effect lit"},
             opening +
                 Entries{Error("Scene.xml line 3: the Effects element has no Textures element."),
                         Error("No Textures tag in Scene.xml"), catchIn("textures")} +
                 plain + lit + cube("lit") + closing({})),
        Case("no_shaders", false, 1, {"texture stone", "effect NULL", "effect lit"},
             opening + stone +
                 Entries{Error("Scene.xml line 3: the Effects element has no Shaders element."),
                         Error("No Shaders tag in Scene.xml."), catchIn("shaders")} +
                 lit +
                 Entries{Error("Scene.xml line 7: Effect lit names the shader program plain, which "
                               "is not registered; it is drawn without a program.")} +
                 cube("lit") + closing({})),
        Case("missing_image", false, 1, allThree,
             opening + stone +
                 Entries{Heading("Texture"), Message("name:\tgone"), Message("file:\tmissing.png"),
                         Heading("Texture"), Message("name:\twall"), Message("file:\tstone.png"),
                         Error("Scene.xml line 6: Texture gone: The image file missing.png was not "
                               "found."),
                         catchIn("textures")} +
                 plain + lit + cube("lit") + closing({})),
        Case("empty_float", false, 2, {"program plain"},
             opening + plain + Entries{Message("name:\tfine"), Message("shader:\tplain")} + lit +
                 Entries{Error("Scene.xml line 13: Float needs two attributes, name and val, but "
                               "has none."),
                         catchIn("effects")} +
                 cube("NULL") + cube("fine") + closing({unregistered(18, "fine")})),
        Case("short_sampler", false, 1, {},
             opening +
                 Entries{Message("name:\tlit"),
                         Error("Scene.xml line 7: Sampler needs two attributes, name and texture, "
                               "but has one."),
                         catchIn("effects")} +
                 cube("NULL") + closing({})),
        Case("no_graphic_objects", true, 0, allThree,
             opening + stone + plain + lit +
                 Entries{Error("Scene.xml line 2: the Scene element has no GraphicObjects "
                               "element."),
                         Error("No GraphicObjects tag in Scene.xml.")}),
        Case("two_object_sections", false, 1, {"effect NULL"},
             opening + cube("NULL") + closing({})),
    };
}

// Everything registered, each name with its kind.
Names Registered(const ResourceRegistry& registry) {
    Names names;
    for (const auto& [name, texture] : registry.Textures()) names.insert("texture " + name);
    for (const auto& [name, program] : registry.Programs()) names.insert("program " + name);
    for (const auto& [name, effect] : registry.Effects()) names.insert("effect " + name);
    return names;
}

class SceneLoaderFiles : public SceneLoaderGl, public ::testing::WithParamInterface<SceneCase> {};

TEST_P(SceneLoaderFiles, LogsRegistersAndCreatesAsTheFileSays) {
    const SceneCase& scene = GetParam();
    if (!scene.file.empty()) UseScene(scene.file);
    const std::optional<std::string> failure = Load();

    Entries expected = scene.log;
    for (LogEntry& entry : expected) {
        if (const auto at = entry.text.find("FOLDER"); at != std::string::npos) {
            entry.text.replace(at, 6, fs::canonical(folder.Path()).string());
        }
    }
    EXPECT_EQ(Logged(), expected);
    EXPECT_EQ(failure.has_value(), scene.throws);
    // The exception carries the last, fixed entry.
    if (failure && !expected.empty()) {
        EXPECT_EQ(Error(*failure), expected.back());
    }

    EXPECT_EQ(Registered(registry), scene.registered);
    ASSERT_EQ(factory.objects.Count(), scene.objects);
    for (std::size_t i = 0; i < scene.objects; ++i) {
        EXPECT_NE(Object(i).effect, nullptr) << "object " << i;
        EXPECT_NE(Object(i).vertexBuffer.Id(), 0u) << "object " << i << " was not prepared";
    }
}

INSTANTIATE_TEST_SUITE_P(, SceneLoaderFiles, ::testing::ValuesIn(SceneCases()),
                         [](const ::testing::TestParamInfo<SceneCase>& info) {
                             return info.param.file.empty() ? std::string("missing_file")
                                                            : info.param.file;
                         });

TEST_F(SceneLoaderGl, ObjectsGetTheRegisteredEffectsAndTheirPlacement) {
    UseScene("full");
    ASSERT_EQ(Load(), std::nullopt);
    ASSERT_EQ(factory.objects.Count(), 3u);
    const GLuint plain = registry.Programs().at("plain")->program.Id();

    const Effect* lit = registry.FindEffect("lit");
    ASSERT_NE(lit, nullptr);
    EXPECT_EQ(lit->program, plain);
    ASSERT_EQ(lit->samplers.size(), 1u);
    EXPECT_EQ(lit->samplers[0].name, "map");
    EXPECT_EQ(lit->samplers[0].texture, registry.Textures().at("stone")->id.Id());
    ASSERT_EQ(lit->floats.size(), 1u);
    EXPECT_EQ(lit->floats[0].value, 2.0f);
    // Written with its shader first, the effect keeps the program but not the name.
    EXPECT_EQ(registry.Effects().at("")->program, plain);

    EXPECT_EQ(Object(0).effect, lit);
    EXPECT_EQ(Object(1).effect, registry.FindEffect("NULL"));
    EXPECT_EQ(Object(1).position.x, 1.0f);
    EXPECT_EQ(Object(1).position.y, 2.0f);
    EXPECT_EQ(Object(1).position.z, 3.0f);
    EXPECT_EQ(Object(1).scale.x, 2.0f);
    // The object naming an unknown effect is drawn with an empty one of its own.
    const Effect* fallback = Object(2).effect;
    ASSERT_NE(fallback, nullptr);
    EXPECT_EQ(fallback->program, 0u);
    EXPECT_TRUE(fallback->samplers.empty());
    for (const auto& [name, effect] : registry.Effects()) EXPECT_NE(fallback, effect.get()) << name;
}

// The runtime releases what it loaded, while the context is current, and loads the same
// scene again alike: the same objects and resources, and the loader's entries once more.
TEST_F(SceneLoaderGl, TheRuntimeReleasesEverythingAndLoadsTheSceneAgainAlike) {
    UseScene("full");
    ASSERT_EQ(Load(), std::nullopt);
    const Names registered = Registered(registry);
    const Entries first = Logged();
    const GLuint texture = registry.Textures().at("stone")->id.Id();

    runtime.Release();
    EXPECT_EQ(factory.objects.Count(), 0u);
    EXPECT_TRUE(Registered(registry).empty());
    EXPECT_FALSE(glIsTexture(texture));

    ASSERT_EQ(Load(), std::nullopt);
    EXPECT_EQ(Registered(registry), registered);
    ASSERT_EQ(factory.objects.Count(), 3u);
    EXPECT_EQ(Object(0).effect, registry.FindEffect("lit"));
    const Entries both = Logged();
    ASSERT_EQ(both.size(), 2 * first.size());
    EXPECT_EQ(Entries(both.begin() + first.size(), both.end()), first);
}

TEST_F(SceneLoaderGl, ObjectsBeyondTheFirst128GrowTheArray) {
    UseScene("many_objects");
    ASSERT_EQ(Load(), std::nullopt);
    EXPECT_EQ(factory.objects.Count(), 129u);
    EXPECT_EQ(factory.objects.Capacity(), 256u);
    std::set<const IGraphicObject*> distinct;
    for (std::size_t i = 0; i < factory.objects.Count(); ++i) distinct.insert(factory.objects[i]);
    EXPECT_EQ(distinct.size(), 129u);

    const Entries entries = Logged();
    EXPECT_EQ(std::count(entries.begin(), entries.end(), Heading("R")), 129);
    EXPECT_EQ(std::count_if(entries.begin(), entries.end(),
                            [](const LogEntry& e) { return e.kind == LogEntry::Kind::Error; }),
              0);
}

}  // namespace
