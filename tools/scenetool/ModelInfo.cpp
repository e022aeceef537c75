#include "ModelInfo.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "ModelAdvice.h"
#include "objects/OBJModelReading.h"
#include "objects/RMeshReading.h"

namespace {

// How many keys are listed one by one.
constexpr std::uint32_t kListedKeys = 10;

// The shortest text that reads back as the same float.
std::string Number(float value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::string(text, end);
}

std::string Point(float x, float y, float z) {
    return "(" + Number(x) + ", " + Number(y) + ", " + Number(z) + ")";
}

// "bounds: (min) to (max)" over `count` points that `at(i)` gives as float[3].
template <typename At>
std::string Bounds(const std::string& label, std::size_t count, const char* what, At at) {
    if (count == 0) return label + ": none (no " + what + ")";
    float low[3], high[3];
    for (int axis = 0; axis < 3; ++axis) low[axis] = high[axis] = at(0)[axis];
    for (std::size_t i = 1; i < count; ++i) {
        for (int axis = 0; axis < 3; ++axis) {
            low[axis] = std::min(low[axis], at(i)[axis]);
            high[axis] = std::max(high[axis], at(i)[axis]);
        }
    }
    return label + ": " + Point(low[0], low[1], low[2]) + " to " + Point(high[0], high[1], high[2]);
}

void DescribeMesh(const RMesh& mesh, std::vector<std::string>& lines) {
    const MeshVertex* vertices = mesh.vertices.data.get();
    lines.push_back("vertices: " + std::to_string(mesh.vertices.count));
    lines.push_back("triangles: " + std::to_string(mesh.indices.count / 3));
    lines.push_back(Bounds("bounds", mesh.vertices.count, "vertices",
                           [&](std::size_t i) { return vertices[i].position; }));
}

void DescribeKeys(const TranslationTrack& track, std::vector<std::string>& lines) {
    const TranslationKey* keys = track.data.get();
    if (track.count == 0) {
        lines.push_back("translation keys: 0 (the mesh stands where it is placed)");
        return;
    }
    lines.push_back("translation keys: " + std::to_string(track.count) + ", from " +
                    std::to_string(keys[0].time) + " ms to " +
                    std::to_string(keys[track.count - 1].time) + " ms");
    for (std::uint32_t i = 0; i < std::min(track.count, kListedKeys); ++i) {
        lines.push_back("  " + std::to_string(keys[i].time) +
                        " ms: " + Point(keys[i].x, keys[i].y, keys[i].z));
    }
    if (track.count > kListedKeys) {
        lines.push_back("  ... and " + std::to_string(track.count - kListedKeys) + " more");
    }
}

// A problem for keys out of time order, naming the first; empty if they are in order.
std::string KeyOrderProblem(const std::string& path, const TranslationTrack& track) {
    const TranslationKey* keys = track.data.get();
    std::uint32_t count = 0, first = 0;
    for (std::uint32_t i = track.count; i-- > 1;) {
        if (keys[i].time >= keys[i - 1].time) continue;
        ++count;
        first = i;
    }
    if (count == 0) return {};
    return "The model file " + path + " has " + std::to_string(count) +
           (count == 1 ? " translation key" : " translation keys") +
           " earlier than the key before it; the first is key " + std::to_string(first + 1) +
           " at " + std::to_string(keys[first].time) + " ms, after " +
           std::to_string(keys[first - 1].time) + " ms. The viewer expects the keys in time order.";
}

}  // namespace

void ModelInfo::AddProblems(std::vector<Problem> found, const std::vector<ModelNote>& notes) {
    const std::vector<ModelNote> alone = JoinModelNotes(found, notes);
    for (const Problem& problem : found) problems.push_back(problem.Brief());
    for (const ModelNote& note : alone) problems.push_back(note.text);
}

ModelInfo ModelInfo::OfR(const std::string& path) {
    const RMesh mesh = ReadRMeshFile(path);
    ModelInfo info;
    info.lines.push_back(path + ": R mesh");
    DescribeMesh(mesh, info.lines);
    std::vector<ModelNote> notes = ExplainContent("R", path, ModelContent::Of(path), 0);
    for (ModelNote& note : ExplainMesh(path, mesh)) notes.push_back(std::move(note));
    info.AddProblems({}, notes);
    return info;
}

ModelInfo ModelInfo::OfRA(const std::string& path) {
    const RAMesh mesh = ReadRAMeshFile(path);
    ModelInfo info;
    info.lines.push_back(path + ": RA animated mesh");
    DescribeMesh(mesh.mesh, info.lines);
    DescribeKeys(mesh.translationTrack, info.lines);
    info.lines.push_back("second-track keys: " + std::to_string(mesh.auxTrack.count));
    const std::string order = KeyOrderProblem(path, mesh.translationTrack);
    if (!order.empty()) info.problems.push_back(order);
    info.AddProblems({}, ExplainMesh(path, mesh.mesh));
    return info;
}

ModelInfo ModelInfo::OfOBJ(const std::string& path) {
    const OBJReadResult read = ReadOBJModelFile(path, {.factor = 0.1f});
    const OBJModel& model = read.model;
    ModelInfo info;
    info.lines.push_back(path + ": OBJ model");
    info.lines.push_back("positions: " + std::to_string(model.positions.size()));
    info.lines.push_back("texture coordinates: " + std::to_string(model.texCoords.size()));
    info.lines.push_back("normals: " + std::to_string(model.normals.size()));
    info.lines.push_back("faces: " + std::to_string(model.faces.size()));
    info.lines.push_back(Bounds("bounds (positions times 0.1, as the viewer reads them)",
                                model.positions.size(), "positions", [&](std::size_t i) {
                                    const Vector3& p = model.positions[i];
                                    return std::array<float, 3>{p.x, p.y, p.z};
                                }));
    std::vector<ModelNote> notes = ExplainContent("OBJ", path, ModelContent::Of(path), 0);
    if (notes.empty()) notes = ExplainOBJ(path);
    info.AddProblems(read.problems, notes);
    return info;
}
