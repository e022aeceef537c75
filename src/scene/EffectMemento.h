#pragma once

#include <string>
#include <vector>

#include "common/Vector3.h"
#include "scene/IMemento.h"

// An effect of the scene: the program it selects and, in the order the file gives them,
// its sampler bindings and its one-, two- and three-float uniforms.
class EffectMemento final : public IMemento {
public:
    struct Sampler {
        std::string name;     // the sampler uniform
        std::string texture;  // the texture's name in the scene
        int sourceLine = 0;   // of its Sampler element
    };
    struct Float {
        std::string name;
        float value = 0.0f;
    };
    struct Float2 {
        std::string name;
        float x = 0.0f;
        float y = 0.0f;
    };
    struct Float3 {
        std::string name;
        Vector3 value;
    };

    // "name" and "shader"; the Effect element and its Shader child share the one record.
    void SetAttribute(const std::string& name, const std::string& value) override;

    std::string name;
    std::string programName;
    std::vector<Sampler> samplers;
    std::vector<Float> floats;
    std::vector<Float2> float2s;
    std::vector<Float3> float3s;
    // The line of the scene file that described it (0 when not from a file), so reports
    // about it can say where it is.
    int sourceLine = 0;
};
