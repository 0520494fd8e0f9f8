#include "platform/show_mode.h"

#include <algorithm>

int ShowWindowValueForMode(std::optional<int> showMode) {
    // SW_HIDE, SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED, SW_SHOWNOACTIVATE, SW_MINIMIZE
    constexpr int kValues[] = {0, 1, 2, 3, 4, 6};
    return kValues[std::clamp(showMode.value_or(2), 1, 6) - 1];
}
