#include "resources/ResourceRegistry.h"

#include <exception>

#include "log/HtmlLog.h"

ResourceRegistry::ResourceRegistry(HtmlLog& log) : log(log) {}

ResourceRegistry::~ResourceRegistry() { Release(); }

void ResourceRegistry::AddTextures(const std::vector<TextureMemento>& descriptions) {
    for (const TextureMemento& description : descriptions) {
        std::unique_ptr<Texture> texture;
        try {
            texture = LoadTexture(description.fileName);
        } catch (const std::exception& failure) {
            log.WriteError(Problem::Text("Texture " + description.name + ": " + failure.what())
                               .DescribedAt("Scene.xml", description.sourceLine));
            throw;
        }
        textures.try_emplace(description.name, std::move(texture));
    }
}

void ResourceRegistry::AddShaderPrograms(const std::vector<GLSLShaderMemento>& descriptions) {
    for (const GLSLShaderMemento& description : descriptions) {
        std::unique_ptr<ShaderProgram> program;
        try {
            program = BuildShaderProgram(description.vertexFile, description.fragmentFile);
        } catch (const std::exception& failure) {
            log.WriteError(
                Problem::Text("Shader program " + description.name + ": " + failure.what())
                    .DescribedAt("Scene.xml", description.sourceLine));
            throw;
        }
        for (Problem problem : program->problems) {
            // A shader that did not compile stays placed in its source; the rest, at the
            // program's element. Either entry names that element's line.
            problem.text = "Shader program " + description.name + ": " + problem.text;
            log.WriteError(problem.DescribedAt("Scene.xml", description.sourceLine));
        }
        programs.try_emplace(description.name, std::move(program));
    }
}

void ResourceRegistry::AddEffects(const std::vector<EffectMemento>& descriptions) {
    for (const EffectMemento& description : descriptions) {
        effects.try_emplace(description.name, BuildEffect(*this, description, log));
    }
}

const Effect* ResourceRegistry::FindEffect(const std::string& name) const {
    const auto found = effects.find(name);
    return found == effects.end() ? nullptr : found->second.get();
}

std::optional<std::uint32_t> ResourceRegistry::LookupGLName(const ProgramMap& programs,
                                                            const std::string& name) {
    if (name == "NULL") return 0;
    const auto found = programs.find(name);
    if (found == programs.end()) return std::nullopt;
    return found->second->program.Id();
}

std::optional<std::uint32_t> ResourceRegistry::LookupGLName(const TextureMap& textures,
                                                            const std::string& name) {
    if (name == "NULL") return 0;
    const auto found = textures.find(name);
    if (found == textures.end()) return std::nullopt;
    return found->second->id.Id();
}

namespace {

// Destroys a map's entries in ascending name order (clear() goes in tree order).
template <typename Map>
void DestroyInNameOrder(Map& map) {
    while (!map.empty()) map.erase(map.begin());
}

}  // namespace

void ResourceRegistry::Release() {
    DestroyInNameOrder(textures);
    DestroyInNameOrder(programs);
    DestroyInNameOrder(effects);
}
