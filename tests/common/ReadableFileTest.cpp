// Reading whole files and model bytes refuses what would never end or could never fit,
// before reading or allocating it.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <csignal>
#include <fstream>
#include <string>
#include <thread>

#include "common/FileError.h"
#include "common/WholeFile.h"
#include "objects/FileBytes.h"
#include "support/TempFolder.h"

namespace {

std::string Write(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
}

// What a FileError thrown by `action` gives as its reason; "no error" when none.
template <typename Action>
std::string ReasonOf(Action action) {
    try {
        action();
    } catch (const FileError& failure) {
        return failure.Reason();
    }
    return "no error";
}

// A pipe at `path` into which a thread writes `count` bytes, as a generator of model data
// would; the writer stops quietly when the reader goes.
class Pipe {
public:
    Pipe(const std::filesystem::path& path, std::size_t count) {
        EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0);
        previous = std::signal(SIGPIPE, SIG_IGN);
        writer = std::thread([path, count] {
            std::ofstream out(path, std::ios::binary);
            const std::string chunk(4096, 'x');
            for (std::size_t written = 0; written < count && out; written += chunk.size())
                out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        });
    }
    ~Pipe() {
        writer.join();
        std::signal(SIGPIPE, previous);
    }

private:
    std::thread writer;
    void (*previous)(int) = SIG_DFL;
};

TEST(FileLimits, ADeviceIsRefusedAtOnceInsteadOfReadForever) {
    EXPECT_EQ(ReasonOf([] { ReadWholeFile("/dev/zero"); }), " is a device, not a file.");
    EXPECT_EQ(ReasonOf([] { FileBytes bytes("/dev/zero"); }), " is a device, not a file.");
}

TEST(FileLimits, AFileOverTheLimitIsRefusedWithItsSizeAndTheLimit) {
    TempFolder folder;
    const std::string path = Write(folder.Path() / "big", std::string(11, 'a'));
    const std::string refused =
        " is too large: it is 11 bytes long, more than this machine's memory of 10 bytes. It is "
        "not read.";
    EXPECT_EQ(ReasonOf([&] { ReadWholeFile(path, 10); }), refused);
    EXPECT_EQ(ReasonOf([&] { FileBytes bytes(path, 10); }), refused);
    // At the limit the file is read as usual.
    EXPECT_EQ(ReadWholeFile(path, 11), std::string(11, 'a'));
    FileBytes bytes(path, 11);
    EXPECT_EQ(bytes.Size(), 11u);
}

TEST(FileLimits, APipeIsReadWholeUpToTheLimitAndRefusedBeyondIt) {
    TempFolder folder;
    const std::string refused =
        " is too large: it holds more than this machine's memory of 100000 bytes. It is not "
        "read.";
    {
        Pipe pipe(folder.Path() / "endless", 1 << 20);
        EXPECT_EQ(ReasonOf([&] { FileBytes bytes((folder.Path() / "endless").string(), 100000); }),
                  refused);
    }
    {
        Pipe pipe(folder.Path() / "whole", 1 << 20);
        EXPECT_EQ(ReasonOf([&] { ReadWholeFile((folder.Path() / "whole").string(), 100000); }),
                  refused);
    }
    {
        Pipe pipe(folder.Path() / "small", 8192);
        FileBytes bytes((folder.Path() / "small").string(), 100000);
        EXPECT_EQ(bytes.Size(), 8192u);
    }
}

TEST(FileLimits, TheMachinesMemoryIsTheDefaultLimit) {
    EXPECT_GT(FileSizeLimit(), std::uint64_t{64} << 20);
    TempFolder folder;
    const std::string path = Write(folder.Path() / "small", "abc");
    EXPECT_EQ(ReadWholeFile(path), "abc");
}

}  // namespace
