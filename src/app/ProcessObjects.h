#pragma once

#include <string>

#include "app/AnimationClock.h"
#include "app/Camera.h"
#include "app/ObjectList.h"
#include "factory/Factory.h"
#include "log/HtmlLog.h"
#include "resources/ResourceRegistry.h"

// The viewer's process-wide objects in the order they must come into being: the log exists
// with its header before anything writes to it, and the factory and registry get the
// clock and the log. Members are destroyed in reverse order: the registry and the factory,
// then the log with its closing lines, then the camera. The start-up code owns the one
// instance; nothing in the library creates one.
struct ProcessObjects {
    explicit ProcessObjects(const std::string& logPath) : log(logPath, "Log file") {}

    Camera camera;
    AnimationClock animationClock;
    HtmlLog log;
    Factory factory{animationClock, log};
    ResourceRegistry registry{log};
    ObjectList objectList{factory.objects, factory.busy};
};
