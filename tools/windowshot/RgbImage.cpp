#include "RgbImage.h"

#include <FreeImage.h>

#include <memory>

namespace {

struct BitmapDeleter {
    void operator()(FIBITMAP* bitmap) const { FreeImage_Unload(bitmap); }
};
using Bitmap = std::unique_ptr<FIBITMAP, BitmapDeleter>;

}  // namespace

RgbImage::RgbImage(int width, int height)
    : width(width),
      height(height),
      samples(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3, 0) {}

bool RgbImage::SavePng(const std::string& path) const {
    Bitmap bitmap(FreeImage_Allocate(width, height, 24));
    if (!bitmap) return false;
    // FreeImage stores rows from the bottom up, samples in its own channel order.
    for (int y = 0; y < height; ++y) {
        BYTE* line = FreeImage_GetScanLine(bitmap.get(), height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* pixel = At(x, y);
            line[x * 3 + FI_RGBA_RED] = pixel[0];
            line[x * 3 + FI_RGBA_GREEN] = pixel[1];
            line[x * 3 + FI_RGBA_BLUE] = pixel[2];
        }
    }
    return FreeImage_Save(FIF_PNG, bitmap.get(), path.c_str(), PNG_DEFAULT) != 0;
}

std::optional<RgbImage> RgbImage::LoadPng(const std::string& path) {
    FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path.c_str(), 0);
    if (format == FIF_UNKNOWN) format = FreeImage_GetFIFFromFilename(path.c_str());
    if (format == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(format)) return std::nullopt;
    Bitmap loaded(FreeImage_Load(format, path.c_str(), 0));
    if (!loaded) return std::nullopt;
    Bitmap bitmap(FreeImage_ConvertTo24Bits(loaded.get()));
    if (!bitmap) return std::nullopt;

    const int width = static_cast<int>(FreeImage_GetWidth(bitmap.get()));
    const int height = static_cast<int>(FreeImage_GetHeight(bitmap.get()));
    RgbImage image(width, height);
    for (int y = 0; y < height; ++y) {
        const BYTE* line = FreeImage_GetScanLine(bitmap.get(), height - 1 - y);
        for (int x = 0; x < width; ++x) {
            std::uint8_t* pixel = image.At(x, y);
            pixel[0] = line[x * 3 + FI_RGBA_RED];
            pixel[1] = line[x * 3 + FI_RGBA_GREEN];
            pixel[2] = line[x * 3 + FI_RGBA_BLUE];
        }
    }
    return image;
}
