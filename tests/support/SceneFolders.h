#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Scene folders that the tests write for the viewer and the tool: a texture, a GLSL program
// and two effects that use them, and the objects each test adds.

// Scene.xml from its start to the end of the Effects element: the texture checker, the
// program paint (a flat tint, or the texture when `textured` is 1) and the effects tinted
// and textured that use them.
extern const std::string_view kEffects;

// kEffects, then a GraphicObjects element holding `objects`, then the end of the scene.
std::string SceneXml(std::string_view objects);

// Writes `content` as folder/name, making the folders it needs.
void WriteFile(const std::filesystem::path& folder, const std::string& name,
               std::string_view content);

// What kEffects names: shaders/paint.vert, shaders/paint.frag and textures/checker.png.
void WriteEffectFiles(const std::filesystem::path& folder);

// The line of `text` that holds `needle`, counting from 1; 0 when there is none.
int LineOf(std::string_view text, std::string_view needle);
