#pragma once

#include <memory>
#include <string>
#include <vector>

#include "common/Problem.h"
#include "gl/GlProgram.h"
#include "gl/GlShader.h"

// Owns a GLSL program and its vertex and fragment shader objects. Moving passes all three
// on and leaves the source without any.
class ShaderProgram {
public:
    ShaderProgram();   // creates the two shader objects; the program comes with linking
    ~ShaderProgram();  // Release()

    ShaderProgram(ShaderProgram&&) = default;
    // Release(), then takes over the objects of `other`.
    ShaderProgram& operator=(ShaderProgram&& other) noexcept;

    // Detaches the shaders from the program, deletes them and deletes the program. The
    // handles are left empty, so a second call does nothing.
    void Release();

    GlProgram program;
    GlShader vertexShader;
    GlShader fragmentShader;

    // What went wrong while compiling or linking, each with the driver's own log; empty
    // when both shaders compiled and the program linked. A shader that did not compile is
    // placed in its source file.
    std::vector<Problem> problems;
};

// Reads both source files, compiles them and links the program. A shader that does not
// compile or a program that does not link still gives a program (OpenGL then draws as it
// does for a failed link); `problems` says what failed. A source file that cannot be read
// throws ResourceException, and the shader objects made so far are deleted at once.
std::unique_ptr<ShaderProgram> BuildShaderProgram(const std::string& vertexPath,
                                                  const std::string& fragmentPath);

// The whole file, bytes as they are (no newline translation). Throws ResourceException
// naming the file and the reason when it cannot be opened or read.
std::string ReadTextFile(const std::string& path);
