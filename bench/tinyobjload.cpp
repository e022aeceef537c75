// Times tinyobjloader on the same files, as the yardstick for the OBJ reading: its
// LoadObj with triangulation, as a program using it would call it.
#include <stdexcept>
#include <tiny_obj_loader.h>

#include "LoadBench.h"

int main(int argc, char** argv) {
    return RunLoadBench(argc, argv, "tinyobjloader", [](const std::string& path) {
        tinyobj::ObjReader reader;
        tinyobj::ObjReaderConfig config;
        config.triangulate = true;
        if (!reader.ParseFromFile(path, config)) throw std::runtime_error(reader.Error());
        const tinyobj::attrib_t& attributes = reader.GetAttrib();
        std::uint64_t faces = 0;
        for (const tinyobj::shape_t& shape : reader.GetShapes())
            faces += shape.mesh.num_face_vertices.size();
        return LoadCounts{attributes.vertices.size() / 3, attributes.texcoords.size() / 2,
                          attributes.normals.size() / 3, faces};
    });
}
