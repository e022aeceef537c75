#include "resources/Effect.h"

#include <GL/glew.h>

#include "log/HtmlLog.h"
#include "resources/ResourceRegistry.h"

void Effect::Apply() const {
    glUseProgram(program);
    for (const auto& uniform : floats) {
        glUniform1f(glGetUniformLocation(program, uniform.name.c_str()), uniform.value);
    }
    for (std::size_t unit = 0; unit < samplers.size(); ++unit) {
        glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
        glBindTexture(GL_TEXTURE_2D, samplers[unit].texture);
        glUniform1i(glGetUniformLocation(program, samplers[unit].name.c_str()),
                    static_cast<GLint>(unit));
    }
    for (const auto& uniform : float2s) {
        glUniform2f(glGetUniformLocation(program, uniform.name.c_str()), uniform.x, uniform.y);
    }
    for (const auto& uniform : float3s) {
        glUniform3f(glGetUniformLocation(program, uniform.name.c_str()), uniform.value.x,
                    uniform.value.y, uniform.value.z);
    }
}

namespace {

std::string Label(const std::string& name) { return name.empty() ? "(unnamed)" : name; }

bool Linked(GLuint program) {
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    return linked == GL_TRUE;
}

}  // namespace

std::unique_ptr<Effect> BuildEffect(const ResourceRegistry& registry,
                                    const EffectMemento& description, HtmlLog& log) {
    auto effect = std::make_unique<Effect>();
    const auto program = registry.LookupGLName(registry.Programs(), description.programName);
    if (!program) {
        const std::string effect = "Effect " + Label(description.name);
        log.WriteError(
            Problem::Text(description.programName.empty()
                              ? effect + " names no shader program; it is drawn without a program."
                              : effect + " names the shader program " + description.programName +
                                    ", which is not registered" +
                                    registry.DidYouMean(registry.Programs(),
                                                        description.programName) +
                                    "; it is drawn without a program.")
                .DescribedAt("Scene.xml", description.sourceLine));
    }
    effect->program = program.value_or(0);
    if (effect->program != 0 && !Linked(effect->program)) {
        // OpenGL refuses a program that did not link, and the program in use before would
        // draw the effect's objects instead: draw them as the log says.
        log.WriteError(Problem::Text("Effect " + Label(description.name) +
                                     " uses the shader program " + description.programName +
                                     ", which did not build; it is drawn without a program.")
                           .DescribedAt("Scene.xml", description.sourceLine));
        effect->program = 0;
    }
    effect->floats = description.floats;
    effect->float2s = description.float2s;
    effect->float3s = description.float3s;
    for (const auto& sampler : description.samplers) {
        const auto texture = registry.LookupGLName(registry.Textures(), sampler.texture);
        if (!texture) {
            const std::string effect = "Effect " + Label(description.name);
            // An unnamed sampler is reported at its effect, as one cannot tell it apart.
            const int line = sampler.name.empty() ? description.sourceLine : sampler.sourceLine;
            log.WriteError(
                Problem::Text(sampler.texture.empty()
                                  ? effect + " names no texture for the sampler " +
                                        Label(sampler.name) + "; no texture is bound."
                                  : effect + " binds the texture " + sampler.texture +
                                        " to the sampler " + Label(sampler.name) +
                                        ", but that texture is not registered" +
                                        registry.DidYouMean(registry.Textures(), sampler.texture) +
                                        "; no texture is bound.")
                    .DescribedAt("Scene.xml", line));
        }
        effect->samplers.push_back({sampler.name, texture.value_or(0)});
    }
    return effect;
}
