#include "LoadProblems.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ProblemFormat.h"

namespace {

std::vector<std::string> Printed(const std::vector<Problem>& reported) {
    std::vector<std::string> lines;
    for (const Problem& problem : LoadProblems(reported))
        lines.push_back(FormatProblem(problem, "."));
    return lines;
}

Problem NotCompiled(const std::string& file, const std::string& driverLog) {
    Problem problem = Problem::At(
        file, 0, "Shader program p: the vertex shader " + file + " did not compile:\n" + driverLog);
    problem.driverLog = driverLog;
    return problem;
}

// Each line of a driver's report goes to the source line it names, in either driver's
// form; a line that names none stays with the file, and a silent driver is said to be.
TEST(LoadProblems, AShadersReportIsSplitIntoTheLinesItNames) {
    EXPECT_EQ(Printed({NotCompiled("a.vert",
                                   "0:3(12): error: `x' undeclared\n\nERROR: 0:17: 'y' : syntax "
                                   "error\nwarning 40:2 without a colon after it")}),
              (std::vector<std::string>{"a.vert:3: 0:3(12): error: `x' undeclared",
                                        "a.vert:17: ERROR: 0:17: 'y' : syntax error",
                                        "a.vert: warning 40:2 without a colon after it"}));
    EXPECT_EQ(
        Printed({NotCompiled("b.frag", " \n")}),
        (std::vector<std::string>{"b.frag: did not compile, and the driver says nothing more"}));
}

// The fixed entries that only repeat that a section failed count only while nothing has
// said why; a problem that names no file is the scene's.
TEST(LoadProblems, FollowupsCountOnlyUntilAProblemSaysWhy) {
    const Problem followup = Problem::Followup("Scene.xml", "File Scene.xml not exist.");
    EXPECT_EQ(Printed({followup, Problem::Followup("Scene.xml", "In scene Load() method.")}),
              (std::vector<std::string>{"Scene.xml: File Scene.xml not exist.",
                                        "Scene.xml: In scene Load() method."}));
    EXPECT_EQ(Printed({Problem::AtLine("Scene.xml", 4, " is not well-formed XML: X."), followup,
                       Problem::Text("Could not find creator: Q")}),
              (std::vector<std::string>{"Scene.xml:4: Scene.xml is not well-formed XML: X.",
                                        "Scene.xml: Could not find creator: Q"}));
}

}  // namespace
