#include "scene/internal/XmlErrorWords.h"

#include <tinyxml2.h>

#include <cctype>
#include <optional>
#include <vector>

namespace {

// The first structural mistake that the pass over the text finds.
struct Mistake {
    enum class Kind {
        EndTagMismatch,  // an end tag that does not match the innermost open element
        Unclosed,        // the text ends while an element is open
        NoName,          // a tag with no element name after its < or </
        BadTag,          // a tag with something that is neither an attribute nor its end
    };
    Kind kind;
    int line = 0;      // of the tag concerned (for Unclosed, of the open element)
    std::string name;  // the tag's element name
    std::string open;  // EndTagMismatch: the open element
    int openLine = 0;  // and its line
};

// Character classes as TinyXML-2 has them.
bool IsBlank(unsigned char c) { return c < 128 && std::isspace(c); }
bool IsNameStart(unsigned char c) { return c >= 128 || std::isalpha(c) || c == ':' || c == '_'; }
bool IsNameChar(unsigned char c) {
    return IsNameStart(c) || std::isdigit(c) || c == '.' || c == '-';
}

class TagPass {
public:
    explicit TagPass(std::string_view text) : text(text.substr(0, text.find('\0'))) {}

    // The first mistake, or nothing when the pass finds none it can name (the parser's
    // own error then stands alone).
    std::optional<Mistake> Run() {
        while (true) {
            SkipBlanks();
            if (at == text.size()) {
                if (open.empty()) return std::nullopt;
                return Mistake{Mistake::Kind::Unclosed, open.back().line, open.back().name, {}, 0};
            }
            // In the parser's order: "<?" is a declaration whatever follows, "<!" that is
            // no comment or CDATA ends at the first ">".
            if (Starts("<?")) {
                if (!SkipPast(2, "?>")) return std::nullopt;
            } else if (Starts("<!--")) {
                if (!SkipPast(4, "-->")) return std::nullopt;
            } else if (Starts("<![CDATA[")) {
                if (!SkipPast(9, "]]>")) return std::nullopt;
            } else if (Starts("<!")) {
                if (!SkipPast(2, ">")) return std::nullopt;
            } else if (Starts("<")) {
                std::optional<Mistake> mistake;
                if (!Tag(mistake)) return mistake;
            } else if (!SkipUntil('<')) {
                return std::nullopt;  // text to the end
            }
        }
    }

private:
    struct Open {
        std::string name;
        int line;
    };

    bool Starts(std::string_view prefix) const { return text.substr(at).starts_with(prefix); }

    void Advance(std::size_t to) {
        for (; at < to; ++at) {
            if (text[at] == '\n') ++line;
        }
    }

    void SkipBlanks() {
        std::size_t to = at;
        while (to < text.size() && IsBlank(static_cast<unsigned char>(text[to]))) ++to;
        Advance(to);
    }

    // Past the first `end` after the opening of `opening` characters.
    bool SkipPast(std::size_t opening, std::string_view end) {
        const std::size_t found = text.find(end, at + opening);
        if (found == std::string_view::npos) return false;
        Advance(found + end.size());
        return true;
    }

    bool SkipUntil(char c) {
        const std::size_t found = text.find(c, at);
        if (found == std::string_view::npos) return false;
        Advance(found);
        return true;
    }

    std::string Name() {
        std::size_t to = at;
        if (to < text.size() && IsNameStart(static_cast<unsigned char>(text[to]))) {
            ++to;
            while (to < text.size() && IsNameChar(static_cast<unsigned char>(text[to]))) ++to;
        }
        std::string name(text.substr(at, to - at));
        Advance(to);
        return name;
    }

    // An attribute, name="value" or name='value'; false when it cannot be read. (A repeated
    // name is not looked for: the parser reports every attribute mistake by itself.)
    bool Attribute() {
        Name();
        SkipBlanks();
        if (!Starts("=")) return false;
        Advance(at + 1);
        SkipBlanks();
        if (!Starts("\"") && !Starts("'")) return false;
        const std::size_t end = text.find(text[at], at + 1);
        if (end == std::string_view::npos) return false;
        Advance(end + 1);
        return true;
    }

    // The tag at `at`; false when the pass ends there, with `mistake` when it found one.
    bool Tag(std::optional<Mistake>& mistake) {
        const int tagLine = line;
        Advance(at + 1);
        SkipBlanks();
        const bool closing = Starts("/");
        if (closing) Advance(at + 1);
        const std::string name = Name();
        if (name.empty()) {
            mistake = Mistake{Mistake::Kind::NoName, tagLine, {}, {}, 0};
            return false;
        }
        bool empty = false;
        while (true) {
            SkipBlanks();
            if (at < text.size() && IsNameStart(static_cast<unsigned char>(text[at]))) {
                if (!Attribute()) return false;
            } else if (Starts(">")) {
                Advance(at + 1);
                break;
            } else if (Starts("/>")) {
                Advance(at + 2);
                empty = true;
                break;
            } else {
                if (at < text.size())
                    mistake = Mistake{Mistake::Kind::BadTag, tagLine, name, {}, 0};
                return false;
            }
        }
        if (empty) return true;  // also "</a/>", which the parser takes as an empty element
        if (!closing) {
            if (open.size() >= static_cast<std::size_t>(TINYXML2_MAX_ELEMENT_DEPTH)) {
                return false;  // the parser stops at this depth itself
            }
            open.push_back({name, tagLine});
            return true;
        }
        // An end tag with nothing open ends the parser's reading, without an error.
        if (open.empty()) return false;
        if (open.back().name != name) {
            mistake = Mistake{Mistake::Kind::EndTagMismatch, tagLine, name, open.back().name,
                              open.back().line};
            return false;
        }
        open.pop_back();
        return true;
    }

    std::string_view text;
    std::size_t at = 0;
    int line = 1;
    std::vector<Open> open;
};

// What follows `key` in the parser's detail ("XMLElement name=NAME"), or "".
std::string DetailAfter(const tinyxml2::XMLDocument& document, std::string_view key) {
    // ErrorStr() is "Error=NAME ErrorID=N (0xN) Line number=L: detail".
    const std::string_view all = document.ErrorStr();
    const std::size_t colon = all.find(": ");
    if (colon == std::string_view::npos) return {};
    const std::string_view detail = all.substr(colon + 2);
    const std::size_t found = detail.find(key);
    return found == std::string_view::npos ? std::string()
                                           : std::string(detail.substr(found + key.size()));
}

std::string Element(const std::string& name) {
    return name.empty() ? "an element" : "<" + name + ">";
}

}  // namespace

XmlErrorWords XmlErrorWords::Of(const tinyxml2::XMLDocument& document, std::string_view text) {
    using namespace tinyxml2;
    const int line = document.ErrorLineNum();
    const std::string name = DetailAfter(document, "XMLElement name=");
    const std::optional<Mistake> first = TagPass(text).Run();
    // The pass's mistake when it is of `kind` and at the parser's line: the same one.
    const auto mistake = [&](Mistake::Kind kind) -> const Mistake* {
        const bool same =
            first && first->kind == kind &&
            (kind == Mistake::Kind::EndTagMismatch ? first->openLine : first->line) == line;
        return same ? &*first : nullptr;
    };
    switch (document.ErrorID()) {
        case XML_ERROR_MISMATCHED_ELEMENT: {
            const Mistake* found = mistake(Mistake::Kind::EndTagMismatch);
            if (found && found->open == name) {
                return {found->line, "the end tag </" + found->name +
                                         "> does not match the open element <" + found->open +
                                         "> from line " + std::to_string(found->openLine) + "."};
            }
            return {line, "the element " + Element(name) + " is not closed by its own end tag."};
        }
        case XML_ERROR_PARSING: {
            if (const Mistake* found = mistake(Mistake::Kind::Unclosed)) {
                return {line, "the element <" + found->name +
                                  "> is not closed: the text ends before its end tag </" +
                                  found->name + ">."};
            }
            if (mistake(Mistake::Kind::NoName)) {
                return {line, "a tag has no element name right after its < or </."};
            }
            return {line, "the text cannot be read as XML here."};
        }
        case XML_ERROR_PARSING_ATTRIBUTE:
            return {line, "an attribute of the element " + Element(name) +
                              " cannot be read: write each attribute once, as name=\"value\", "
                              "with the value in quotes."};
        case XML_ERROR_PARSING_ELEMENT: {
            if (!name.empty()) {
                return {line, "the text ends inside the tag of the element <" + name +
                                  ">, before its > or />."};
            }
            const Mistake* found = mistake(Mistake::Kind::BadTag);
            const std::string tag =
                found ? "the tag of the element <" + found->name + ">" : "a tag";
            return {line, tag +
                              " holds something other than attributes (name=\"value\") "
                              "before its > or />."};
        }
        case XML_ERROR_PARSING_COMMENT: return {line, "a comment <!-- is not closed by -->."};
        case XML_ERROR_PARSING_CDATA:
            return {line, "a CDATA section <![CDATA[ is not closed by ]]>."};
        case XML_ERROR_PARSING_DECLARATION: {
            const std::string value = DetailAfter(document, "XMLDeclaration value=");
            if (value.empty()) return {line, "a declaration <? is not closed by ?>."};
            return {line, "the declaration <?" + value +
                              "?> is not at the start: declarations may only come before "
                              "any comment, element or text."};
        }
        case XML_ERROR_PARSING_UNKNOWN:
            return {line, "a tag <! (such as <!DOCTYPE ...>) is not closed by >."};
        case XML_ERROR_PARSING_TEXT:
            return {line,
                    "text from here runs to the end without a tag after it; text may only "
                    "stand inside an element, before its end tag."};
        case XML_ELEMENT_DEPTH_EXCEEDED:
            return {line, "the elements are nested too deeply to be read (about " +
                              std::to_string(TINYXML2_MAX_ELEMENT_DEPTH) + " levels)."};
        case XML_ERROR_EMPTY_DOCUMENT: return {line, "it holds no XML element."};
        case XML_ERROR_FILE_NOT_FOUND: return {line, "the file was not found."};
        case XML_ERROR_FILE_COULD_NOT_BE_OPENED: return {line, "the file could not be opened."};
        case XML_ERROR_FILE_READ_ERROR: return {line, "the file could not be read."};
        case XML_NO_ATTRIBUTE: return {line, "an attribute is missing."};
        case XML_WRONG_ATTRIBUTE_TYPE:
            return {line, "an attribute's value is not of the expected type."};
        case XML_CAN_NOT_CONVERT_TEXT:
            return {line, "an element's text is not of the expected type."};
        case XML_NO_TEXT_NODE: return {line, "an element has no text."};
        default: return {line, std::string("the XML reader reports ") + document.ErrorName() + "."};
    }
}
