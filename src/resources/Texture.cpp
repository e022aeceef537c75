#include "resources/Texture.h"

#include <FreeImage.h>
#include <GL/glew.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "resources/ResourceException.h"

namespace {

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
    PrepareImageLibrary();
    const FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path.c_str(), 0);
    FIBITMAP* decoded = FreeImage_Load(format, path.c_str(), 0);
    FIBITMAP* converted = decoded ? FreeImage_ConvertTo24Bits(decoded) : nullptr;
    if (!converted) {
        if (decoded) FreeImage_Unload(decoded);
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
    const BYTE* pixels = FreeImage_GetBits(converted);
    const auto height = static_cast<GLsizei>(FreeImage_GetHeight(converted));
    const auto width = static_cast<GLsizei>(FreeImage_GetWidth(converted));
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, width, height, 0, GL_BGR, GL_UNSIGNED_BYTE, pixels);
    FreeImage_Unload(converted);
    FreeImage_Unload(decoded);
    return texture;
}
