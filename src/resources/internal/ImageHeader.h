#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <string>

// What an image file says of its pixels, read before they are decoded, and the limits that
// refuse it: no more pixels than its file's bytes could hold, no more than the viewer
// decodes, and no wider or taller than the driver's textures.
struct ImageHeader {
    // The viewer decodes at most this many pixels on a side, squared: 768 MB as 24-bit RGB.
    static constexpr std::uint64_t kMaxSide = 16384;

    // The header of the file at `path`, whose type the image library identified as `format`
    // (a FREE_IMAGE_FORMAT) and whose width, height and bits per pixel it read (from the
    // header alone, or from the decoded image). Reads the file's size and, where the
    // library's depth can differ from the file's, the file's own depth.
    static ImageHeader Read(const std::string& path, int format, unsigned width, unsigned height,
                            unsigned libraryBitsPerPixel);

    // The width and height of the first frame of the GIF file at `path`, which is what its
    // decoding allocates, read from the frame's own descriptor; nothing when it cannot be
    // found in the file's first megabyte.
    static std::optional<std::pair<unsigned, unsigned>> GifFrameSize(const std::string& path);

    // Throws ResourceException naming `path` when the image is refused, checked in this
    // order: more pixels than its file could hold, more than the viewer decodes, more than
    // `maxTextureSize` on a side. A `maxTextureSize` below 1 sets no side limit.
    void Check(const std::string& path, std::int64_t maxTextureSize) const;

    std::uint64_t width = 0, height = 0;  // below 2^32, as the library reads them
    unsigned bitsPerPixel = 0;            // as the file stores them
    unsigned rowPrefix = 0;               // bytes each stored row has besides its pixels
    // The most bytes of pixels one byte of the file can hold; 0 where the format sets no
    // bound.
    std::uint64_t expansion = 0;
    std::uint64_t fileBytes = 0;  // 0 when unknown
};
