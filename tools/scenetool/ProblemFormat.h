#pragma once

#include <string>

#include "common/Problem.h"

// "FOLDER/FILE:PLACE: TEXT" ("FILE: TEXT" without a place), the form compilers use, so
// editors can jump to it. The place is the line, or for binary model files the byte; the
// text is the problem's Brief(). `folder` "." adds nothing in front.
std::string FormatProblem(const Problem& problem, const std::string& folder);
