#include "common/NearestName.h"

#include <algorithm>
#include <cctype>

namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// Edits from `a` to `b`, counting a swap of neighbours as one (optimal string alignment).
std::size_t EditDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> before(b.size() + 1), previous(b.size() + 1), current(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) previous[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t change = a[i - 1] == b[j - 1] ? 0 : 1;
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + change});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                current[j] = std::min(current[j], before[j - 2] + 1);
            }
        }
        std::swap(before, previous);
        std::swap(previous, current);
    }
    return previous[b.size()];
}

}  // namespace

std::optional<std::string> NearestName(std::string_view name, const std::vector<std::string>& known) {
    if (name.empty() || std::find(known.begin(), known.end(), name) != known.end()) return {};
    for (const std::string& candidate : known) {
        if (SameIgnoringCase(name, candidate)) return candidate;
    }
    const std::size_t allowed = name.size() <= 4 ? 1 : 2;
    std::optional<std::string> nearest;
    std::size_t best = allowed + 1;
    for (const std::string& candidate : known) {
        // Lengths differing by more than the allowance cannot be close enough.
        const std::size_t gap = candidate.size() > name.size() ? candidate.size() - name.size()
                                                               : name.size() - candidate.size();
        if (candidate.empty() || gap > allowed) continue;
        const std::size_t distance = EditDistance(name, candidate);
        if (distance < best) {
            best = distance;
            nearest = candidate;
        }
    }
    return nearest;
}
