// Times the viewer's R and RA reading: the file into a mesh object's arrays. Vertices are
// reported as v and triangles as f. A second line gives how far one load raises the
// process's peak memory, next to the bytes of the arrays it keeps.
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "LoadBench.h"
#include "objects/FrameAnimatableRGO.h"
#include "objects/RAFileParser.h"
#include "objects/RFileParser.h"

namespace {

void Load(FrameAnimatableRGO& object, const std::string& path) {
    if (path.ends_with(".ra") || path.ends_with(".RA")) {
        Tarnhold::RAFileParser(object, path).Parse();
    } else {
        Tarnhold::RFileParser(object, path).Parse();
    }
}

std::uint64_t ArrayBytes(const FrameAnimatableRGO& object) {
    return std::uint64_t{object.vertices.count} * sizeof(MeshVertex) +
           std::uint64_t{object.indices.count} * sizeof(std::uint32_t) +
           std::uint64_t{object.translationTrack.count} * sizeof(TranslationKey) +
           std::uint64_t{object.auxTrack.count} * sizeof(AuxKey);
}

}  // namespace

int main(int argc, char** argv) {
    // One load measured before the timed ones, whose peaks would hide its own.
    bool measured = false;
    std::uint64_t arrays = 0, growth = 0;
    if (argc >= 2) {
        try {
            const std::uint64_t before = PeakResidentBytes();
            FrameAnimatableRGO object;
            Load(object, argv[1]);
            growth = PeakResidentBytes() - before;
            arrays = ArrayBytes(object);
            measured = true;
        } catch (const std::exception&) {
            // RunLoadBench reports the failure.
        }
    }
    const int status = RunLoadBench(argc, argv, "sceneview", [](const std::string& path) {
        FrameAnimatableRGO object;
        Load(object, path);
        return LoadCounts{object.vertices.count, 0, 0, object.indices.count / 3};
    });
    if (status == 0 && measured) {
        std::printf("MEMORY file=%s arrays_bytes=%ju peak_rss_growth_bytes=%ju\n",
                    std::filesystem::path(argv[1]).filename().c_str(),
                    static_cast<std::uintmax_t>(arrays), static_cast<std::uintmax_t>(growth));
    }
    return status;
}
