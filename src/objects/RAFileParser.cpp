#include "objects/RAFileParser.h"

#include <memory>

#include "objects/ByteReader.h"
#include "objects/FrameAnimatableRGO.h"

namespace {

std::string KeysOf(std::uint32_t count, const char* track) {
    return std::to_string(count) + " " + track + (count == 1 ? " key" : " keys");
}

}  // namespace

namespace Tarnhold {

RAFileParser::RAFileParser(FrameAnimatableRGO& target, std::string fileName)
    : RFileParser(target, std::move(fileName)) {}

void RAFileParser::ParseBuffer(std::string_view bytes) {
    ByteReader in(bytes);
    Mesh mesh = ReadMesh(in);

    TranslationTrack translations;
    translations.count = ReadCount(in, "translation key count");
    Require(in, std::uint64_t{translations.count} * sizeof(TranslationKey),
            KeysOf(translations.count, "translation"));
    translations.data = std::make_unique_for_overwrite<TranslationKey[]>(translations.count);
    in.CopyWords(translations.data.get(), translations.count);

    AuxTrack aux;
    aux.count = ReadCount(in, "second-track key count");
    Require(in, std::uint64_t{aux.count} * sizeof(AuxKey), KeysOf(aux.count, "second-track"));
    aux.data = std::make_unique_for_overwrite<AuxKey[]>(aux.count);
    in.CopyWords(aux.data.get(), aux.count);

    Keep(std::move(mesh));
    // The parser's target is always an animated mesh: the constructor takes nothing else.
    auto& animated = static_cast<FrameAnimatableRGO&>(target);
    animated.translationTrack = std::move(translations);
    animated.auxTrack = std::move(aux);
    animated.translationCursor = 0;
}

}  // namespace Tarnhold
