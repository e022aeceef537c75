#include "support/TestImages.h"

#include <FreeImage.h>

#include <fstream>

namespace {

// Keeps the library's plugins registered while in use (the count is shared with the code
// under test).
struct Library {
    Library() { FreeImage_Initialise(FALSE); }
    ~Library() { FreeImage_DeInitialise(); }
};

bool Write(const std::string& path, int width, int height, int bpp,
           const std::function<void(BYTE* row, int x, int y)>& store,
           const std::vector<Rgb>& palette = {}) {
    Library library;
    FIBITMAP* image = FreeImage_Allocate(width, height, bpp);
    if (!image) return false;
    for (std::size_t i = 0; i < palette.size() && i < 256; ++i) {
        FreeImage_GetPalette(image)[i] = {palette[i].b, palette[i].g, palette[i].r, 0};
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) store(FreeImage_GetScanLine(image, y), x, y);
    }
    const bool saved =
        FreeImage_Save(FreeImage_GetFIFFromFilename(path.c_str()), image, path.c_str(), 0);
    FreeImage_Unload(image);
    return saved;
}

void StoreRgb(BYTE* pixel, Rgb colour) {
    pixel[FI_RGBA_RED] = colour.r;
    pixel[FI_RGBA_GREEN] = colour.g;
    pixel[FI_RGBA_BLUE] = colour.b;
}

}  // namespace

bool WriteRgbImage(const std::string& path, int width, int height,
                   const std::function<Rgb(int, int)>& pixel) {
    return Write(path, width, height, 24,
                 [&](BYTE* row, int x, int y) { StoreRgb(row + 3 * x, pixel(x, y)); });
}

bool WriteRgbaImage(const std::string& path, int width, int height,
                    const std::function<Rgb(int, int)>& pixel,
                    const std::function<std::uint8_t(int, int)>& alpha) {
    return Write(path, width, height, 32, [&](BYTE* row, int x, int y) {
        StoreRgb(row + 4 * x, pixel(x, y));
        row[4 * x + FI_RGBA_ALPHA] = alpha(x, y);
    });
}

bool WritePaletteImage(const std::string& path, int width, int height,
                       const std::vector<Rgb>& palette,
                       const std::function<std::uint8_t(int, int)>& index) {
    return Write(
        path, width, height, 8, [&](BYTE* row, int x, int y) { row[x] = index(x, y); }, palette);
}

std::vector<Rgb> GreyPalette() {
    std::vector<Rgb> grey;
    for (int i = 0; i < 256; ++i) grey.push_back({BYTE(i), BYTE(i), BYTE(i)});
    return grey;
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary);
    return static_cast<bool>(file << bytes);
}

std::string PngBytes(std::uint32_t width, std::uint32_t height, int bitDepth, int colourType,
                     const std::string& rows) {
    const auto bigEndian = [](std::uint32_t value) {
        return std::string{char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
    };
    const auto chunk = [&](const std::string& type, const std::string& data) {
        std::string typed = type + data;
        const DWORD crc = FreeImage_ZLibCRC32(0, reinterpret_cast<BYTE*>(typed.data()),
                                              static_cast<DWORD>(typed.size()));
        return bigEndian(static_cast<std::uint32_t>(data.size())) + typed + bigEndian(crc);
    };
    // The library's signature takes the source as mutable; it only reads it.
    BYTE* source = reinterpret_cast<BYTE*>(const_cast<char*>(rows.data()));
    std::string compressed(rows.size() + rows.size() / 100 + 64, '\0');
    compressed.resize(FreeImage_ZLibCompress(reinterpret_cast<BYTE*>(compressed.data()),
                                             static_cast<DWORD>(compressed.size()), source,
                                             static_cast<DWORD>(rows.size())));
    const std::string header = bigEndian(width) + bigEndian(height) +
                               std::string{char(bitDepth), char(colourType), 0, 0, 0};
    return "\x89PNG\r\n\x1a\n" + chunk("IHDR", header) + chunk("IDAT", compressed) +
           chunk("IEND", "");
}

StoredImage DescribeImage(const std::string& path) {
    Library library;
    FIBITMAP* image = FreeImage_Load(FreeImage_GetFileType(path.c_str(), 0), path.c_str(), 0);
    if (!image) return {};
    const StoredImage stored{FreeImage_GetBPP(image),
                             FreeImage_GetColorType(image) == FIC_MINISBLACK};
    FreeImage_Unload(image);
    return stored;
}
