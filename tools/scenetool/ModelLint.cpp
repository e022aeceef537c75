#include "ModelLint.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <utility>

#include "ModelAdvice.h"
#include "ModelContent.h"
#include "StartView.h"
#include "objects/FrameAnimatableRGO.h"
#include "objects/ModelFileError.h"
#include "objects/OBJModelReading.h"
#include "objects/RMeshReading.h"

namespace {

// The bounds of a model's positions as the viewer places them before `pos` and `scale`.
struct Bounds {
    double low[3] = {0, 0, 0};
    double high[3] = {0, 0, 0};
    bool empty = true;

    void Add(double x, double y, double z) {
        const double p[3] = {x, y, z};
        for (int axis = 0; axis < 3; ++axis) {
            low[axis] = empty ? p[axis] : std::min(low[axis], p[axis]);
            high[axis] = empty ? p[axis] : std::max(high[axis], p[axis]);
        }
        empty = false;
    }
};

// The bounds of the model of `type` in `path`, read as the viewer reads it: OBJ positions
// times 0.1, an RA mesh moved by its offset at time 0, where the paused clock starts.
// Nothing for a file the viewer cannot read.
std::optional<Bounds> ModelBounds(const std::string& type, const std::string& path) {
    Bounds bounds;
    const auto addVertices = [&](const VertexArray& vertices, const Vector3& offset) {
        for (std::uint32_t i = 0; i < vertices.count; ++i) {
            const float* p = vertices.data[i].position;
            bounds.Add(double(p[0]) + offset.x, double(p[1]) + offset.y, double(p[2]) + offset.z);
        }
    };
    try {
        if (type == "OBJ") {
            const OBJReadResult read = ReadOBJModelFile(path, {.factor = 0.1f});
            for (const Vector3& p : read.model.positions) bounds.Add(p.x, p.y, p.z);
        } else if (type == "R") {
            addVertices(ReadRMeshFile(path).vertices, {});
        } else {
            FrameAnimatableRGO object;
            object.Take(ReadRAMeshFile(path));
            addVertices(object.vertices, object.OffsetAt(0));
        }
    } catch (const ModelFileError&) {
        return std::nullopt;
    }
    if (bounds.empty) return std::nullopt;
    return bounds;
}

// A length for a message: whole units from 100 on, else three significant digits.
std::string Units(double value) {
    char text[32];
    std::snprintf(text, sizeof text, value >= 100 ? "%.0f" : "%.3g", value);
    return text;
}

// A size below one pixel with two significant digits, cut rather than rounded, so that it
// never reads as 1.
std::string BelowOne(double value) {
    if (value <= 0) return "0";
    const int exponent = static_cast<int>(std::floor(std::log10(value)));
    const double step = std::pow(10.0, exponent - 1);
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", std::max(0, 1 - exponent),
                  std::floor(value / step) * step);
    std::string shown = text;
    if (shown.find('.') != std::string::npos) {
        shown.erase(shown.find_last_not_of('0') + 1);
        if (shown.back() == '.') shown.pop_back();
    }
    return shown;
}

std::optional<ModelNote> TooSmall(const SceneIndex::Object& object, const Bounds& model,
                                  const StartView& view) {
    const FileGraphicMemento& placed = object.description;
    // The viewer scales by the first component alone.
    const double scale = std::fabs(placed.scale.x);
    const double pos[3] = {placed.position.x, placed.position.y, placed.position.z};
    double centre[3], width = 0, diagonal = 0;
    for (int axis = 0; axis < 3; ++axis) {
        const double side = (model.high[axis] - model.low[axis]) * scale;
        centre[axis] = pos[axis] + (model.low[axis] + model.high[axis]) / 2 * placed.scale.x;
        width = std::max(width, side);
        diagonal += side * side;
    }
    const double distance = view.Distance(centre[0], centre[1], centre[2]);
    // The camera inside or at the edge of the object: it surely covers pixels.
    if (distance <= std::sqrt(diagonal) / 2) return std::nullopt;
    const double pixels = view.Pixels(width, distance);
    if (pixels >= 1) return std::nullopt;
    return ModelNote{"Scene.xml", object.line, false,
                     "the " + object.type + " object " + placed.fileName + " is " +
                         BelowOne(pixels) + " pixels across seen from the camera's start (" +
                         Units(width) + " units wide, " + Units(distance) +
                         " units away); it does not cover a pixel.",
                     ""};
}

// The notes on the mesh of an R or RA object's file; none when the viewer cannot read it as
// that type (the loader says why).
std::vector<ModelNote> ExplainMesh(const std::string& path, const std::string& type) {
    try {
        return ExplainMesh(path, type == "R" ? ReadRMeshFile(path) : ReadRAMeshFile(path).mesh);
    } catch (const ModelFileError&) {
        return {};
    }
}

}  // namespace

std::vector<ModelNote> FindModelNotes(const SceneIndex& index, const StartView& view) {
    std::vector<ModelNote> notes;
    // Each note once: one that completes the reader's entry, or is about a whole file, is
    // the same for every element naming the file.
    std::set<std::tuple<std::string, int, std::string, std::string>> noted;
    const auto add = [&](const ModelNote& note) {
        if (noted.insert({note.file, note.line, note.text, note.continuation}).second) {
            notes.push_back(note);
        }
    };
    std::map<std::string, ModelContent> contents;
    std::set<std::string> explained;
    std::map<std::pair<std::string, std::string>, std::optional<Bounds>> bounds;
    for (const SceneIndex::Object& object : index.objects) {
        const std::string& path = object.description.fileName;
        if (path.empty()) continue;
        auto content = contents.find(path);
        if (content == contents.end())
            content = contents.emplace(path, ModelContent::Of(path)).first;
        for (const ModelNote& note :
             ExplainContent(object.type, path, content->second, object.line)) {
            add(note);
        }
        if (object.type == "OBJ" && content->second.kind == ModelContent::Kind::Text &&
            explained.insert(path).second) {
            for (const ModelNote& note : ExplainOBJ(path)) add(note);
        }
        if (object.type != "OBJ" && content->second.kind != ModelContent::Kind::Text &&
            explained.insert(path).second) {
            for (const ModelNote& note : ExplainMesh(path, object.type)) add(note);
        }
        // An object of scale 0 has its own warning.
        if (object.description.scale.x == 0.0f) continue;
        auto box = bounds.find({object.type, path});
        if (box == bounds.end()) {
            box =
                bounds.emplace(std::pair{object.type, path}, ModelBounds(object.type, path)).first;
        }
        if (!box->second) continue;
        if (auto note = TooSmall(object, *box->second, view)) notes.push_back(std::move(*note));
    }
    return notes;
}
