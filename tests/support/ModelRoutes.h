#pragma once

#include <gtest/gtest.h>
#include <pthread.h>
#include <sys/stat.h>

#include <csignal>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>

// The ways a model file's bytes reach its parser: from memory, from a regular file (read
// straight into the arrays) and from a pipe (read whole first). Parser tests run their
// cases through each.
enum class ModelRoute { Buffer, File, Pipe };

inline const ModelRoute kModelRoutes[] = {ModelRoute::Buffer, ModelRoute::File, ModelRoute::Pipe};

inline std::string ModelRouteName(const testing::TestParamInfo<ModelRoute>& info) {
    switch (info.param) {
        case ModelRoute::Buffer: return "Buffer";
        case ModelRoute::File: return "File";
        case ModelRoute::Pipe: return "Pipe";
    }
    return "Unknown";
}

// Gives `bytes` to `parser`, which was made for the file `path`, by `route`. A pipe is made
// at `path` and filled by a thread while the parser reads it.
template <typename Parser>
void ParseThrough(ModelRoute route, Parser&& parser, const std::filesystem::path& path,
                  const std::string& bytes) {
    std::filesystem::remove(path);
    if (route == ModelRoute::Buffer) return parser.ParseBuffer(bytes);
    if (route == ModelRoute::File) {
        std::ofstream(path, std::ios::binary) << bytes;
        return parser.Parse();
    }
    if (::mkfifo(path.c_str(), 0600) != 0) throw std::runtime_error("cannot make " + path.string());
    // Opening blocks until the parser opens the other end. SIGPIPE is blocked, so a parser
    // that closes the pipe early fails its test instead of ending the program.
    std::thread writer([&] {
        sigset_t pipeSignal;
        sigemptyset(&pipeSignal);
        sigaddset(&pipeSignal, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipeSignal, nullptr);
        std::ofstream(path, std::ios::binary) << bytes;
    });
    try {
        parser.Parse();
    } catch (...) {
        writer.join();
        throw;
    }
    writer.join();
}
