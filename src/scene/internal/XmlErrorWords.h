#pragma once

#include <string>
#include <string_view>

namespace tinyxml2 {
class XMLDocument;
}

// Why a text is not well-formed XML, in the user's words, and the line to point at.
//
// TinyXML-2 names an error and the line where the element concerned starts; for an end
// tag that does not match its element, the line of the end tag itself is found by one
// bounded pass over the text that follows the parser's rules (comments, CDATA sections,
// declarations and quoted attribute values skipped, a stack of the open elements). The
// pass is linear, stops at the first NUL as the parser does, and is safe on any bytes.
struct XmlErrorWords {
    int line = 0;
    std::string words;  // a sentence, starting in lower case

    // For `document` after a failed Parse of `text`.
    static XmlErrorWords Of(const tinyxml2::XMLDocument& document, std::string_view text);
};
