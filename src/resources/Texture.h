#pragma once

#include <memory>
#include <string>

#include "gl/GlTexture.h"

// Owns one OpenGL texture name, from its creation to its deletion. Moving passes the name
// on and leaves the source without one.
class Texture {
public:
    Texture();  // generates the name; needs a current context

    Texture(Texture&&) = default;
    Texture& operator=(Texture&&) = default;

    GlTexture id;
};

// Decodes an image file of any type the image library recognises and uploads it as a
// two-dimensional RGB texture (alpha dropped) with linear filtering, leaving it bound.
// Throws ResourceException saying why (not found, unknown format, unreadable, larger than
// the current context's GL_MAX_TEXTURE_SIZE on a side or than the viewer decodes, more
// pixels than its file could hold) before any GL texture is created; the size is read
// from the header alone where the image library can, so that a refused image is not
// decoded.
std::unique_ptr<Texture> LoadTexture(const std::string& path);
// As above, with `maxTextureSize` in place of the driver's limit (below 1: no limit).
std::unique_ptr<Texture> LoadTexture(const std::string& path, int maxTextureSize);
