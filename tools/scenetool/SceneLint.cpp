#include "SceneLint.h"

#include <GL/glew.h>

#include <set>
#include <string>

#include "AttributeLint.h"
#include "resources/ResourceRegistry.h"
#include "UnloadedResources.h"

namespace {

constexpr const char* kSceneFile = "Scene.xml";

std::string Label(const std::string& name) { return name.empty() ? "(unnamed)" : name; }

// Every name defined more than once, at its later definitions.
template <typename Definitions>
void FindRedefinitions(const Definitions& definitions, const std::string& kind,
                       std::vector<Problem>& problems) {
    std::set<std::string> seen;
    for (const auto& definition : definitions) {
        if (seen.insert(definition.name).second) continue;
        problems.push_back(
            Problem::At(kSceneFile, definition.line,
                        "the " + kind + " " + definition.name +
                            " is defined again; the first definition is the one used."));
    }
}

// Textures and programs never loaded are not said to be unused: their own warning says why.
void FindUnusedResources(const SceneIndex& index, const UnloadedResources& unloaded,
                         std::vector<Problem>& problems) {
    std::set<std::string> usedTextures, usedPrograms, usedEffects;
    for (const auto& effect : index.effects) {
        usedPrograms.insert(effect.program);
        for (const auto& uniform : effect.uniforms) usedTextures.insert(uniform.texture);
    }
    for (const auto& object : index.objects) usedEffects.insert(object.description.effectName);

    for (const auto& texture : index.textures) {
        if (usedTextures.count(texture.name) || unloaded.Contains(texture)) continue;
        problems.push_back(Problem::At(
            kSceneFile, texture.line,
            "the texture " + texture.name + " is defined but no effect's sampler uses it."));
    }
    for (const auto& program : index.programs) {
        if (usedPrograms.count(program.name) || unloaded.Contains(program)) continue;
        problems.push_back(Problem::At(
            kSceneFile, program.line,
            "the shader program " + program.name + " is defined but no effect uses it."));
    }
    for (const auto& effect : index.effects) {
        if (usedEffects.count(effect.name)) continue;
        problems.push_back(
            Problem::At(kSceneFile, effect.line,
                        "the effect " + Label(effect.name) + " is defined but no object uses it."));
    }
}

void FindZeroScales(const SceneIndex& index, std::vector<Problem>& problems) {
    for (const auto& object : index.objects) {
        if (object.description.scale.x != 0.0f) continue;
        problems.push_back(Problem::At(
            kSceneFile, object.line,
            "the " + object.type + " object " + object.description.fileName + " has scale 0 (" +
                (object.hasScale ? "the first component of its scale is 0"
                                 : "it has no scale attribute") +
                "), so it is not seen."));
    }
}

// Samplers and uniforms that the program of their effect does not have as active uniforms:
// a misspelt name, or one the compiler dropped because the shader does not use it.
void FindMissingUniforms(const SceneIndex& index, const ResourceRegistry& registry,
                         std::vector<Problem>& problems) {
    std::set<std::string> checked;
    for (const auto& effect : index.effects) {
        // The first definition of a name is the one the viewer uses.
        if (!checked.insert(effect.name).second) continue;
        const auto program = registry.LookupGLName(registry.Programs(), effect.program);
        if (!program || *program == 0 || !glIsProgram(*program)) continue;
        GLint linked = GL_FALSE;
        glGetProgramiv(*program, GL_LINK_STATUS, &linked);
        if (linked != GL_TRUE) continue;
        for (const auto& uniform : effect.uniforms) {
            if (glGetUniformLocation(*program, uniform.name.c_str()) >= 0) continue;
            const std::string what = uniform.kind == "Sampler" ? "sampler" : uniform.kind;
            problems.push_back(Problem::At(
                kSceneFile, uniform.line,
                "the effect " + Label(effect.name) + " sets the " + what + " " +
                    Label(uniform.name) + ", but its program " + effect.program +
                    " has no active uniform of that name (misspelt, or unused by the shaders "
                    "and dropped by the compiler)."));
        }
    }
}

void FindSkippedElements(const SceneIndex& index, std::vector<Problem>& problems) {
    for (const auto& element : index.skipped) {
        const std::string expected = element.file == "Textures"  ? "Texture"
                                     : element.file == "Shaders" ? "GLSL"
                                                                 : "OBJ, R or RA";
        problems.push_back(Problem::At(kSceneFile, element.line,
                                       "the element " + element.name + " in the " + element.file +
                                           " section is skipped: only " + expected +
                                           " elements are read there (names are case-sensitive)."));
    }
}

}  // namespace

std::vector<Problem> FindLikelyMistakes(const SceneIndex& index, const ResourceRegistry& registry,
                                        const std::vector<Problem>& errors) {
    std::vector<Problem> problems;
    FindSkippedElements(index, problems);
    for (Problem& problem : FindAttributeMistakes(index)) problems.push_back(std::move(problem));
    FindZeroScales(index, problems);
    FindRedefinitions(index.textures, "texture", problems);
    FindRedefinitions(index.programs, "shader program", problems);
    FindRedefinitions(index.effects, "effect", problems);
    const UnloadedResources unloaded(index, registry, errors);
    problems.insert(problems.end(), unloaded.Problems().begin(), unloaded.Problems().end());
    FindUnusedResources(index, unloaded, problems);
    FindMissingUniforms(index, registry, problems);
    return problems;
}
