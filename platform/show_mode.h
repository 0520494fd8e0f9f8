#pragma once
// The show-window value for a started process's first window. No Windows call.

#include <optional>

// 1 hidden, 2 normal, 3 minimised, 4 maximised, 5 shown without activation, 6 minimise; not given
// counts as 2, above 6 as 6 and below 1 as 1. Answers the SW_ value.
int ShowWindowValueForMode(std::optional<int> showMode);
