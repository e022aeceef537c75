#pragma once

#include <string_view>

namespace tinyxml2 {
class XMLElement;
}
class HtmlLog;
class SceneSink;

// Reads a scene description, section by section, hands the textures, programs, effects
// and graphic objects to a sink, and narrates it all into the log. Errors in the text are
// logged with the line they are on, as lines of Scene.xml.
class Scene {
public:
    // Loads Scene.xml in the working folder into `sink` (the viewer's hands resources to
    // the registry and objects to the factory). A missing or malformed file, or a missing Scene,
    // Effects or GraphicObjects element, is logged and thrown as SceneException; a failing texture,
    // program or effect section is logged and the next section runs. Failures while the factory
    // prepares objects pass out as they are.
    static void Load(HtmlLog& log, SceneSink& sink);

    // Reads the scene description in `xmlText` (its whole length, which need not end in a
    // NUL) exactly as Load reads the file, with the same log entries, into `sink`. Nothing
    // else is read: no file, and no GL call unless the sink makes one.
    static void Read(std::string_view xmlText, HtmlLog& log, SceneSink& sink);

    // The section readers, each on the Effects element. Each logs what it reads, hands its
    // records to the sink in one list, and throws when its section is unusable.
    static void LoadTextures(const tinyxml2::XMLElement& effects, HtmlLog& log, SceneSink& sink);
    static void LoadShaders(const tinyxml2::XMLElement& effects, HtmlLog& log, SceneSink& sink);
    static void LoadEffects(const tinyxml2::XMLElement& effects, HtmlLog& log, SceneSink& sink);
};
