#include "objects/RFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace {

// Appends records made only of 32-bit words, little-endian.
template <typename Word>
void AppendWords(std::string& bytes, std::span<const Word> words) {
    static_assert(sizeof(Word) % 4 == 0, "records of 32-bit words only");
    const std::size_t start = bytes.size();
    bytes.append(reinterpret_cast<const char*>(words.data()), words.size_bytes());
    if constexpr (std::endian::native == std::endian::big) {
        for (std::size_t at = start; at < bytes.size(); at += 4) {
            std::uint32_t word;
            std::memcpy(&word, bytes.data() + at, 4);
            word = __builtin_bswap32(word);
            std::memcpy(bytes.data() + at, &word, 4);
        }
    }
}

void AppendCount(std::string& bytes, std::size_t count, const char* what) {
    if (count > UINT32_MAX) {
        throw std::invalid_argument(std::string("too many ") + what + " for a model file");
    }
    const auto word = static_cast<std::uint32_t>(count);
    AppendWords(bytes, std::span(&word, 1));
}

std::string Failure(const std::string& path, int errorNumber) {
    return "cannot write " + path + ": " + std::strerror(errorNumber);
}

}  // namespace

std::string EncodeRFile(std::span<const MeshVertex> vertices,
                        std::span<const std::uint32_t> indices) {
    if (indices.size() % 3 != 0) {
        throw std::invalid_argument("triangle indices must come in threes, not " +
                                    std::to_string(indices.size()));
    }
    std::string bytes;
    bytes.reserve(8 + vertices.size_bytes() + indices.size_bytes());
    AppendCount(bytes, vertices.size(), "vertices");
    AppendWords(bytes, vertices);
    AppendCount(bytes, indices.size() / 3, "triangles");
    AppendWords(bytes, indices);
    return bytes;
}

std::string EncodeRAFile(std::span<const MeshVertex> vertices,
                         std::span<const std::uint32_t> indices,
                         std::span<const TranslationKey> keys, std::span<const AuxKey> auxKeys) {
    std::string bytes = EncodeRFile(vertices, indices);
    AppendCount(bytes, keys.size(), "translation keys");
    AppendWords(bytes, keys);
    AppendCount(bytes, auxKeys.size(), "second-track keys");
    AppendWords(bytes, auxKeys);
    return bytes;
}

std::string WriteModelFile(const std::string& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return Failure(path, errno);
    struct stat status {};
    const bool regular = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
    int error = 0;
    for (std::size_t written = 0; written < bytes.size();) {
        const ssize_t put = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (put < 0) {
            if (errno == EINTR) continue;
            error = errno;
            break;
        }
        written += static_cast<std::size_t>(put);
    }
    // Some file systems report a failed write only when the file is closed.
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0) return {};
    if (regular) ::unlink(path.c_str());
    return Failure(path, error);
}
