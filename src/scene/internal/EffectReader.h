#pragma once

#include <string>

#include "scene/EffectMemento.h"

namespace tinyxml2 {
class XMLElement;
}
class HtmlLog;

// Reads one Effect element of the scene file into its record.
//
// Only the element's first attribute is applied, then every attribute of its first Shader
// child; each applied attribute is logged as "name:\tvalue". Sampler, Float, Float2 and
// Float3 children are then read, each kind in document order, by position: the first
// attribute counts only if it is called "name", the second only if it is called
// "texture" (Sampler) or "val" (the others), and later ones are ignored. An entry with
// fewer than two attributes cannot be what the writer meant: it is logged as an error
// naming `sourceName` and its line, and SceneException is thrown.
EffectMemento ReadEffect(const tinyxml2::XMLElement& effect, HtmlLog& log,
                         const std::string& sourceName = "Scene.xml");
