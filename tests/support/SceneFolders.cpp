#include "support/SceneFolders.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

#include "support/TestImages.h"

const std::string_view kEffects = R"(<?xml version="1.0"?>
<Scene>
  <Effects>
    <Textures>
      <Texture name="checker" file="textures/checker.png"/>
    </Textures>
    <Shaders>
      <GLSL name="paint" vert="shaders/paint.vert" frag="shaders/paint.frag"/>
    </Shaders>
    <Effect name="tinted">
      <Shader shader="paint"/>
      <Float name="textured" val="0"/>
      <Float3 name="tint" val="1,0.3,0.2"/>
    </Effect>
    <Effect name="textured">
      <Shader shader="paint"/>
      <Sampler name="pattern" texture="checker"/>
      <Float name="textured" val="1"/>
      <Float2 name="repeat" val="2,2"/>
    </Effect>
  </Effects>
)";

namespace {

constexpr std::string_view kVertexShader = R"(#version 120
uniform vec2 repeat;
void main() {
    gl_TexCoord[0] = vec4(gl_MultiTexCoord0.st * repeat, 0.0, 1.0);
    gl_Position = ftransform();
}
)";

constexpr std::string_view kFragmentShader = R"(#version 120
uniform sampler2D pattern;
uniform float textured;
uniform vec3 tint;
void main() {
    gl_FragColor = vec4(mix(tint, texture2D(pattern, gl_TexCoord[0].st).rgb, textured), 1.0);
}
)";

}  // namespace

std::string SceneXml(std::string_view objects) {
    return std::string(kEffects) + "  <GraphicObjects>\n" + std::string(objects) +
           "  </GraphicObjects>\n</Scene>\n";
}

void WriteFile(const std::filesystem::path& folder, const std::string& name,
               std::string_view content) {
    const auto path = folder / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << content;
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

void WriteEffectFiles(const std::filesystem::path& folder) {
    WriteFile(folder, "shaders/paint.vert", kVertexShader);
    WriteFile(folder, "shaders/paint.frag", kFragmentShader);
    std::filesystem::create_directories(folder / "textures");
    const bool written =
        WriteRgbImage((folder / "textures/checker.png").string(), 4, 4, [](int x, int y) {
            return (x + y) % 2 ? Rgb{255, 255, 255} : Rgb{40, 80, 255};
        });
    if (!written) throw std::runtime_error("cannot write the checker texture");
}

int LineOf(std::string_view text, std::string_view needle) {
    const auto at = text.find(needle);
    if (at == std::string_view::npos) return 0;
    return 1 + static_cast<int>(std::count(text.begin(), text.begin() + at, '\n'));
}
