#include "ModelNote.h"

std::vector<ModelNote> JoinModelNotes(std::vector<Problem>& problems,
                                      const std::vector<ModelNote>& notes) {
    std::vector<ModelNote> alone;
    for (const ModelNote& note : notes) {
        bool joined = false;
        for (Problem& problem : problems) {
            if (note.continuation.empty() || problem.file != note.file) continue;
            if (note.line != 0 && problem.line != note.line) continue;
            problem.brief = problem.Brief() + " " + note.continuation;
            joined = true;
        }
        if (!joined && !note.text.empty()) alone.push_back(note);
    }
    return alone;
}
