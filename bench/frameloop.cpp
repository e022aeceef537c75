// The frame loop's own cost: the viewer's frame against a hand-written loop that issues
// the same GL calls for the same scene with everything looked up in advance. The scene is
// 1,000 small R objects sharing three GLSL effects, drawn offscreen into a small viewport
// so that rasterising does not hide the calls. Before timing, both loops draw one frame
// and the pictures must be identical, with every object inside the view.
//
// BM_ViewerFrame and BM_MinimalFrame time each loop on its own. CPU time is the
// process's (Mesa's llvmpipe renders in threads of its own); the counter main_cpu_us is
// the main thread's CPU time per frame. BM_ViewerAgainstMinimal draws the two frames in
// turn and gives both times and their ratio as counters; the last line gives the medians
// of its counters over the repetitions (runs are repeated and interleaved):
//   FRAMELOOP objects=N viewer_us=X minimal_us=X ratio=R viewer_main_us=X
//   minimal_main_us=X main_ratio=R
// Google Benchmark's own flags may follow on the command line.

#include <GL/glew.h>
#include <GL/glu.h>
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <numbers>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "app/SceneRuntime.h"
#include "app/Viewer.h"
#include "offscreen/OffscreenContext.h"
#include "objects/RGraphicObject.h"
#include "objects/RFileWriter.h"
#include "resources/Effect.h"

namespace {

constexpr int kObjects = 1000;
constexpr int kColumns = 40;  // kObjects in a 40 x 25 grid
constexpr int kViewportSize = 64;
constexpr float kCubeSize = 5.0f;

// ---------------------------------------------------------------------------------------
// The scene folder

constexpr std::string_view kPaintVertex = R"(#version 120
uniform vec2 repeat;
varying float light;
void main() {
    vec3 normal = normalize(gl_NormalMatrix * gl_Normal);
    light = 0.25 + 0.75 * max(dot(normal, normalize(gl_LightSource[0].position.xyz)), 0.0);
    gl_TexCoord[0] = vec4(gl_MultiTexCoord0.st * repeat, 0.0, 1.0);
    gl_Position = ftransform();
}
)";

constexpr std::string_view kPaintFragment = R"(#version 120
uniform sampler2D pattern;
uniform float textured;
uniform vec3 tint;
varying float light;
void main() {
    vec3 base = mix(vec3(1.0), texture2D(pattern, gl_TexCoord[0].st).rgb, textured);
    gl_FragColor = vec4(base * tint * light, 1.0);
}
)";

constexpr std::string_view kGlowVertex = R"(#version 120
void main() { gl_Position = ftransform(); }
)";

constexpr std::string_view kGlowFragment = R"(#version 120
uniform vec3 tint;
uniform float strength;
void main() { gl_FragColor = vec4(tint * strength, 1.0); }
)";

constexpr std::string_view kEffects = R"(<?xml version="1.0"?>
<Scene>
  <Effects>
    <Textures>
      <Texture name="checker" file="checker.ppm"/>
    </Textures>
    <Shaders>
      <GLSL name="paint" vert="paint.vert" frag="paint.frag"/>
      <GLSL name="glow" vert="glow.vert" frag="glow.frag"/>
    </Shaders>
    <Effect name="checkered">
      <Shader shader="paint"/>
      <Sampler name="pattern" texture="checker"/>
      <Float name="textured" val="1"/>
      <Float2 name="repeat" val="2,2"/>
      <Float3 name="tint" val="1,0.95,0.8"/>
    </Effect>
    <Effect name="plain">
      <Shader shader="paint"/>
      <Float name="textured" val="0"/>
      <Float2 name="repeat" val="1,1"/>
      <Float3 name="tint" val="0.35,0.65,1"/>
    </Effect>
    <Effect name="glowing">
      <Shader shader="glow"/>
      <Float name="strength" val="0.9"/>
      <Float3 name="tint" val="1,0.45,0.2"/>
    </Effect>
  </Effects>
)";

constexpr std::array<const char*, 3> kEffectNames = {"checkered", "plain", "glowing"};

void WriteText(const std::filesystem::path& path, std::string_view text) {
    std::ofstream file(path, std::ios::binary);
    file << text;
    if (!file) throw std::runtime_error("cannot write " + path.string());
}

// An 8 x 8 black and white checker board as a binary PPM.
std::string CheckerImage() {
    std::string image = "P6\n8 8\n255\n";
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) image.append(3, (x + y) % 2 ? '\xff' : '\x20');
    }
    return image;
}

using Point = std::array<float, 3>;

// A convex mesh around the origin made of flat triangles, each wound clockwise seen from
// outside (the viewer's front faces) with its face normal.
struct FlatMesh {
    std::vector<MeshVertex> vertices;
    std::vector<std::uint32_t> indices;

    void AddTriangle(Point a, Point b, Point c) {
        const Point u{b[0] - a[0], b[1] - a[1], b[2] - a[2]};
        const Point v{c[0] - a[0], c[1] - a[1], c[2] - a[2]};
        Point normal{u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2],
                     u[0] * v[1] - u[1] * v[0]};
        const Point centre{(a[0] + b[0] + c[0]) / 3, (a[1] + b[1] + c[1]) / 3,
                           (a[2] + b[2] + c[2]) / 3};
        // Counter-clockwise from outside makes u x v point outward: turn it round.
        if (normal[0] * centre[0] + normal[1] * centre[1] + normal[2] * centre[2] > 0) {
            std::swap(b, c);
        } else {
            for (float& n : normal) n = -n;
        }
        const float length =
            std::sqrt(normal[0] * normal[0] + normal[1] * normal[1] + normal[2] * normal[2]);
        for (const Point& p : {a, b, c}) {
            indices.push_back(static_cast<std::uint32_t>(vertices.size()));
            vertices.push_back({{p[0], p[1], p[2]},
                                {normal[0] / length, normal[1] / length, normal[2] / length},
                                {p[0] + p[2], p[1] + p[2], 0.0f}});
        }
    }
};

FlatMesh Cube(float size) {
    const float h = size / 2;
    FlatMesh mesh;
    for (int axis = 0; axis < 3; ++axis) {
        for (const float side : {-h, h}) {
            const int s = (axis + 1) % 3;
            const int t = (axis + 2) % 3;
            std::array<Point, 4> corners{};
            const float signs[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
            for (int i = 0; i < 4; ++i) {
                corners[i][axis] = side;
                corners[i][s] = signs[i][0] * h;
                corners[i][t] = signs[i][1] * h;
            }
            mesh.AddTriangle(corners[0], corners[1], corners[2]);
            mesh.AddTriangle(corners[0], corners[2], corners[3]);
        }
    }
    return mesh;
}

FlatMesh Octahedron(float size) {
    const float h = size / 2;
    FlatMesh mesh;
    for (const float x : {-h, h}) {
        for (const float y : {-h, h}) {
            for (const float z : {-h, h}) mesh.AddTriangle({x, 0, 0}, {0, y, 0}, {0, 0, z});
        }
    }
    return mesh;
}

void WriteMesh(const std::filesystem::path& path, const FlatMesh& mesh) {
    const std::string problem = WriteModelFile(path, EncodeRFile(mesh.vertices, mesh.indices));
    if (!problem.empty()) throw std::runtime_error(problem);
}

// Where the camera looks at start: 400 units ahead of its start position, and the
// directions across and up the view there.
constexpr Point kViewCentre{-250.0f, 300.0f, 2654.0f};
const Point kAcross{static_cast<float>(std::cos(std::numbers::pi / 6)), 0.0f, 0.5f};

// The objects' positions: a grid square to the viewing direction, 300 by 200 units
// around the view's centre, well inside the 45-degree view 400 units away.
std::vector<Point> ObjectPositions() {
    std::vector<Point> positions;
    constexpr int rows = kObjects / kColumns;
    for (int i = 0; i < kObjects; ++i) {
        const float u = -150.0f + 300.0f * static_cast<float>(i % kColumns) / (kColumns - 1);
        const float v = -100.0f + 200.0f * static_cast<float>(i / kColumns) / (rows - 1);
        positions.push_back(
            {kViewCentre[0] + u * kAcross[0], kViewCentre[1] + v, kViewCentre[2] + u * kAcross[2]});
    }
    return positions;
}

// Scene.xml and every file it names, in `folder`.
void WriteSceneFolder(const std::filesystem::path& folder) {
    WriteText(folder / "paint.vert", kPaintVertex);
    WriteText(folder / "paint.frag", kPaintFragment);
    WriteText(folder / "glow.vert", kGlowVertex);
    WriteText(folder / "glow.frag", kGlowFragment);
    WriteText(folder / "checker.ppm", CheckerImage());
    WriteMesh(folder / "cube.r", Cube(kCubeSize));
    WriteMesh(folder / "octahedron.r", Octahedron(kCubeSize * 1.2f));

    std::ostringstream scene;
    scene << kEffects << "  <GraphicObjects>\n";
    const std::vector<Point> positions = ObjectPositions();
    for (int i = 0; i < kObjects; ++i) {
        const Point& p = positions[static_cast<std::size_t>(i)];
        scene << "    <R file=\"" << (i % 2 ? "octahedron.r" : "cube.r") << "\" effect=\""
              << kEffectNames[static_cast<std::size_t>(i % 3)] << "\" pos=\"" << p[0] << ',' << p[1]
              << ',' << p[2] << "\" scale=\"" << (i % 5 ? "1,1,1" : "0.8,1,1") << "\"/>\n";
    }
    scene << "  </GraphicObjects>\n</Scene>\n";
    WriteText(folder / "Scene.xml", scene.str());
}

// A fresh folder under the temporary folder, removed with its content at the end.
class TemporaryFolder {
public:
    TemporaryFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "frameloop-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
        path = pattern;
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    std::filesystem::path path;
};

// ---------------------------------------------------------------------------------------
// The scene loaded as the viewer loads it (as scenetool's SceneSession does, which lives
// in the tool and is not linked here)

class LoadedScene {
public:
    LoadedScene() : context(kViewportSize, kViewportSize) {
        if (!context.Failure().empty()) {
            throw std::runtime_error("no OpenGL context: " + context.Failure());
        }
        runtime.log.SetErrorListener(
            [this](const Problem& problem) { errors.push_back(problem.text); });
        viewer.Init();
        viewer.Reshape(kViewportSize, kViewportSize);
        runtime.log.SetErrorListener({});
    }
    ~LoadedScene() { runtime.Release(); }
    LoadedScene(const LoadedScene&) = delete;
    LoadedScene& operator=(const LoadedScene&) = delete;

    // First, so that it is current while everything else is made and still current while
    // the objects and resources are released.
    OffscreenContext context;
    SceneRuntime runtime{"/dev/null", [] { return std::uint32_t{0}; }};
    Viewer viewer{runtime.camera, runtime.animationClock, runtime.log, runtime.objectList,
                  [this] { runtime.Load(); }};
    std::vector<std::string> errors;
};

// ---------------------------------------------------------------------------------------
// The minimal loop: the viewer's GL calls, with every location, name and value taken
// from the loaded scene in advance

struct MinimalUniform {
    GLint location;
    std::array<float, 3> value;
};

struct MinimalSampler {
    GLuint texture;
    GLint location;
};

struct MinimalEffect {
    GLuint program;
    std::vector<MinimalUniform> floats;
    std::vector<MinimalSampler> samplers;
    std::vector<MinimalUniform> float2s;
    std::vector<MinimalUniform> float3s;
};

struct MinimalObject {
    const MinimalEffect* effect;
    Point position;
    float scale;
    GLuint vertexBuffer;
    GLsizei indexCount;
    const std::uint32_t* indices;
};

struct MinimalScene {
    float pitch, yaw;
    Point eye;
    std::vector<std::unique_ptr<MinimalEffect>> effects;
    std::vector<MinimalObject> objects;
};

MinimalEffect Resolve(const Effect& effect) {
    const GLuint program = effect.program;
    const auto at = [program](const std::string& name) {
        return glGetUniformLocation(program, name.c_str());
    };
    MinimalEffect resolved{program, {}, {}, {}, {}};
    for (const auto& u : effect.floats) resolved.floats.push_back({at(u.name), {u.value, 0, 0}});
    for (const auto& s : effect.samplers) resolved.samplers.push_back({s.texture, at(s.name)});
    for (const auto& u : effect.float2s) resolved.float2s.push_back({at(u.name), {u.x, u.y, 0}});
    for (const auto& u : effect.float3s) {
        resolved.float3s.push_back({at(u.name), {u.value.x, u.value.y, u.value.z}});
    }
    return resolved;
}

MinimalScene ResolveScene(const LoadedScene& scene) {
    MinimalScene minimal{scene.runtime.camera.pitch,
                         scene.runtime.camera.yaw,
                         {scene.runtime.camera.position.x, scene.runtime.camera.position.y,
                          scene.runtime.camera.position.z},
                         {},
                         {}};
    std::map<const Effect*, const MinimalEffect*> resolved;
    for (std::size_t i = 0; i < scene.runtime.factory.objects.Count(); ++i) {
        const auto* object = dynamic_cast<const RGraphicObject*>(scene.runtime.factory.objects[i]);
        if (!object || !object->effect) throw std::runtime_error("an object is not an R object");
        const MinimalEffect*& effect = resolved[object->effect];
        if (!effect) {
            minimal.effects.push_back(std::make_unique<MinimalEffect>(Resolve(*object->effect)));
            effect = minimal.effects.back().get();
        }
        minimal.objects.push_back({effect,
                                   {object->position.x, object->position.y, object->position.z},
                                   object->scale.x,
                                   object->vertexBuffer.Id(),
                                   static_cast<GLsizei>(object->indices.count),
                                   object->indices.data.get()});
    }
    return minimal;
}

void DrawMinimalFrame(const MinimalScene& scene) {
    constexpr GLsizei stride = sizeof(MeshVertex);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor3f(1.0f, 1.0f, 1.0f);
    glLoadIdentity();
    glRotatef(scene.pitch, 1.0f, 0.0f, 0.0f);
    glRotatef(scene.yaw, 0.0f, 1.0f, 0.0f);
    glTranslatef(-scene.eye[0], -scene.eye[1], scene.eye[2]);
    glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
    for (const MinimalObject& object : scene.objects) {
        glPushMatrix();
        const MinimalEffect& effect = *object.effect;
        glUseProgram(effect.program);
        for (const MinimalUniform& u : effect.floats) glUniform1f(u.location, u.value[0]);
        GLenum unit = 0;
        for (const MinimalSampler& s : effect.samplers) {
            glActiveTexture(GL_TEXTURE0 + unit);
            glBindTexture(GL_TEXTURE_2D, s.texture);
            glUniform1i(s.location, static_cast<GLint>(unit));
            ++unit;
        }
        for (const MinimalUniform& u : effect.float2s) {
            glUniform2f(u.location, u.value[0], u.value[1]);
        }
        for (const MinimalUniform& u : effect.float3s) {
            glUniform3f(u.location, u.value[0], u.value[1], u.value[2]);
        }
        glTranslatef(object.position[0], object.position[1], object.position[2]);
        glScalef(object.scale, object.scale, object.scale);
        glBindBuffer(GL_ARRAY_BUFFER, object.vertexBuffer);
        glEnableClientState(GL_VERTEX_ARRAY);
        glVertexPointer(3, GL_FLOAT, stride,
                        reinterpret_cast<const void*>(offsetof(MeshVertex, position)));
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(GL_FLOAT, stride,
                        reinterpret_cast<const void*>(offsetof(MeshVertex, normal)));
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(3, GL_FLOAT, stride,
                          reinterpret_cast<const void*>(offsetof(MeshVertex, texCoord)));
        glDrawElements(GL_TRIANGLES, object.indexCount, GL_UNSIGNED_INT, object.indices);
        glPopMatrix();
    }
    glFlush();
}

// ---------------------------------------------------------------------------------------
// Checks before timing

// Every object's centre inside the viewport and the depth range at start.
bool EveryObjectInView(const MinimalScene& scene) {
    glLoadIdentity();
    glRotatef(scene.pitch, 1.0f, 0.0f, 0.0f);
    glRotatef(scene.yaw, 0.0f, 1.0f, 0.0f);
    glTranslatef(-scene.eye[0], -scene.eye[1], scene.eye[2]);
    glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
    GLdouble modelview[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    for (const MinimalObject& object : scene.objects) {
        GLdouble x, y, z;
        if (!gluProject(object.position[0], object.position[1], object.position[2], modelview,
                        projection, viewport, &x, &y, &z) ||
            x < 1 || y < 1 || x > viewport[2] - 1 || y > viewport[3] - 1 || z <= 0 || z >= 1) {
            return false;
        }
    }
    return true;
}

// How many pixels are not the clear colour.
std::size_t DrawnPixels(const std::vector<std::uint8_t>& rgba) {
    std::size_t drawn = 0;
    for (std::size_t i = 0; i < rgba.size(); i += 4) {
        if (rgba[i] || rgba[i + 1] || rgba[i + 2]) ++drawn;
    }
    return drawn;
}

// ---------------------------------------------------------------------------------------
// The benchmarks

LoadedScene* loaded = nullptr;
const MinimalScene* minimal = nullptr;

double CpuMicroseconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) * 1e-3;
}

// CPU time so far, microseconds: the whole process's and the main thread's.
struct CpuTime {
    double process = CpuMicroseconds(CLOCK_PROCESS_CPUTIME_ID);
    double mainThread = CpuMicroseconds(CLOCK_THREAD_CPUTIME_ID);
};

void DrawViewerFrame() {
    loaded->viewer.Display();
    glFinish();
}

void DrawMinimalLoopFrame() {
    DrawMinimalFrame(*minimal);
    glFinish();
}

template <void (*drawFrame)()>
void TimeFrames(benchmark::State& state) {
    const CpuTime start;
    for (auto _ : state) drawFrame();
    state.counters["main_cpu_us"] = benchmark::Counter(CpuTime().mainThread - start.mainThread,
                                                       benchmark::Counter::kAvgIterations);
}

void BM_ViewerFrame(benchmark::State& state) { TimeFrames<DrawViewerFrame>(state); }
void BM_MinimalFrame(benchmark::State& state) { TimeFrames<DrawMinimalLoopFrame>(state); }

// The two frames in turn, each timed on its own, the order swapped every iteration: other
// work on the machine then weighs on both alike, and the ratio holds still where the two
// benchmarks above, seconds apart, can differ by several per cent under load.
void BM_ViewerAgainstMinimal(benchmark::State& state) {
    CpuTime viewer{0, 0}, minimalLoop{0, 0};
    const auto timed = [](void (*drawFrame)(), CpuTime& total) {
        const CpuTime before;
        drawFrame();
        const CpuTime after;
        total.process += after.process - before.process;
        total.mainThread += after.mainThread - before.mainThread;
    };
    bool viewerFirst = true;
    for (auto _ : state) {
        if (viewerFirst) timed(DrawViewerFrame, viewer);
        timed(DrawMinimalLoopFrame, minimalLoop);
        if (!viewerFirst) timed(DrawViewerFrame, viewer);
        viewerFirst = !viewerFirst;
    }
    using benchmark::Counter;
    state.counters["viewer_us"] = Counter(viewer.process, Counter::kAvgIterations);
    state.counters["minimal_us"] = Counter(minimalLoop.process, Counter::kAvgIterations);
    state.counters["ratio"] = viewer.process / minimalLoop.process;
    state.counters["viewer_main_us"] = Counter(viewer.mainThread, Counter::kAvgIterations);
    state.counters["minimal_main_us"] = Counter(minimalLoop.mainThread, Counter::kAvgIterations);
    state.counters["main_ratio"] = viewer.mainThread / minimalLoop.mainThread;
}

BENCHMARK(BM_ViewerFrame)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MinimalFrame)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ViewerAgainstMinimal)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

// The console table, then the summary line: the medians over the repetitions of the
// paired benchmark's counters.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    explicit SummaryReporter(OutputOptions options) : ConsoleReporter(options) {}

    void ReportRuns(const std::vector<Run>& reports) override {
        ConsoleReporter::ReportRuns(reports);
        for (const Run& run : reports) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred ||
                run.run_name.function_name != "BM_ViewerAgainstMinimal") {
                continue;
            }
            for (const auto& [name, counter] : run.counters) paired[name].push_back(counter);
        }
    }

    // Prints the summary line; false when the paired benchmark did not run (filtered out).
    bool PrintSummary() {
        if (paired.empty()) return false;
        std::printf(
            "FRAMELOOP objects=%d viewer_us=%.1f minimal_us=%.1f ratio=%.3f viewer_main_us=%.1f "
            "minimal_main_us=%.1f main_ratio=%.3f\n",
            kObjects, Median("viewer_us"), Median("minimal_us"), Median("ratio"),
            Median("viewer_main_us"), Median("minimal_main_us"), Median("main_ratio"));
        return true;
    }

private:
    double Median(const std::string& name) {
        std::vector<double> values = paired[name];
        if (values.empty()) return 0.0;
        std::sort(values.begin(), values.end());
        const std::size_t middle = values.size() / 2;
        return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
    }

    std::map<std::string, std::vector<double>> paired;
};

}  // namespace

int main(int argc, char** argv) {
    // Repeated and interleaved unless the command line says otherwise, so that a burst of
    // other work on the machine does not land on one benchmark alone.
    std::vector<char*> arguments{argv[0]};
    std::string repetitions = "--benchmark_repetitions=5";
    std::string interleaving = "--benchmark_enable_random_interleaving=true";
    arguments.push_back(repetitions.data());
    arguments.push_back(interleaving.data());
    arguments.insert(arguments.end(), argv + 1, argv + argc);
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    if (benchmark::ReportUnrecognizedArguments(count, arguments.data())) return 2;

    try {
        TemporaryFolder folder;
        WriteSceneFolder(folder.path);
        const std::filesystem::path start = std::filesystem::current_path();
        std::filesystem::current_path(folder.path);
        LoadedScene scene;
        std::filesystem::current_path(start);

        for (const std::string& error : scene.errors) {
            std::fprintf(stderr, "frameloop: the scene did not load cleanly: %s\n", error.c_str());
        }
        if (!scene.errors.empty()) return 1;
        if (scene.runtime.factory.objects.Count() != kObjects) {
            std::fprintf(stderr, "frameloop: %zu objects were made, not %d\n",
                         scene.runtime.factory.objects.Count(), kObjects);
            return 1;
        }
        const MinimalScene resolved = ResolveScene(scene);
        if (!EveryObjectInView(resolved)) {
            std::fprintf(stderr, "frameloop: not every object is in view\n");
            return 1;
        }

        scene.viewer.Display();
        glFinish();
        const std::vector<std::uint8_t> viewerPicture = scene.context.ReadPixels();
        glClearColor(1.0f, 0.0f, 1.0f, 1.0f);  // so a frame that does not clear shows
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        DrawMinimalFrame(resolved);
        glFinish();
        const std::vector<std::uint8_t> minimalPicture = scene.context.ReadPixels();
        const std::size_t drawn = DrawnPixels(viewerPicture);
        if (drawn < viewerPicture.size() / 4 / 10) {
            std::fprintf(stderr, "frameloop: the viewer drew only %zu pixels\n", drawn);
            return 1;
        }
        if (viewerPicture != minimalPicture) {
            std::fprintf(stderr, "frameloop: the minimal loop draws another picture\n");
            return 1;
        }
        if (const GLenum error = glGetError(); error != GL_NO_ERROR) {
            std::fprintf(stderr, "frameloop: GL error 0x%x before timing\n", error);
            return 1;
        }

        loaded = &scene;
        minimal = &resolved;
        SummaryReporter reporter(isatty(fileno(stdout)) ? benchmark::ConsoleReporter::OO_Defaults
                                                        : benchmark::ConsoleReporter::OO_Tabular);
        benchmark::RunSpecifiedBenchmarks(&reporter);
        benchmark::Shutdown();
        if (!reporter.PrintSummary()) {
            std::fprintf(stderr, "frameloop: no summary: BM_ViewerAgainstMinimal did not run\n");
        }
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "frameloop: %s\n", failure.what());
        return 1;
    }
    return 0;
}
