#pragma once
// Bounded waiting in GoogleTest tests. Qt Test's QTRY_* and QCOMPARE report
// to Qt Test, which GoogleTest never hears: a failure there returns from the
// test silently. These wait as QTRY_* do (events processed, 5 s at most) and
// fail the GoogleTest test.

#include <gtest/gtest.h>

#include <QTest>

#define EXPECT_EVENTUALLY(condition) EXPECT_TRUE(QTest::qWaitFor([&] { return bool(condition); })) << #condition
#define ASSERT_EVENTUALLY(condition) ASSERT_TRUE(QTest::qWaitFor([&] { return bool(condition); })) << #condition
