#include "objects/RAFileParser.h"

#include "objects/ModelFileError.h"
#include "objects/FrameAnimatableRGO.h"

namespace Tarnhold {

RAFileParser::RAFileParser(FrameAnimatableRGO& target, std::string fileName)
    : RFileParser(target, std::move(fileName)) {}

void RAFileParser::ParseFrom(ByteSource& source) {
    ByteReader in(source);
    const MeshPlace meshPlace = PlaceMesh(in);
    Placed translationsPlace, auxPlace;
    try {
        translationsPlace = Place(in, "translation key count", sizeof(TranslationKey),
                                  "translation key", "translation keys");
        auxPlace = Place(in, "second-track key count", sizeof(AuxKey), "second-track key",
                         "second-track keys");
    } catch (const ModelFileError&) {
        // An index out of range lies before the tracks, so it is the problem reported.
        ReadIndices(in, meshPlace, nullptr);
        throw;
    }
    Mesh mesh = ReadMesh(in, meshPlace);
    TranslationTrack translations = ReadArray<TranslationKey>(in, translationsPlace);
    AuxTrack aux = ReadArray<AuxKey>(in, auxPlace);

    Keep(std::move(mesh));
    // The parser's target is always an animated mesh: the constructor takes nothing else.
    auto& animated = static_cast<FrameAnimatableRGO&>(target);
    animated.translationTrack = std::move(translations);
    animated.auxTrack = std::move(aux);
    animated.translationCursor = 0;
}

}  // namespace Tarnhold
