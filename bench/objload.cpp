// Times the viewer's OBJ reading: the file into an object's four arrays, with the
// factor the viewer uses.
#include "LoadBench.h"
#include "objects/OBJFileParser.h"
#include "objects/OBJGraphicObject.h"

int main(int argc, char** argv) {
    return RunLoadBench(argc, argv, "sceneview", [](const std::string& path) {
        OBJGraphicObject object;
        OBJFileParser parser(object, path);
        parser.Parse(0.1f);
        return LoadCounts{object.positions.size(), object.texCoords.size(), object.normals.size(),
                          object.faces.size()};
    });
}
