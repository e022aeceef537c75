#pragma once

#include <string>
#include <vector>

#include "common/Problem.h"

// What the viewer makes of a model file, in the user's terms, and what to do about it:
// faces it shows from the back, draws in part or not at all, a file that is not the type
// its element names. check prints a note as a warning, or as an error where the viewer
// draws nothing; info lists it with the problems.
struct ModelNote {
    std::string file;  // as the scene names it; Scene.xml for a note about an element
    int line = 0;      // 1-based; 0 for the whole file
    bool drawsNothing = false;
    std::string text;  // the note on its own; empty when it only completes a reader's entry
    // When the viewer's reader already reports what is wrong at this place (any place in
    // the file for line 0), the words that complete its entry instead; empty when the note
    // always stands on its own.
    std::string continuation;
};

// Adds each note's continuation to the problems of its file at its place, and returns the
// notes that stand on their own: those without a continuation and those whose place has
// no problem (unless their text is empty).
std::vector<ModelNote> JoinModelNotes(std::vector<Problem>& problems,
                                      const std::vector<ModelNote>& notes);
