#pragma once

#include "scene/SceneSink.h"

class Factory;
class ResourceRegistry;

// The viewer's sink: resources go to the registry, objects to the factory, which resolves
// their effects in the registry.
class RegistrySink : public SceneSink {
public:
    RegistrySink(ResourceRegistry& registry, Factory& factory)
        : registry(registry), factory(factory) {}

    void AddTextures(const std::vector<TextureMemento>& records) override;
    void AddShaderPrograms(const std::vector<GLSLShaderMemento>& records) override;
    void AddEffects(const std::vector<EffectMemento>& records) override;
    void ResourcesRead() override;
    void CreateObjects(const std::vector<GraphicObjectEntry>& objects) override;

private:
    ResourceRegistry& registry;
    Factory& factory;
};
