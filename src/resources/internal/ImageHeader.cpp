#include "resources/internal/ImageHeader.h"

#include <FreeImage.h>

#include <filesystem>
#include <fstream>
#include <limits>

#include "resources/ResourceException.h"

namespace {

// The first `count` bytes of the file, or fewer if it is shorter.
std::string Leading(const std::string& path, std::size_t count) {
    std::string bytes(count, '\0');
    std::ifstream file(path, std::ios::binary);
    file.read(bytes.data(), static_cast<std::streamsize>(count));
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return bytes;
}

// Bits per pixel as the PNG file stores them, from its IHDR chunk: the image library
// widens some (grey with alpha to 32 bits, 2-bit to 4 or 8), which would overstate what
// the file must hold. 1, the least a PNG stores, when the chunk cannot be read.
unsigned PngBitsPerPixel(const std::string& path) {
    const std::string head = Leading(path, 26);
    if (head.size() < 26 || head.compare(12, 4, "IHDR") != 0) return 1;
    const unsigned depth = static_cast<unsigned char>(head[24]);
    switch (static_cast<unsigned char>(head[25])) {
        case 0:
        case 3: return depth;      // grey, palette
        case 2: return 3 * depth;  // RGB
        case 4: return 2 * depth;  // grey and alpha
        case 6: return 4 * depth;  // RGBA
        default: return 1;
    }
}

// Bits per pixel as the TGA file stores them (byte 16 of its header); 0 when unreadable.
unsigned TgaBitsPerPixel(const std::string& path) {
    const std::string head = Leading(path, 17);
    return head.size() < 17 ? 0 : static_cast<unsigned char>(head[16]);
}

unsigned Word(const std::string& bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}

}  // namespace

std::optional<std::pair<unsigned, unsigned>> ImageHeader::GifFrameSize(const std::string& path) {
    const std::string bytes = Leading(path, std::size_t{1} << 20);
    // Signature and logical screen descriptor, then the global colour table if flagged.
    std::size_t at = 13;
    if (bytes.size() < at || bytes.compare(0, 3, "GIF") != 0) return std::nullopt;
    const unsigned flags = static_cast<unsigned char>(bytes[10]);
    if (flags & 0x80) at += 3u << ((flags & 7) + 1);
    // Extensions (0x21, a label, then sub-blocks each led by its size, up to a size of 0)
    // come before the first image descriptor (0x2C: left, top, width, height).
    while (at < bytes.size()) {
        const auto introducer = static_cast<unsigned char>(bytes[at]);
        if (introducer == 0x2C) {
            if (at + 9 > bytes.size()) return std::nullopt;
            return std::pair{Word(bytes, at + 5), Word(bytes, at + 7)};
        }
        if (introducer != 0x21) return std::nullopt;
        at += 2;
        while (at < bytes.size() && bytes[at] != 0) at += 1 + static_cast<unsigned char>(bytes[at]);
        ++at;
    }
    return std::nullopt;
}

ImageHeader ImageHeader::Read(const std::string& path, int format, unsigned width, unsigned height,
                              unsigned libraryBitsPerPixel) {
    ImageHeader header;
    header.width = width;
    header.height = height;
    header.bitsPerPixel = libraryBitsPerPixel;
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    header.fileBytes = error ? 0 : size;

    // The bounds below are the most any valid file can expand to, so that no image that
    // holds all its pixels is refused; a file that claims more is cut short or damaged.
    switch (format) {
        case FIF_PNG:
            // Rows are deflated, each led by its filter byte. Deflate's best is a 258-byte
            // match (length code 285, no extra bits) at distance 1 (distance code 0, no
            // extra bits) with both codes 1 bit long in their block: 258 bytes from 2 bits,
            // 1032 from a byte; headers, literals and longer codes only lower it. Interlacing
            // only adds bytes: the passes split each row into parts that are rounded up to
            // whole bytes and led by filter bytes of their own.
            header.bitsPerPixel = PngBitsPerPixel(path);
            header.rowPrefix = 1;
            header.expansion = 1032;
            break;
        case FIF_GIF:
            // The pixels of the first frame are LZW codes of at most 12 bits, and a code of
            // b bits names one of fewer than 2^b table entries, each a string of at most as
            // many pixels as there are entries (each entry extends an older one by one
            // pixel): at most 4096 pixels from 12 bits, 2730.7 per byte, narrower codes give
            // fewer. Each pixel decodes to one byte, whatever the palette's size.
            header.bitsPerPixel = 8;
            header.expansion = 2731;
            break;
        case FIF_TARGA:
            // Raw pixels take their bytes; an RLE packet of one header byte and one pixel
            // of d bytes repeats it at most 128 times: 128 d bytes from d + 1, under 128 per
            // byte. The library widens some depths, so the file's own is taken.
            header.bitsPerPixel = TgaBitsPerPixel(path);
            header.expansion = 128;
            break;
        case FIF_PBM:
        case FIF_PBMRAW:
        case FIF_PGM:
        case FIF_PGMRAW:
        case FIF_PPM:
        case FIF_PPMRAW:
            // Binary rows are stored as they are, at the depth the library reads (1 bit, or
            // 8 or 16 per sample). Plain text takes at least a character per pixel of a PBM
            // and a digit and a blank per sample of a PGM or PPM, the last blank made up
            // for by the header: never fewer bytes than the binary form.
            header.expansion = 1;
            break;
        default:
            // No known bound: JPEG, TIFF and the rest; BMP's RLE can skip whole areas.
            break;
    }
    return header;
}

void ImageHeader::Check(const std::string& path, std::int64_t maxTextureSize) const {
    const std::string size = std::to_string(width) + " x " + std::to_string(height);
    const auto refuse = [&](const std::string& reason) {
        throw ResourceException("The image file " + path + " " + reason + ".");
    };

    // width * height * bits could pass 64 bits; height * rowBytes > most is asked as
    // height > most / rowBytes instead, which is the same for whole numbers.
    const std::uint64_t rowBytes = rowPrefix + (width * bitsPerPixel + 7) / 8;
    const std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    if (expansion > 0 && fileBytes > 0 && rowBytes > 0 && fileBytes <= kMax / expansion &&
        height > fileBytes * expansion / rowBytes) {
        refuse("claims " + size + " pixels, more than its " + std::to_string(fileBytes) +
               " bytes could hold; it is damaged or not an image");
    }
    // Both sides are below 2^32, so their product fits.
    if (width * height > kMaxSide * kMaxSide) {
        refuse("is " + size + " pixels, more than the " + std::to_string(kMaxSide) + " x " +
               std::to_string(kMaxSide) + " pixels the viewer decodes");
    }
    const auto limit = static_cast<std::uint64_t>(maxTextureSize);
    if (maxTextureSize > 0 && (width > limit || height > limit)) {
        refuse("is " + size + " pixels, larger than this OpenGL driver's limit of " +
               std::to_string(maxTextureSize) + " pixels on a side (GL_MAX_TEXTURE_SIZE)");
    }
}
