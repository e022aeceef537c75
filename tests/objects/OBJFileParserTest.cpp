#include "objects/OBJFileParser.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "factory/Creators.h"
#include "factory/FactoryException.h"
#include "objects/ModelFileError.h"
#include "objects/OBJGraphicObject.h"
#include "scene/FileGraphicMemento.h"
#include "support/TempFolder.h"
#include "support/Thrown.h"

namespace {

std::string Number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string Vectors(const std::vector<Vector3>& vectors) {
    std::string text;
    for (const Vector3& v : vectors) {
        text += "(" + Number(v.x) + " " + Number(v.y) + " " + Number(v.z) + ")";
    }
    return text;
}

std::string TexCoords(const std::vector<TexCoord>& coords) {
    std::string text;
    for (const TexCoord& t : coords) text += "(" + Number(t.u) + " " + Number(t.v) + ")";
    return text;
}

// Each face as "p/t/n p/t/n p/t/n", faces separated by "; ".
std::string Faces(const std::vector<OBJFace>& faces) {
    std::string text;
    for (const OBJFace& face : faces) {
        if (!text.empty()) text += "; ";
        for (int c = 0; c < 3; ++c) {
            text += (c ? " " : "") + std::to_string(face.position[c]) + "/" +
                    std::to_string(face.texCoord[c]) + "/" + std::to_string(face.normal[c]);
        }
    }
    return text;
}

// Every array and problem, numbers bit for bit, to compare two readings.
std::string Everything(const OBJGraphicObject& object, const std::vector<std::string>& problems) {
    std::string text = Faces(object.faces);
    const auto bits = [&](float value) {
        text += " " + std::to_string(std::bit_cast<std::uint32_t>(value));
    };
    // Element by element: an empty array's data() is null and has no members to point at.
    for (const Vector3& p : object.positions) {
        bits(p.x);
        bits(p.y);
        bits(p.z);
    }
    for (const TexCoord& t : object.texCoords) {
        bits(t.u);
        bits(t.v);
    }
    for (const Vector3& n : object.normals) {
        bits(n.x);
        bits(n.y);
        bits(n.z);
    }
    for (const std::string& problem : problems) text += "\n" + problem;
    return text;
}

// Parses `text` as a buffer, and checks that reading it from a file in blocks of every
// size, down to one byte, gives exactly the same, so every statement that a block's end
// cuts is read again whole.
struct Parsed {
    Parsed(std::string_view text, float factor = 1.0f) {
        OBJFileParser parser(object, "m.obj");
        parser.ParseBuffer(text, factor);
        problems = parser.Problems();

        const TempFolder folder;
        const std::string path = (folder.Path() / "m.obj").string();
        std::ofstream(path, std::ios::binary) << text;
        for (const std::size_t block : {1u, 2u, 3u, 7u, 64u, 1u << 20}) {
            OBJGraphicObject fromFile;
            OBJFileParser fileParser(fromFile, path);
            fileParser.SetBlockSize(block);
            fileParser.Parse(factor);
            std::vector<std::string> fileProblems;
            for (std::string problem : fileParser.Problems()) {
                problem.replace(problem.find(path), path.size(), "m.obj");
                fileProblems.push_back(problem);
            }
            EXPECT_EQ(Everything(fromFile, fileProblems), Everything(object, problems))
                << "read in blocks of " << block << " bytes: " << text.substr(0, 200);
        }
    }
    OBJGraphicObject object;
    std::vector<std::string> problems;
};

const std::vector<std::string> none;

TEST(OBJFileParser, ReadsEachStatementAndScalesOnlyPositions) {
    const Parsed parsed(
        "v 10 20 30\nv\t-5\t0\t2.5\nvt 0.25 0.75\nvn 0 0.6 0.8\nf 2/1/1 1/1/1 2/1/1\n", 0.1f);
    EXPECT_EQ(Vectors(parsed.object.positions), "(1 2 3)(-0.5 0 0.25)");
    EXPECT_EQ(TexCoords(parsed.object.texCoords), "(0.25 0.75)");
    EXPECT_EQ(Vectors(parsed.object.normals), "(0 0.6 0.8)");
    EXPECT_EQ(Faces(parsed.object.faces), "2/1/1 1/1/1 2/1/1");
    EXPECT_EQ(parsed.problems, none);
}

// Everything but exactly "v", "vt", "vn" and "f" is dropped with the rest of its line.
TEST(OBJFileParser, SkipsOtherStatementsToTheEndOfTheirLineHoweverLong) {
    // Long comments that quote statements: reading anywhere inside them would find one.
    const auto quoting = [](std::size_t length) {
        std::string line = "#";
        while (line.size() < length) line += " v";
        return line;
    };
    const std::string x300(300, 'x');
    const std::string others =
        "# v 9 9 9\nmtllib m.mtl\no thing\ng group\nusemtl red\ns 1\n"
        "V 9 9 9\nVT 9 9\nvp 9 9 9\nF 1 1 1\nfo 1 1 1\n#v 9 9 9\n";
    const Parsed parsed(others + quoting(300) + "\nv 1 2 3\n" + quoting(10000) + "\nv 4 5 6\ng " +
                        x300 + " v 9 9 9\nvn 0 0 1\n");
    EXPECT_EQ(Vectors(parsed.object.positions), "(1 2 3)(4 5 6)");
    EXPECT_EQ(Vectors(parsed.object.normals), "(0 0 1)");
    EXPECT_TRUE(parsed.object.texCoords.empty());
    EXPECT_TRUE(parsed.object.faces.empty());
    EXPECT_EQ(parsed.problems, none);
}

TEST(OBJFileParser, NumbersAreReadLikeAStream) {
    const struct {
        std::string text, positions;
    } cases[] = {
        {"v 1 2\n3\nv\n\n4\t5 6\n", "(1 2 3)(4 5 6)"},
        {"v 1 2 3\r\nv 4 5 6\r\n", "(1 2 3)(4 5 6)"},
        {"v -1.5e1 +2 .5\nv 2E1 1. -0.25e+1\n", "(-15 2 0.5)(20 1 -2.5)"},
        // Too small for a float reads as zero rather than failing.
        {"v 1e-50 -1e-50 7\n", "(0 -0 7)"},
        {"v 1 2 3\nv 4 5 6", "(1 2 3)(4 5 6)"},
    };
    for (const auto& c : cases) {
        const Parsed parsed(c.text);
        EXPECT_EQ(Vectors(parsed.object.positions), c.positions) << c.text;
        EXPECT_EQ(parsed.problems, none) << c.text;
    }
}

TEST(OBJFileParser, WhatFollowsTheNumbersOfAVertexLineIsTheNextStatement) {
    // A fourth component is an unknown statement that takes the line with it.
    const Parsed parsed(
        "vn 0 0 1 v 1 2 3 f 1 1 1\nv 4 5 6 1.0 v 9 9 9\nvt 0.5 0.25 0 v 9 9 9\nvt 1 1\n");
    EXPECT_EQ(Vectors(parsed.object.normals), "(0 0 1)");
    EXPECT_EQ(Vectors(parsed.object.positions), "(1 2 3)(4 5 6)");
    EXPECT_EQ(Faces(parsed.object.faces), "1/0/0 1/0/0 1/0/0");
    // So is a third texture component.
    EXPECT_EQ(TexCoords(parsed.object.texCoords), "(0.5 0.25)(1 1)");
}

// A corner that leaves out an index keeps the one the same corner had in the face before.
TEST(OBJFileParser, FacesTakeThreeCornersAndKeepIndicesTheyDoNotGive) {
    const std::string full = "f 1/2/3 4/5/6 7/8/9\n";
    const struct {
        std::string text, faces;
    } cases[] = {
        {"f 1 2 3\n", "1/0/0 2/0/0 3/0/0"},
        {"f 1/2/3 4/5/6 7/8/9 10/11/12 13/14/15\n", "1/2/3 4/5/6 7/8/9"},
        {full + "f 3 2 1\n", "1/2/3 4/5/6 7/8/9; 3/2/3 2/5/6 1/8/9"},
        {full + "f 2//4 3//5 1//6\n", "1/2/3 4/5/6 7/8/9; 2/2/4 3/5/5 1/8/6"},
        {full + "f 5 6/7 8//9\n", "1/2/3 4/5/6 7/8/9; 5/2/3 6/7/6 8/8/9"},
        {full + "f 1/1 2/2 3/3\nf 4/4 5/5 6/6\nf 7/7 8/8 9/9\n",
         "1/2/3 4/5/6 7/8/9; 1/1/3 2/2/6 3/3/9; 4/4/3 5/5/6 6/6/9; 7/7/3 8/8/6 9/9/9"},
        {"f 1/2/3 4/5/6 7/8/9\r\nf 3 2 1\r\nf 4 5 6 7\r\nf 8 9 1",
         "1/2/3 4/5/6 7/8/9; 3/2/3 2/5/6 1/8/9; 4/2/3 5/5/6 6/8/9; 8/2/3 9/5/6 1/8/9"},
        {"f 1\n2\n3\nf -1 +2 3 4 5\n", "1/0/0 2/0/0 3/0/0; -1/0/0 2/0/0 3/0/0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Faces(Parsed(c.text).object.faces), c.faces) << c.text;
    }
}

// A texture index that is left out (1//3) is no failure, but one that cannot be read is.
// As with a stream, a texture index that cannot be read is left as it was, like a missing
// one, and the character that stopped it ends the corner.
TEST(OBJFileParser, AnUnreadableTextureIndexIsLeftAsItWas) {
    const Parsed skipped("v 0 0 0\nvn 0 0 1\nf 1//1 1//1 1//1\nf 1/x 1 1\nv 1 2 3\n");
    EXPECT_EQ(Faces(skipped.object.faces), "1/0/1 1/0/1 1/0/1; 1/0/1 1/0/1 1/0/1");
    EXPECT_EQ(skipped.object.positions.size(), 2u);
    EXPECT_EQ(skipped.problems, none);

    // Here the "/1" after the separator is where the second corner's position should be.
    const Parsed stopped("vn 0 0 1\nf 1/x/1 2 3\nv 1 2 3\n");
    EXPECT_TRUE(stopped.object.faces.empty());
    EXPECT_EQ(stopped.problems,
              std::vector<std::string>{"The model file m.obj has an unreadable number in the f "
                                       "statement on line 2, at \"/1\"; reading stopped there, "
                                       "and what came before it is kept."});
}

// Like a stream, a number too small even for a double reads as zero; only large ones fail.
TEST(OBJFileParser, NumbersTooSmallForADoubleReadAsZero) {
    const Parsed parsed("v 1e-500 -1e-999 7\n");
    EXPECT_EQ(Vectors(parsed.object.positions), "(0 -0 7)");
    EXPECT_EQ(parsed.problems, none);
}

TEST(OBJFileParser, LongFaceLinesGiveOneFace) {
    for (const std::size_t length : {300u, 10000u}) {
        std::string line = "f 1//1 2//1 3//1";
        while (line.size() < length) line += " 3//1";
        const Parsed parsed("v 0 0 0\nv 1 0 0\nv 0 1 0\nvn 0 0 1\n" + line + "\nv 4 5 6\n");
        EXPECT_EQ(Faces(parsed.object.faces), "1/0/1 2/0/1 3/0/1") << length;
        EXPECT_EQ(parsed.object.positions.size(), 4u) << length;
        EXPECT_EQ(parsed.problems, none) << length;
    }
}

TEST(OBJFileParser, AnUnreadableNumberStopsTheReadingAndKeepsWhatCameBefore) {
    const auto problem = [](const char* statement, int line, const std::string& at) {
        return "The model file m.obj has an unreadable number in the " + std::string(statement) +
               " statement on line " + std::to_string(line) + ", at " + at +
               "; reading stopped there, and what came before it is kept.";
    };
    const std::string before = "v 1 2 3\nvt 0 1\nvn 0 0 1\nf 1/1/1 1/1/1 1/1/1\n";
    const struct {
        std::string text, problem;
    } cases[] = {
        {before + "v 1 x 3\nv 4 5 6\n", problem("v", 5, "\"x\"")},
        {before + "v 4 5\n", problem("v", 5, "the end of the file")},
        {before + "\nvt 0.5 y0\nvt 1 1\n", problem("vt", 6, "\"y0\"")},
        {before + "vn 0 0 1e50 vn 0 0 1\n", problem("vn", 5, "\"1e50\"")},
        {before + "f 1/2/x 2/2/2 3/3/3\nf 1 1 1\n", problem("f", 5, "\"x\"")},
        {before + "f 1//1 2//1 nine\n", problem("f", 5, "\"nine\"")},
        {before + "f 1 2", problem("f", 5, "the end of the file")},
        // Nothing is taken after a normal index, so what follows it is the next position.
        {before + "f 1/1/1/1 1/1/1 1/1/1\n", problem("f", 5, "\"/1\"")},
        {before + "f 1//1x 1//1 1//1\n", problem("f", 5, "\"x\"")},
        // An exponent without digits is part of an unreadable number, not a stray token.
        {before + "v 3e 1 2\n", problem("v", 5, "\"3e\"")},
        {before + "vn 0 1 2E+ vn 0 0 1\n", problem("vn", 5, "\"2E+\"")},
        // At most 40 characters of what could not be read are shown.
        {before + "v 4 5 abcdefghijklmnopqrstuvwxyz0123456789ABCDEFG\n",
         problem("v", 5, "\"abcdefghijklmnopqrstuvwxyz0123456789ABCD\"")},
    };
    for (const auto& c : cases) {
        const Parsed parsed(c.text);
        EXPECT_EQ(parsed.problems, std::vector{c.problem}) << c.text;
        EXPECT_EQ(Vectors(parsed.object.positions), "(1 2 3)") << c.text;
        EXPECT_EQ(TexCoords(parsed.object.texCoords), "(0 1)") << c.text;
        EXPECT_EQ(Vectors(parsed.object.normals), "(0 0 1)") << c.text;
        EXPECT_EQ(Faces(parsed.object.faces), "1/1/1 1/1/1 1/1/1") << c.text;
    }
}

TEST(OBJFileParser, FacesWithAnIndexOutsideTheirArraysAreKeptAndReportedOnce) {
    const std::string many =
        "The model file m.obj has 3 faces with an index outside their "
        "arrays, which are not drawn. The first is on line ";
    const std::string one =
        "The model file m.obj has 1 face with an index outside its arrays, "
        "which is not drawn. It is on line ";
    const std::string triangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";  // lines 1 to 3
    const struct {
        std::string text;
        std::size_t faces;
        std::vector<std::string> problems;
    } cases[] = {
        {triangle + "f 1 2 3\n",
         1,
         {one + "4: its normal index is 0, but the file has no normals."}},
        // Without texture coordinates in the file, the texture index is not used.
        {triangle + "vn 0 0 1\nf 1//1 2//1 3//1\nf 1/7/1 2/0/1 3/-2/1\n", 2, {}},
        {triangle + "vn 0 0 1\nf 1//1 2//1 3//1\nf 1//1 2//1 4//1\nf 1//1 2//1 3//1\n"
                    "f 1//1 2//1 3//-1\nf 0//1 2//1 3//1\n",
         5,
         {many + "6: its position index is 4, but the file has 3 positions."}},
        {triangle + "vt 0 0\nvn 0 0 1\nf 1//1 2//1 3//1\n",
         1,
         {one + "6: its texture-coordinate index is 0, but the file has 1 texture coordinate."}},
        {triangle + "vt 0 0\nvt 1 1\nvn 0 0 1\nvn 0 1 0\nf 1/1/1 2/2/2 3/2/3\n",
         1,
         {one + "8: its normal index is 3, but the file has 2 normals."}},
        // Texture coordinates after faces make those faces' texture indices count.
        {triangle + "vn 0 0 1\nf 1//1 2//1 3//1\nf 1//1 2//1 9//1\nvt 0 0\nf 1/1/1 2/1/1 3/1/1\n",
         3,
         {"The model file m.obj has 2 faces with an index outside their arrays, which are not "
          "drawn. The first is on line 5: its texture-coordinate index is 0, but the file has 1 "
          "texture coordinate."}},
        // Undrawable faces read before an unreadable number are still reported.
        {triangle + "f 1 2 3\nvn 0 0 1\nf 1//1 2//1 3//1\nf 1//1 2//1 3//-1\nv x\n",
         3,
         {"The model file m.obj has an unreadable number in the v statement on line 8, at "
          "\"x\"; reading stopped there, and what came before it is kept.",
          "The model file m.obj has 2 faces with an index outside their arrays, which are not "
          "drawn. The first is on line 4: its normal index is 0, but the file has 1 normal."}},
    };
    for (const auto& c : cases) {
        const Parsed parsed(c.text);
        EXPECT_EQ(parsed.object.faces.size(), c.faces) << c.text;
        EXPECT_EQ(parsed.problems, c.problems) << c.text;
    }
}

TEST(OBJFileParser, FilesWithoutFacesGiveNone) {
    // A token that runs into the end of the file is not read, so the last "f" is no face.
    for (const char* text : {"", "\n\n", "# nothing\n", "v 1 2 3\nvn 0 0 1\n", "v 1 2 3\nf"}) {
        const Parsed parsed(text);
        EXPECT_TRUE(parsed.object.faces.empty()) << text;
        EXPECT_EQ(parsed.problems, none) << text;
    }
}

// Lines in their usual form are read a quicker way; mixed with every unusual form of
// them, they must read exactly as by the stream rules alone.
TEST(OBJFileParser, QuickReadingAgreesWithTheStreamRules) {
    const std::vector<std::string> pieces = {
        "v 1.5 -2.25 3\n", "v 0.000001 1234567.1234567 -0\n", "v 12345678 1 2\n", "v 1e3 2E-2 3\n",
        "v 1 2 3 \n", "v\t1 2 3\n", "v 1  2 3\n", "v +1 -.5 7.\r\n", "v 1 2\n3\n", "v 1 2 3 4\n",
        "vt 0.25 0.75\n", "vt 0.5 0.5 0\n", "vt .1 .2\r\n", "vn 0 0 1\n",
        "vn 0.577350 0.577350 0.577350\n", "vn 1 2 3x\n",
        // Keywords that only begin like one.
        "vtn 0 0 1\n", "vnt 0 0 1\n", "vx 1 2 3\n", "f 1 2 3\n", "f 1/1 2/2 3/3\n",
        "f 1/1/1 2/2/2 3/3/3\n", "f 1//1 2//2 3//3\n", "f 1/1/1 2/2/2 3/3/3 4/4/4\n",
        "f 1/1/1 2/2/2 3/3/3\r\n", "f 1 2 3 # note\n", "f 4 5 6/7/8\n", "f  1 2 3\n",
        "f 1/ 2/2 3/3 4/4\n", "f 1/2/ 3 4 5\n", "f 1/2/3/4 5 6\n", "f -1/-1/-1 +2/2/2 3/3/3\n",
        "f 12345678/1/1 2/2/2 3/3/3\n", "f 1\n2 3\n", "f 1/1/1 2/2/2 3/3/3\n", "# v 9 9 9\n",
        "g group\n", "\n", "  v 1 2 3\n", "vt 1 1\n", "f 2/1/1 3/1/1 1/1/1\n"};
    std::mt19937 random(11);
    std::string text;
    for (int i = 0; i < 3000; ++i) text += pieces[random() % pieces.size()];
    // A face read the quick way right after a statement read by the stream rules, which
    // leaves its line end behind, and which is the first that cannot be drawn.
    const std::string afterStream =
        "v 0 0 0\nvt 0 0\nvn 0 0 1\nv 1 2\n3\nf 1/1/1 1/1/1 9/1/1\n# " + std::string(200, 'x');
    for (const std::string& whole : {text, text + "v 1 x 3\nv 1 1 1\n", afterStream}) {
        OBJGraphicObject quick, stream;
        OBJFileParser quickParser(quick, "m.obj"), streamParser(stream, "m.obj");
        streamParser.SetQuickReading(false);
        quickParser.ParseBuffer(whole, 0.1f);
        streamParser.ParseBuffer(whole, 0.1f);
        EXPECT_FALSE(quickParser.Problems().empty());
        EXPECT_EQ(Everything(quick, quickParser.Problems()),
                  Everything(stream, streamParser.Problems()));
    }
}

// The creator reads the file with positions scaled by 0.1, copies the placement and passes
// the problems on; a file that cannot be read makes no object.
TEST(CreateOBJGraphicObject, ReadsTheFileAndCopiesPositionAndScale) {
    TempFolder folder;
    FileGraphicMemento description;
    description.fileName = (folder.Path() / "m.obj").string();
    description.position = {1.5f, -2.0f, 3.25f};
    description.scale = {4.0f, 5.0f, 6.0f};
    std::ofstream(description.fileName) << "v 10 20 30\r\nv -1 x 3\n";
    std::vector<Problem> problems = {Problem::Text("earlier")};
    const auto object = CreateOBJGraphicObject(description, problems);
    EXPECT_EQ(Vectors(object->positions), "(1 2 3)");
    EXPECT_EQ(Vectors({object->position, object->scale}), "(1.5 -2 3.25)(4 5 6)");
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[1].file, description.fileName);
    EXPECT_EQ(problems[1].line, 2);
    EXPECT_EQ((std::vector<std::string>{problems[0].text, problems[1].text}),
              (std::vector<std::string>{"earlier",
                                        "The model file " + description.fileName +
                                            " has an unreadable number in the v statement on line "
                                            "2, at \"x\"; reading stopped there, and what came "
                                            "before it is kept."}));

    description.fileName = (folder.Path() / "gone.obj").string();
    const std::string notFound = "The model file " + description.fileName + " was not found.";
    EXPECT_EQ(MessageOf<ModelFileError>(
                  [&] { OBJFileParser(*object, description.fileName).Parse(0.1f); }),
              notFound);
    EXPECT_EQ(MessageOf<FactoryException>([&] { CreateOBJGraphicObject(description, problems); }),
              notFound);
}

// Polygon mode, for conversion: every corner of every face, and no three-corner faces.

// Each polygon as "line:p/t/n ..." with "-" for an index not given, then the array sizes
// before it in brackets.
std::string Polygons(const OBJFileParser& parser) {
    std::string text;
    const auto index = [](const std::optional<std::int32_t>& i) {
        return i ? std::to_string(*i) : std::string("-");
    };
    for (const OBJPolygon& polygon : parser.Polygons()) {
        text += std::to_string(polygon.line) + ":";
        for (const OBJPolygon::Corner& c : polygon.corners) {
            text +=
                " " + std::to_string(c.position) + "/" + index(c.texCoord) + "/" + index(c.normal);
        }
        text += " [" + std::to_string(polygon.positionsBefore) + " " +
                std::to_string(polygon.texCoordsBefore) + " " +
                std::to_string(polygon.normalsBefore) + "]\n";
    }
    return text;
}

TEST(OBJFileParserPolygons, KeepsEveryCornerOfEachLineAndNoThreeCornerFaces) {
    const std::string text =
        "v 0 0 0\nvt 0 0\nf 1 2/3 4//-5 -6/7/8\t9 # a comment 10\r\n"
        "vn 0 0 1\nv 1 1 1\nf 1 2 3\nf\n\nf 1";
    const TempFolder folder;
    const std::string path = (folder.Path() / "m.obj").string();
    std::ofstream(path, std::ios::binary) << text;
    // From memory, then from the file in blocks that cut corners and statements.
    for (const std::size_t block : {0u, 1u, 2u, 5u}) {
        OBJGraphicObject model;
        OBJFileParser parser(model, block == 0 ? "m.obj" : path);
        parser.KeepPolygons();
        if (block == 0) {
            parser.ParseBuffer(text, 1.0f);
        } else {
            parser.SetBlockSize(block);
            parser.Parse(1.0f);
        }
        EXPECT_EQ(Polygons(parser),
                  "3: 1/-/- 2/3/- 4/-/-5 -6/7/8 9/-/- [1 1 0]\n"
                  "6: 1/-/- 2/-/- 3/-/- [2 1 1]\n"
                  "7: [2 1 1]\n"
                  "9: 1/-/- [2 1 1]\n")
            << block;
        EXPECT_TRUE(model.faces.empty());
        EXPECT_TRUE(parser.Problems().empty());
        EXPECT_EQ(parser.StopLine(), 0u);
    }
}

// A corner must be whole: an index after each "/" it has, and whitespace after it.
TEST(OBJFileParserPolygons, AMalformedCornerStopsTheReading) {
    for (const char* corner : {"1/", "1//", "1/2/", "1x", "1/2/3/4", "1/ 2"}) {
        OBJGraphicObject model;
        OBJFileParser parser(model, "m.obj");
        parser.KeepPolygons();
        parser.ParseBuffer(std::string("v 0 0 0\nf 1 2 3\nf 1 2 ") + corner + "\nf 1 2 3\n", 1.0f);
        EXPECT_EQ(parser.Polygons().size(), 1u) << corner;
        EXPECT_EQ(parser.StopLine(), 3u) << corner;
        ASSERT_EQ(parser.Problems().size(), 1u) << corner;
        EXPECT_NE(parser.Problems()[0].find("unreadable number in the f statement on line 3"),
                  std::string::npos)
            << parser.Problems()[0];
    }
}

}  // namespace
