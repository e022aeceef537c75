// The engine's folders form layers: each may include headers of the layers below it and
// never of one above, so no two folders include each other; and a folder's internal/
// headers are included only by that folder and by its own tests.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

// Each folder with the folders it may include, from the bottom up.
const std::map<std::string, std::set<std::string>> kLayers = {
    {"common", {}},
    {"gl", {}},
    {"offscreen", {}},
    {"log", {"common"}},
    {"scene", {"common", "log"}},
    {"resources", {"common", "gl", "log", "scene"}},
    {"objects", {"common", "gl", "log", "scene", "resources"}},
    {"factory", {"common", "gl", "log", "scene", "resources", "objects"}},
    {"app", {"common", "gl", "log", "scene", "resources", "objects", "factory"}},
};

struct Include {
    std::string file;    // relative to the tree's root
    std::string folder;  // the included header's folder
    bool internal;       // under that folder's internal/
};

// Every quoted include of an engine folder in the sources under `root/top`.
std::vector<Include> IncludesUnder(const fs::path& root, const std::string& top) {
    static const std::regex include(R"(^\s*#\s*include\s+"([a-z]+)/(internal/)?[^"]+")");
    std::vector<Include> found;
    if (!fs::is_directory(root / top)) return found;
    for (const auto& entry : fs::recursive_directory_iterator(root / top)) {
        const std::string extension = entry.path().extension().string();
        if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp")) continue;
        std::ifstream in(entry.path());
        std::string line;
        std::smatch match;
        while (std::getline(in, line)) {
            if (std::regex_search(line, match, include) && kLayers.count(match[1])) {
                found.push_back({fs::relative(entry.path(), root).generic_string(), match[1],
                                 match[2].matched});
            }
        }
    }
    return found;
}

// The folder of `file` right under its top folder ("src/objects/X.h" is in "objects").
std::string FolderOf(const std::string& file) {
    const auto first = file.find('/');
    const auto second = file.find('/', first + 1);
    return second == std::string::npos ? "" : file.substr(first + 1, second - first - 1);
}

// Where a folder depends on itself through others: "a -> b -> a", or nothing.
std::string LoopThrough(const std::map<std::string, std::set<std::string>>& edges,
                        const std::string& start) {
    std::vector<std::string> path{start};
    std::set<std::string> seen;
    std::function<bool(const std::string&)> visit = [&](const std::string& at) {
        const auto out = edges.find(at);
        if (out == edges.end()) return false;
        for (const std::string& next : out->second) {
            path.push_back(next);
            if (next == start) return true;
            if (seen.insert(next).second && visit(next)) return true;
            path.pop_back();
        }
        return false;
    };
    if (!visit(start)) return {};
    std::string text;
    for (const std::string& folder : path) text += (text.empty() ? "" : " -> ") + folder;
    return text;
}

// What breaks the layering in the tree, sorted, at `root` (with src/, tests/, tools/ and bench/).
std::vector<std::string> LayerViolations(const fs::path& root) {
    std::vector<std::string> violations;
    std::map<std::string, std::set<std::string>> edges;
    for (const Include& include : IncludesUnder(root, "src")) {
        const std::string from = FolderOf(include.file);
        if (from == include.folder) continue;
        edges[from].insert(include.folder);
        const auto layer = kLayers.find(from);
        if (layer == kLayers.end()) {
            violations.push_back(include.file + " is in no known layer");
        } else if (!layer->second.count(include.folder)) {
            violations.push_back(include.file + " includes a header of " + include.folder +
                                 ", which is not below " + from);
        }
        if (include.internal) {
            violations.push_back(include.file + " includes an internal header of " +
                                 include.folder);
        }
    }
    for (const std::string top : {"tests", "tools", "bench"}) {
        for (const Include& include : IncludesUnder(root, top)) {
            if (include.internal && !(top == "tests" && FolderOf(include.file) == include.folder)) {
                violations.push_back(include.file + " includes an internal header of " +
                                     include.folder);
            }
        }
    }
    for (const auto& [folder, _] : edges) {
        if (const std::string loop = LoopThrough(edges, folder); !loop.empty()) {
            violations.push_back("the folders include each other: " + loop);
        }
    }
    std::sort(violations.begin(), violations.end());
    return violations;
}

void WriteSource(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

TEST(Layers, EveryEngineFolderIncludesOnlyTheLayersBelowIt) {
    const std::vector<std::string> violations = LayerViolations(SOURCE_TREE_DIR);
    std::ostringstream listed;
    for (const std::string& violation : violations) listed << violation << "\n";
    EXPECT_TRUE(violations.empty()) << listed.str();
    EXPECT_FALSE(IncludesUnder(SOURCE_TREE_DIR, "src").empty()) << "no sources were read";
}

TEST(Layers, AnUpwardIncludeALoopAndAForeignInternalHeaderAreEachReported) {
    TempFolder tree;
    WriteSource(tree.Path() / "src/objects/Mesh.cpp", "#include \"factory/Factory.h\"\n");
    WriteSource(tree.Path() / "src/factory/Factory.cpp",
                "#include \"objects/Mesh.h\"\n#include \"scene/internal/Reader.h\"\n");
    WriteSource(tree.Path() / "tools/tool/main.cpp", "#include \"objects/internal/Cursor.h\"\n");
    WriteSource(tree.Path() / "tests/objects/CursorTest.cpp",
                "#include \"objects/internal/Cursor.h\"\n");
    const std::vector<std::string> violations = LayerViolations(tree.Path());
    EXPECT_EQ(violations,
              (std::vector<std::string>{
                  "src/factory/Factory.cpp includes an internal header of scene",
                  "src/objects/Mesh.cpp includes a header of factory, which is not below objects",
                  "the folders include each other: factory -> objects -> factory",
                  "the folders include each other: objects -> factory -> objects",
                  "tools/tool/main.cpp includes an internal header of objects",
              }));
}

}  // namespace
