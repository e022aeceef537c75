#include "objects/OBJFileParser.h"

#include "objects/OBJGraphicObject.h"

OBJFileParser::OBJFileParser(OBJGraphicObject& target, std::string fileName)
    : target(target), fileName(std::move(fileName)) {}

void OBJFileParser::Parse(float factor) {
    options.factor = factor;
    Keep(ReadOBJModelFile(fileName, options, blockSize));
}

void OBJFileParser::ParseBuffer(std::string_view text, float factor) {
    options.factor = factor;
    Keep(ReadOBJModel(text, fileName, options));
}

std::vector<std::string> OBJFileParser::Problems() const {
    std::vector<std::string> texts;
    for (const Problem& problem : problems) texts.push_back(problem.text);
    return texts;
}

void OBJFileParser::Keep(OBJReadResult&& result) {
    problems = std::move(result.problems);
    stopLine = result.stopLine;
    polygons = std::move(result.model.polygons);
    target.Take(std::move(result.model));
}
