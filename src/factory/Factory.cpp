#include "factory/Factory.h"

Factory::Factory(AnimationClock& animationClock, HtmlLog& log)
    : log(log), animationClock(animationClock) {}
