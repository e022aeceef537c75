#include "factory/Factory.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/AnimationClock.h"
#include "factory/Creators.h"
#include "log/HtmlLog.h"
#include "objects/FrameAnimatableRGO.h"
#include "objects/OBJGraphicObject.h"
#include "objects/RGraphicObject.h"
#include "resources/ResourceRegistry.h"
#include "scene/FileGraphicMemento.h"
#include "support/GlTestContext.h"
#include "support/LogEntries.h"
#include "support/MeshFiles.h"
#include "support/TempFolder.h"
#include "support/TestImages.h"

namespace {

EffectMemento EffectRecord(const std::string& name) {
    EffectMemento record;
    record.name = name;
    record.programName = "NULL";
    return record;
}

// What creators see of the test that runs them; creators are plain functions.
const Factory* runningFactory = nullptr;
std::vector<bool> busyWhileCreating;

struct FailingPrepare : RGraphicObject {
    void Prepare() override { throw std::runtime_error("prepare failed"); }
};

class FactoryGl : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_GL(gl);
        WriteRFile(File("square.r"), Square(0, 0, 1, 1));
        WriteRFile(File("cube.r"), Cube(1));
        runningFactory = &factory;
        busyWhileCreating.clear();
    }
    void TearDown() override { runningFactory = nullptr; }

    std::string File(const std::string& name) const { return (folder.Path() / name).string(); }

    static Factory::Entry Entry(const std::string& type, const std::string& file,
                                const std::string& effect, int line = 0) {
        auto description = std::make_unique<FileGraphicMemento>();
        description->fileName = file;
        description->effectName = effect;
        description->sourceLine = line;
        return {type, std::move(description)};
    }

    template <typename... Entries>
    static std::vector<Factory::Entry> List(Entries... entries) {
        std::vector<Factory::Entry> list;
        (list.push_back(std::move(entries)), ...);
        return list;
    }

    // The log so far, with its time stamps masked.
    std::vector<LogEntry> Entries() const { return EntriesOf(logPath); }

    const RGraphicObject& Object(std::size_t i) const {
        return dynamic_cast<const RGraphicObject&>(*factory.objects[i]);
    }

    GlTestContext gl{8, 8};
    TempFolder folder;
    std::string logPath = File("log.htm");
    HtmlLog log{logPath, "Log file"};
    AnimationClock clock;
    ResourceRegistry registry{log};
    Factory factory{clock, log};
};

TEST_F(FactoryGl, LogsEachFailedEntryAndPreparesTheRestInOrder) {
    registry.AddEffects({EffectRecord("NULL"), EffectRecord("plain")});
    factory.registry = &registry;
    // Not even a std::exception.
    factory.RegisterCreator(
        "Throws",
        [](const AbstractGraphicMemento&,
           std::vector<Problem>&) -> std::unique_ptr<AbstractGraphicObject> { throw 7; });
    factory.CreateObjects(
        List(Entry("R", File("square.r"), "plain"), Entry("ra", File("square.r"), "plain"),
             Entry("Obj", File("square.r"), "plain"), Entry("R", File("missing.r"), "plain"),
             Entry("Throws", File("square.r"), "plain"), Entry("R", File("cube.r"), "NULL")));

    EXPECT_EQ(
        Entries(),
        (std::vector{Heading("Factory."), Message("starting at: \t" + kTime),
                     Error("Could not find creator: ra"), Error("Could not find creator: Obj"),
                     Error("The model file " + File("missing.r") + " was not found."),
                     Error("Unexpected error. While creating object. Throws"),
                     Message("ending at:\t" + kTime)}));
    EXPECT_FALSE(factory.busy);
    ASSERT_EQ(factory.objects.Count(), 2u);
    EXPECT_EQ(Object(0).vertices.count, 4u);   // square.r
    EXPECT_EQ(Object(1).vertices.count, 24u);  // cube.r
    EXPECT_EQ(Object(0).effect, registry.FindEffect("plain"));
    EXPECT_EQ(Object(1).effect, registry.FindEffect("NULL"));
    const GLuint buffers[] = {Object(0).vertexBuffer.Id(), Object(1).vertexBuffer.Id()};
    for (const GLuint buffer : buffers) EXPECT_TRUE(buffer != 0 && glIsBuffer(buffer));

    factory.Release();
    EXPECT_EQ(factory.objects.Count(), 0u);
    for (const GLuint buffer : buffers) EXPECT_FALSE(glIsBuffer(buffer));
}

TEST_F(FactoryGl, UnregisteredEffectIsLoggedAndDrawnWithTheEmptyEffect) {
    // "NULL" itself is not registered here; it needs no report.
    registry.AddEffects({EffectRecord("plain")});
    factory.registry = &registry;
    factory.CreateObjects(List(Entry("R", File("square.r"), "glow", 12),
                               Entry("R", File("cube.r"), ""), Entry("R", File("cube.r"), "NULL")));

    const std::string square = File("square.r"), cube = File("cube.r");
    EXPECT_EQ(Entries(), (std::vector{Heading("Factory."), Message("starting at: \t" + kTime),
                                      Error("Scene.xml line 12: the R object " + square +
                                            " names the effect glow, which is not registered; "
                                            "it is drawn with the NULL effect."),
                                      Error("The R object " + cube +
                                            " names no effect; it is drawn with the NULL effect."),
                                      Message("ending at:\t" + kTime)}));
    // All three share the factory's own empty effect.
    ASSERT_EQ(factory.objects.Count(), 3u);
    ASSERT_NE(Object(0).effect, nullptr);
    EXPECT_EQ(Object(0).effect->program, 0u);
    EXPECT_EQ(Object(1).effect, Object(0).effect);
    EXPECT_EQ(Object(2).effect, Object(0).effect);
}

// Every entry about an object opens with its line; a model file's problem stays placed in
// the file for tools, and a misspelt effect gets the registered name it is nearest to.
TEST_F(FactoryGl, EntriesOfAnObjectOpenWithItsLine) {
    registry.AddEffects({EffectRecord("plain")});
    factory.registry = &registry;
    std::vector<Problem> problems;
    log.SetErrorListener([&](const Problem& problem) { problems.push_back(problem); });
    const std::string obj = File("broken.obj"), gone = File("gone.r");
    WriteBytes(obj, "v 0 0 0\nv 1 x 0\n");
    factory.CreateObjects(List(Entry("OBJ", obj, "NULL", 20), Entry("R", gone, "NULL", 21),
                               Entry("R", File("cube.r"), "Plain", 22)));

    ASSERT_EQ(problems.size(), 3u);
    EXPECT_EQ(problems[0].file, obj);
    EXPECT_EQ(problems[0].line, 2);
    EXPECT_TRUE(problems[0].Brief().starts_with("The model file " + obj +
                                                " has an unreadable number in the v statement "
                                                "on line 2"))
        << problems[0].Brief();
    EXPECT_EQ(problems[0].text, "Scene.xml line 20: " + problems[0].Brief());
    EXPECT_EQ(problems[1],
              Problem::AtLine("Scene.xml", 21, ": The model file " + gone + " was not found."));
    EXPECT_EQ(problems[2].text, "Scene.xml line 22: the R object " + File("cube.r") +
                                    " names the effect Plain, which is not registered (did you "
                                    "mean plain?); it is drawn with the NULL effect.");
}

TEST_F(FactoryGl, BusyWhileCreatingAndClearedWhenPrepareThrows) {
    factory.RegisterCreator("Probe", [](const AbstractGraphicMemento&, std::vector<Problem>&) {
        busyWhileCreating.push_back(runningFactory->busy);
        return std::unique_ptr<AbstractGraphicObject>(new FailingPrepare);
    });
    EXPECT_THROW(
        factory.CreateObjects(List(Entry("Probe", "", "NULL"), Entry("Probe", "", "NULL"))),
        std::runtime_error);
    EXPECT_EQ(busyWhileCreating, std::vector<bool>({true, true}));
    EXPECT_FALSE(factory.busy);
}

TEST_F(FactoryGl, OnlyAnimatedObjectsGetTheFactorysClock) {
    WriteRAFile(File("square.ra"), Square(0, 0, 1, 1), {{0, 0, 0, 0}, {1000, 1, 0, 0}});
    factory.CreateObjects(
        List(Entry("R", File("square.r"), "NULL"), Entry("RA", File("square.ra"), "NULL")));
    ASSERT_EQ(factory.objects.Count(), 2u);
    EXPECT_EQ(dynamic_cast<FrameAnimatableRGO*>(factory.objects[0]), nullptr);
    const auto* animated = dynamic_cast<FrameAnimatableRGO*>(factory.objects[1]);
    ASSERT_NE(animated, nullptr);
    EXPECT_EQ(animated->clock, &clock);
    EXPECT_EQ(animated->translationTrack.count, 2u);
}

TEST_F(FactoryGl, ProblemsOfAnObjectAreLoggedJustBeforeItsOwnEntriesAndItIsKept) {
    factory.RegisterCreator(
        "Warns",
        [](const AbstractGraphicMemento& description,
           std::vector<Problem>& problems) -> std::unique_ptr<AbstractGraphicObject> {
            problems.push_back(Problem::Text("first problem"));
            problems.push_back(Problem::Text("second problem"));
            return CreateRGraphicObject(description);
        });
    // No normals, so the one face cannot be drawn.
    WriteBytes(File("flat.obj"), "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    factory.CreateObjects(List(Entry("Warns", File("square.r"), "glow", 3),
                               Entry("OBJ", File("flat.obj"), "NULL"),
                               Entry("Warns", File("cube.r"), "NULL")));

    const std::string unregistered =
        "Scene.xml line 3: the Warns object " + File("square.r") +
        " names the effect glow, which is not registered; it is drawn with the NULL effect.";
    EXPECT_EQ(Entries(),
              (std::vector{Heading("Factory."), Message("starting at: \t" + kTime),
                           Error("Scene.xml line 3: first problem"),
                           Error("Scene.xml line 3: second problem"), Error(unregistered),
                           Error("The model file " + File("flat.obj") +
                                 " has 1 face with an index outside its arrays, which is not "
                                 "drawn. It is on line 4: its normal index is 0, but the file "
                                 "has no normals."),
                           Error("first problem"), Error("second problem"),
                           Message("ending at:\t" + kTime)}));
    ASSERT_EQ(factory.objects.Count(), 3u);
    EXPECT_EQ(Object(0).vertices.count, 4u);
    const auto* obj = dynamic_cast<const OBJGraphicObject*>(factory.objects[1]);
    ASSERT_NE(obj, nullptr);
    EXPECT_EQ(obj->faces.size(), 1u);
    EXPECT_EQ(Object(2).vertices.count, 24u);
}

}  // namespace
