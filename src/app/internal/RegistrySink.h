#pragma once

#include <string>
#include <vector>

#include "scene/SceneSink.h"

class Factory;
class ResourceRegistry;

// The viewer's sink: resources go to the registry, objects to the factory, which resolves
// their effects in the registry. Every file a record names (images, shader sources, model
// files) is added to `namedFiles`, so the viewer knows what to watch.
class RegistrySink : public SceneSink {
public:
    RegistrySink(ResourceRegistry& registry, Factory& factory,
                 std::vector<std::string>& namedFiles)
        : registry(registry), factory(factory), namedFiles(namedFiles) {}

    void AddTextures(const std::vector<TextureMemento>& records) override;
    void AddShaderPrograms(const std::vector<GLSLShaderMemento>& records) override;
    void AddEffects(const std::vector<EffectMemento>& records) override;
    void ResourcesRead() override;
    void CreateObjects(const std::vector<GraphicObjectEntry>& objects) override;

private:
    ResourceRegistry& registry;
    Factory& factory;
    std::vector<std::string>& namedFiles;
};
