#include "app/internal/RegistrySink.h"

#include "factory/Factory.h"
#include "resources/ResourceRegistry.h"

void RegistrySink::AddTextures(const std::vector<TextureMemento>& records) {
    registry.AddTextures(records);
}

void RegistrySink::AddShaderPrograms(const std::vector<GLSLShaderMemento>& records) {
    registry.AddShaderPrograms(records);
}

void RegistrySink::AddEffects(const std::vector<EffectMemento>& records) {
    registry.AddEffects(records);
}

// Set even when a section failed: the objects still look up whatever was registered.
void RegistrySink::ResourcesRead() { factory.registry = &registry; }

void RegistrySink::CreateObjects(const std::vector<GraphicObjectEntry>& objects) {
    factory.CreateObjects(objects);
}
