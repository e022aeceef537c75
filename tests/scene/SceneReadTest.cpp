#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "log/HtmlLog.h"
#include "scene/FileGraphicMemento.h"
#include "scene/Scene.h"
#include "scene/SceneException.h"
#include "scene/SceneSink.h"
#include "support/LogEntries.h"
#include "support/TempFolder.h"

namespace {

using Entries = std::vector<LogEntry>;

Entries operator+(Entries first, const Entries& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// Keeps every record and the order of the calls, as words like "textures 2".
class KeepingSink : public SceneSink {
public:
    void AddTextures(const std::vector<TextureMemento>& records) override {
        calls.push_back("textures " + std::to_string(records.size()));
        if (failTextures) throw std::runtime_error("no texture today");
        textures = records;
    }
    void AddShaderPrograms(const std::vector<GLSLShaderMemento>& records) override {
        calls.push_back("programs " + std::to_string(records.size()));
        programs = records;
    }
    void AddEffects(const std::vector<EffectMemento>& records) override {
        calls.push_back("effects " + std::to_string(records.size()));
        effects = records;
    }
    void ResourcesRead() override { calls.push_back("resources read"); }
    void CreateObjects(const std::vector<GraphicObjectEntry>& objects) override {
        calls.push_back("objects " + std::to_string(objects.size()));
        for (const GraphicObjectEntry& entry : objects) {
            const auto& file = dynamic_cast<const FileGraphicMemento&>(*entry.description);
            this->objects.push_back({entry.type, file});
        }
    }

    struct Object {
        std::string type;
        FileGraphicMemento record;
    };

    bool failTextures = false;
    std::vector<std::string> calls;
    std::vector<TextureMemento> textures;
    std::vector<GLSLShaderMemento> programs;
    std::vector<EffectMemento> effects;
    std::vector<Object> objects;
};

class SceneRead : public ::testing::Test {
protected:
    // Reads `text`; the message of the SceneException thrown, if one was.
    std::optional<std::string> Read(std::string_view text) {
        try {
            Scene::Read(text, log, sink);
        } catch (const SceneException& failure) {
            return failure.what();
        }
        return std::nullopt;
    }

    Entries Logged() {
        log.Close();
        return EntriesOf(logPath);
    }

    TempFolder folder;
    std::string logPath = (folder.Path() / "Log.htm").string();
    HtmlLog log{logPath, "Log file"};
    KeepingSink sink;

    const Entries opening = {Title("Scene initialization"), Heading("file Scene.xml"),
                             Message("start parsing \t" + kTime), Message("Creating scene ...")};
    const Entries closing = {Message("end parsing \t" + kTime),
                             Message("Creating graphic object.")};
};

TEST_F(SceneRead, HandsEachSectionsRecordsOverInDocumentOrder) {
    const std::optional<std::string> failure = Read(R"(<?xml version="1.0"?>
<Scene>
  <Effects>
    <Textures>
      <Texture name="stone" file="stone.png"/>
      <Cubemap name="sky" file="sky.png"/>
      <Texture file="wall.png" name="wall"/>
    </Textures>
    <Shaders>
      <GLSL name="plain" vert="plain.vert" frag="plain.frag"/>
      <HLSL name="other"/>
    </Shaders>
    <Effect name="lit">
      <Shader shader="plain"/>
      <Sampler name="map" texture="stone"/>
      <Float2 name="offset" val="0.5,-2"/>
    </Effect>
  </Effects>
  <GraphicObjects>
    <OBJ file="a.obj" pos="1,2,3" scale="2,2,2" effect="lit"/>
    <Light pos="0,0,0"/>
    <RA file="b.ra"/>
    <R effect="NULL" file="c.r"/>
  </GraphicObjects>
</Scene>)");
    EXPECT_EQ(failure, std::nullopt);
    EXPECT_EQ(sink.calls, (std::vector<std::string>{"textures 2", "programs 1", "effects 2",
                                                    "resources read", "objects 3"}));

    ASSERT_EQ(sink.textures.size(), 2u);
    EXPECT_EQ(sink.textures[0].name, "stone");
    EXPECT_EQ(sink.textures[1].name, "wall");
    EXPECT_EQ(sink.textures[1].fileName, "wall.png");
    ASSERT_EQ(sink.programs.size(), 1u);
    EXPECT_EQ(sink.programs[0].fragmentFile, "plain.frag");
    // Every scene has the empty effect first.
    ASSERT_EQ(sink.effects.size(), 2u);
    EXPECT_EQ(sink.effects[0].name, "NULL");
    EXPECT_EQ(sink.effects[0].programName, "NULL");
    EXPECT_EQ(sink.effects[1].name, "lit");
    EXPECT_EQ(sink.effects[1].programName, "plain");
    ASSERT_EQ(sink.effects[1].samplers.size(), 1u);
    EXPECT_EQ(sink.effects[1].samplers[0].texture, "stone");
    ASSERT_EQ(sink.effects[1].float2s.size(), 1u);
    EXPECT_EQ(sink.effects[1].float2s[0].y, -2.0f);

    ASSERT_EQ(sink.objects.size(), 3u);
    EXPECT_EQ(sink.objects[0].type, "OBJ");
    EXPECT_EQ(sink.objects[0].record.fileName, "a.obj");
    EXPECT_EQ(sink.objects[0].record.position.z, 3.0f);
    EXPECT_EQ(sink.objects[0].record.scale.x, 2.0f);
    EXPECT_EQ(sink.objects[0].record.effectName, "lit");
    EXPECT_EQ(sink.objects[0].record.sourceLine, 20);
    EXPECT_EQ(sink.objects[1].type, "RA");
    EXPECT_EQ(sink.objects[1].record.sourceLine, 22);
    EXPECT_EQ(sink.objects[2].type, "R");
    EXPECT_EQ(sink.objects[2].record.fileName, "c.r");

    const Entries expected = opening +
                             Entries{Heading("Texture"),
                                     Message("name:\tstone"),
                                     Message("file:\tstone.png"),
                                     Heading("Cubemap"),
                                     Heading("Texture"),
                                     Message("file:\twall.png"),
                                     Message("name:\twall"),
                                     Heading("GLSL"),
                                     Message("name:\tplain"),
                                     Message("vert:\tplain.vert"),
                                     Message("frag:\tplain.frag"),
                                     Heading("HLSL"),
                                     Message("name:\tlit"),
                                     Message("shader:\tplain"),
                                     Heading("OBJ"),
                                     Message("file:\ta.obj"),
                                     Message("pos:\t1,2,3"),
                                     Message("scale:\t2,2,2"),
                                     Message("effect:\tlit"),
                                     Heading("Light"),
                                     Heading("RA"),
                                     Message("file:\tb.ra"),
                                     Heading("R"),
                                     Message("effect:\tNULL"),
                                     Message("file:\tc.r")} +
                             closing;
    EXPECT_EQ(Logged(), expected);
}

// Each resource section that is missing is logged where its parent starts, is not handed
// over, and leaves the other sections to run.
struct MissingSection {
    const char* name;       // the element left out
    const char* message;    // the fixed entry
    const char* section;    // as in "catch exception in ... loading"
    const char* notCalled;  // the call that must not happen
};

class SceneReadMissing : public SceneRead, public ::testing::WithParamInterface<MissingSection> {};

TEST_P(SceneReadMissing, IsLoggedWithItsParentsLineAndTheRestIsRead) {
    const MissingSection& missing = GetParam();
    std::string text =
        "<Scene>\n<Effects>\n<Textures><Texture name=\"t\"/></Textures>\n"
        "<Shaders><GLSL name=\"p\"/></Shaders>\n</Effects>\n"
        "<GraphicObjects><R file=\"m.r\"/></GraphicObjects>\n</Scene>\n";
    const std::string open = std::string("<") + missing.name + ">";
    const std::string close = std::string("</") + missing.name + ">";
    text.erase(text.find(open), text.find(close) + close.size() - text.find(open));

    EXPECT_EQ(Read(text), std::nullopt);
    std::vector<std::string> calls = {"textures 1", "programs 1", "effects 1", "resources read",
                                      "objects 1"};
    std::erase(calls, missing.notCalled);
    EXPECT_EQ(sink.calls, calls);

    const Entries textures = {Heading("Texture"), Message("name:\tt")};
    const Entries programs = {Heading("GLSL"), Message("name:\tp")};
    const Entries failure = {
        Error(std::string("Scene.xml line 2: the Effects element has no ") + missing.name +
              " element."),
        Error(missing.message),
        Error(std::string("Scene::Load() catch exception in ") + missing.section + " loading.")};
    const bool noTextures = std::string_view(missing.name) == "Textures";
    const Entries expected = opening + (noTextures ? failure + programs : textures + failure) +
                             Entries{Heading("R"), Message("file:\tm.r")} + closing;
    EXPECT_EQ(Logged(), expected);
}

INSTANTIATE_TEST_SUITE_P(, SceneReadMissing,
                         ::testing::Values(MissingSection{"Textures",
                                                          "No Textures tag in Scene.xml",
                                                          "textures", "textures 1"},
                                           MissingSection{"Shaders", "No Shaders tag in Scene.xml.",
                                                          "shaders", "programs 1"}),
                         [](const ::testing::TestParamInfo<MissingSection>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(SceneRead, WithoutGraphicObjectsTheResourcesAreHandedOverAndReadingFails) {
    const std::string message = "No GraphicObjects tag in Scene.xml.";
    EXPECT_EQ(Read("<Scene>\n<Effects><Textures/><Shaders/></Effects>\n</Scene>"), message);
    // The resources were read and handed over; no objects were made.
    EXPECT_EQ(sink.calls, (std::vector<std::string>{"textures 0", "programs 0", "effects 1",
                                                    "resources read"}));
    const Entries expected =
        opening + Entries{Error("Scene.xml line 1: the Scene element has no GraphicObjects "
                                "element."),
                          Error(message)};
    EXPECT_EQ(Logged(), expected);
}

TEST_F(SceneRead, WithoutScenesOrEffectsNothingIsHandedOver) {
    EXPECT_EQ(Read("<!-- none -->\n<scene/>"), "No Scene tag in Scene.xml.");
    EXPECT_EQ(Read("<Scene><GraphicObjects/></Scene>"), "No Effects tag in Scene.xml.");
    EXPECT_TRUE(sink.calls.empty());
    const Entries expected =
        opening +
        Entries{Error("Scene.xml line 2: the top element is scene; the scene must be in a "
                      "Scene element."),
                Error("No Scene tag in Scene.xml.")} +
        opening +
        Entries{Error("Scene.xml line 1: the Scene element has no Effects element."),
                Error("No Effects tag in Scene.xml.")};
    EXPECT_EQ(Logged(), expected);
}

TEST_F(SceneRead, BrokenXmlIsReportedWithItsLineLikeTheFile) {
    const std::string text =
        "<Scene>\n  <Effects>\n    <Textures>\n  </Effects>\n  <GraphicObjects/>\n</Scene>\n";
    EXPECT_EQ(Read(text), "File Scene.xml not exist.");
    EXPECT_EQ(Read(""), "File Scene.xml not exist.");
    EXPECT_TRUE(sink.calls.empty());
    const Entries expected =
        (Entries{Title("Scene initialization"), Heading("file Scene.xml"),
                 Error("Scene.xml line 4 is not well-formed XML: the end tag </Effects> does "
                       "not match the open element <Textures> from line 3."),
                 Error("File Scene.xml not exist."), Title("Scene initialization"),
                 Heading("file Scene.xml"), Error("Scene.xml holds no XML element."),
                 Error("File Scene.xml not exist.")});
    EXPECT_EQ(Logged(), expected);
}

// Each mistake in words, at the line of the tag to mend. Tags in comments, CDATA
// sections, declarations and quoted values are not tags.
TEST_F(SceneRead, BrokenXmlIsToldInWordsAtTheTagToMend) {
    const struct {
        std::string text;
        std::string entry;
    } cases[] = {
        {"<?xml version=\"1.0\"?>\n<?note </D>?>\n<!DOCTYPE E>\n<Scene>\n"
         "<!-- </Scene>\n -->\n  <A x=\"</B>\" y='>'><![CDATA[</C>]]>\n  </Effects>\n</Scene>",
         "Scene.xml line 8 is not well-formed XML: the end tag </Effects> does not match the "
         "open element <A> from line 7."},
        {"<Scene>\n  <Effects>\n\n",
         "Scene.xml line 2 is not well-formed XML: the element <Effects> is not closed: the text "
         "ends before its end tag </Effects>."},
        {"<Scene>\n  <Texture name=checker/>\n</Scene>",
         "Scene.xml line 2 is not well-formed XML: an attribute of the element <Texture> cannot "
         "be read: write each attribute once, as name=\"value\", with the value in quotes."},
        {"<Scene>\n  <R file=\"a.r\" / >\n</Scene>",
         "Scene.xml line 2 is not well-formed XML: the tag of the element <R> holds something "
         "other than attributes (name=\"value\") before its > or />."},
        {"<Scene>\n  </ Scene>",
         "Scene.xml line 2 is not well-formed XML: a tag has no element name right after its < "
         "or </."},
        {"<Scene>\n  <!-- note\n</Scene>",
         "Scene.xml line 2 is not well-formed XML: a comment <!-- is not closed by -->."},
        {"<!-- first -->\n<?xml version=\"1.0\"?>\n<Scene/>",
         "Scene.xml line 2 is not well-formed XML: the declaration <?xml version=\"1.0\"?> is "
         "not at the start: declarations may only come before any comment, element or text."},
    };
    std::vector<Problem> errors;
    log.SetErrorListener([&](const Problem& problem) { errors.push_back(problem); });
    for (const auto& c : cases) {
        errors.clear();
        EXPECT_EQ(Read(c.text), "File Scene.xml not exist.") << c.text;
        ASSERT_FALSE(errors.empty()) << c.text;
        EXPECT_EQ(errors.front().text, c.entry) << c.text;
    }
    EXPECT_TRUE(sink.calls.empty());
}

TEST_F(SceneRead, ReadsOnlyTheGivenLength) {
    // What follows the view would break the document if it were read.
    const std::string buffer =
        "<Scene><Effects><Textures/><Shaders/></Effects><GraphicObjects/></Scene><unclosed";
    const std::string_view text(buffer.data(), buffer.find("<unclosed"));
    EXPECT_EQ(Read(text), std::nullopt);
    EXPECT_EQ(sink.calls, (std::vector<std::string>{"textures 0", "programs 0", "effects 1",
                                                    "resources read", "objects 0"}));
    // A view that stops inside an element is read as the text it is.
    EXPECT_EQ(Read(text.substr(0, text.size() - 3)), "File Scene.xml not exist.");
}

TEST_F(SceneRead, ASectionTheSinkRefusesIsLoggedAndTheNextRuns) {
    sink.failTextures = true;
    EXPECT_EQ(Read("<Scene><Effects><Textures/><Shaders/></Effects><GraphicObjects/></Scene>"),
              std::nullopt);
    EXPECT_EQ(sink.calls, (std::vector<std::string>{"textures 0", "programs 0", "effects 1",
                                                    "resources read", "objects 0"}));
    EXPECT_EQ(
        Logged(),
        opening + Entries{Error("Scene::Load() catch exception in textures loading.")} + closing);
}

}  // namespace
