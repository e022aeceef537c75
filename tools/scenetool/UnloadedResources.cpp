#include "UnloadedResources.h"

#include <algorithm>
#include <string>

#include "common/NearestName.h"
#include "resources/ResourceRegistry.h"

namespace {

constexpr const char* kSceneFile = "Scene.xml";

std::string Label(const std::string& name) { return name.empty() ? "(unnamed)" : name; }

bool IsRedefinition(const std::vector<SceneIndex::Resource>& definitions, std::size_t at) {
    return std::any_of(definitions.begin(), definitions.begin() + at,
                       [&](const auto& earlier) { return earlier.name == definitions[at].name; });
}

// The index of the definition whose failure stopped the section, or the size when none
// did. Before it every definition was loaded, so its name is registered; the first name
// that is not is the failed one when an error is at its line, and otherwise comes after a
// redefinition that failed (a later definition of a registered name is still built).
template <typename Map>
std::size_t FailedAt(const std::vector<SceneIndex::Resource>& definitions, const Map& registered,
                     const std::set<int>& errorLines) {
    const auto unregistered =
        std::find_if(definitions.begin(), definitions.end(),
                     [&](const auto& d) { return !registered.count(d.name); });
    const std::size_t first = unregistered - definitions.begin();
    if (first == definitions.size() || errorLines.count(definitions[first].line)) return first;
    for (std::size_t at = first; at-- > 0;) {
        if (errorLines.count(definitions[at].line) && IsRedefinition(definitions, at)) return at;
    }
    // Not registered, yet no failure at a definition's line: say nothing rather than guess.
    return definitions.size();
}

std::vector<std::string> Names(const std::vector<SceneIndex::Resource>& definitions) {
    std::vector<std::string> names;
    for (const auto& definition : definitions) names.push_back(definition.name);
    return names;
}

// A name nothing defines that is close to a defined one that did not load.
class NearMisses {
public:
    NearMisses(std::vector<std::string> defined, std::vector<int> lines, std::string kind)
        : defined(std::move(defined)), lines(std::move(lines)), kind(std::move(kind)) {}

    template <typename IsRegistered>
    void Check(const std::string& subject, const std::string& name, int line,
               IsRegistered isRegistered, std::vector<Problem>& problems) const {
        if (name == "NULL") return;
        const auto meant = NearestName(name, defined);
        if (!meant || isRegistered(*meant)) return;
        const std::size_t at = std::find(defined.begin(), defined.end(), *meant) - defined.begin();
        problems.push_back(Problem::At(kSceneFile, line,
                                       subject + " names the " + kind + " " + name +
                                           ", which is not defined; the " + kind + " " + *meant +
                                           " is defined on line " + std::to_string(lines[at]) +
                                           " but did not load."));
    }

private:
    std::vector<std::string> defined;  // in document order; the first of a name counts
    std::vector<int> lines;
    std::string kind;
};

NearMisses Of(const std::vector<SceneIndex::Resource>& definitions, const std::string& kind) {
    std::vector<int> lines;
    for (const auto& definition : definitions) lines.push_back(definition.line);
    return NearMisses(Names(definitions), std::move(lines), kind);
}

}  // namespace

UnloadedResources::UnloadedResources(const SceneIndex& index, const ResourceRegistry& registry,
                                     const std::vector<Problem>& errors) {
    std::set<int> errorLines;
    for (const Problem& error : errors) {
        if (error.file == kSceneFile && error.severity == Problem::Severity::Error) {
            errorLines.insert(error.line);
        }
    }
    const auto findStopped = [&](const std::vector<SceneIndex::Resource>& definitions,
                                 const auto& registered, const std::string& kind,
                                 const std::string& section) {
        const std::size_t failed = FailedAt(definitions, registered, errorLines);
        for (std::size_t at = failed + 1; at < definitions.size(); ++at) {
            unloaded.insert(&definitions[at]);
            problems.push_back(
                Problem::At(kSceneFile, definitions[at].line,
                            "the " + kind + " " + Label(definitions[at].name) +
                                " is not loaded: the " + section + " section stopped at line " +
                                std::to_string(definitions[failed].line) + ", where the " + kind +
                                " " + Label(definitions[failed].name) + " failed to load."));
        }
    };
    findStopped(index.textures, registry.Textures(), "texture", "Textures");
    findStopped(index.programs, registry.Programs(), "shader program", "Shaders");

    std::vector<SceneIndex::Resource> effects;
    for (const auto& effect : index.effects) effects.push_back({effect.name, "", effect.line});
    const NearMisses textures = Of(index.textures, "texture");
    const NearMisses programs = Of(index.programs, "shader program");
    const NearMisses effectNames = Of(effects, "effect");
    const auto registeredIn = [](const auto& map) {
        return [&map](const std::string& name) { return map.count(name) > 0; };
    };
    for (const auto& effect : index.effects) {
        const std::string subject = "the effect " + Label(effect.name);
        programs.Check(subject, effect.program, effect.line, registeredIn(registry.Programs()),
                       problems);
        for (const auto& uniform : effect.uniforms) {
            if (uniform.kind != "Sampler") continue;
            textures.Check(subject + "'s sampler " + Label(uniform.name), uniform.texture,
                           uniform.line, registeredIn(registry.Textures()), problems);
        }
    }
    for (const auto& object : index.objects) {
        effectNames.Check("the " + object.type + " object " + object.description.fileName,
                          object.description.effectName, object.line,
                          registeredIn(registry.Effects()), problems);
    }
}
