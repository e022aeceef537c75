#include "resources/ShaderProgram.h"

#include <GL/glew.h>

#include <algorithm>
#include <utility>

#include "common/FileError.h"
#include "common/WholeFile.h"
#include "resources/ResourceException.h"

namespace {

// The driver's log of a shader or program; the two differ only in the functions that
// read it.
std::string InfoLog(GLuint object, PFNGLGETSHADERIVPROC getParameter,
                    PFNGLGETSHADERINFOLOGPROC getLog) {
    GLint length = 0;
    getParameter(object, GL_INFO_LOG_LENGTH, &length);
    std::string text(static_cast<std::size_t>(std::max(length, 1)), '\0');
    GLsizei written = 0;
    getLog(object, static_cast<GLsizei>(text.size()), &written, text.data());
    text.resize(static_cast<std::size_t>(written));
    return text;
}

std::string ShaderInfoLog(GLuint shader) {
    return InfoLog(shader, glGetShaderiv, glGetShaderInfoLog);
}

std::string ProgramInfoLog(GLuint program) {
    return InfoLog(program, glGetProgramiv, glGetProgramInfoLog);
}

std::string Trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

bool Compiled(GLuint shader) {
    GLint status = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
    return status == GL_TRUE;
}

}  // namespace

ShaderProgram::ShaderProgram()
    : vertexShader(GlShader::Create(GL_VERTEX_SHADER)),
      fragmentShader(GlShader::Create(GL_FRAGMENT_SHADER)) {}

ShaderProgram::~ShaderProgram() { Release(); }

ShaderProgram& ShaderProgram::operator=(ShaderProgram&& other) noexcept {
    if (this != &other) {
        Release();
        program = std::move(other.program);
        vertexShader = std::move(other.vertexShader);
        fragmentShader = std::move(other.fragmentShader);
        problems = std::move(other.problems);
    }
    return *this;
}

void ShaderProgram::Release() {
    if (program.Id() != 0) {
        for (const GlShader* shader : {&vertexShader, &fragmentShader}) {
            if (shader->Id() != 0) glDetachShader(program.Id(), shader->Id());
        }
    }
    vertexShader.Release();
    fragmentShader.Release();
    program.Release();
}

std::unique_ptr<ShaderProgram> BuildShaderProgram(const std::string& vertexPath,
                                                  const std::string& fragmentPath) {
    auto shaders = std::make_unique<ShaderProgram>();
    {
        const std::string vertexText = ReadTextFile(vertexPath);
        const std::string fragmentText = ReadTextFile(fragmentPath);
        const char* vertexSource = vertexText.c_str();
        const char* fragmentSource = fragmentText.c_str();
        glShaderSource(shaders->vertexShader.Id(), 1, &vertexSource, nullptr);
        glShaderSource(shaders->fragmentShader.Id(), 1, &fragmentSource, nullptr);
    }
    glCompileShader(shaders->vertexShader.Id());
    glCompileShader(shaders->fragmentShader.Id());
    shaders->program = GlProgram::Create();
    glAttachShader(shaders->program.Id(), shaders->vertexShader.Id());
    glAttachShader(shaders->program.Id(), shaders->fragmentShader.Id());
    glLinkProgram(shaders->program.Id());

    // A failed compile also fails the link with a message that only repeats it, so the
    // link is reported only when both shaders compiled.
    const bool vertexCompiled = Compiled(shaders->vertexShader.Id());
    const bool fragmentCompiled = Compiled(shaders->fragmentShader.Id());
    const auto notCompiled = [&](const char* stage, const std::string& path, GLuint shader) {
        const std::string driverLog = Trimmed(ShaderInfoLog(shader));
        Problem problem = Problem::At(
            path, 0,
            std::string("the ") + stage + " shader " + path + " did not compile:\n" + driverLog);
        problem.driverLog = driverLog;
        shaders->problems.push_back(std::move(problem));
    };
    if (!vertexCompiled) notCompiled("vertex", vertexPath, shaders->vertexShader.Id());
    if (!fragmentCompiled) notCompiled("fragment", fragmentPath, shaders->fragmentShader.Id());
    GLint linked = GL_FALSE;
    glGetProgramiv(shaders->program.Id(), GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE && vertexCompiled && fragmentCompiled) {
        shaders->problems.push_back(Problem::Text("the program of " + vertexPath + " and " +
                                                  fragmentPath + " did not link:\n" +
                                                  Trimmed(ProgramInfoLog(shaders->program.Id()))));
    }
    return shaders;
}

std::string ReadTextFile(const std::string& path) {
    try {
        return ReadWholeFile(path);
    } catch (const FileError& failure) {
        throw ResourceException("The source file " + path + failure.Reason());
    }
}
