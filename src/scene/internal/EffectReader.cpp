#include "scene/internal/EffectReader.h"

#include <tinyxml2.h>

#include <array>

#include "log/HtmlLog.h"
#include "scene/SceneException.h"
#include "scene/ValueSyntax.h"

namespace {

using tinyxml2::XMLAttribute;
using tinyxml2::XMLElement;

void ApplyAttribute(EffectMemento& record, const XMLAttribute& attribute, HtmlLog& log) {
    record.SetAttribute(attribute.Name(), attribute.Value());
    log.WriteMessage(std::string(attribute.Name()) + ":\t" + attribute.Value());
}

// The two positional attributes of a Sampler or Float entry: the name, and the value if
// the second attribute carries the expected name.
struct Entry {
    std::string name;
    const char* value = nullptr;  // null when the second attribute is not `valueName`
};

Entry ReadEntry(const XMLElement& element, const char* valueName, HtmlLog& log,
                const std::string& sourceName) {
    const XMLAttribute* first = element.FirstAttribute();
    const XMLAttribute* second = first ? first->Next() : nullptr;
    if (!second) {
        const Problem problem = Problem::AtLine(sourceName, element.GetLineNum(),
                                                std::string(": ") + element.Name() +
                                                    " needs two attributes, name and " + valueName +
                                                    ", but has " + (first ? "one" : "none") + ".");
        log.WriteError(problem);
        throw SceneException(problem.text);
    }
    Entry entry;
    if (std::string_view(first->Name()) == "name") entry.name = first->Value();
    if (std::string_view(second->Name()) == valueName) entry.value = second->Value();
    return entry;
}

template <typename Visit>
void ForEachChild(const XMLElement& parent, const char* name, Visit visit) {
    for (const XMLElement* child = parent.FirstChildElement(name); child;
         child = child->NextSiblingElement(name)) {
        visit(*child);
    }
}

}  // namespace

EffectMemento ReadEffect(const XMLElement& effect, HtmlLog& log, const std::string& sourceName) {
    EffectMemento record;
    record.sourceLine = effect.GetLineNum();
    if (const XMLAttribute* first = effect.FirstAttribute()) ApplyAttribute(record, *first, log);
    if (const XMLElement* shader = effect.FirstChildElement("Shader")) {
        for (const XMLAttribute* a = shader->FirstAttribute(); a; a = a->Next()) {
            ApplyAttribute(record, *a, log);
        }
    }

    ForEachChild(effect, "Sampler", [&](const XMLElement& element) {
        Entry entry = ReadEntry(element, "texture", log, sourceName);
        record.samplers.push_back(
            {std::move(entry.name), entry.value ? entry.value : "", element.GetLineNum()});
    });
    ForEachChild(effect, "Float", [&](const XMLElement& element) {
        Entry entry = ReadEntry(element, "val", log, sourceName);
        record.floats.push_back({std::move(entry.name), entry.value ? ParseFloat(entry.value) : 0});
    });
    ForEachChild(effect, "Float2", [&](const XMLElement& element) {
        Entry entry = ReadEntry(element, "val", log, sourceName);
        std::array<float, 2> xy{};
        if (entry.value) ParseComponents(entry.value, xy);
        record.float2s.push_back({std::move(entry.name), xy[0], xy[1]});
    });
    ForEachChild(effect, "Float3", [&](const XMLElement& element) {
        Entry entry = ReadEntry(element, "val", log, sourceName);
        record.float3s.push_back(
            {std::move(entry.name), entry.value ? ParseVector3(entry.value) : Vector3{}});
    });
    return record;
}
