#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <memory>
#include <optional>
#include <string>

#include "log/HtmlLog.h"
#include "scene/internal/EffectReader.h"
#include "scene/SceneException.h"
#include "support/LogEntries.h"
#include "support/TempFolder.h"

namespace {

// Reads the first Effect element of an XML text and keeps what the reader logged.
class EffectReading : public ::testing::Test {
protected:
    EffectMemento Read(const std::string& xml) {
        if (document.Parse(xml.c_str()) != tinyxml2::XML_SUCCESS) {
            ADD_FAILURE() << "test XML does not parse: " << xml;
            return {};
        }
        return ReadEffect(*document.FirstChildElement("Effect"), log);
    }

    std::vector<LogEntry> Entries() {
        log.Close();
        return EntriesOf(logPath);
    }

    TempFolder folder;
    std::string logPath = (folder.Path() / "Log.htm").string();
    HtmlLog log{logPath, "Log file"};
    tinyxml2::XMLDocument document;
};

TEST_F(EffectReading, ReadsAFullEffectInDocumentOrder) {
    const EffectMemento record = Read(R"(
        <Effect name="polished">
          <Shader shader="phong"/>
          <Float3 name="tint" val="1,0.9,0.8"/>
          <Sampler name="diffuseMap" texture="wood"/>
          <Float name="shininess" val="32"/>
          <Sampler name="bumpMap" texture="NULL"/>
          <Float2 name="offset" val="0.5, -2"/>
          <Float name="shininess" val="8"/>
        </Effect>)");
    EXPECT_EQ(record.name, "polished");
    EXPECT_EQ(record.programName, "phong");
    ASSERT_EQ(record.samplers.size(), 2u);
    EXPECT_EQ(record.samplers[0].name, "diffuseMap");
    EXPECT_EQ(record.samplers[0].texture, "wood");
    EXPECT_EQ(record.samplers[1].name, "bumpMap");
    EXPECT_EQ(record.samplers[1].texture, "NULL");
    ASSERT_EQ(record.floats.size(), 2u);
    EXPECT_EQ(record.floats[0].name, "shininess");
    EXPECT_EQ(record.floats[0].value, 32.0f);
    EXPECT_EQ(record.floats[1].value, 8.0f);
    ASSERT_EQ(record.float2s.size(), 1u);
    EXPECT_EQ(record.float2s[0].name, "offset");
    EXPECT_EQ(record.float2s[0].x, 0.5f);
    EXPECT_EQ(record.float2s[0].y, -2.0f);
    ASSERT_EQ(record.float3s.size(), 1u);
    EXPECT_EQ(record.float3s[0].name, "tint");
    EXPECT_FLOAT_EQ(record.float3s[0].value.y, 0.9f);
    EXPECT_FLOAT_EQ(record.float3s[0].value.z, 0.8f);
    // Only the effect's and the shader's attributes are logged.
    EXPECT_EQ(Entries(), (std::vector{Message("name:\tpolished"), Message("shader:\tphong")}));
}

TEST_F(EffectReading, AppliesOnlyTheEffectsFirstAttribute) {
    const EffectMemento record = Read(R"(<Effect shader="phong" name="polished"/>)");
    EXPECT_EQ(record.programName, "phong");
    EXPECT_EQ(record.name, "");
    EXPECT_EQ(Entries(), std::vector{Message("shader:\tphong")});
}

TEST_F(EffectReading, AppliesEveryAttributeOfTheFirstShaderOnly) {
    const EffectMemento record = Read(R"(
        <Effect name="a">
          <Shader shader="phong" name="renamed" colour="red"/>
          <Shader shader="other"/>
        </Effect>)");
    EXPECT_EQ(record.name, "renamed");
    EXPECT_EQ(record.programName, "phong");
    EXPECT_EQ(Entries(), (std::vector{Message("name:\ta"), Message("shader:\tphong"),
                                      Message("name:\trenamed"), Message("colour:\tred")}));
}

TEST_F(EffectReading, TestsEntryAttributesByPosition) {
    const EffectMemento record = Read(R"(
        <Effect name="a">
          <Sampler texture="wood" name="diffuseMap"/>
          <Sampler name="s" texture="t" extra="ignored"/>
          <Float name="f" value="3"/>
          <Float name="g" val="not a number"/>
          <Float2 name="h" val="?"/>
          <Float3 label="k" val="1,2,3"/>
        </Effect>)");
    ASSERT_EQ(record.samplers.size(), 2u);
    EXPECT_EQ(record.samplers[0].name, "");
    EXPECT_EQ(record.samplers[0].texture, "");
    EXPECT_EQ(record.samplers[1].name, "s");
    EXPECT_EQ(record.samplers[1].texture, "t");
    ASSERT_EQ(record.floats.size(), 2u);
    EXPECT_EQ(record.floats[0].name, "f");
    EXPECT_EQ(record.floats[0].value, 0.0f);
    EXPECT_EQ(record.floats[1].value, 0.0f);
    ASSERT_EQ(record.float2s.size(), 1u);
    EXPECT_EQ(record.float2s[0].x, 0.0f);
    EXPECT_EQ(record.float2s[0].y, 0.0f);
    ASSERT_EQ(record.float3s.size(), 1u);
    EXPECT_EQ(record.float3s[0].name, "");
    EXPECT_EQ(record.float3s[0].value.x, 1.0f);
    EXPECT_EQ(record.float3s[0].value.z, 3.0f);
}

TEST_F(EffectReading, AnEffectWithoutAttributesOrChildrenIsEmpty) {
    const EffectMemento record = Read("<Effect/>");
    EXPECT_EQ(record.name, "");
    EXPECT_EQ(record.programName, "");
    EXPECT_TRUE(record.samplers.empty());
    EXPECT_TRUE(Entries().empty());
}

// An entry needs a name and a value; with fewer than two attributes the effect cannot be
// what the writer meant, so reading fails with an error naming the line.
struct ShortEntry {
    std::string element;
    std::string problem;
};

class ShortEntryReading : public EffectReading, public ::testing::WithParamInterface<ShortEntry> {};

TEST_P(ShortEntryReading, FailsWithTheLineOfTheEntry) {
    const ShortEntry& entry = GetParam();
    const std::string xml =
        "<Effect name=\"a\">\n  <Float name=\"ok\" val=\"1\"/>\n  " + entry.element + "\n</Effect>";
    std::optional<std::string> thrown;
    try {
        Read(xml);
    } catch (const SceneException& failure) {
        thrown = failure.what();
    }
    ASSERT_TRUE(thrown.has_value()) << "no failure for " << entry.element;
    EXPECT_EQ(*thrown, "Scene.xml line 3: " + entry.problem);
    EXPECT_EQ(Entries(), (std::vector{Message("name:\ta"), Error(*thrown)}));
}

INSTANTIATE_TEST_SUITE_P(
    Entries, ShortEntryReading,
    ::testing::Values(
        ShortEntry{"<Sampler/>", "Sampler needs two attributes, name and texture, but has none."},
        ShortEntry{"<Sampler name=\"s\"/>",
                   "Sampler needs two attributes, name and texture, but has one."},
        ShortEntry{"<Float/>", "Float needs two attributes, name and val, but has none."},
        ShortEntry{"<Float val=\"1\"/>", "Float needs two attributes, name and val, but has one."},
        ShortEntry{"<Float2 name=\"v\"/>",
                   "Float2 needs two attributes, name and val, but has one."},
        ShortEntry{"<Float3></Float3>",
                   "Float3 needs two attributes, name and val, but has none."}));

}  // namespace
