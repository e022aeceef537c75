#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/NearestName.h"
#include "resources/Effect.h"
#include "resources/ShaderProgram.h"
#include "resources/Texture.h"
#include "scene/EffectMemento.h"
#include "scene/GLSLShaderMemento.h"
#include "scene/TextureMemento.h"

class HtmlLog;

// The named textures, shader programs and effects of the scene, each kind in its own map
// ordered by name. The first registration of a name wins; a later resource of the same
// name is still built (so its files are read and checked) and then deleted at once.
class ResourceRegistry {
public:
    using TextureMap = std::map<std::string, std::unique_ptr<Texture>>;
    using ProgramMap = std::map<std::string, std::unique_ptr<ShaderProgram>>;
    using EffectMap = std::map<std::string, std::unique_ptr<Effect>>;

    explicit ResourceRegistry(HtmlLog& log);
    ~ResourceRegistry();  // Release()

    ResourceRegistry(const ResourceRegistry&) = delete;
    ResourceRegistry& operator=(const ResourceRegistry&) = delete;

    // Each builds and registers the resources of its list in order. The first one that
    // cannot be built is logged as an error naming it, its Scene.xml line and its file, and
    // its exception is passed on: what was registered before stays, the rest of the list
    // is not touched.
    void AddTextures(const std::vector<TextureMemento>& descriptions);
    void AddShaderPrograms(const std::vector<GLSLShaderMemento>& descriptions);
    void AddEffects(const std::vector<EffectMemento>& descriptions);

    // The registered effect of that name, or null.
    const Effect* FindEffect(const std::string& name) const;

    // The GL name of a registered program or texture; "NULL" is 0 without looking. Nothing
    // when the name is not registered.
    static std::optional<std::uint32_t> LookupGLName(const ProgramMap& programs,
                                                     const std::string& name);
    static std::optional<std::uint32_t> LookupGLName(const TextureMap& textures,
                                                     const std::string& name);

    // " (did you mean NAME?)", NAME being the name registered in `map` that `name` was most
    // likely meant to be (see NearestName); empty when none is that close.
    template <typename Map>
    static std::string DidYouMean(const Map& map, const std::string& name) {
        std::vector<std::string> known;
        known.reserve(map.size());
        for (const auto& entry : map) known.push_back(entry.first);
        const std::optional<std::string> nearest = NearestName(name, known);
        return nearest ? " (did you mean " + *nearest + "?)" : "";
    }

    const TextureMap& Textures() const { return textures; }
    const ProgramMap& Programs() const { return programs; }
    const EffectMap& Effects() const { return effects; }

    // Deletes everything, with the GL context current: textures, then programs (each in
    // name order), then effects. Afterwards the registry is empty and may be used again.
    void Release();

private:
    HtmlLog& log;
    EffectMap effects;
    ProgramMap programs;
    TextureMap textures;
};
