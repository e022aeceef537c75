#pragma once

#include <filesystem>
#include <string>

// "screenshot-NNN.png" with NNN one more than the highest number such a file in `folder`
// has (001 when there is none), three digits at least, so a folder's screenshots sort in
// the order they were taken.
std::string NextScreenshotName(const std::filesystem::path& folder);

// Reads the `width` by `height` pixels at the origin of the current read buffer and writes
// them to `path` as a PNG. False if the image could not be written.
bool SaveFramePng(const std::filesystem::path& path, int width, int height);
