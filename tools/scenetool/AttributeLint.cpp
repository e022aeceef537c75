#include "AttributeLint.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <iterator>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "common/NearestName.h"
#include "scene/ValueSyntax.h"

namespace {

constexpr const char* kSceneFile = "Scene.xml";

enum class Order {
    Any,         // every attribute the record knows is applied
    ByPosition,  // the first must be names[0], the second names[1]; later ones are not read
    FirstOnly,   // only the first attribute is applied
};

struct Accepted {
    std::vector<std::string> names;
    Order order;
};

// What each element takes, as the loader reads it: the mementos' SetAttribute for the
// objects, Texture, GLSL and an Effect's first Shader; ReadEffect for the rest.
std::optional<Accepted> AcceptedBy(const std::string& element) {
    if (element == "OBJ" || element == "R" || element == "RA") {
        return Accepted{{"file", "effect", "pos", "scale"}, Order::Any};
    }
    if (element == "Texture") return Accepted{{"name", "file"}, Order::Any};
    if (element == "GLSL") return Accepted{{"name", "vert", "frag"}, Order::Any};
    if (element == "Shader") return Accepted{{"name", "shader"}, Order::Any};
    if (element == "Effect") return Accepted{{"name"}, Order::FirstOnly};
    if (element == "Sampler") return Accepted{{"name", "texture"}, Order::ByPosition};
    if (element == "Float" || element == "Float2" || element == "Float3") {
        return Accepted{{"name", "val"}, Order::ByPosition};
    }
    return std::nullopt;
}

// "a", "a and b", "a, b and c".
std::string Listed(const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) text += i + 1 == names.size() ? " and " : ", ";
        text += names[i];
    }
    return text;
}

std::string Ordinal(std::size_t index) {
    static const char* const kOrdinals[] = {"first", "second", "third", "fourth", "fifth"};
    return index < std::size(kOrdinals) ? kOrdinals[index] : "number " + std::to_string(index + 1);
}

std::string Hint(const std::string& name, const std::vector<std::string>& known) {
    const auto nearest = NearestName(name, known);
    return nearest ? " (did you mean " + *nearest + "?)" : "";
}

// Why the attribute at `index` of `element` is not read, or nothing when it is.
std::optional<std::string> NotTaken(const std::string& element, const Accepted& accepted,
                                    std::size_t index, const std::string& name) {
    const std::string head = "the " + element + " element has ";
    const auto& names = accepted.names;
    switch (accepted.order) {
        case Order::Any:
            if (std::find(names.begin(), names.end(), name) != names.end()) return std::nullopt;
            return head + "an attribute " + name + ", which it does not take, so it is ignored" +
                   Hint(name, names) + "; it takes " + Listed(names) + ".";
        case Order::ByPosition: {
            const std::string order = "; it takes " + Listed(names) + ", in that order.";
            if (index >= names.size()) {
                return head + "an attribute " + name + " after its " + Ordinal(names.size() - 1) +
                       ", so it is ignored" + order;
            }
            if (name == names[index]) return std::nullopt;
            return head + "the attribute " + name + " as its " + Ordinal(index) +
                   ", where it takes only " + names[index] + ", so it is ignored" +
                   Hint(name, {names[index]}) + order;
        }
        case Order::FirstOnly: {
            // The record takes "shader" too, though the program goes in the Shader element.
            const std::string only = "; it reads only its first attribute, its " + names[0] +
                                     " (the program goes in its Shader element).";
            if (index > 0) {
                return head + "an attribute " + name + " after its first, so it is ignored" + only;
            }
            if (name == names[0] || name == "shader") return std::nullopt;
            return head + "an attribute " + name + ", which it does not take, so it is ignored" +
                   Hint(name, names) + only;
        }
    }
    return std::nullopt;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string Shortest(float value) {
    std::array<char, 32> text{};
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value);
    return std::string(text.data(), result.ptr);
}

// The text read with blanks as separators, written with commas, when it is exactly `size`
// numbers that way.
std::optional<std::string> WithCommas(std::string_view text, std::size_t size) {
    std::string fixed;
    std::size_t numbers = 0;
    std::size_t at = 0;
    while (true) {
        while (at < text.size() && IsBlank(text[at])) ++at;
        if (at == text.size()) break;
        std::size_t end = at;
        while (end < text.size() && !IsBlank(text[end])) ++end;
        const std::string_view word = text.substr(at, end - at);
        std::size_t read = 0;
        if (!ReadNumber(word, read) || read != word.size()) return std::nullopt;
        fixed += (numbers++ > 0 ? "," : "") + std::string(word);
        at = end;
    }
    if (numbers != size) return std::nullopt;
    return fixed;
}

// How the value `text` of the attribute `attribute`, of `size` components, reads when that
// is not what it says.
std::optional<std::string> Misread(const std::string& attribute, const std::string& text,
                                   std::size_t size) {
    std::array<float, 3> components{};
    std::size_t end = 0;
    const std::size_t read = ParseComponents(text, std::span(components.data(), size), end);
    std::string_view rest = std::string_view(text).substr(end);
    while (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);
    if (read == size && rest.empty()) return std::nullopt;

    std::string reads;
    for (std::size_t i = 0; i < size; ++i) reads += (i > 0 ? ", " : "") + Shortest(components[i]);
    if (size > 1) reads = "(" + reads + ")";
    std::string why;
    if (read == size) {
        why = "the rest, \"" + std::string(rest) + "\", is ignored.";
    } else if (const auto fixed = WithCommas(text, size)) {
        why = "components are separated by one character such as a comma, " + attribute + "=\"" +
              *fixed + "\".";
    } else if (size == 1) {
        why = attribute + " takes a number.";
    } else {
        why = attribute + " takes " + std::to_string(size) +
              " numbers, separated by one character such as a comma.";
    }
    return "has " + attribute + "=\"" + text + "\", which reads as " + reads + ": " + why;
}

std::string ValueOf(const SceneIndex::Tag& tag, const std::string& name) {
    for (const auto& [attribute, value] : tag.attributes) {
        if (attribute == name) return value;
    }
    return "";
}

void FindMisreadValues(const SceneIndex::Tag& tag, std::vector<Problem>& problems) {
    const auto add = [&](const std::string& subject, const std::string& attribute,
                         const std::string& text, std::size_t size) {
        if (const auto misread = Misread(attribute, text, size)) {
            problems.push_back(Problem::At(kSceneFile, tag.line, subject + " " + *misread));
        }
    };
    const std::string& element = tag.element;
    if (element == "OBJ" || element == "R" || element == "RA") {
        const std::string file = ValueOf(tag, "file");
        const std::string subject = "the " + element + " object" + (file.empty() ? "" : " " + file);
        for (const auto& [attribute, value] : tag.attributes) {
            if (attribute == "pos" || attribute == "scale") add(subject, attribute, value, 3);
        }
        return;
    }
    const std::size_t size = element == "Float"    ? 1
                             : element == "Float2" ? 2
                             : element == "Float3" ? 3
                                                   : 0;
    // The value counts only as the second attribute (EffectReader).
    if (size == 0 || tag.attributes.size() < 2 || tag.attributes[1].first != "val") return;
    const std::string uniform =
        tag.attributes[0].first == "name" && !tag.attributes[0].second.empty()
            ? tag.attributes[0].second
            : "(unnamed)";
    add("the " + element + " " + uniform + " of the effect " +
            (tag.effect.empty() ? "(unnamed)" : tag.effect),
        "val", tag.attributes[1].second, size);
}

}  // namespace

std::vector<Problem> FindAttributeMistakes(const SceneIndex& index) {
    std::vector<Problem> problems;
    for (const SceneIndex::Tag& tag : index.tags) {
        if (const auto accepted = AcceptedBy(tag.element)) {
            for (std::size_t i = 0; i < tag.attributes.size(); ++i) {
                if (auto why = NotTaken(tag.element, *accepted, i, tag.attributes[i].first)) {
                    problems.push_back(Problem::At(kSceneFile, tag.line, std::move(*why)));
                }
            }
        }
        FindMisreadValues(tag, problems);
    }
    return problems;
}
