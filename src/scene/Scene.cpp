#include "scene/Scene.h"

#include <tinyxml2.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/FileError.h"
#include "common/WholeFile.h"
#include "log/HtmlLog.h"
#include "scene/internal/EffectReader.h"
#include "scene/internal/XmlErrorWords.h"
#include "scene/FileGraphicMemento.h"
#include "scene/SceneException.h"
#include "scene/SceneSink.h"

namespace {

using tinyxml2::XMLAttribute;
using tinyxml2::XMLDocument;
using tinyxml2::XMLElement;

constexpr const char* kFileName = "Scene.xml";

// Logs the fixed message, which follows the entry saying why, and throws it.
[[noreturn]] void Fail(HtmlLog& log, const std::string& message) {
    log.WriteError(Problem::Followup(kFileName, message));
    throw SceneException(message);
}

// The child `name` of `parent`; when there is none, logs where it is missing, then fails
// with `message`.
const XMLElement& RequireChild(const XMLElement& parent, const char* name, HtmlLog& log,
                               const std::string& message) {
    if (const XMLElement* child = parent.FirstChildElement(name)) return *child;
    log.WriteError(Problem::AtLine(
        kFileName, parent.GetLineNum(),
        std::string(": the ") + parent.Name() + " element has no " + name + " element."));
    Fail(log, message);
}

// Parses `text` into `document`; why it could not, in the user's terms, or a problem
// with no text.
Problem Parsed(XMLDocument& document, std::string_view text) {
    // An empty view may have no data at all; TinyXML-2 reports it as an empty document.
    if (document.Parse(text.empty() ? "" : text.data(), text.size()) == tinyxml2::XML_SUCCESS) {
        return {};
    }
    if (document.ErrorID() == tinyxml2::XML_ERROR_EMPTY_DOCUMENT) {
        return Problem::At(kFileName, 0, std::string(kFileName) + " holds no XML element.");
    }
    const XmlErrorWords error = XmlErrorWords::Of(document, text);
    return Problem::AtLine(kFileName, error.line, " is not well-formed XML: " + error.words);
}

// Applies every attribute of `element` to `record` in document order, logging each as
// "name:\tvalue".
template <typename Record>
void ApplyAttributes(const XMLElement& element, Record& record, HtmlLog& log) {
    for (const XMLAttribute* a = element.FirstAttribute(); a; a = a->Next()) {
        record.SetAttribute(a->Name(), a->Value());
        log.WriteMessage(std::string(a->Name()) + ":\t" + a->Value());
    }
}

// The records of every child of the section `sectionName` named `recordName`; every
// child gets a heading, others are skipped after it.
template <typename Record>
std::vector<Record> ReadSection(const XMLElement& effects, const char* sectionName,
                                const char* recordName, const std::string& missing, HtmlLog& log) {
    const XMLElement& section = RequireChild(effects, sectionName, log, missing);
    std::vector<Record> records;
    for (const XMLElement* child = section.FirstChildElement(); child;
         child = child->NextSiblingElement()) {
        log.WriteHeading(child->Name());
        if (std::strcmp(child->Name(), recordName) != 0) continue;
        Record& record = records.emplace_back();
        record.sourceLine = child->GetLineNum();
        ApplyAttributes(*child, record, log);
    }
    return records;
}

// Runs one section; a failure is logged with the section's fixed message and loading
// goes on.
template <typename Section>
void Guarded(HtmlLog& log, const char* what, Section section) {
    try {
        section();
    } catch (...) {
        log.WriteError(Problem::Followup(
            kFileName, std::string("Scene::Load() catch exception in ") + what + " loading."));
    }
}

bool IsModelType(const char* name) {
    return std::strcmp(name, "OBJ") == 0 || std::strcmp(name, "R") == 0 ||
           std::strcmp(name, "RA") == 0;
}

// The reading that Load and Read share: `open` fills the document, from the file or from
// a text, and returns why it could not (a problem with no text when it could). The records go to
// `sink` section by section; the objects once the document is released.
template <typename Open>
void ReadScene(HtmlLog& log, SceneSink& sink, Open open) {
    log.WriteTitle("Scene initialization");
    std::vector<GraphicObjectEntry> objects;
    {
        XMLDocument document;
        log.WriteHeading("file Scene.xml");
        if (const Problem failure = open(document); !failure.text.empty()) {
            log.WriteError(failure);
            Fail(log, "File Scene.xml not exist.");
        }
        log.WriteMessage("start parsing \t" + log.TimeStamp());
        log.WriteMessage("Creating scene ...");

        const XMLElement* scene = document.FirstChildElement("Scene");
        if (!scene) {
            constexpr const char* kNoScene = "No Scene tag in Scene.xml.";
            const XMLElement* root = document.RootElement();
            if (!root) {
                // No element at all: the fixed entry is the only one, so it is the error.
                log.WriteError(Problem::At(kFileName, 0, kNoScene));
                throw SceneException(kNoScene);
            }
            log.WriteError(Problem::AtLine(kFileName, root->GetLineNum(),
                                           std::string(": the top element is ") + root->Name() +
                                               "; the scene must be in a Scene element."));
            Fail(log, kNoScene);
        }
        const XMLElement& effects =
            RequireChild(*scene, "Effects", log, "No Effects tag in Scene.xml.");

        Guarded(log, "textures", [&] { Scene::LoadTextures(effects, log, sink); });
        Guarded(log, "shaders", [&] { Scene::LoadShaders(effects, log, sink); });
        Guarded(log, "effects", [&] { Scene::LoadEffects(effects, log, sink); });

        sink.ResourcesRead();

        const XMLElement& graphicObjects =
            RequireChild(*scene, "GraphicObjects", log, "No GraphicObjects tag in Scene.xml.");
        for (const XMLElement* child = graphicObjects.FirstChildElement(); child;
             child = child->NextSiblingElement()) {
            log.WriteHeading(child->Name());
            if (!IsModelType(child->Name())) continue;
            auto record = std::make_unique<FileGraphicMemento>();
            record->sourceLine = child->GetLineNum();
            ApplyAttributes(*child, *record, log);
            objects.push_back({child->Name(), std::move(record)});
        }
    }  // the document is released here
    log.WriteMessage("end parsing \t" + log.TimeStamp());
    log.WriteMessage("Creating graphic object.");
    sink.CreateObjects(objects);
}

}  // namespace

void Scene::Load(HtmlLog& log, SceneSink& sink) {
    ReadScene(log, sink, [](XMLDocument& document) {
        // Read here rather than by TinyXML-2, which calls every file it cannot open "not
        // found": the system's reason tells a user what to fix.
        std::string text;
        try {
            text = ReadWholeFile(kFileName);
        } catch (const FileError& failure) {
            if (failure.stage == FileError::Stage::Open && failure.errorNumber == ENOENT) {
                std::error_code ignored;
                return Problem::At(kFileName, 0,
                                   std::string(kFileName) +
                                       " was not found in the working folder " +
                                       std::filesystem::current_path(ignored).string() + ".");
            }
            return Problem::At(kFileName, 0, kFileName + failure.Reason());
        }
        return Parsed(document, text);
    });
}

void Scene::Read(std::string_view xmlText, HtmlLog& log, SceneSink& sink) {
    ReadScene(log, sink, [xmlText](XMLDocument& document) { return Parsed(document, xmlText); });
}

void Scene::LoadTextures(const XMLElement& effects, HtmlLog& log, SceneSink& sink) {
    sink.AddTextures(ReadSection<TextureMemento>(effects, "Textures", "Texture",
                                                 "No Textures tag in Scene.xml", log));
}

void Scene::LoadShaders(const XMLElement& effects, HtmlLog& log, SceneSink& sink) {
    sink.AddShaderPrograms(ReadSection<GLSLShaderMemento>(effects, "Shaders", "GLSL",
                                                          "No Shaders tag in Scene.xml.", log));
}

void Scene::LoadEffects(const XMLElement& effects, HtmlLog& log, SceneSink& sink) {
    std::vector<EffectMemento> records(1);
    records.front().SetAttribute("name", "NULL");
    records.front().SetAttribute("shader", "NULL");
    for (const XMLElement* effect = effects.FirstChildElement("Effect"); effect;
         effect = effect->NextSiblingElement("Effect")) {
        records.push_back(ReadEffect(*effect, log, kFileName));
    }
    sink.AddEffects(records);
}
