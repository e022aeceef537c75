#include "objects/ReadModelFile.h"

ModelFileError UnreadableModelFile(const std::string& path, const FileError& failure) {
    return ModelFileError(Problem::At(path, 0, "The model file " + path + failure.Reason()));
}

ModelFileError ModelFileBeyondMemory(const std::string& path) {
    return ModelFileError(Problem::At(
        path, 0, "The model file " + path + " needs more memory than this machine can give."));
}
