#include "ModelAdvice.h"

#include "Counted.h"
#include "ObjFaces.h"
#include "objects/ModelFileError.h"
#include "objects/OBJModelReading.h"

namespace {

// Faces of `faces` that `concerned` picks: how many, and the line of the first.
template <typename Concerned>
std::pair<std::size_t, std::uint32_t> Tally(const ObjFaces& faces, Concerned concerned) {
    std::size_t count = 0;
    std::uint32_t first = 0;
    for (const ObjFaces::Face& face : faces.Faces()) {
        if (!concerned(face)) continue;
        if (count++ == 0) first = face.line;
    }
    return {count, first};
}

// "(the first on line 12)", or "(line 12)" for a single face.
std::string FirstLine(std::size_t count, std::uint32_t line) {
    return count == 1 ? "(line " + std::to_string(line) + ")"
                      : "(the first on line " + std::to_string(line) + ")";
}

// Whether the reader's entry on the faces it cannot draw names a missing normal as the
// fault of the first of them: OBJArraySizes::IndexProblem checks the first corner's
// position and texture coordinate before its normal.
bool ReaderBlamesNormals(const OBJModel& model) {
    const OBJFace& face = model.faces.front();
    const auto names = [](std::int32_t index, std::size_t size) {
        return index >= 1 && static_cast<std::size_t>(index) <= size;
    };
    return names(face.position[0], model.positions.size()) &&
           (model.texCoords.empty() || names(face.texCoord[0], model.texCoords.size()));
}

ModelNote NoNormals(const std::string& path, const OBJModel& viewed, std::uint32_t firstLine) {
    const std::size_t count = viewed.faces.size();
    const std::string remedy =
        "scenetool convert computes normals and writes an R file the viewer draws.";
    ModelNote note{path, static_cast<int>(firstLine), true, "", ""};
    note.text = "the file has no normals (no vn lines), so the viewer " +
                (count == 1 ? std::string("does not draw its face")
                            : "draws none of its " + Counted(count, "face", "faces")) +
                " " + FirstLine(count, firstLine) + ". " + remedy;
    if (ReaderBlamesNormals(viewed)) note.continuation = remedy;
    return note;
}

}  // namespace

std::vector<ModelNote> ExplainOBJ(const std::string& path) {
    OBJReadResult viewed, whole;
    try {
        viewed = ReadOBJModelFile(path, {.factor = 0.1f});
        whole = ReadOBJModelFile(path, {.factor = 0.1f, .polygons = true});
    } catch (const ModelFileError&) {
        return {};
    }
    std::vector<ModelNote> notes;
    if (viewed.model.faces.empty() || whole.model.polygons.empty()) return notes;
    if (viewed.model.normals.empty()) {
        notes.push_back(NoNormals(path, viewed.model, whole.model.polygons.front().line));
        return notes;
    }
    const ObjFaces faces(whole.model, path);
    using Face = ObjFaces::Face;
    using Winding = ObjFaces::Winding;

    const auto [missing, missingLine] =
        Tally(faces, [](const Face& f) { return f.missingNormals; });
    if (missing > 0) {
        const bool one = missing == 1;
        notes.push_back({path, static_cast<int>(missingLine), false,
                         Counted(missing, "face leaves", "faces leave") + " out normal indices " +
                             FirstLine(missing, missingLine) +
                             ": the viewer takes the missing ones from the face before, which "
                             "shades " +
                             (one ? "it" : "them") + " wrongly. scenetool convert computes " +
                             (one ? "its" : "their") + " normals.",
                         ""});
    }

    const auto [turned, turnedLine] =
        Tally(faces, [](const Face& f) { return f.winding == Winding::CounterClockwise; });
    if (turned > 0) {
        const bool one = turned == 1;
        const std::size_t known =
            Tally(faces, [](const Face& f) { return f.winding != Winding::Unknown; }).first;
        notes.push_back({path, static_cast<int>(turnedLine), false,
                         Counted(turned, "face winds", "faces wind") +
                             " counter-clockwise as seen from the side " + (one ? "its" : "their") +
                             " normals point to " + FirstLine(turned, turnedLine) +
                             ": the viewer takes clockwise faces as the front, so it shows " +
                             (one ? "its" : "their") + " back" +
                             (turned == known ? " and the model looks inside out" : "") +
                             ". scenetool convert turns " + (one ? "it" : "them") + ".",
                         ""});
    }

    // Faces without normals are explained above; their corners do not count twice.
    const auto [polygons, polygonLine] =
        Tally(faces, [](const Face& f) { return f.count > 3 && !f.missingNormals; });
    if (polygons > 0) {
        const bool one = polygons == 1;
        notes.push_back({path, static_cast<int>(polygonLine), false,
                         Counted(polygons, "face has", "faces have") + " more than three corners " +
                             FirstLine(polygons, polygonLine) +
                             ": the viewer draws only the first three corners of " +
                             (one ? "it" : "each") + ". scenetool convert fans " +
                             (one ? "it" : "them") + " into triangles.",
                         ""});
    }
    return notes;
}

std::vector<ModelNote> ExplainMesh(const std::string& path, const RMesh& mesh) {
    const MeshVertex* v = mesh.vertices.data.get();
    const std::uint32_t* index = mesh.indices.data.get();
    std::uint32_t turned = 0, known = 0, first = 0;
    for (std::uint32_t t = 0; t < mesh.indices.count / 3; ++t) {
        const MeshVertex* corner[3] = {&v[index[3 * t]], &v[index[3 * t + 1]],
                                       &v[index[3 * t + 2]]};
        // The viewer's front is where the corners run clockwise: along (c - a) x (b - a).
        double u[3], w[3];
        for (int axis = 0; axis < 3; ++axis) {
            u[axis] = double(corner[2]->position[axis]) - corner[0]->position[axis];
            w[axis] = double(corner[1]->position[axis]) - corner[0]->position[axis];
        }
        const double front[3] = {u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2],
                                 u[0] * w[1] - u[1] * w[0]};
        // Smooth normals may lean past a thin triangle's plane at a crease: a triangle
        // counts only when all three corners' normals point to the same side of it.
        int back = 0, ahead = 0;
        for (const MeshVertex* c : corner) {
            const double along =
                front[0] * c->normal[0] + front[1] * c->normal[1] + front[2] * c->normal[2];
            back += along < 0;
            ahead += along > 0;
        }
        if (back != 3 && ahead != 3) continue;
        ++known;
        if (ahead == 3) continue;
        if (turned++ == 0) first = t;
    }
    // A few stray triangles among many, where a mesh folds on itself, are left unsaid.
    if (turned == 0 || std::uint64_t{turned} * 100 < known) return {};
    const bool one = turned == 1;
    // The triangles' indices follow the vertex count, the vertices and the triangle count.
    const std::uint64_t byte =
        8 + std::uint64_t{36} * mesh.vertices.count + std::uint64_t{12} * first;
    return {{path, 0, false,
             Counted(turned, "triangle winds", "triangles wind") +
                 " counter-clockwise as seen from the side " + (one ? "its" : "their") +
                 " normals point to (" + (one ? "triangle " : "the first is triangle ") +
                 std::to_string(first + 1) + ", at byte " + std::to_string(byte) +
                 "): the viewer takes clockwise triangles as the front, so it shows " +
                 (one ? "its" : "their") + " back" +
                 (turned == known ? " and the model looks inside out" : "") +
                 ". scenetool convert, run again on the OBJ file the mesh was made from, turns " +
                 (one ? "it" : "them") + ".",
             ""}};
}

std::vector<ModelNote> ExplainContent(const std::string& type, const std::string& path,
                                      const ModelContent& content, int sceneLine) {
    using Kind = ModelContent::Kind;
    const bool check = sceneLine > 0;
    // A note about the element stands at its line in Scene.xml; info's, at the file.
    const std::string where = check ? "Scene.xml" : path;
    const std::string object = "the " + type + " object " + path;
    std::vector<ModelNote> notes;
    if (type == "OBJ" && content.kind != Kind::Text && content.kind != Kind::Unreadable) {
        std::string text = check ? object +
                                       " names a binary file, not OBJ text, so the viewer "
                                       "draws nothing of it."
                                 : path +
                                       " is a binary file, not OBJ text, so an OBJ element "
                                       "draws nothing of it.";
        const std::string vertices = Counted(content.vertices, "vertex", "vertices");
        const std::string triangles = Counted(content.triangles, "triangle", "triangles");
        const std::string size = " its " + Counted(content.size, "byte", "bytes") + ")";
        if (content.kind == Kind::RMesh) {
            text += " It looks like an R mesh (" + vertices + " and " + triangles + " fit" + size +
                    ": name it with an R element.";
        } else if (content.kind == Kind::RAMesh) {
            text += " It looks like an RA mesh (" + vertices + ", " + triangles + " and " +
                    Counted(content.translationKeys, "translation key", "translation keys") +
                    " fill" + size + ": name it with an RA element.";
        } else {
            text += " Its counts fit no R or RA mesh either.";
        }
        notes.push_back({where, sceneLine, true, text, ""});
    } else if ((type == "R" || type == "RA") && content.kind == Kind::Text) {
        // The reader finds the text's first bytes a count far beyond the file's size.
        notes.push_back({path, 0, true, "", "It is OBJ text: name it with an OBJ element."});
    } else if (type == "R" && content.kind == Kind::RAMesh && content.translationKeys > 0) {
        const std::string mesh =
            "an RA mesh (an R mesh followed by " +
            Counted(content.translationKeys, "translation key", "translation keys") + ")";
        notes.push_back({where, sceneLine, false,
                         check ? object + " names " + mesh +
                                     ", so the viewer draws it without its animation: name it "
                                     "with an RA element."
                               : path + " holds " + mesh +
                                     ": an R element draws it without its animation; name it "
                                     "with an RA element.",
                         ""});
    } else if (type == "RA" && content.kind == Kind::RMesh) {
        // The reader finds the file ending where the key count should be.
        notes.push_back(
            {path, 0, true, "", "It is an R mesh without key tracks: name it with an R element."});
    }
    return notes;
}
