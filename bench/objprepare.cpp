// Times an OBJ model from its file to the first frame that shows it: the parse into an
// object, Prepare() compiling its display list, and one frame drawing it in an offscreen
// context, finished with glFinish().
//
//   objprepare FILE [LABEL]
//
// After one untimed warm-up, BENCH_RUNS runs (default 5) each start from nothing and print
//   PREPARE loader=LABEL file=NAME bytes=B runs=N parse_med=S prepare_med=S frame_med=S
//   total_med=S prepared_to_parse=X ratio_to_parse=X
// on one line, where total is parse + prepare + frame of one run; the ratios are the
// medians of parse + prepare and of the total over the median parse.

#include <GL/glew.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "LoadBench.h"
#include "offscreen/OffscreenContext.h"
#include "objects/OBJFileParser.h"
#include "objects/OBJGraphicObject.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// Lit, depth-tested and culled as the viewer draws.
void SetUpLighting() {
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CW);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glClearColor(0, 0, 0, 1);
}

// Looks at the model's bounding box from above and in front, so that it fills the view.
void LookAt(const OBJGraphicObject& object) {
    Vector3 low{std::numeric_limits<float>::max(), std::numeric_limits<float>::max(),
                std::numeric_limits<float>::max()};
    Vector3 high{-low.x, -low.y, -low.z};
    for (const Vector3& p : object.positions) {
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
    if (object.positions.empty()) low = high = {};
    const float radius = std::max({high.x - low.x, high.y - low.y, high.z - low.z, 1e-3f}) * 0.9f;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-radius, radius, -radius, radius, -4 * radius, 4 * radius);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(30, 1, 0, 0);
    glTranslatef(-(low.x + high.x) / 2, -(low.y + high.y) / 2, -(low.z + high.z) / 2);
}

struct Run {
    double parse = 0;
    double prepare = 0;
    double frame = 0;
};

Run Once(const std::string& path) {
    const Clock::time_point start = Clock::now();
    OBJGraphicObject object;
    OBJFileParser(object, path).Parse(0.1f);
    const Clock::time_point parsed = Clock::now();
    object.Prepare();
    const Clock::time_point prepared = Clock::now();
    LookAt(object);  // not part of the work timed
    const Clock::time_point frameStart = Clock::now();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    object.Draw();
    glFinish();
    const Clock::time_point drawn = Clock::now();
    return {Seconds(start, parsed), Seconds(parsed, prepared), Seconds(frameStart, drawn)};
}

}  // namespace

int main(int argc, char** argv) {
    int status = 0;
    const std::optional<BenchFile> file = BenchArguments(argc, argv, "sceneview", status);
    if (!file) return status;
    const std::string& path = file->path;
    const std::string& label = file->label;
    const std::uintmax_t bytes = file->bytes;
    OffscreenContext context(256, 256);
    if (!context.Failure().empty()) {
        std::fprintf(stderr, "%s: no OpenGL: %s\n", argv[0], context.Failure().c_str());
        return 1;
    }
    SetUpLighting();

    const int runs = BenchRuns();
    std::vector<double> parse, prepare, frame, prepared, total;
    try {
        Once(path);  // warms the page cache and the driver; not counted
        for (int run = 0; run < runs; ++run) {
            const Run times = Once(path);
            parse.push_back(times.parse);
            prepare.push_back(times.prepare);
            frame.push_back(times.frame);
            prepared.push_back(times.parse + times.prepare);
            total.push_back(times.parse + times.prepare + times.frame);
        }
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "%s: %s\n", argv[0], failure.what());
        return 1;
    }
    if (const GLenum glError = glGetError(); glError != GL_NO_ERROR) {
        std::fprintf(stderr, "%s: OpenGL error 0x%x\n", argv[0], glError);
        return 1;
    }
    const double parseMedian = Median(parse);
    const double totalMedian = Median(total);
    std::printf(
        "PREPARE loader=%s file=%s bytes=%ju runs=%d parse_med=%.6f prepare_med=%.6f "
        "frame_med=%.6f total_med=%.6f prepared_to_parse=%.3f ratio_to_parse=%.3f\n",
        label.c_str(), std::filesystem::path(path).filename().c_str(), bytes, runs, parseMedian,
        Median(prepare), Median(frame), totalMedian, Median(prepared) / parseMedian,
        totalMedian / parseMedian);
    return 0;
}
