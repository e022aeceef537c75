#include "app/SceneRuntime.h"

#include "app/internal/RegistrySink.h"
#include "scene/Scene.h"

SceneRuntime::SceneRuntime(const std::string& logPath,
                           AnimationClock::MillisecondSource clockSource, HtmlLog::TimeSource now)
    : animationClock(std::move(clockSource)), log(logPath, "Log file", std::move(now)) {}

void SceneRuntime::Load() {
    namedFiles = {"Scene.xml"};
    RegistrySink sink(registry, factory, namedFiles);
    Scene::Load(log, sink);
}

void SceneRuntime::Release() {
    // The objects point at the effects, so they go first.
    factory.Release();
    registry.Release();
}
