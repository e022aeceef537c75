#include "ImageComparison.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "RgbImage.h"

ImageComparison::ImageComparison(const RgbImage& actual, const RgbImage& expected,
                                 Tolerance tolerance)
    : tolerance(tolerance),
      sameSize(actual.Width() == expected.Width() && actual.Height() == expected.Height()),
      actualWidth(actual.Width()),
      actualHeight(actual.Height()),
      expectedWidth(expected.Width()),
      expectedHeight(expected.Height()) {
    if (!sameSize) return;
    for (int y = 0; y < actual.Height(); ++y) {
        for (int x = 0; x < actual.Width(); ++x) {
            const std::uint8_t* a = actual.At(x, y);
            const std::uint8_t* e = expected.At(x, y);
            int pixelDifference = 0;
            for (int c = 0; c < 3; ++c) {
                pixelDifference = std::max(pixelDifference, std::abs(int{a[c]} - int{e[c]}));
            }
            maxChannelDifference = std::max(maxChannelDifference, pixelDifference);
            if (pixelDifference > tolerance.channelTolerance) ++differentPixels;
        }
    }
}

double ImageComparison::DifferentFraction() const {
    const double pixels = static_cast<double>(actualWidth) * actualHeight;
    return pixels > 0 ? static_cast<double>(differentPixels) / pixels : 0.0;
}

bool ImageComparison::Matches() const {
    return sameSize && DifferentFraction() <= tolerance.fractionTolerance;
}

std::string ImageComparison::Describe() const {
    std::ostringstream text;
    if (!sameSize) {
        text << "size " << actualWidth << "x" << actualHeight << ", expected " << expectedWidth
             << "x" << expectedHeight;
        return text.str();
    }
    text << differentPixels << " of " << actualWidth * actualHeight
         << " pixels differ by more than " << tolerance.channelTolerance << " ("
         << DifferentFraction() * 100.0 << "%, allowed " << tolerance.fractionTolerance * 100.0
         << "%); largest sample difference " << maxChannelDifference;
    return text.str();
}
