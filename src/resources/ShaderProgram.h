#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/Problem.h"

// Owns a GLSL program and its vertex and fragment shader objects.
class ShaderProgram {
public:
    ShaderProgram();   // creates the two shader objects; the program comes with linking
    ~ShaderProgram();  // Release()

    ShaderProgram(const ShaderProgram&) = delete;
    ShaderProgram& operator=(const ShaderProgram&) = delete;

    // Detaches and deletes the shaders and deletes the program; each step checks that its
    // object still exists, so a second call does nothing.
    void Release();

    std::uint32_t program = 0;
    std::uint32_t vertexShader = 0;
    std::uint32_t fragmentShader = 0;

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
