#pragma once
// Waiting in GoogleTest tests. Qt's QTRY_ macros report a failure to Qt's own
// test logger, which GoogleTest never hears of: a test that waits with them
// passes whatever happens. These wait the same way (events processed, no
// sleeping) and fail the test when the condition never holds.

#include <gtest/gtest.h>

#include <QTest>

#define VINKRING_WAIT_FOR(condition, ms) QTest::qWaitFor([&] { return bool(condition); }, ms)

#define EXPECT_EVENTUALLY_WITH_TIMEOUT(condition, ms) \
    EXPECT_TRUE(VINKRING_WAIT_FOR(condition, ms)) << "never came true: " #condition
#define ASSERT_EVENTUALLY_WITH_TIMEOUT(condition, ms) \
    ASSERT_TRUE(VINKRING_WAIT_FOR(condition, ms)) << "never came true: " #condition
#define EXPECT_EVENTUALLY(condition) EXPECT_EVENTUALLY_WITH_TIMEOUT(condition, 5000)
#define ASSERT_EVENTUALLY(condition) ASSERT_EVENTUALLY_WITH_TIMEOUT(condition, 5000)
