// The scene description read from a text: only SceneException may come out, with the text
// of the last error logged; the records reach the sink in the order of the sections, and
// each is what the reading promises.

#include <algorithm>
#include <ctime>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzTargets.h"
#include "log/HtmlLog.h"
#include "scene/FileGraphicMemento.h"
#include "scene/Scene.h"
#include "scene/SceneException.h"
#include "scene/SceneSink.h"

namespace {

// Keeps the records and the order of the calls: 't' textures, 'p' programs, 'e' effects,
// 'r' resources read, 'o' objects.
class KeepingSink : public SceneSink {
public:
    void AddTextures(const std::vector<TextureMemento>& records) override {
        calls += 't';
        textures = records;
    }
    void AddShaderPrograms(const std::vector<GLSLShaderMemento>& records) override {
        calls += 'p';
        programs = records;
    }
    void AddEffects(const std::vector<EffectMemento>& records) override {
        calls += 'e';
        effects = records;
    }
    void ResourcesRead() override { calls += 'r'; }
    void CreateObjects(const std::vector<GraphicObjectEntry>& objects) override {
        calls += 'o';
        for (const GraphicObjectEntry& entry : objects) {
            types.push_back(entry.type);
            const auto* record = dynamic_cast<const FileGraphicMemento*>(entry.description.get());
            lines.push_back(record ? record->sourceLine : -1);
        }
    }

    std::string calls;
    std::vector<TextureMemento> textures;
    std::vector<GLSLShaderMemento> programs;
    std::vector<EffectMemento> effects;
    std::vector<std::string> types;
    std::vector<int> lines;
};

// Every call that may come, in order; each at most once.
bool InOrder(const std::string& calls) {
    std::size_t at = 0;
    for (const char call : calls) {
        at = std::string_view("tpero").find(call, at);
        if (at == std::string_view::npos) return false;
        ++at;
    }
    return true;
}

}  // namespace

int FuzzScene(const std::uint8_t* data, std::size_t size) {
    // The log is written for real, escaping and all, to nowhere.
    static HtmlLog log("/dev/null", "Log file", [] { return std::time_t{0}; });
    std::string lastError;
    int xmlErrorLine = -1;  // of the entry saying why the text is not well-formed XML
    log.SetErrorListener([&](const Problem& problem) {
        lastError = problem.text;
        if (problem.text.find(" is not well-formed XML: ") != std::string::npos) {
            xmlErrorLine = problem.line;
        }
    });

    const std::string_view text(reinterpret_cast<const char*>(data), size);
    KeepingSink sink;
    std::string failure;
    try {
        Scene::Read(text, log, sink);
    } catch (const SceneException& exception) {
        failure = exception.what();
        FUZZ_CHECK(!failure.empty() && failure == lastError,
                   "the exception \"" + failure + "\" is not the last error logged, \"" +
                       lastError + "\"");
    } catch (const std::exception& exception) {
        FuzzFail(std::string("the reading let out ") + exception.what());
    }
    log.SetErrorListener({});

    if (xmlErrorLine != -1) {
        const auto lines = 1 + std::count(text.begin(), text.end(), '\n');
        FUZZ_CHECK(xmlErrorLine >= 1 && xmlErrorLine <= lines, "an XML error at line " +
                                                                   std::to_string(xmlErrorLine) +
                                                                   " of " + std::to_string(lines));
    }
    FUZZ_CHECK(InOrder(sink.calls), "the sink was called out of order: " + sink.calls);
    // The objects come exactly when nothing failed; the resources are read before anything
    // can fail after them.
    FUZZ_CHECK((sink.calls.find('o') != std::string::npos) == failure.empty(),
               "objects handed over: " + sink.calls + ", failure: " + failure);
    if (sink.calls.find('o') != std::string::npos) {
        FUZZ_CHECK(sink.calls.find('r') != std::string::npos, "objects before the resources");
    }
    if (sink.calls.find('e') != std::string::npos) {
        FUZZ_CHECK(!sink.effects.empty() && sink.effects[0].name == "NULL" &&
                       sink.effects[0].programName == "NULL",
                   "the effects do not start with the NULL effect");
    }
    for (std::size_t i = 0; i < sink.types.size(); ++i) {
        const std::string& type = sink.types[i];
        FUZZ_CHECK(type == "OBJ" || type == "R" || type == "RA", "an object of type " + type);
        FUZZ_CHECK(sink.lines[i] >= 1, "an object without its line: " + type);
    }
    return 0;
}
