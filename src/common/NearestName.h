#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The name among `known` that `name` was most likely meant to be, for "did you mean ...?"
// hints: one that differs only in case, or else the closest by edits (a letter inserted,
// dropped, changed, or two neighbours swapped), within 1 edit for names of up to 4
// letters and 2 for longer ones. Nothing when `name` is itself known, is empty, or no
// name is that close; of equally close names the first in `known` wins.
std::optional<std::string> NearestName(std::string_view name, const std::vector<std::string>& known);
