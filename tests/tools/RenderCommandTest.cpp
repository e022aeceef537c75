// scenetool render run as a user runs it: pictures of scene folders compared with reviewed
// pictures or with each other, and the options that shape the run.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "ImageComparison.h"
#include "RgbImage.h"
#include "ScenetoolRun.h"
#include "support/SceneFolders.h"
#include "support/MeshFiles.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

// Flat-shaded boxes on black: only pixels along the edges may round differently.
constexpr ImageComparison::Tolerance kTolerance{8, 0.002};

fs::path OutputFolder() {
    fs::path folder = TOOL_OUTPUT_DIR;
    fs::create_directories(folder);
    return folder;
}

// A run of `scenetool render FOLDER -o PICTURE OPTIONS...` and the picture it wrote.
struct Rendered {
    ToolResult run;
    std::optional<RgbImage> picture;
};

Rendered Render(const fs::path& folder, const fs::path& picture,
                const std::vector<std::string>& options = {}) {
    std::vector<std::string> arguments = {"render", folder.string(), "-o", picture.string()};
    arguments.insert(arguments.end(), options.begin(), options.end());
    Rendered rendered{RunScenetool(arguments), std::nullopt};
    rendered.picture = RgbImage::LoadPng(picture.string());
    return rendered;
}

// Whether the picture has more than one colour, so a match is not two empty frames.
bool ShowsSomething(const RgbImage& picture) {
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            if (!std::equal(picture.At(x, y), picture.At(x, y) + 3, picture.At(0, 0))) return true;
        }
    }
    return false;
}

// Compares with the reviewed picture reference/NAME.png. Without one, saves `picture` into
// the build's output folder and fails, saying where; on a mismatch saves NAME-actual.png.
::testing::AssertionResult MatchesReference(const RgbImage& picture, const std::string& name,
                                            const fs::path& folder = TOOL_REFERENCE_DIR) {
    const fs::path referencePath = folder / (name + ".png");
    const auto reference = RgbImage::LoadPng(referencePath.string());
    if (!reference) {
        const auto saved = OutputFolder() / (name + ".png");
        picture.SavePng(saved.string());
        return ::testing::AssertionFailure()
               << "No reference picture " << referencePath << ". This run's picture is saved as "
               << saved << ": look at it, and if it is right copy it to " << referencePath;
    }
    const ImageComparison comparison(picture, *reference, kTolerance);
    if (comparison.Matches()) return ::testing::AssertionSuccess();
    const auto saved = OutputFolder() / (name + "-actual.png");
    picture.SavePng(saved.string());
    return ::testing::AssertionFailure()
           << "The render does not look like " << referencePath << ": " << comparison.Describe()
           << ". It is saved as " << saved;
}

// Whether two renders of what should look the same match; saves both when they do not.
::testing::AssertionResult LookAlike(const RgbImage& actual, const RgbImage& expected,
                                     const std::string& label) {
    const ImageComparison comparison(actual, expected, kTolerance);
    if (comparison.Matches()) return ::testing::AssertionSuccess();
    const auto folder = OutputFolder();
    actual.SavePng((folder / (label + "-actual.png")).string());
    expected.SavePng((folder / (label + "-expected.png")).string());
    return ::testing::AssertionFailure()
           << label << ": " << comparison.Describe() << "; both pictures are saved in " << folder;
}

// An object line of Scene.xml with scale 1.
std::string Object(const std::string& type, const std::string& file, const std::string& effect,
                   const std::string& pos) {
    return "    <" + type + " file=\"" + file + "\" effect=\"" + effect + "\" pos=\"" + pos +
           "\" scale=\"1,1,1\"/>\n";
}

// Top row: R boxes drawn fixed-function, tinted and textured. Bottom row: a textured OBJ
// box, and a half-size box placed by pos 10,0,0 and scale 2 under the tinted one (the
// other two scale components are ignored).
TEST(RenderCommandTest, TestSceneLooksLikeItsReviewedPicture) {
    TempFolder folder;
    WriteEffectFiles(folder.Path());
    fs::create_directories(folder.Path() / "models");
    WriteRFile(folder.Path() / "models/box.r", Cube(40));
    WriteRFile(folder.Path() / "models/half-box.r", Translated(Cube(20), -130, 135, 1327));
    WriteFile(folder.Path(), "models/box.obj", ObjText(Cube(40), true));
    WriteFile(folder.Path(), "Scene.xml",
              SceneXml(Object("R", "models/box.r", "NULL", "-310,330,2654") +
                       Object("R", "models/box.r", "tinted", "-250,330,2654") +
                       Object("R", "models/box.r", "textured", "-190,330,2654") +
                       Object("OBJ", "models/box.obj", "textured", "-310,270,2654") +
                       R"(    <R file="models/half-box.r" effect="NULL" pos="10,0,0" scale="2,5,7"/>
)"));

    const Rendered rendered = Render(folder.Path(), folder.Path() / "boxes.png");
    EXPECT_EQ(rendered.run.status, 0) << rendered.run.errors;
    ASSERT_TRUE(rendered.picture) << rendered.run.errors;
    EXPECT_TRUE(MatchesReference(*rendered.picture, "boxes"));
}

// The demo's reviewed picture is the viewer's own, shared with its end-to-end test.
TEST(RenderCommandTest, DemoLooksLikeItsReviewedPicture) {
    TempFolder output;
    const Rendered rendered = Render(DEMO_DIR, output.Path() / "demo.png");
    EXPECT_EQ(rendered.run.status, 0) << rendered.run.errors;
    ASSERT_TRUE(rendered.picture) << rendered.run.errors;
    EXPECT_TRUE(MatchesReference(*rendered.picture, "demo", E2E_REFERENCE_DIR));
}

// An OBJ box converted to R looks as the OBJ does: positions, texture coordinates (the
// textured box), normals (the lit fixed-function box) and winding survive.
TEST(RenderCommandTest, ObjBoxConvertedToRLooksTheSame) {
    TempFolder folder;
    WriteEffectFiles(folder.Path());
    WriteFile(folder.Path(), "models/box.obj", ObjText(Cube(40), true));
    const auto scene = [&](const std::string& type, const std::string& file) {
        WriteFile(folder.Path(), "Scene.xml",
                  SceneXml(Object(type, file, "textured", "-310,300,2654") +
                           Object(type, file, "tinted", "-250,300,2654") +
                           Object(type, file, "NULL", "-190,300,2654")));
    };

    scene("OBJ", "models/box.obj");
    const Rendered obj = Render(folder.Path(), folder.Path() / "obj.png");
    EXPECT_EQ(obj.run.status, 0) << obj.run.errors;
    ASSERT_TRUE(obj.picture) << obj.run.errors;
    ASSERT_TRUE(ShowsSomething(*obj.picture));

    const ToolResult convert = RunScenetool({"convert", (folder.Path() / "models/box.obj").string(),
                                             (folder.Path() / "models/box.r").string()});
    ASSERT_EQ(convert.status, 0) << convert.output << convert.errors;
    scene("R", "models/box.r");
    const Rendered r = Render(folder.Path(), folder.Path() / "r.png");
    EXPECT_EQ(r.run.status, 0) << r.run.errors;
    ASSERT_TRUE(r.picture) << r.run.errors;
    EXPECT_TRUE(LookAlike(*r.picture, *obj.picture, "converted-box"));
}

// A box animated from a key file stands, at each animation time, where a still box placed
// at its position plus the interpolated offset stands.
TEST(RenderCommandTest, AnimatedBoxStandsWhereItsKeysPutItAtEachTime) {
    TempFolder folder;
    WriteEffectFiles(folder.Path());
    fs::create_directories(folder.Path() / "models");
    WriteRFile(folder.Path() / "models/box.r", Cube(40));
    WriteFile(folder.Path(), "models/keys.csv", "1000,-40,0,0\n2000,40,0,0\n3000,40,-50,0\n");
    const ToolResult animate = RunScenetool({"animate", (folder.Path() / "models/box.r").string(),
                                             (folder.Path() / "models/keys.csv").string(),
                                             (folder.Path() / "models/box.ra").string()});
    ASSERT_EQ(animate.status, 0) << animate.output << animate.errors;

    const struct {
        int time;
        std::string stillPos;  // (-250, 300, 2654) plus the offset at that time
    } cases[] = {
        {0, "-290,300,2654"},     // before the first key: at the first key
        {1250, "-270,300,2654"},  // a quarter of the way from the first key to the second
        {2000, "-210,300,2654"},  // on the second key
        {2600, "-210,270,2654"},  // 60% of the way from the second key to the third
        {9000, "-210,250,2654"},  // after the last key: at the last key
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("time " + std::to_string(c.time));
        WriteFile(folder.Path(), "Scene.xml",
                  SceneXml(Object("RA", "models/box.ra", "tinted", "-250,300,2654")));
        const Rendered moving =
            Render(folder.Path(), folder.Path() / "moving.png", {"--time", std::to_string(c.time)});
        EXPECT_EQ(moving.run.status, 0) << moving.run.errors;
        WriteFile(folder.Path(), "Scene.xml",
                  SceneXml(Object("R", "models/box.r", "tinted", c.stillPos)));
        const Rendered still = Render(folder.Path(), folder.Path() / "still.png");
        EXPECT_EQ(still.run.status, 0) << still.run.errors;
        ASSERT_TRUE(moving.picture && still.picture);
        ASSERT_TRUE(ShowsSomething(*still.picture));
        EXPECT_TRUE(
            LookAlike(*moving.picture, *still.picture, "animated-box-" + std::to_string(c.time)));
    }
}

class RenderOptionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteEffectFiles(folder.Path());
        fs::create_directories(folder.Path() / "models");
        WriteRFile(folder.Path() / "models/box.r", Cube(40));
        WriteFile(folder.Path(), "Scene.xml",
                  SceneXml(Object("R", "models/box.r", "tinted", "-250,300,2654")));
    }

    fs::path Picture() const { return output.Path() / "picture.png"; }

    TempFolder folder, output;
};

TEST_F(RenderOptionsTest, SizeSetsThePictureSizeAndBadSizesAreUsageErrors) {
    const Rendered rendered = Render(folder.Path(), Picture(), {"--size", "320x200"});
    EXPECT_EQ(rendered.run.status, 0) << rendered.run.errors;
    ASSERT_TRUE(rendered.picture) << rendered.run.errors;
    EXPECT_EQ(rendered.picture->Width(), 320);
    EXPECT_EQ(rendered.picture->Height(), 200);
    EXPECT_TRUE(ShowsSomething(*rendered.picture));

    for (const std::string size : {"0x10", "10", "10x", "99999x10", " 10x10", "+10x10", "10x-1"}) {
        SCOPED_TRACE(size);
        fs::remove(Picture());
        const Rendered bad = Render(folder.Path(), Picture(), {"--size", size});
        EXPECT_EQ(bad.run.status, 2);
        EXPECT_NE(bad.run.errors.find(size), std::string::npos) << bad.run.errors;
        EXPECT_FALSE(fs::exists(Picture()));
    }
}

TEST_F(RenderOptionsTest, FramesPrintsTheFrameTimes) {
    const Rendered rendered = Render(folder.Path(), Picture(), {"--frames", "3"});
    EXPECT_EQ(rendered.run.status, 0) << rendered.run.errors;
    EXPECT_TRUE(rendered.picture);
    static const std::regex statistics(
        R"(3 frames: min ([0-9.]+) ms, median ([0-9.]+) ms, max ([0-9.]+) ms, ([0-9.]+) frames per second\n)");
    std::smatch match;
    ASSERT_TRUE(std::regex_match(rendered.run.output, match, statistics)) << rendered.run.output;
    const double min = std::stod(match[1]), median = std::stod(match[2]), max = std::stod(match[3]),
                 perSecond = std::stod(match[4]);
    EXPECT_LE(min, median);
    EXPECT_LE(median, max);
    // Three frames cannot take less than three times the fastest one.
    EXPECT_LE(perSecond, 1000.0 / min * 1.01);
    EXPECT_GT(perSecond, 0.0);
}

// As the viewer does, what loaded is drawn; the status says something did not.
TEST_F(RenderOptionsTest, SceneWithAProblemStillGivesItsPictureWithStatus1) {
    WriteFile(folder.Path(), "Scene.xml",
              SceneXml(Object("R", "models/box.r", "tinted", "-250,300,2654") +
                       Object("R", "models/gone.r", "NULL", "-190,300,2654")));
    const Rendered rendered = Render(folder.Path(), Picture());
    EXPECT_EQ(rendered.run.status, 1);
    EXPECT_NE(rendered.run.errors.find("models/gone.r was not found"), std::string::npos)
        << rendered.run.errors;
    ASSERT_TRUE(rendered.picture);
    EXPECT_TRUE(ShowsSomething(*rendered.picture));
}

TEST_F(RenderOptionsTest, UnwritableOutputGivesStatus3) {
    const fs::path unwritable = output.Path() / "no-such-folder" / "picture.png";
    const Rendered rendered = Render(folder.Path(), unwritable);
    EXPECT_EQ(rendered.run.status, 3);
    EXPECT_NE(rendered.run.errors.find(unwritable.string()), std::string::npos)
        << rendered.run.errors;
}

}  // namespace
