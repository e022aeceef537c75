#pragma once

namespace tinyxml2 {
class XMLElement;
}
class Factory;
class HtmlLog;
class ResourceRegistry;

// Reads Scene.xml in the working folder, section by section, hands the textures, programs
// and effects to the registry and the graphic objects to the factory, and narrates it all
// into the log. Errors in the file are logged with the line they are on.
class Scene {
public:
    // Loads the whole scene. A missing or malformed file, or a missing Scene, Effects or
    // GraphicObjects element, is logged and thrown as SceneException; a failing texture,
    // program or effect section is logged and the next section runs. Failures while the
    // factory prepares objects pass out as they are.
    static void Load(HtmlLog& log, ResourceRegistry& registry, Factory& factory);

    // The section readers, each on the Effects element. Each logs what it reads, hands its
    // records to the registry in one list, and throws when its section is unusable.
    static void LoadTextures(const tinyxml2::XMLElement& effects, HtmlLog& log,
                             ResourceRegistry& registry);
    static void LoadShaders(const tinyxml2::XMLElement& effects, HtmlLog& log,
                            ResourceRegistry& registry);
    static void LoadEffects(const tinyxml2::XMLElement& effects, HtmlLog& log,
                            ResourceRegistry& registry);
};
