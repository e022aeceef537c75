// Makes the files the loader benchmarks read, the same bytes on every run: OBJ height
// fields of about 1, 10, 50 and 210 MB with v/vt/vn faces, 1, 10 and 210 MB ones with v//vn
// faces, and R and RA files of about 1, 10 and 100 MB.
//
//   makebenchfiles OUTDIR [--small]     (--small: only the files of 10 MB and less)

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "objects/RFileWriter.h"

namespace {

// A small deterministic generator, so that the files do not depend on the library's.
class Noise {
public:
    // A value in [0, 1).
    double Next() {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(state >> 11) / 9007199254740992.0;
    }

private:
    std::uint64_t state = 0x2545F4914F6CDD1DULL;
};

// Buffers text and writes it in large blocks.
class TextFile {
public:
    explicit TextFile(const std::filesystem::path& path) : file(std::fopen(path.c_str(), "wb")) {
        if (!file) throw std::runtime_error("cannot write " + path.string());
        buffer.reserve(kBlock + 256);
    }
    ~TextFile() {
        Flush();
        std::fclose(file);
    }

    void Text(const char* text) { buffer.append(text); }
    void Char(char c) { buffer.push_back(c); }
    void Fixed(double value) {
        char digits[64];
        const auto end =
            std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 6).ptr;
        buffer.append(digits, end);
    }
    void Index(std::uint64_t value) {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        buffer.append(digits, end);
    }
    void EndLine() {
        buffer.push_back('\n');
        if (buffer.size() >= kBlock) Flush();
    }

private:
    static constexpr std::size_t kBlock = 1 << 20;
    void Flush() {
        std::fwrite(buffer.data(), 1, buffer.size(), file);
        buffer.clear();
    }
    std::FILE* file;
    std::string buffer;
};

// A wavy n × n grid: positions, texture coordinates and normals, one of each per vertex,
// and two triangles per cell. `textured` chooses v/vt/vn corners over v//vn.
void WriteObj(const std::filesystem::path& path, int n, bool textured) {
    TextFile out(path);
    Noise noise;
    out.Text("# benchmark height field, ");
    out.Index(static_cast<std::uint64_t>(n) * n);
    out.Text(" vertices");
    out.EndLine();
    out.Text("o field");
    out.EndLine();
    for (int row = 0; row < n; ++row) {
        for (int column = 0; column < n; ++column) {
            out.Text("v ");
            out.Fixed((column - n / 2) * 0.25);
            out.Char(' ');
            out.Fixed(std::sin(column * 0.05) * std::cos(row * 0.07) * 12.0 + noise.Next());
            out.Char(' ');
            out.Fixed((row - n / 2) * -0.25);
            out.EndLine();
        }
    }
    if (textured) {
        for (int row = 0; row < n; ++row) {
            for (int column = 0; column < n; ++column) {
                out.Text("vt ");
                out.Fixed(static_cast<double>(column) / (n - 1));
                out.Char(' ');
                out.Fixed(static_cast<double>(row) / (n - 1));
                out.EndLine();
            }
        }
    }
    for (int i = 0; i < n * n; ++i) {
        const double x = noise.Next() - 0.5, z = noise.Next() - 0.5, y = 2.0;
        const double length = std::sqrt(x * x + y * y + z * z);
        out.Text("vn ");
        out.Fixed(x / length);
        out.Char(' ');
        out.Fixed(y / length);
        out.Char(' ');
        out.Fixed(z / length);
        out.EndLine();
    }
    out.Text("s 1");
    out.EndLine();
    const auto corner = [&](std::uint64_t index) {
        out.Char(' ');
        out.Index(index);
        out.Text(textured ? "/" : "//");
        if (textured) {
            out.Index(index);
            out.Char('/');
        }
        out.Index(index);
    };
    for (int row = 0; row + 1 < n; ++row) {
        for (int column = 0; column + 1 < n; ++column) {
            const std::uint64_t a = static_cast<std::uint64_t>(row) * n + column + 1;
            const std::uint64_t b = a + 1, c = a + n, d = c + 1;
            out.Char('f');
            corner(a), corner(c), corner(b);
            out.EndLine();
            out.Char('f');
            corner(b), corner(c), corner(d);
            out.EndLine();
        }
    }
}

void WriteModel(const std::filesystem::path& path, int n, int keys) {
    Noise noise;
    std::vector<MeshVertex> vertices;
    vertices.reserve(static_cast<std::size_t>(n) * n);
    for (int row = 0; row < n; ++row) {
        for (int column = 0; column < n; ++column) {
            const float u = static_cast<float>(column) / (n - 1);
            const float v = static_cast<float>(row) / (n - 1);
            vertices.push_back({{column * 0.25f, static_cast<float>(noise.Next()), row * -0.25f},
                                {0, 1, 0},
                                {u, v, 0}});
        }
    }
    std::vector<std::uint32_t> indices;
    indices.reserve(static_cast<std::size_t>(n - 1) * (n - 1) * 6);
    for (int row = 0; row + 1 < n; ++row) {
        for (int column = 0; column + 1 < n; ++column) {
            const std::uint32_t a = row * n + column, b = a + 1, c = a + n, d = c + 1;
            indices.insert(indices.end(), {a, c, b, b, c, d});
        }
    }
    std::string bytes;
    if (keys == 0) {
        bytes = EncodeRFile(vertices, indices);
    } else {
        std::vector<TranslationKey> track;
        std::vector<AuxKey> aux;
        for (int key = 0; key < keys; ++key) {
            track.push_back({key * 40, static_cast<float>(key % 7), 0, static_cast<float>(-key)});
            aux.push_back({key * 40, {1, 2, 3, 4}});
        }
        bytes = EncodeRAFile(vertices, indices, track, aux);
    }
    const std::string problem = WriteModelFile(path.string(), bytes);
    if (!problem.empty()) throw std::runtime_error(problem);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3 || (argc == 3 && std::strcmp(argv[2], "--small") != 0)) {
        std::fprintf(stderr, "usage: %s OUTDIR [--small]\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const bool small = argc == 3;
    try {
        std::filesystem::create_directories(folder);
        WriteObj(folder / "vtn-1MB.obj", 77, true);
        WriteObj(folder / "vn-1MB.obj", 84, false);
        WriteObj(folder / "vtn-10MB.obj", 230, true);
        WriteObj(folder / "vn-10MB.obj", 265, false);
        WriteModel(folder / "mesh-1MB.r", 129, 0);
        WriteModel(folder / "anim-1MB.ra", 129, 50);
        WriteModel(folder / "mesh-10MB.r", 409, 0);
        WriteModel(folder / "anim-10MB.ra", 409, 500);
        if (!small) {
            WriteObj(folder / "vtn-50MB.obj", 490, true);
            WriteObj(folder / "vtn-210MB.obj", 1000, true);
            WriteObj(folder / "vn-210MB.obj", 1150, false);
            WriteModel(folder / "mesh-100MB.r", 1300, 0);
            WriteModel(folder / "anim-100MB.ra", 1300, 5000);
        }
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "%s: %s\n", argv[0], failure.what());
        return 1;
    }
    return 0;
}
