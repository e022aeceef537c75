#include "resources/Texture.h"

#include <FreeImage.h>
#include <GL/glew.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "resources/ResourceException.h"
#include "resources/internal/ImageHeader.h"

namespace {

struct Unload {
    void operator()(FIBITMAP* image) const { FreeImage_Unload(image); }
};
using Bitmap = std::unique_ptr<FIBITMAP, Unload>;

// The image library reports decoding problems through a callback; keep the last one so
// the failure can say what the decoder found.
std::string& LastImageLibraryMessage() {
    static std::string message;
    return message;
}

void KeepImageLibraryMessage(FREE_IMAGE_FORMAT, const char* message) {
    LastImageLibraryMessage() = message ? message : "";
}

void PrepareImageLibrary() {
    static const bool ready = [] {
        FreeImage_Initialise(FALSE);
        FreeImage_SetOutputMessage(KeepImageLibraryMessage);
        return true;
    }();
    (void)ready;
    LastImageLibraryMessage().clear();
}

// Why an image file whose type could not be recognised failed: usually it is missing or
// unreadable, otherwise its contents are not an image format the library knows.
std::string UnrecognisedReason(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        return errno == ENOENT ? "was not found"
                               : std::string("could not be opened: ") + std::strerror(errno);
    }
    unsigned char byte;
    const bool readable = std::fread(&byte, 1, 1, file) == 1 || std::feof(file);
    const int readError = errno;
    std::fclose(file);
    if (!readable) return std::string("could not be read: ") + std::strerror(readError);
    return "is not in a known image format";
}

std::string WithLibraryMessage(std::string reason) {
    if (!LastImageLibraryMessage().empty()) reason += " (" + LastImageLibraryMessage() + ")";
    return reason;
}

}  // namespace

Texture::Texture() : id(GlTexture::Create()) {}

std::unique_ptr<Texture> LoadTexture(const std::string& path) {
    GLint limit = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &limit);
    return LoadTexture(path, limit);
}

std::unique_ptr<Texture> LoadTexture(const std::string& path, int maxTextureSize) {
    PrepareImageLibrary();
    const FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path.c_str(), 0);
    const auto check = [&](FIBITMAP* image) {
        ImageHeader::Read(path, format, FreeImage_GetWidth(image), FreeImage_GetHeight(image),
                          FreeImage_GetBPP(image))
            .Check(path, maxTextureSize);
    };
    // The header alone first, where the library can read it, so that an image to be refused
    // costs no memory for its pixels; the others are checked once decoded, before the
    // conversion that triples an 8-bit image.
    bool checked = false;
    if (format != FIF_UNKNOWN && FreeImage_FIFSupportsNoPixels(format)) {
        if (const Bitmap header{FreeImage_Load(format, path.c_str(), FIF_LOAD_NOPIXELS)}) {
            check(header.get());
            checked = true;
        }
        LastImageLibraryMessage().clear();
    } else if (format == FIF_GIF) {
        // The library cannot read a GIF's header alone; its first frame's size is read here.
        if (const auto frame = ImageHeader::GifFrameSize(path)) {
            ImageHeader::Read(path, format, frame->first, frame->second, 8)
                .Check(path, maxTextureSize);
            checked = true;
        }
    }
    const Bitmap decoded{FreeImage_Load(format, path.c_str(), 0)};
    if (decoded && !checked) check(decoded.get());
    const Bitmap converted{decoded ? FreeImage_ConvertTo24Bits(decoded.get()) : nullptr};
    if (!converted) {
        std::string reason;
        if (format == FIF_UNKNOWN) {
            reason = UnrecognisedReason(path);
        } else if (!decoded) {
            reason = WithLibraryMessage(std::string("could not be read as ") +
                                        FreeImage_GetFormatFromFIF(format));
        } else {
            reason = WithLibraryMessage("could not be converted to 24-bit colour");
        }
        throw ResourceException("The image file " + path + " " + reason + ".");
    }

    auto texture = std::make_unique<Texture>();
    glBindTexture(GL_TEXTURE_2D, texture->id.Id());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // 24-bit rows come blue-green-red, bottom row first, padded to 4 bytes: exactly what
    // GL_BGR with the default unpack alignment expects, so nothing is flipped or repacked.
    const BYTE* pixels = FreeImage_GetBits(converted.get());
    const auto height = static_cast<GLsizei>(FreeImage_GetHeight(converted.get()));
    const auto width = static_cast<GLsizei>(FreeImage_GetWidth(converted.get()));
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, width, height, 0, GL_BGR, GL_UNSIGNED_BYTE, pixels);
    return texture;
}
