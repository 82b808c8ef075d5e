#include <gtest/gtest.h>
#include "app/fieldtable.h"
TEST(FieldTable, HasAllFields) { EXPECT_EQ(vinkring::kFields.size(), 27u); }
