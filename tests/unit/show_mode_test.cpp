#include <gtest/gtest.h>

#include "platform/show_mode.h"

namespace {

TEST(ShowWindowValueForMode, MapsAndClampsTheShowMode) {
    const struct {
        std::optional<int> mode;
        int value;
    } cases[] = {{std::nullopt, 1}, {1, 0}, {2, 1}, {3, 2}, {4, 3}, {5, 4}, {6, 6},
                 {0, 0},            {-7, 0}, {7, 6}, {1000, 6}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode ? *c.mode : -999);
        EXPECT_EQ(ShowWindowValueForMode(c.mode), c.value);
    }
}

}  // namespace
