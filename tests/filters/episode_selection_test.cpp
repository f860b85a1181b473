#include "filters/episode_selection.h"

#include <gtest/gtest.h>

#include "filters/selection_test_support.h"

using core::KovaState;
using test::FillStore1;
using test::Marked;
using test::RecordsWithField;
using V = std::vector<int>;

namespace {

// V4: empty, A, empty, A, B, empty, A.
core::RecordSet Episodes() {
    return RecordsWithField(4, {"", "A", "", "A", "B", "", "A"});
}

void Select(KovaState& s, const std::string& variable, const std::string& value,
            const std::string& valueTo = "") {
    s.SelectVariable1 = variable;
    s.SelectValue1 = value;
    s.SelectValueTo1 = valueTo;
}

TEST(EpisodeSelection, CodeEpisodesAllFourForms) {
    KovaState s;
    FillStore1(s, Episodes());
    Select(s, "V4", "A");
    core::SelectEpisodesOr(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), (V{2, 3, 4, 7}));

    FillStore1(s, Episodes());
    core::SelectEpisodesOrNot(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), (V{1, 5, 6}));

    FillStore1(s, Episodes(), {1, 2, 3, 4, 5, 6, 7});
    core::SelectEpisodesAnd(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), (V{2, 3, 4, 7}));

    FillStore1(s, Episodes(), {1, 2, 3, 4, 5, 6, 7});
    core::SelectEpisodesAndNot(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), (V{1, 5, 6}));
}

TEST(EpisodeSelection, HiddenRecordsStillOpenEpisodes) {
    KovaState s;
    FillStore1(s, Episodes(), {3, 6});
    Select(s, "V4", "A");
    core::SelectEpisodesAnd(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), V{3});
    EXPECT_EQ(s.SelectionMarks1[3], 1);

    // The OR forms only add to a shown selection.
    FillStore1(s, Episodes(), {5});
    core::SelectEpisodesOr(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), (V{2, 3, 4, 5, 7}));
}

TEST(EpisodeSelection, EmptyAndExactValues) {
    KovaState s;
    FillStore1(s, Episodes());
    Select(s, "V4", "");
    core::SelectEpisodesOr(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), (V{1, 3, 6}));

    FillStore1(s, Episodes());
    Select(s, "V4", "a");
    core::SelectEpisodesOr(s);
    Select(s, "V4", " A");
    core::SelectEpisodesOr(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), V{});
}

TEST(EpisodeSelection, RecordNumberRange) {
    KovaState s;
    FillStore1(s, Episodes());
    Select(s, "V0", "3", "5");
    core::SelectEpisodesOr(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), (V{3, 4, 5}));

    FillStore1(s, Episodes());
    Select(s, "V0", "2.5", "5");
    core::SelectEpisodesOr(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), (V{3, 4, 5}));

    FillStore1(s, Episodes());
    Select(s, "V0", "3", "5");
    core::SelectEpisodesOrNot(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), (V{1, 2, 6, 7}));

    FillStore1(s, Episodes());
    Select(s, "V0", "6", "2");
    core::SelectEpisodesOr(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), V{});

    FillStore1(s, Episodes(), {1, 2, 3, 4, 5, 6, 7});
    core::SelectEpisodesAnd(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), V{});

    FillStore1(s, Episodes(), {2, 4, 6});
    Select(s, "V0", "3", "5");
    core::SelectEpisodesAndNot(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), (V{2, 6}));
}

TEST(EpisodeSelection, TimeCodeRangeStateAndRangeTest) {
    const core::RecordSet times =
        RecordsWithField(1, {"10:00:00", "10:10:00", "", "9:30:00", "", "10:20:00"});
    KovaState s;
    FillStore1(s, times);
    Select(s, "V1", "10:00:00", "10:30:00");
    core::SelectEpisodesOr(s);  // 9:30:00 lies above 10:30:00 as a text and closes
    EXPECT_EQ(Marked(s.SelectionMarks1), (V{1, 2, 3, 6}));

    FillStore1(s, times);
    core::SelectEpisodesOrNot(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), (V{4, 5}));

    // The AND forms test each marked record's own time code.
    FillStore1(s, times, {1, 2, 3, 4, 5, 6});
    core::SelectEpisodesAnd(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), (V{1, 2, 6}));
    FillStore1(s, times, {1, 2, 3, 4, 5, 6});
    core::SelectEpisodesAndNot(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), (V{3, 4, 5}));
}

TEST(EpisodeSelection, SequenceNumberZeroIsEmpty) {
    KovaState s;
    FillStore1(s, test::RecordsWithV2({0, 3, 0, 1, 0, 3}));
    Select(s, "V2", "3");
    core::SelectEpisodesOr(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), (V{2, 3, 6}));

    FillStore1(s, test::RecordsWithV2({0, 3, 0, 1, 0, 3}));
    Select(s, "V2", "0");
    core::SelectEpisodesOr(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), (V{1, 3, 5}));

    FillStore1(s, test::RecordsWithV2({0, 3, 0, 1, 0, 3}));
    Select(s, "V2", "2.5");  // no sequence number equals a fraction
    core::SelectEpisodesOr(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), V{});
}

TEST(EpisodeSelection, NothingForTextVariableEmptySetOrViewModeZero) {
    KovaState s;
    FillStore1(s, RecordsWithField(8, {"a", "b"}));
    Select(s, "V8", "a");
    core::SelectEpisodesOrNot(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), V{});

    FillStore1(s, core::RecordSet(1));
    Select(s, "V4", "");
    core::SelectEpisodesOrNot(s);
    EXPECT_EQ(s.SelectionMarks1.size(), 1u);

    FillStore1(s, Episodes());
    s.ViewMode = 0;
    core::SelectEpisodesOrNot(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), V{});
}

TEST(EpisodeSelection, FilterLinesUseTheSecondStore) {
    KovaState s;
    s.ViewMode = 3;
    s.FullRecords2 = RecordsWithField(3, {"x", "", "y", "x", ""});
    s.FullFilterCount = 5;
    s.SelectionMarks2.assign(6, 0);
    s.SelectVariable2 = "V3";
    s.SelectValue2 = "x";
    core::SelectEpisodesOr(s);
    EXPECT_EQ(Marked(s.SelectionMarks2), (V{1, 2, 4, 5}));
}

}  // namespace
