#pragma once
// Bounded waiting in GoogleTest tests. Qt Test's QTRY_* and QCOMPARE report
// to Qt Test, which GoogleTest never hears: a failure there returns from the
// test silently. These wait as QTRY_* do (events processed, no sleeping) and
// fail the GoogleTest test when the condition never holds.

#include <gtest/gtest.h>

#include <QTest>

#define VINKRING_WAIT_FOR(condition, ms) QTest::qWaitFor([&] { return bool(condition); }, ms)

#define EXPECT_EVENTUALLY_WITH_TIMEOUT(condition, ms) \
    EXPECT_TRUE(VINKRING_WAIT_FOR(condition, ms)) << "never came true: " #condition
#define ASSERT_EVENTUALLY_WITH_TIMEOUT(condition, ms) \
    ASSERT_TRUE(VINKRING_WAIT_FOR(condition, ms)) << "never came true: " #condition
#define EXPECT_EVENTUALLY(condition) EXPECT_EVENTUALLY_WITH_TIMEOUT(condition, 5000)
#define ASSERT_EVENTUALLY(condition) ASSERT_EVENTUALLY_WITH_TIMEOUT(condition, 5000)
