#pragma once

#include <cstring>

#include "objects/OBJFace.h"
#include "objects/OBJPolygon.h"
#include "objects/internal/QuickNumbers.h"
#include "objects/internal/TextCursor.h"

// The readings of the numbers of one OBJ statement, after its keyword: the quick ones for
// statements in their usual form, which need kQuickReach bytes readable past each number,
// and the stream ones for every form.

// Reads `count` numbers, each after a single space, and the line end after them, as a
// vertex statement usually stands. What follows each number is a space or a line end,
// never more of it.
[[gnu::always_inline]] inline bool QuickValues(const char*& p, float* values, int count) {
    const char* q = p;
    for (int i = 0; i < count; ++i) {
        if (*q != ' ') return false;
        ++q;
        if (!QuickDecimal(q, values[i])) return false;
    }
    if (*q == '\r') ++q;
    if (*q != '\n') return false;
    p = q + 1;
    return true;
}

// Reads three corners (p, p/t, p/t/n or p//n) of unsigned indices, each after a single
// space, and the rest of the line, as a face statement usually stands.
[[gnu::always_inline]] inline bool QuickFace(const char*& p, const char* end, OBJFace& face) {
    const char* q = p;
#pragma GCC unroll 3
    for (int corner = 0; corner < 3; ++corner) {
        if (*q != ' ') return false;
        ++q;
        if (!QuickIndex(q, face.position[corner])) return false;
        if (*q != '/') continue;
        ++q;
        // A texture index left out (p//n) keeps the last one, as in the stream reading.
        if (*q != '/' && !QuickIndex(q, face.texCoord[corner])) return false;
        if (*q != '/') continue;
        ++q;
        if (!QuickIndex(q, face.normal[corner])) return false;
    }
    // Like the stream reading, the character after the third corner is taken, and unless
    // it ends the line, the rest of the line is dropped.
    if (*q++ != '\n') {
        q = static_cast<const char*>(std::memchr(q, '\n', static_cast<std::size_t>(end - q)));
        if (!q) return false;
        ++q;
    }
    p = q;
    return true;
}

// Reads one face's first three corners into `face` by the stream rules; false if a number
// is unreadable.
bool ReadFace(TextCursor& in, OBJFace& face);

// Reads the corners of a face up to the end of its line; false if one is unreadable.
bool ReadPolygon(TextCursor& in, OBJPolygon& polygon);
