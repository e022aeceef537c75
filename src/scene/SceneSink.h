#pragma once

#include <vector>

#include "scene/EffectMemento.h"
#include "scene/GLSLShaderMemento.h"
#include "scene/GraphicObjectEntry.h"
#include "scene/TextureMemento.h"

// Where the scene reading hands its records, section by section. The reading itself needs
// no GL; what is built from the records is up to the sink. A section whose handing over
// throws is logged by the reading, which goes on with the next section.
class SceneSink {
public:
    virtual ~SceneSink() = default;

    // The records of the Textures, Shaders and Effects sections, each in one list in
    // document order (the effects after the "NULL" effect that every scene has).
    virtual void AddTextures(const std::vector<TextureMemento>& records) = 0;
    virtual void AddShaderPrograms(const std::vector<GLSLShaderMemento>& records) = 0;
    virtual void AddEffects(const std::vector<EffectMemento>& records) = 0;

    // Called once the three resource sections are done, whatever became of them, and
    // before the graphic objects are looked for.
    virtual void ResourcesRead() {}

    // The graphic objects, after the document has been released.
    virtual void CreateObjects(const std::vector<GraphicObjectEntry>& objects) = 0;
};
