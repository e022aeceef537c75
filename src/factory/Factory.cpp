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

std::unique_ptr<AbstractGraphicObject> CreateOBJ(const AbstractGraphicMemento& description,
                                                 std::vector<std::string>& problems) {
    return CreateOBJGraphicObject(description, problems);
}

std::unique_ptr<AbstractGraphicObject> CreateR(const AbstractGraphicMemento& description,
                                               std::vector<std::string>&) {
    return CreateRGraphicObject(description);
}

std::unique_ptr<AbstractGraphicObject> CreateRA(const AbstractGraphicMemento& description,
                                                std::vector<std::string>&) {
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
                                                       std::vector<std::string>& problems) const {
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
            std::vector<std::string> problems;
            std::unique_ptr<AbstractGraphicObject> object =
                Create(entry.type, *entry.description, problems);
            for (const std::string& problem : problems) log.WriteError(problem);
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
            log.WriteError(failure.what());
        } catch (...) {
            log.WriteError("Unexpected error. While creating object. " + entry.type);
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

    std::string problem;
    if (description.sourceLine > 0) {
        problem = "Scene.xml line " + std::to_string(description.sourceLine) + ": ";
    }
    problem += (problem.empty() ? "The " : "the ") + type + " object";
    if (const auto* file = dynamic_cast<const FileGraphicMemento*>(&description)) {
        problem += " " + file->fileName;
    }
    problem += name.empty() ? " names no effect"
                            : " names the effect " + name + ", which is not registered";
    log.WriteError(problem + "; it is drawn with the NULL effect.");
    return &noEffect;
}

void Factory::Release() {
    objects.Clear();
    owned.clear();
}
