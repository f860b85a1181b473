#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "store/record_edit.h"
#include "store/state.h"
#include "support/fake_ui.h"

namespace {

// Data set 1 of five records, numbered 1..5, every V2 stale (7); record 5
// current, the page showing records 1..5 as they are now.
void SetStaleSet(core::KovaState& s) {
    const std::vector<std::pair<std::string, std::string>> timeAndActor = {
        {"0:00:01", "A"}, {"", "A"}, {"", "A"}, {"", "B"}, {"0:00:09", "B"}};
    s.Records1.assign(1, core::ProtocolRecord{});
    for (const auto& [time, actor] : timeAndActor) {
        core::ProtocolRecord r;
        r.V0 = static_cast<int16_t>(s.Records1.size());
        r.V1 = time;
        r.V2 = 7;
        r.V3 = actor;
        r.V8 = "text " + std::to_string(r.V0);
        s.Records1.push_back(r);
    }
    s.RecordCount1 = 5;
    s.CurrentRecord1 = 5;
    s.DataFileName1 = "protocol.kov";
    for (int row = 6; row <= 10; ++row)
        s.Main.rows[row].v[2] = "7";
}

std::vector<int> SequenceColumn(const core::KovaState& s) {
    std::vector<int> out;
    for (int i = 1; i <= s.RecordCount1; ++i)
        out.push_back(s.Records1[i].V2);
    return out;
}

TEST(RenumberSequencer, InTheDataViewRenumbersAndRedrawsThePage) {
    core::KovaState s;
    test::FakeUi ui;
    SetStaleSet(s);
    s.ViewMode = 1;
    core::RenumberSequencer(s, ui);
    EXPECT_EQ(SequenceColumn(s), (std::vector<int>{1, 2, 3, 1, 1}));
    EXPECT_EQ(ui.redraws, 1);
    // The page shows the new numbers, the current record on the bottom row.
    std::vector<std::string> shown;
    for (int row = 6; row <= 10; ++row)
        shown.push_back(s.Main.rows[row].v[2]);
    EXPECT_EQ(shown, (std::vector<std::string>{"1", "2", "3", "1", "1"}));
    EXPECT_EQ(s.Main.rows[10].v[0], "5");
    EXPECT_EQ(s.CurrentRecord1, 5);
}

TEST(RenumberSequencer, OtherViewsChangeNothing) {
    for (int16_t mode : {0, 2, 3}) {
        core::KovaState s;
        test::FakeUi ui;
        SetStaleSet(s);
        s.ViewMode = mode;
        s.Records2 = s.Records1;  // a second set or filter lines, as stale
        s.RecordCount2 = 5;
        s.FilterCount = 5;
        const core::KovaState before = s;
        core::RenumberSequencer(s, ui);
        EXPECT_EQ(s.Records1, before.Records1) << "view mode " << mode;
        EXPECT_EQ(s.Records2, before.Records2) << "view mode " << mode;
        EXPECT_EQ(s.Main, before.Main) << "view mode " << mode;
        EXPECT_EQ(ui.redraws, 0) << "view mode " << mode;
        EXPECT_TRUE(ui.log.empty()) << "view mode " << mode;
    }
}

}  // namespace
