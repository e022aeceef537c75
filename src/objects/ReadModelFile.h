#pragma once

#include <cstdint>
#include <new>
#include <string>

#include "common/FileError.h"
#include "common/SizeLimit.h"
#include "objects/FileBytes.h"
#include "objects/ModelFileError.h"

// The failure of a model file that cannot be opened or read, in the words of `failure`.
ModelFileError UnreadableModelFile(const std::string& path, const FileError& failure);
// The failure of a model file whose reading needs more memory than the machine gives.
ModelFileError ModelFileBeyondMemory(const std::string& path);

// Opens the model file `path` and returns what `read` makes of its bytes, given as a
// ByteSource. A file that cannot be opened or read, a device, a file of more than `limit`
// bytes and running out of memory throw ModelFileError naming the file, as do the
// format's own failures from `read`.
template <typename Read>
auto ReadModelFile(const std::string& path, Read&& read, std::uint64_t limit = FileSizeLimit()) {
    try {
        FileBytes file(path, limit);
        return read(static_cast<ByteSource&>(file));
    } catch (const FileError& failure) {
        throw UnreadableModelFile(path, failure);
    } catch (const std::bad_alloc&) {
        throw ModelFileBeyondMemory(path);
    }
}
