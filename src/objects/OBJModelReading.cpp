#include "objects/OBJModelReading.h"

#include "objects/ReadModelFile.h"
#include "objects/internal/OBJReader.h"

OBJReadResult ReadOBJModel(std::string_view text, const std::string& fileName,
                           const OBJReadOptions& options) {
    return OBJReader(fileName, options).Read(text);
}

OBJReadResult ReadOBJModel(ByteSource& bytes, std::size_t blockSize, const std::string& fileName,
                           const OBJReadOptions& options) {
    return OBJReader(fileName, options).Read(bytes, blockSize);
}

OBJReadResult ReadOBJModelFile(const std::string& path, const OBJReadOptions& options,
                               std::size_t blockSize) {
    return ReadModelFile(
        path, [&](ByteSource& bytes) { return ReadOBJModel(bytes, blockSize, path, options); },
        options.sizeLimit);
}
