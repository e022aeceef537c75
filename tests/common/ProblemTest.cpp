#include "common/Problem.h"

#include <gtest/gtest.h>

namespace {

TEST(ProblemTest, DescribedAtOpensTheEntryWithTheSceneLineAndKeepsWhatToolsPrint) {
    // No place of its own: the scene's line, exactly as AtLine gives it.
    EXPECT_EQ(Problem::Text("Texture t: gone.").DescribedAt("Scene.xml", 5),
              Problem::AtLine("Scene.xml", 5, ": Texture t: gone."));

    // Placed in a model file: it stays there with its brief; only the entry changes.
    const Problem inModel = Problem::At("m.obj", 62, "The model file m.obj has a bad number.");
    const Problem described = inModel.DescribedAt("Scene.xml", 20);
    EXPECT_EQ(described.file, "m.obj");
    EXPECT_EQ(described.line, 62);
    EXPECT_EQ(described.Brief(), "The model file m.obj has a bad number.");
    EXPECT_EQ(described.text, "Scene.xml line 20: The model file m.obj has a bad number.");
    // Already opening with a line of the scene (as a second call leaves it): kept once.
    EXPECT_EQ(described.DescribedAt("Scene.xml", 20), described);
    const Problem atLine = Problem::AtLine("Scene.xml", 7, ": the R object has no file.");
    EXPECT_EQ(atLine.DescribedAt("Scene.xml", 7), atLine);

    // No line (a record not read from a file): the entry stays, the place is the scene.
    EXPECT_EQ(Problem::Text("Effect e names no program.").DescribedAt("Scene.xml", 0),
              Problem::At("Scene.xml", 0, "Effect e names no program."));
    EXPECT_EQ(inModel.DescribedAt("Scene.xml", 0), inModel);
}

}  // namespace
