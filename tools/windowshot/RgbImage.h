#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A picture as 8-bit red, green and blue samples, rows from the top down.
class RgbImage {
public:
    RgbImage() = default;
    // A black picture of this size.
    RgbImage(int width, int height);

    int Width() const { return width; }
    int Height() const { return height; }

    // The three samples of pixel (x, y), (0, 0) being the top left corner.
    std::uint8_t* At(int x, int y) { return &samples[Offset(x, y)]; }
    const std::uint8_t* At(int x, int y) const { return &samples[Offset(x, y)]; }

    // Writes the picture as a PNG file; false if FreeImage cannot write it.
    bool SavePng(const std::string& path) const;
    // Reads a PNG (or any picture FreeImage can read as 24-bit colour); nothing if the file
    // is missing or not a picture.
    static std::optional<RgbImage> LoadPng(const std::string& path);

    bool operator==(const RgbImage&) const = default;

private:
    std::size_t Offset(int x, int y) const {
        return (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                static_cast<std::size_t>(x)) *
               3;
    }

    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> samples;
};
