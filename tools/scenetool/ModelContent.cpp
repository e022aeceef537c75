#include "ModelContent.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <optional>
#include <vector>

namespace {

// How much of a file's start is searched for a NUL byte, which text never has.
constexpr std::size_t kTextProbe = 64 * 1024;

// The little-endian 32-bit count at byte `at`, if the file has it.
std::optional<std::uint32_t> CountAt(std::ifstream& in, std::uint64_t at, std::uint64_t size) {
    if (at + 4 > size) return std::nullopt;
    in.clear();
    in.seekg(static_cast<std::streamoff>(at));
    unsigned char bytes[4];
    if (!in.read(reinterpret_cast<char*>(bytes), 4)) return std::nullopt;
    return std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 | std::uint32_t{bytes[2]} << 16 |
           std::uint32_t{bytes[3]} << 24;
}

}  // namespace

ModelContent ModelContent::Of(const std::string& path) {
    ModelContent content;
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return content;
    const std::streamoff end = in.tellg();
    if (end < 0) return content;
    content.size = static_cast<std::uint64_t>(end);
    if (content.size == 0) return content;
    in.seekg(0);
    std::vector<char> start(
        static_cast<std::size_t>(std::min<std::uint64_t>(content.size, kTextProbe)));
    if (!in.read(start.data(), static_cast<std::streamsize>(start.size()))) return content;
    if (std::find(start.begin(), start.end(), '\0') == start.end()) {
        content.kind = Kind::Text;
        return content;
    }
    content.kind = Kind::Binary;
    // The counts as an R file gives them: vertices, then triangles after the vertices.
    const auto vertices = CountAt(in, 0, content.size);
    if (!vertices) return content;
    const std::uint64_t afterVertices = 4 + std::uint64_t{36} * *vertices;
    const auto triangles = CountAt(in, afterVertices, content.size);
    if (!triangles) return content;
    const std::uint64_t meshEnd = afterVertices + 4 + std::uint64_t{12} * *triangles;
    if (meshEnd > content.size) return content;
    content.vertices = *vertices;
    content.triangles = *triangles;
    content.kind = Kind::RMesh;
    // Key tracks that end exactly with the file make it an RA mesh.
    const auto keys = CountAt(in, meshEnd, content.size);
    if (!keys) return content;
    const std::uint64_t afterKeys = meshEnd + 4 + std::uint64_t{16} * *keys;
    const auto auxKeys = CountAt(in, afterKeys, content.size);
    if (auxKeys && afterKeys + 4 + std::uint64_t{20} * *auxKeys == content.size) {
        content.kind = Kind::RAMesh;
        content.translationKeys = *keys;
    }
    return content;
}
