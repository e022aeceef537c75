#include "ProblemLocator.h"

#include <array>
#include <cstdlib>
#include <regex>
#include <string_view>

namespace {

constexpr const char* kSceneFile = "Scene.xml";

// Entries with fixed texts that follow the entry saying what went wrong.
constexpr std::array<std::string_view, 10> kConsequences = {
    "File Scene.xml not exist.",
    "No Scene tag in Scene.xml.",
    "No Effects tag in Scene.xml.",
    "No Textures tag in Scene.xml",
    "No Shaders tag in Scene.xml.",
    "No GraphicObjects tag in Scene.xml.",
    "Scene::Load() catch exception in textures loading.",
    "Scene::Load() catch exception in shaders loading.",
    "Scene::Load() catch exception in effects loading.",
    "In scene Load() method.",
};

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// The number after the first `marker` in `text`, or 0.
int NumberAfter(const std::string& text, std::string_view marker) {
    const auto at = text.find(marker);
    if (at == std::string::npos) return 0;
    return std::atoi(text.c_str() + at + marker.size());
}

// The resource name of "KIND NAME: ...", or nothing when `error` does not start so.
bool ResourceName(const std::string& error, std::string_view kind, std::string& name) {
    if (!StartsWith(error, kind)) return false;
    const auto colon = error.find(": ", kind.size());
    if (colon == std::string::npos) return false;
    name = error.substr(kind.size(), colon - kind.size());
    return true;
}

const SceneIndex::Resource* FindResource(const std::vector<SceneIndex::Resource>& resources,
                                         const std::string& name, const std::string& error) {
    const SceneIndex::Resource* first = nullptr;
    for (const auto& resource : resources) {
        if (resource.name != name) continue;
        // Of several definitions of one name, the one whose file the entry names.
        if (!resource.file.empty() && error.find(resource.file) != std::string::npos) {
            return &resource;
        }
        if (!first) first = &resource;
    }
    return first;
}

}  // namespace

std::vector<Problem> ProblemLocator::Locate(const std::vector<std::string>& errors) {
    std::vector<Problem> problems;
    for (const std::string& error : errors) LocateOne(error, problems);
    return problems;
}

void ProblemLocator::LocateOne(const std::string& error, std::vector<Problem>& problems) {
    for (std::string_view consequence : kConsequences) {
        if (error != consequence) continue;
        if (!explained) problems.push_back({kSceneFile, 0, error});
        return;
    }
    explained = true;

    const std::string sceneLine = std::string(kSceneFile) + " line ";
    if (StartsWith(error, sceneLine)) {
        const int line = NumberAfter(error, sceneLine);
        std::string rest = error.substr(error.find_first_not_of("0123456789", sceneLine.size()));
        rest = StartsWith(rest, ": ") ? rest.substr(2) : kSceneFile + rest;
        problems.push_back({kSceneFile, line, rest});
        return;
    }
    std::string name;
    if (ResourceName(error, "Texture ", name)) {
        const auto* texture = FindResource(index.textures, name, error);
        problems.push_back({kSceneFile, texture ? texture->line : 0, error});
        return;
    }
    if (ResourceName(error, "Shader program ", name)) {
        if (LocateShaderLog(error, problems)) return;
        const auto* program = FindResource(index.programs, name, error);
        problems.push_back({kSceneFile, program ? program->line : 0, error});
        return;
    }
    if (StartsWith(error, "Effect ")) {
        problems.push_back({kSceneFile, EffectLine(error), error});
        return;
    }
    if (StartsWith(error, "The model file ")) {
        problems.push_back(LocateModelFile(error));
        return;
    }
    // The factory's entries that name only the model type.
    static const std::regex typeOnly(
        R"(^(?:An (\S+) object needs a model file description\.|Could not find creator: (\S+)|)"
        R"(Unexpected error\. While creating object\. (\S+))$)");
    std::smatch match;
    if (std::regex_match(error, match, typeOnly)) {
        const std::string type = match[1].matched   ? match[1].str()
                                 : match[2].matched ? match[2].str()
                                                    : match[3].str();
        const std::string noFile;
        const std::string* file = match[1].matched ? &noFile : nullptr;
        problems.push_back({kSceneFile, ObjectLine(type, file), error});
        return;
    }
    problems.push_back({kSceneFile, 0, error});
}

// "Shader program P: the vertex shader FILE did not compile:\nDRIVER LOG": one problem for
// each line of the driver's log, at the line of the shader file it names.
bool ProblemLocator::LocateShaderLog(const std::string& error,
                                     std::vector<Problem>& problems) const {
    static const std::regex compile(R"(: the (?:vertex|fragment) shader (.*) did not compile:\n)");
    std::smatch match;
    if (!std::regex_search(error, match, compile)) return false;
    const std::string file = match[1];
    // Mesa writes "0:LINE(COLUMN): error: ..."; other drivers "ERROR: 0:LINE: ...".
    static const std::regex placed(R"((?:^|\D)\d+:(\d+)(?:\(\d+\))?:)");
    const std::string log = match.suffix();
    std::size_t start = 0;
    bool any = false;
    while (start < log.size()) {
        std::size_t end = log.find('\n', start);
        if (end == std::string::npos) end = log.size();
        const std::string line = log.substr(start, end - start);
        start = end + 1;
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        std::smatch where;
        const int number = std::regex_search(line, where, placed) ? std::stoi(where[1]) : 0;
        problems.push_back({file, number, line});
        any = true;
    }
    if (!any) problems.push_back({file, 0, "did not compile, and the driver says nothing more"});
    return true;
}

Problem ProblemLocator::LocateModelFile(const std::string& error) {
    // The object the entry is about: the next one in scene order whose file it names.
    const auto& objects = index.objects;
    std::string file;
    for (std::size_t pass = 0; pass < 2 && file.empty(); ++pass) {
        for (std::size_t i = pass == 0 ? nextObject : 0; i < objects.size(); ++i) {
            const std::string& candidate = objects[i].description.fileName;
            if (candidate.empty() || !StartsWith(error, "The model file " + candidate + " ")) {
                continue;
            }
            file = candidate;
            nextObject = i + 1;
            break;
        }
    }
    if (file.empty()) return {kSceneFile, 0, error};
    // A place inside the model file, or else the scene line that names it.
    if (const int line = NumberAfter(error, " on line ")) return {file, line, error};
    if (error.find(" at byte ") != std::string::npos) {
        return {file, NumberAfter(error, " at byte "), error};
    }
    return {kSceneFile, objects[nextObject - 1].line, error};
}

// The line of the next object of `type` (with no file, when `fileName` is an empty
// string), or 0.
int ProblemLocator::ObjectLine(const std::string& type, const std::string* fileName) {
    const auto& objects = index.objects;
    for (std::size_t i = nextObject; i < objects.size(); ++i) {
        if (objects[i].type != type) continue;
        if (fileName && objects[i].description.fileName != *fileName) continue;
        nextObject = i + 1;
        return objects[i].line;
    }
    return 0;
}

// The line of the effect an "Effect NAME ..." entry is about, or of its sampler when the
// entry is about one. Effects are built in document order, each reporting its program
// first and then its samplers in order, so of several effects of one name the entry
// belongs to the current one or a later one.
int ProblemLocator::EffectLine(const std::string& error) {
    const auto& effects = index.effects;
    const auto aboutSampler = [&](const SceneIndex::Effect& effect, std::size_t after) {
        for (std::size_t u = after == SIZE_MAX ? 0 : after + 1; u < effect.uniforms.size(); ++u) {
            const auto& uniform = effect.uniforms[u];
            const std::string sampler = "the sampler " + uniform.name;
            const auto at = error.find(sampler);
            if (uniform.kind != "Sampler" || uniform.name.empty() || at == std::string::npos) {
                continue;
            }
            const char next = error[at + sampler.size()];
            if (next == ';' || next == ',') return u;
        }
        return SIZE_MAX;
    };
    const auto named = [&](std::size_t i) {
        const std::string label = effects[i].name.empty() ? "(unnamed)" : effects[i].name;
        return StartsWith(error, "Effect " + label + " ");
    };
    const bool programEntry = error.find(" shader program") != std::string::npos;
    // A sampler entry after the current effect's last one stays with that effect.
    if (!programEntry && currentEffect < effects.size() && named(currentEffect)) {
        const std::size_t u = aboutSampler(effects[currentEffect], currentSampler);
        if (u != SIZE_MAX) {
            currentSampler = u;
            return effects[currentEffect].uniforms[u].line;
        }
    }
    const std::size_t from = currentEffect < effects.size() ? currentEffect + 1 : 0;
    for (std::size_t pass = 0; pass < 2; ++pass) {
        for (std::size_t i = pass == 0 ? from : 0; i < effects.size(); ++i) {
            if (!named(i)) continue;
            currentEffect = i;
            currentSampler = programEntry ? SIZE_MAX : aboutSampler(effects[i], SIZE_MAX);
            return currentSampler == SIZE_MAX ? effects[i].line
                                              : effects[i].uniforms[currentSampler].line;
        }
    }
    return 0;
}
