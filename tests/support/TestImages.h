#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Writes small image files for texture tests, in the format the file name's extension
// names (".png", ".bmp"). Pixel functions take (x, y) with y counting the rows in the order
// the image library stores them: bottom row first. Each returns false if nothing was saved.
struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

bool WriteRgbImage(const std::string& path, int width, int height,
                   const std::function<Rgb(int, int)>& pixel);
// 32 bits per pixel, with the given alpha for each pixel.
bool WriteRgbaImage(const std::string& path, int width, int height,
                    const std::function<Rgb(int, int)>& pixel,
                    const std::function<std::uint8_t(int, int)>& alpha);
// 8 bits per pixel indexing `palette`; a palette of plain greys gives a greyscale image.
bool WritePaletteImage(const std::string& path, int width, int height,
                       const std::vector<Rgb>& palette,
                       const std::function<std::uint8_t(int, int)>& index);
std::vector<Rgb> GreyPalette();

// Any bytes, for files that are not images.
bool WriteBytes(const std::string& path, const std::string& bytes);

// A PNG file's bytes: its IHDR chunk with the given size, bit depth and colour type
// (0 grey, 2 RGB, 4 grey and alpha, 6 RGBA), `rows` compressed into one IDAT chunk, and its
// IEND chunk, each chunk with its CRC. `rows` are as PNG stores them before compression,
// each led by its filter byte; fewer than the header needs make a damaged file.
std::string PngBytes(std::uint32_t width, std::uint32_t height, int bitDepth, int colourType,
                     const std::string& rows);

// The bits per pixel of an image file as the image library loads it (0 if it cannot), and
// whether it counts as greyscale; lets a test check it has the kind of image it needs.
struct StoredImage {
    unsigned bitsPerPixel = 0;
    bool greyscale = false;
};
StoredImage DescribeImage(const std::string& path);
