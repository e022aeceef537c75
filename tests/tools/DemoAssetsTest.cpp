// The demo's committed models are exactly what scripts/make-demo-assets makes with this
// build's scenetool, so the demo never drifts from the tools that claim to make it.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/ChildProcess.h"
#include "support/TempFolder.h"

namespace {

std::string Bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

}  // namespace

TEST(DemoAssetsTest, TheCommittedModelsAreWhatTheScriptMakes) {
    TempFolder out;
    ChildOptions options;
    options.argv = {"/bin/bash", MAKE_DEMO_ASSETS, SCENETOOL_PATH, out.Path().string()};
    options.outputFile = out.Path() / "script-output.txt";
    {
        ChildProcess script(options);
        ASSERT_EQ(script.WaitForExit(std::chrono::seconds(60)), ExitStatus::Code(0))
            << Bytes(options.outputFile);
    }
    const std::filesystem::path committed = std::filesystem::path(DEMO_DIR) / "models";
    for (const char* name : {"torus.obj", "sphere.r", "box.r", "box.ra"}) {
        const std::string made = Bytes(out.Path() / name);
        EXPECT_FALSE(made.empty()) << name;
        EXPECT_TRUE(made == Bytes(committed / name))
            << name << " differs from what scripts/make-demo-assets makes; run it and commit";
    }
}
