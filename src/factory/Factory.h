#pragma once

#include "factory/ObjectArray.h"

class AnimationClock;
class HtmlLog;

// Holds the scene's graphic objects and the busy flag that keeps the frame loop from
// drawing while objects are being made. Creating objects from scene descriptions comes
// with the model-type creators; until then the array stays empty.
class Factory {
public:
    Factory(AnimationClock& animationClock, HtmlLog& log);

    Factory(const Factory&) = delete;
    Factory& operator=(const Factory&) = delete;

    ObjectArray objects;
    bool busy = false;

private:
    HtmlLog& log;
    AnimationClock& animationClock;
};
