#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "scene/EffectMemento.h"

class HtmlLog;
class ResourceRegistry;

// What an object applies before drawing: a program (0 for fixed-function drawing), the
// textures bound to its sampler uniforms and the values of its float uniforms.
class Effect {
public:
    struct Sampler {
        std::string name;           // the sampler uniform
        std::uint32_t texture = 0;  // GL texture name; 0 binds none
    };

    // Makes the effect current: selects the program, sets the float uniforms, binds the
    // i-th sampler's texture on unit i and points the sampler at it, then sets the two-
    // and three-float uniforms. Locations are looked up each time; nothing is unbound.
    void Apply() const;

    std::uint32_t program = 0;
    std::vector<EffectMemento::Float> floats;
    std::vector<EffectMemento::Float2> float2s;
    std::vector<EffectMemento::Float3> float3s;
    std::vector<Sampler> samplers;
};

// Builds an effect from its record, resolving the program and texture names through the
// registry. A name that is neither registered nor "NULL" is logged as an error naming
// the effect, at the Scene.xml line of the effect (of the sampler, for a texture) and with
// the nearest registered name as a hint; 0 is used in its place.
std::unique_ptr<Effect> BuildEffect(const ResourceRegistry& registry,
                                    const EffectMemento& description, HtmlLog& log);
