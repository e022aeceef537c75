#pragma once

#include <cstddef>
#include <string>

class RgbImage;

// How far a picture is from an expected one. Renderers on different processors may round
// a few edge pixels differently, so a match allows a small difference: a pixel counts as
// different when one of its samples is off by more than `channelTolerance`, and the
// pictures match while at most `fractionTolerance` of their pixels are different.
class ImageComparison {
public:
    struct Tolerance {
        int channelTolerance = 0;
        double fractionTolerance = 0.0;
    };

    ImageComparison(const RgbImage& actual, const RgbImage& expected, Tolerance tolerance);

    bool SameSize() const { return sameSize; }
    // The largest difference of any sample, 0 to 255.
    int MaxChannelDifference() const { return maxChannelDifference; }
    std::size_t DifferentPixels() const { return differentPixels; }
    double DifferentFraction() const;
    bool Matches() const;

    // One line for a failure message: sizes, largest difference, share of different pixels.
    std::string Describe() const;

private:
    Tolerance tolerance;
    bool sameSize = false;
    int actualWidth = 0, actualHeight = 0, expectedWidth = 0, expectedHeight = 0;
    int maxChannelDifference = 0;
    std::size_t differentPixels = 0;
};
