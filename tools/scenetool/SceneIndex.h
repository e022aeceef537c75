#pragma once

#include <string>
#include <utility>
#include <vector>

#include "scene/FileGraphicMemento.h"

// Where things stand in a Scene.xml: every texture, program, effect (with its samplers
// and uniforms) and graphic object with its line, read by the same rules as the viewer's
// loader. The checker uses it to put a line on problems whose log entries name only a
// resource or a model file, and to find what the viewer accepts but is likely a mistake.
struct SceneIndex {
    struct Resource {
        std::string name;
        std::string file;  // a texture's image; a program's vertex shader
        int line = 0;
    };
    struct Uniform {
        std::string kind;     // "Sampler", "Float", "Float2" or "Float3"
        std::string name;     // the uniform, "" when the first attribute is not "name"
        std::string texture;  // a sampler's texture
        int line = 0;
    };
    struct Effect {
        std::string name;
        std::string program;
        int line = 0;
        std::vector<Uniform> uniforms;
    };
    struct Object {
        std::string type;  // "OBJ", "R" or "RA"
        FileGraphicMemento description;
        bool hasScale = false;
        int line = 0;
    };

    // An element whose attributes the loader reads, with its attributes as written, in
    // order: each Texture and GLSL, each Effect with its first Shader and its Sampler,
    // Float, Float2 and Float3 elements, and each object.
    struct Tag {
        std::string element;
        std::vector<std::pair<std::string, std::string>> attributes;  // name, value
        std::string effect;  // for the elements inside an Effect: the effect's name
        int line = 0;
    };

    // Reads `path`; an index of a file that is missing or not well-formed is empty.
    static SceneIndex Read(const std::string& path);

    std::vector<Resource> textures;
    std::vector<Resource> programs;
    std::vector<Effect> effects;
    std::vector<Object> objects;
    std::vector<Tag> tags;  // in the order the loader reads them
    // Elements the loader skips: a child of Textures other than Texture, of Shaders other
    // than GLSL, of GraphicObjects other than a model type.
    std::vector<Resource> skipped;  // name: the element's name; file: its section
};
