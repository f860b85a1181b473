#include "store/record.h"

#include <gtest/gtest.h>

TEST(Record, TextFieldsByNumber) {
    core::ProtocolRecord r;
    *core::TextField(r, 1) = "0:00:01";
    *core::TextField(r, 8) = "text";
    EXPECT_EQ(r.V1, "0:00:01");
    EXPECT_EQ(r.V8, "text");
    EXPECT_EQ(core::TextField(r, 0), nullptr);
    EXPECT_EQ(core::TextField(r, 2), nullptr);
    EXPECT_EQ(core::TextField(r, 9), nullptr);
}
