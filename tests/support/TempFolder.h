#pragma once

#include <filesystem>

// A fresh, empty folder under the system's temporary folder, removed with its content on
// destruction unless Keep() was called (to look at what a failed test left behind).
class TempFolder {
public:
    TempFolder();
    ~TempFolder();

    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path; }
    void Keep() { keep = true; }

private:
    std::filesystem::path path;
    bool keep = false;
};
