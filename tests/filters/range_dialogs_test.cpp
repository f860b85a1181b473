// The range dialogs read typed record numbers the same way: a range one of them
// accepts means the same records in every other.
#include <gtest/gtest.h>

#include "analyses/frequency_menu.h"
#include "filters/filter_test_support.h"
#include "filters/run_filter_command.h"
#include "support/fake_ui.h"

namespace {

TEST(RangeDialogs, FrequencyOptionsAndRunFiltersMapTypedNumbersAlike) {
    struct Case {
        const char* from;
        const char* to;
        int16_t wantFrom, wantTo;
    } cases[] = {
        {"6", "9", 2, 4},                    // both shown
        {"2", "3", 1, 1},                    // "from" not shown: the first shown record after it
        {"4", "9", 2, 4}, {"3", "7", 1, 3},  // "to" not shown: the last shown record before it
        {"9", "3", 1, 0},                    // no shown record in the range: an empty range
        {"6", "6", 2, 3},                    // both records with the same number
    };
    for (const Case& c : cases) {
        core::KovaState s;
        test::SetCodedProtocol(s, 4, {});
        const int16_t numbers[] = {0, 3, 6, 6, 9};  // a shown selection
        for (int i = 1; i <= 4; ++i)
            s.Records1[static_cast<size_t>(i)].V0 = numbers[i];
        s.SelectionShown1 = core::kTrue;
        test::FakeUi ui;

        ASSERT_TRUE(core::ApplyFrequencyOptions(s, ui, c.from, c.to, false, false));
        EXPECT_EQ(s.FromRecord, c.wantFrom) << "frequency " << c.from << ".." << c.to;
        EXPECT_EQ(s.ToRecord, c.wantTo) << "frequency " << c.from << ".." << c.to;

        s.FromRecord = s.ToRecord = 0;
        core::ReadFilterRange(s, c.from, c.to);
        EXPECT_EQ(s.FromRecord, c.wantFrom) << "run filters " << c.from << ".." << c.to;
        EXPECT_EQ(s.ToRecord, c.wantTo) << "run filters " << c.from << ".." << c.to;
    }
}

}  // namespace
