#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/Problem.h"
#include "factory/ObjectArray.h"
#include "resources/Effect.h"
#include "scene/GraphicObjectEntry.h"

class AbstractGraphicMemento;
class AbstractGraphicObject;
class AnimationClock;
class HtmlLog;
class ResourceRegistry;

// Turns the scene's graphic-object descriptions into objects through the creator
// registered for each model type, and keeps them in creation order for the frame loop.
// The busy flag keeps the frame loop from drawing while objects are being made.
class Factory {
public:
    // Makes a new object from its description, with its model file read and its position
    // and scale set. Throws FactoryException when the object cannot be made. Problems that
    // still leave an object (part of a model file unreadable) go into `problems`, each a
    // sentence for the log.
    using Creator = std::unique_ptr<AbstractGraphicObject> (*)(
        const AbstractGraphicMemento& description, std::vector<Problem>& problems);

    // One graphic object of the scene: its model type and its description.
    using Entry = GraphicObjectEntry;

    // Registers the creators for "OBJ", "R" and "RA".
    Factory(AnimationClock& animationClock, HtmlLog& log);
    // Deletes the objects that Release() has not; with buffers, that needs the context.
    ~Factory();

    Factory(const Factory&) = delete;
    Factory& operator=(const Factory&) = delete;

    // A later registration for the same type replaces the earlier one.
    void RegisterCreator(const std::string& type, Creator creator);

    // The new object of model type `type`; throws FactoryException "Could not find
    // creator: TYPE" when no creator is registered for it (names match exactly). Problems
    // that still leave an object are added to `problems`.
    std::unique_ptr<AbstractGraphicObject> Create(const std::string& type,
                                                  const AbstractGraphicMemento& description,
                                                  std::vector<Problem>& problems) const;

    // Creates the objects of `list` in order, gives each its effect (and an "RA" object
    // the animation clock), then prepares them all. An entry that cannot be made is logged
    // and skipped; problems that still leave an object are logged as errors before it is
    // added. An object whose effect is not registered is logged, with the nearest
    // registered name as a hint, and drawn with the empty "NULL" effect. Every entry about
    // an object opens with its Scene.xml line. The busy flag is set throughout and cleared
    // however this ends.
    void CreateObjects(const std::vector<Entry>& list);

    // Deletes every object, with the GL context current, and empties the array.
    void Release();

    ObjectArray objects;
    bool busy = false;
    // Resolves effect names; set by the scene loader. Without it no effect is found.
    const ResourceRegistry* registry = nullptr;

private:
    const Effect* EffectFor(const std::string& type,
                            const AbstractGraphicMemento& description) const;

    HtmlLog& log;
    std::map<std::string, Creator> creators;
    AnimationClock& animationClock;
    std::vector<std::unique_ptr<AbstractGraphicObject>> owned;
    // What "NULL" stands for: no program, no samplers, no uniforms.
    Effect noEffect;
};
