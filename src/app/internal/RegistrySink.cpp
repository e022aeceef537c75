#include "app/internal/RegistrySink.h"

#include "factory/Factory.h"
#include "resources/ResourceRegistry.h"
#include "scene/FileGraphicMemento.h"

void RegistrySink::AddTextures(const std::vector<TextureMemento>& records) {
    for (const TextureMemento& record : records) namedFiles.push_back(record.fileName);
    registry.AddTextures(records);
}

void RegistrySink::AddShaderPrograms(const std::vector<GLSLShaderMemento>& records) {
    for (const GLSLShaderMemento& record : records) {
        namedFiles.push_back(record.vertexFile);
        namedFiles.push_back(record.fragmentFile);
    }
    registry.AddShaderPrograms(records);
}

void RegistrySink::AddEffects(const std::vector<EffectMemento>& records) {
    registry.AddEffects(records);
}

// Set even when a section failed: the objects still look up whatever was registered.
void RegistrySink::ResourcesRead() { factory.registry = &registry; }

void RegistrySink::CreateObjects(const std::vector<GraphicObjectEntry>& objects) {
    for (const GraphicObjectEntry& object : objects) {
        if (const auto* file = dynamic_cast<const FileGraphicMemento*>(object.description.get())) {
            namedFiles.push_back(file->fileName);
        }
    }
    factory.CreateObjects(objects);
}
