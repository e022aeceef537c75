#pragma once

#include <string>
#include <vector>

#include "app/Camera.h"
#include "app/ObjectList.h"
#include "common/AnimationClock.h"
#include "factory/Factory.h"
#include "log/HtmlLog.h"
#include "resources/ResourceRegistry.h"

// Everything a loaded scene lives in, wired in one place: the camera, the animation clock,
// the log (which exists with its header before anything writes to it), the factory and the
// registry (both given the clock and the log), and the frame loop's view of the objects.
// Members are made in that order and destroyed in reverse: registry and factory, then the
// log with its closing lines, then the clock and the camera. The viewer, the tools, the
// tests and the benchmarks each make their own; nothing in the library makes one.
class SceneRuntime {
public:
    // Creates or truncates the log at `logPath`. `clockSource` drives the animation clock
    // and `now` the log's time stamps; the defaults are the system's clocks.
    explicit SceneRuntime(
        const std::string& logPath,
        AnimationClock::MillisecondSource clockSource = AnimationClock::SystemMilliseconds,
        HtmlLog::TimeSource now = {});

    SceneRuntime(const SceneRuntime&) = delete;
    SceneRuntime& operator=(const SceneRuntime&) = delete;

    // Reads Scene.xml in the working folder: resources into the registry, objects into the
    // factory. Throws what Scene::Load throws; what was built before a failure stays.
    void Load();

    // Scene.xml and every file the last Load found named in it, as the scene names them
    // (duplicates possible): what a change on disk would make load differently.
    const std::vector<std::string>& NamedFiles() const { return namedFiles; }

    // Deletes every object, then every texture, program and effect, leaving the runtime
    // ready for another Load. Needs the GL context the scene was loaded in to be current.
    void Release();

    Camera camera;
    AnimationClock animationClock;
    HtmlLog log;
    Factory factory{animationClock, log};
    ResourceRegistry registry{log};
    ObjectList objectList{factory.objects, factory.busy};

private:
    std::vector<std::string> namedFiles{"Scene.xml"};
};
