#pragma once

#include <vector>

#include "common/Problem.h"

// The problems that loading a scene reported, as check prints them, in the order written:
// a follow-up entry (a section or the load failed) only while nothing has said why yet; a
// shader that did not compile as one problem for each line of the driver's report, at the
// line of the source file that it names; a problem with no file, at Scene.xml.
std::vector<Problem> LoadProblems(const std::vector<Problem>& reported);
