#pragma once

#include <cstdint>
#include <memory>
#include <string>

// Owns one OpenGL texture name, from its creation to its deletion.
class Texture {
public:
    Texture();   // generates the name; needs a current context
    ~Texture();  // deletes it

    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    std::uint32_t id = 0;
};

// Decodes an image file of any type the image library recognises and uploads it as a
// two-dimensional RGB texture (alpha dropped) with linear filtering, leaving it bound.
// Throws ResourceException saying why (not found, unknown format, unreadable) before any
// GL texture is created.
std::unique_ptr<Texture> LoadTexture(const std::string& path);
