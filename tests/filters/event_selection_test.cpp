#include "filters/event_selection.h"

#include <gtest/gtest.h>

#include "filters/selection_test_support.h"

using core::KovaState;
using test::FillStore1;
using test::Marked;
using test::RecordsWithField;
using V = std::vector<int>;

namespace {

// Twelve records whose V4 is A at 1, 6 and 11.
core::RecordSet CodesA() {
    return RecordsWithField(4, {"A", "B", "", "B", "", "A", "B", "", "", "B", "A", ""});
}

void Select(KovaState& s, const std::string& variable, const std::string& value,
            const std::string& valueTo = "") {
    s.SelectVariable1 = variable;
    s.SelectValue1 = value;
    s.SelectValueTo1 = valueTo;
}

TEST(EventSelection, OrOnCodeWithAndWithoutContext) {
    KovaState s;
    FillStore1(s, CodesA());
    Select(s, "V4", "A");
    core::SelectEventsOr(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), (V{1, 6, 11}));
    EXPECT_EQ(s.SelectionMarks1[6], 6);  // a new mark is the record's own index

    FillStore1(s, CodesA());
    s.LagBefore = 1;
    s.LagAfter = 2;
    core::SelectEventsOr(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), (V{1, 2, 3, 5, 6, 7, 8, 10, 11, 12}));
    EXPECT_EQ(s.SelectionMarks1[0], 0);  // the hit on record 1 marks no record 0

    // Codes match exactly: letter case and blanks make another code.
    FillStore1(s, CodesA());
    s.LagBefore = s.LagAfter = 0;
    Select(s, "V4", "a");
    core::SelectEventsOr(s);
    Select(s, "V4", "A ");
    core::SelectEventsOr(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), V{});

    // An empty value hits the empty codes.
    Select(s, "V4", "");
    core::SelectEventsOr(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), (V{3, 5, 8, 9, 12}));
}

TEST(EventSelection, TextIsSearchedCaseSensitive) {
    KovaState s;
    FillStore1(s, RecordsWithField(8, {"the Cat sat", "a cat", "", "CAT", "concatenate"}));
    Select(s, "V8", "cat");
    core::SelectEventsOr(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), (V{2, 5}));

    FillStore1(s, RecordsWithField(8, {"the Cat sat", "a cat", "", "CAT", "concatenate"}));
    Select(s, "V8", "");
    core::SelectEventsOr(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), (V{1, 2, 4, 5}));
}

TEST(EventSelection, SequenceNumberComparedAsNumber) {
    KovaState s;
    FillStore1(s, test::RecordsWithV2({1, 2, 3, 1, 3, 0}));
    Select(s, "V2", "3");
    core::SelectEventsOr(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), (V{3, 5}));

    FillStore1(s, test::RecordsWithV2({1, 2, 3, 1, 3, 0}));
    Select(s, "V2", " 3.0 ");
    core::SelectEventsOr(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), (V{3, 5}));

    FillStore1(s, test::RecordsWithV2({1, 2, 3, 1, 3, 0}));
    Select(s, "V2", "2.5");
    core::SelectEventsOr(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), V{});
}

TEST(EventSelection, RecordNumberRangeFromTexts) {
    KovaState s;
    FillStore1(s, CodesA());
    Select(s, "V0", "5", "9");
    s.LagBefore = 3;  // the lags play no part in a range
    s.LagAfter = 3;
    core::SelectEventsOr(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), (V{5, 6, 7, 8, 9}));

    FillStore1(s, CodesA());
    Select(s, "V0", "9", "5");
    core::SelectEventsOr(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), V{});

    FillStore1(s, CodesA());
    Select(s, "V0", "2.5", "4");
    core::SelectEventsOr(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), (V{3, 4}));

    FillStore1(s, CodesA());
    Select(s, "V0", "10", "99");
    core::SelectEventsOrNot(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), (V{1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST(EventSelection, TimeCodeRangeIsATextRangeWithState) {
    KovaState s;
    FillStore1(s, RecordsWithField(1, {"00:05:00", "00:12:00", "", "00:19:00", "00:25:00", ""}));
    Select(s, "V1", "00:10:00", "00:20:00");
    core::SelectEventsOr(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), (V{2, 3, 4}));

    // Time codes sort as texts: 9:00:00 lies above 10:00:00.
    FillStore1(s, RecordsWithField(1, {"10:00:00", "9:00:00", "10:30:00", "11:00:00"}));
    Select(s, "V1", "10:00:00", "10:59:59");
    core::SelectEventsOr(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), (V{1, 3}));
}

TEST(EventSelection, NotIsTakenAfterTheContext) {
    KovaState s;
    FillStore1(s, CodesA());
    Select(s, "V4", "A");
    s.LagAfter = 1;
    core::SelectEventsOrNot(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), (V{3, 4, 5, 8, 9, 10}));
}

TEST(EventSelection, AndNarrowsAShownSelectionOnly) {
    KovaState s;
    FillStore1(s, CodesA(), {2, 3, 6, 7, 9});
    Select(s, "V4", "A");
    s.LagBefore = 1;
    core::SelectEventsAnd(s);  // H = 1, 5, 6, 10, 11
    EXPECT_EQ(Marked(s.SelectionMarks1), V{6});
    EXPECT_EQ(s.SelectionMarks1[6], 3);  // a kept mark keeps its value

    FillStore1(s, CodesA(), {2, 3, 6, 7, 9});
    core::SelectEventsAndNot(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), (V{2, 3, 7, 9}));

    FillStore1(s, CodesA(), {3, 8, 11, 12});
    s.LagBefore = 0;
    Select(s, "V0", "1", "10");
    core::SelectEventsAndNot(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), (V{11, 12}));
}

TEST(EventSelection, OrAddsToAShownSelection) {
    KovaState s;
    FillStore1(s, CodesA(), {2, 4});
    Select(s, "V4", "A");
    core::SelectEventsOr(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), (V{1, 2, 4, 6, 11}));
    EXPECT_EQ(s.SelectionMarks1[4], 2);
}

TEST(EventSelection, LagsShiftClipAndReachAnyWidth) {
    KovaState s;
    FillStore1(s, CodesA());
    Select(s, "V4", "A");
    s.LagBefore = -1;  // the window starts after the hit
    s.LagAfter = 2;
    core::SelectEventsOr(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), (V{2, 3, 7, 8, 12}));

    FillStore1(s, CodesA());
    s.LagBefore = 1;
    s.LagAfter = -2;  // an empty window
    core::SelectEventsOr(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), V{});

    // Lags far beyond 16 bits neither overflow nor reach past the set.
    FillStore1(s, RecordsWithField(4, {"", "", "A", "", ""}));
    s.LagBefore = 1000000000;
    s.LagAfter = 0;
    core::SelectEventsOr(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), (V{1, 2, 3}));
    FillStore1(s, RecordsWithField(4, {"", "", "A", "", ""}));
    s.LagBefore = -1000000000;
    s.LagAfter = 1000000000;
    core::SelectEventsOr(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), V{});
    s.LagBefore = 1000000000;
    core::SelectEventsOr(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), (V{1, 2, 3, 4, 5}));
}

TEST(EventSelection, UnknownVariableHitsNothing) {
    KovaState s;
    FillStore1(s, CodesA());
    Select(s, "V9", "A");
    core::SelectEventsOr(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), V{});
    Select(s, "v4", "A");
    core::SelectEventsOrNot(s);
    EXPECT_EQ(Marked(s.SelectionMarks1).size(), 12u);
}

TEST(EventSelection, SetFollowsTheViewMode) {
    KovaState s;
    FillStore1(s, CodesA());
    Select(s, "V4", "A");
    // The second set: data set 2 and the filter lines share its store and
    // criteria but not their counts.
    s.FullRecords2 = RecordsWithField(4, {"X", "A", "X", "A"});
    s.FullCount2 = 4;
    s.FullFilterCount = 2;
    s.SelectionMarks2.assign(5, 0);
    s.SelectVariable2 = "V4";
    s.SelectValue2 = "X";

    s.ViewMode = 3;
    core::SelectEventsOr(s);
    EXPECT_EQ(Marked(s.SelectionMarks2), V{1});
    s.ViewMode = 2;
    core::SelectEventsOr(s);
    EXPECT_EQ(Marked(s.SelectionMarks2), (V{1, 3}));
    EXPECT_EQ(Marked(s.SelectionMarks1), V{});

    s.ViewMode = 0;
    core::SelectEventsOrNot(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), V{});
    EXPECT_EQ(Marked(s.SelectionMarks2), (V{1, 3}));
}

TEST(EventSelection, StoreShorterThanItsCountIsNotOverrun) {
    KovaState s;
    FillStore1(s, CodesA());
    s.FullCount1 = 40;
    s.SelectionMarks1.resize(8);
    Select(s, "V4", "");
    core::SelectEventsOrNot(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), (V{1, 2, 4, 6, 7}));
}

}  // namespace
