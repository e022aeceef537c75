#include <gtest/gtest.h>

#include "scene/EffectMemento.h"
#include "scene/FileGraphicMemento.h"
#include "scene/GLSLShaderMemento.h"
#include "scene/TextureMemento.h"

namespace {

TEST(TextureMemento, TakesNameAndFileAsTheyStand) {
    TextureMemento record;
    record.SetAttribute("name", " wood ");
    record.SetAttribute("file", "textures/wood.png");
    record.SetAttribute("Name", "ignored");
    record.SetAttribute("vert", "ignored");
    EXPECT_EQ(record.name, " wood ");
    EXPECT_EQ(record.fileName, "textures/wood.png");
}

TEST(GLSLShaderMemento, TakesNameAndBothSourceFiles) {
    GLSLShaderMemento record;
    record.SetAttribute("name", "phong");
    record.SetAttribute("vert", "shaders/phong.vert");
    record.SetAttribute("frag", "shaders/phong.frag");
    record.SetAttribute("file", "ignored");
    EXPECT_EQ(record.name, "phong");
    EXPECT_EQ(record.vertexFile, "shaders/phong.vert");
    EXPECT_EQ(record.fragmentFile, "shaders/phong.frag");
}

TEST(EffectMemento, TakesNameAndShaderAndNothingElse) {
    EffectMemento record;
    record.SetAttribute("name", "polished");
    record.SetAttribute("shader", "phong");
    record.SetAttribute("texture", "ignored");
    record.SetAttribute("val", "ignored");
    EXPECT_EQ(record.name, "polished");
    EXPECT_EQ(record.programName, "phong");
    EXPECT_TRUE(record.samplers.empty());
    EXPECT_TRUE(record.floats.empty());
}

TEST(FileGraphicMemento, DefaultsToEmptyTextAndZeroVectors) {
    const FileGraphicMemento record;
    EXPECT_EQ(record.fileName, "");
    EXPECT_EQ(record.effectName, "");
    EXPECT_EQ(record.scale.x, 0.0f);
    EXPECT_EQ(record.scale.y, 0.0f);
    EXPECT_EQ(record.scale.z, 0.0f);
}

TEST(FileGraphicMemento, TakesItsOwnAndItsBasesAttributes) {
    FileGraphicMemento record;
    record.SetAttribute("file", "models/chair.r");
    record.SetAttribute("effect", "NULL");
    record.SetAttribute("pos", "120,0,40");
    record.SetAttribute("scale", "2, 5 ,7");
    record.SetAttribute("name", "ignored");
    EXPECT_EQ(record.fileName, "models/chair.r");
    EXPECT_EQ(record.effectName, "NULL");
    EXPECT_EQ(record.position.x, 120.0f);
    EXPECT_EQ(record.position.y, 0.0f);
    EXPECT_EQ(record.position.z, 40.0f);
    EXPECT_EQ(record.scale.x, 2.0f);
    EXPECT_EQ(record.scale.y, 5.0f);
    EXPECT_EQ(record.scale.z, 7.0f);
}

TEST(FileGraphicMemento, AppliesAttributesThroughTheBaseInterface) {
    FileGraphicMemento record;
    AbstractGraphicMemento& base = record;
    base.SetAttribute("file", "models/fan.ra");
    base.SetAttribute("pos", "1 2 3");  // blanks alone: only x is read
    EXPECT_EQ(record.fileName, "models/fan.ra");
    EXPECT_EQ(record.position.x, 1.0f);
    EXPECT_EQ(record.position.y, 0.0f);
    EXPECT_EQ(record.position.z, 0.0f);
}

TEST(FileGraphicMemento, ALaterValueReplacesTheEarlierOne) {
    FileGraphicMemento record;
    record.SetAttribute("pos", "1,2,3");
    record.SetAttribute("pos", "x");
    EXPECT_EQ(record.position.x, 0.0f);
    EXPECT_EQ(record.position.y, 0.0f);
    EXPECT_EQ(record.position.z, 0.0f);
}

}  // namespace
