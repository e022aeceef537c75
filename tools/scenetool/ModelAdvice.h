#pragma once

#include <string>
#include <vector>

#include "ModelContent.h"
#include "ModelNote.h"
#include "objects/RMesh.h"

// The explanations that check and info share: what the viewer makes of a model file, in
// the user's terms, and what to do about it.

// The notes on the OBJ text at `path`, read as the viewer reads it (positions times 0.1,
// first three corners of each face) and with whole faces as scenetool convert reads it:
// faces that wind counter-clockwise as seen from the side their normals point to, faces
// with more than three corners, a file or faces without normals. Placed at the line of the
// first face concerned. None when the file cannot be read; the loader says why.
std::vector<ModelNote> ExplainOBJ(const std::string& path);

// The note on the mesh of the R or RA file at `path`, if any: triangles that wind
// counter-clockwise as seen from the side their normals point to, which the viewer shows
// from the back. About the whole file; the text names the first triangle and its byte.
std::vector<ModelNote> ExplainMesh(const std::string& path, const RMesh& mesh);

// The notes on a model file whose `content` is not the type `type` ("OBJ", "R" or "RA")
// names: binary named as OBJ, OBJ text named as R or RA, an RA mesh named as R (drawn
// without its animation), an R mesh named as RA. For check, `sceneLine` is the line of the
// element in Scene.xml, where a note about the element stands; for info, whose type comes
// from the file's name, it is 0.
std::vector<ModelNote> ExplainContent(const std::string& type, const std::string& path,
                                      const ModelContent& content, int sceneLine);
