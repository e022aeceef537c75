#include "factory/Factory.h"

#include "factory/Creators.h"
#include "factory/FactoryException.h"
#include "log/HtmlLog.h"
#include "resources/ResourceRegistry.h"
#include "scene/FileGraphicMemento.h"

namespace {

// Clears the flag on every way out, so a failure cannot stop drawing for good.
class BusyScope {
public:
    explicit BusyScope(bool& busy) : busy(busy) { busy = true; }
    ~BusyScope() { busy = false; }

private:
    bool& busy;
};

// A problem of an object, its entry opened with the object's line. A failure with no place
// inside a model file is placed at the object's element.
Problem AtObject(Problem problem, const AbstractGraphicMemento& description) {
    if (problem.line == 0 && !problem.offset) {
        problem.file = "Scene.xml";
        problem.line = description.sourceLine;
    }
    return problem.DescribedAt("Scene.xml", description.sourceLine);
}

std::unique_ptr<AbstractGraphicObject> CreateOBJ(const AbstractGraphicMemento& description,
                                                 std::vector<Problem>& problems) {
    return CreateOBJGraphicObject(description, problems);
}

std::unique_ptr<AbstractGraphicObject> CreateR(const AbstractGraphicMemento& description,
                                               std::vector<Problem>&) {
    return CreateRGraphicObject(description);
}

std::unique_ptr<AbstractGraphicObject> CreateRA(const AbstractGraphicMemento& description,
                                                std::vector<Problem>&) {
    return CreateRAGraphicObject(description);
}

}  // namespace

Factory::Factory(AnimationClock& animationClock, HtmlLog& log)
    : log(log), animationClock(animationClock) {
    RegisterCreator("OBJ", CreateOBJ);
    RegisterCreator("R", CreateR);
    RegisterCreator("RA", CreateRA);
}

Factory::~Factory() = default;

void Factory::RegisterCreator(const std::string& type, Creator creator) {
    creators[type] = creator;
}

std::unique_ptr<AbstractGraphicObject> Factory::Create(const std::string& type,
                                                       const AbstractGraphicMemento& description,
                                                       std::vector<Problem>& problems) const {
    const auto found = creators.find(type);
    if (found == creators.end()) throw FactoryException("Could not find creator: " + type);
    return found->second(description, problems);
}

void Factory::CreateObjects(const std::vector<Entry>& list) {
    const BusyScope busyScope(busy);
    log.WriteHeading("Factory.");
    log.WriteMessage("starting at: \t" + log.TimeStamp());
    for (const Entry& entry : list) {
        try {
            std::vector<Problem> problems;
            std::unique_ptr<AbstractGraphicObject> object =
                Create(entry.type, *entry.description, problems);
            for (const Problem& problem : problems) {
                log.WriteError(AtObject(problem, *entry.description));
            }
            AbstractGraphicObject* made = object.get();
            owned.push_back(std::move(object));
            objects.Append(made);
            made->effect = EffectFor(entry.type, *entry.description);
            if (entry.type == "RA") {
                // Every animated object shares the clock that the space key pauses.
                if (auto* animated = dynamic_cast<FrameAnimatableRGO*>(made)) {
                    animated->clock = &animationClock;
                }
            }
        } catch (const FactoryException& failure) {
            log.WriteError(AtObject(failure.problem, *entry.description));
        } catch (...) {
            log.WriteError(
                AtObject(Problem::Text("Unexpected error. While creating object. " + entry.type),
                         *entry.description));
        }
    }
    log.WriteMessage("ending at:\t" + log.TimeStamp());
    for (std::size_t i = 0; i < objects.Count(); ++i) objects[i]->Prepare();
}

const Effect* Factory::EffectFor(const std::string& type,
                                 const AbstractGraphicMemento& description) const {
    const std::string& name = description.effectName;
    if (const Effect* effect = registry ? registry->FindEffect(name) : nullptr) return effect;
    // "NULL" is the empty effect by definition, even when the effects failed to load.
    if (name == "NULL") return &noEffect;

    const int line = description.sourceLine;
    std::string what = " " + type + " object";
    if (const auto* file = dynamic_cast<const FileGraphicMemento*>(&description)) {
        what += " " + file->fileName;
    }
    what += name.empty() ? " names no effect"
                         : " names the effect " + name + ", which is not registered" +
                               (registry ? registry->DidYouMean(registry->Effects(), name) : "");
    what += "; it is drawn with the NULL effect.";
    log.WriteError(line > 0 ? Problem::AtLine("Scene.xml", line, ": the" + what)
                            : Problem::At("Scene.xml", 0, "The" + what));
    return &noEffect;
}

void Factory::Release() {
    objects.Clear();
    owned.clear();
}
