#include "SceneIndex.h"

#include <tinyxml2.h>

#include <cstring>

#include "scene/EffectMemento.h"

namespace {

using tinyxml2::XMLAttribute;
using tinyxml2::XMLElement;

std::string AttributeOf(const XMLElement& element, const char* name) {
    const char* value = element.Attribute(name);
    return value ? value : "";
}

SceneIndex::Tag TagOf(const XMLElement& element, const std::string& effect = "") {
    SceneIndex::Tag tag{element.Name(), {}, effect, element.GetLineNum()};
    for (const XMLAttribute* a = element.FirstAttribute(); a; a = a->Next()) {
        tag.attributes.emplace_back(a->Name(), a->Value());
    }
    return tag;
}

template <typename Visit>
void ForEachChild(const XMLElement* parent, const char* name, Visit visit) {
    if (!parent) return;
    for (const XMLElement* child = parent->FirstChildElement(name); child;
         child = child->NextSiblingElement(name)) {
        visit(*child);
    }
}

// As the loader reads an effect: the name from its first attribute only, the program
// from its first Shader child, and each entry's name and value by position.
SceneIndex::Effect ReadEffect(const XMLElement& element, std::vector<SceneIndex::Tag>& tags) {
    EffectMemento record;
    if (const XMLAttribute* first = element.FirstAttribute()) {
        record.SetAttribute(first->Name(), first->Value());
    }
    if (const XMLElement* shader = element.FirstChildElement("Shader")) {
        for (const XMLAttribute* a = shader->FirstAttribute(); a; a = a->Next()) {
            record.SetAttribute(a->Name(), a->Value());
        }
    }
    SceneIndex::Effect effect{record.name, record.programName, element.GetLineNum(), {}};
    tags.push_back(TagOf(element, record.name));
    if (const XMLElement* shader = element.FirstChildElement("Shader")) {
        tags.push_back(TagOf(*shader, record.name));
    }
    for (const char* kind : {"Sampler", "Float", "Float2", "Float3"}) {
        ForEachChild(&element, kind, [&](const XMLElement& entry) {
            SceneIndex::Uniform uniform{kind, "", "", entry.GetLineNum()};
            const XMLAttribute* first = entry.FirstAttribute();
            const XMLAttribute* second = first ? first->Next() : nullptr;
            if (first && std::strcmp(first->Name(), "name") == 0) uniform.name = first->Value();
            if (second && std::strcmp(kind, "Sampler") == 0 &&
                std::strcmp(second->Name(), "texture") == 0) {
                uniform.texture = second->Value();
            }
            effect.uniforms.push_back(uniform);
            tags.push_back(TagOf(entry, record.name));
        });
    }
    return effect;
}

// The `recordName` children of the section `sectionName`, with the attribute that names
// their file; any other child goes to `skipped`.
void ReadResources(const XMLElement& effects, const char* sectionName, const char* recordName,
                   const char* fileAttribute, SceneIndex& index,
                   std::vector<SceneIndex::Resource>& resources) {
    ForEachChild(effects.FirstChildElement(sectionName), nullptr, [&](const XMLElement& e) {
        if (std::strcmp(e.Name(), recordName) != 0) {
            index.skipped.push_back({e.Name(), sectionName, e.GetLineNum()});
            return;
        }
        resources.push_back(
            {AttributeOf(e, "name"), AttributeOf(e, fileAttribute), e.GetLineNum()});
        index.tags.push_back(TagOf(e));
    });
}

bool IsModelType(const char* name) {
    return std::strcmp(name, "OBJ") == 0 || std::strcmp(name, "R") == 0 ||
           std::strcmp(name, "RA") == 0;
}

}  // namespace

SceneIndex SceneIndex::Read(const std::string& path) {
    SceneIndex index;
    tinyxml2::XMLDocument document;
    if (document.LoadFile(path.c_str()) != tinyxml2::XML_SUCCESS) return index;
    const XMLElement* scene = document.FirstChildElement("Scene");
    if (!scene) return index;
    const XMLElement* effects = scene->FirstChildElement("Effects");
    if (effects) {
        ReadResources(*effects, "Textures", "Texture", "file", index, index.textures);
        ReadResources(*effects, "Shaders", "GLSL", "vert", index, index.programs);
        ForEachChild(effects, "Effect", [&](const XMLElement& e) {
            index.effects.push_back(ReadEffect(e, index.tags));
        });
    }
    const XMLElement* objects = scene->FirstChildElement("GraphicObjects");
    for (const XMLElement* e = objects ? objects->FirstChildElement() : nullptr; e;
         e = e->NextSiblingElement()) {
        if (!IsModelType(e->Name())) {
            index.skipped.push_back({e->Name(), "GraphicObjects", e->GetLineNum()});
            continue;
        }
        Object object{e->Name(), {}, e->Attribute("scale") != nullptr, e->GetLineNum()};
        for (const XMLAttribute* a = e->FirstAttribute(); a; a = a->Next()) {
            object.description.SetAttribute(a->Name(), a->Value());
        }
        index.objects.push_back(std::move(object));
        index.tags.push_back(TagOf(*e));
    }
    return index;
}
