// The soak's own machinery on a short stretch (the full soak is scripts/soak.sh).
#include <gtest/gtest.h>

#include "soak.h"

TEST(Soak, OneDayAcrossTheTickWrapKeepsTheCounterAndTheText) {
    explore::SoakOptions options;
    options.duration = 24ull * 3600 * 1000;
    options.startTick = 0xFFFFFFFFu - 6 * 3600 * 1000;  // the tick count wraps after 6 hours
    options.storedCounter = 0xFFFFFFFFu - 2 * 3600 * 1000;  // and the counter after 2
    const explore::SoakResult result = explore::soak(options);
    EXPECT_TRUE(result.passed()) << result.failure;
    EXPECT_EQ(result.checks, 17280u);
    EXPECT_EQ(result.samples, 17281u);  // and the first one at the start
    EXPECT_GT(result.notificationUpdates, 24u * 60 - 10);
}

TEST(Soak, NoticesAModelThatDoesNotWrap) {
    explore::SoakOptions options;
    options.duration = 3ull * 3600 * 1000;
    options.storedCounter = 0xFFFFFFFFu - 3600 * 1000;
    options.flaw = explore::ModelFlaw::WideCounter;
    const explore::SoakResult result = explore::soak(options);
    ASSERT_FALSE(result.passed());
    EXPECT_NE(result.failure.find("1193 時間"), std::string::npos) << result.failure;
}
