#include "support/TempFolder.h"

#include <stdlib.h>

#include <cerrno>
#include <string>
#include <system_error>

TempFolder::TempFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "sceneviewer-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::system_error(errno, std::generic_category(), "mkdtemp " + pattern);
    }
    path = pattern;
}

TempFolder::~TempFolder() {
    if (keep) return;
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}
