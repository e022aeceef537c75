#include "app/Screenshot.h"

#include <FreeImage.h>
#include <GL/glew.h>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr std::string_view kPrefix = "screenshot-";
constexpr std::string_view kSuffix = ".png";

}  // namespace

std::string NextScreenshotName(const std::filesystem::path& folder) {
    long highest = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(kPrefix) || !name.ends_with(kSuffix)) continue;
        const char* first = name.data() + kPrefix.size();
        const char* last = name.data() + name.size() - kSuffix.size();
        long number = 0;
        const auto [end, status] = std::from_chars(first, last, number);
        if (status == std::errc() && end == last && number > highest) highest = number;
    }
    char name[64];
    std::snprintf(name, sizeof name, "screenshot-%03ld.png", highest + 1);
    return name;
}

bool SaveFramePng(const std::filesystem::path& path, int width, int height) {
    if (width <= 0 || height <= 0) return false;
    static const bool ready = [] {
        FreeImage_Initialise(FALSE);
        return true;
    }();
    (void)ready;

    // GL and the image library both keep rows bottom first and, at 24 bits on this byte
    // order, blue first; only their row padding may differ, so rows are copied one by one.
    FIBITMAP* image = FreeImage_Allocate(width, height, 24);
    if (!image) return false;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    std::vector<unsigned char> pixels(rowBytes * static_cast<std::size_t>(height));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_BGR, GL_UNSIGNED_BYTE, pixels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    for (int y = 0; y < height; ++y) {
        std::memcpy(FreeImage_GetScanLine(image, y), pixels.data() + rowBytes * y, rowBytes);
    }
    const bool saved = FreeImage_Save(FIF_PNG, image, path.c_str(), PNG_DEFAULT) != 0;
    FreeImage_Unload(image);
    return saved;
}
