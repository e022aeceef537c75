// The floor for any loader: one fread of the whole file into a fresh buffer. Touches
// one byte per page afterwards so the buffer cannot be optimised away.
#include <cstdio>
#include <memory>
#include <stdexcept>

#include "LoadBench.h"

int main(int argc, char** argv) {
    return RunLoadBench(argc, argv, "fread", [](const std::string& path) {
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (!file) throw std::runtime_error("cannot open " + path);
        std::fseek(file, 0, SEEK_END);
        const long size = std::ftell(file);
        std::fseek(file, 0, SEEK_SET);
        auto buffer = std::make_unique_for_overwrite<unsigned char[]>(size);
        const std::size_t got = std::fread(buffer.get(), 1, size, file);
        std::fclose(file);
        if (got != static_cast<std::size_t>(size)) throw std::runtime_error("short read");
        std::uint64_t sum = 0;
        for (long at = 0; at < size; at += 4096) sum += buffer[at];
        return LoadCounts{sum & 1, 0, 0, 0};
    });
}
