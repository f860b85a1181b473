// The event and episode selections on small sets of data set 1, with the
// marked record numbers written out.
#include <gtest/gtest.h>

#include <algorithm>

#include "filters/episode_selection.h"
#include "filters/event_selection.h"
#include "filters/selection_test_support.h"

using core::KovaState;
using test::FillStore1;
using test::Marked;
using test::RecordsWithField;
using V = std::vector<int>;

namespace {

// V4 is A at 1, 6 and 11.
const core::RecordSet kCodes =
    RecordsWithField(4, {"A", "B", "", "B", "", "A", "B", "", "", "B", "A", ""});
// V4 episodes: empty, A, empty, A, B, empty, A.
const core::RecordSet kEpisodes = RecordsWithField(4, {"", "A", "", "A", "B", "", "A"});
const core::RecordSet kTexts =
    RecordsWithField(8, {"the Cat sat", "a cat", "", "CAT", "concatenate"});
const core::RecordSet kTimes =
    RecordsWithField(1, {"00:05:00", "00:12:00", "", "00:19:00", "00:25:00", ""});
const core::RecordSet kTextOrder =
    RecordsWithField(1, {"10:00:00", "9:00:00", "10:30:00", "11:00:00"});
const core::RecordSet kEpisodeTimes =
    RecordsWithField(1, {"10:00:00", "10:10:00", "", "9:30:00", "", "10:20:00"});
const core::RecordSet kSequence = test::RecordsWithV2({0, 3, 0, 1, 0, 3});
const core::RecordSet kFive = RecordsWithField(4, {"", "", "A", "", ""});

using Routine = void (*)(KovaState&);
struct Case {
    const char* name;
    Routine routine;
    const core::RecordSet* set;
    const char* variable;
    const char* value;
    const char* valueTo;
    int32_t lagBefore;
    int32_t lagAfter;
    V shown;  // marked before the call, as a shown selection
    V expected;
};

// clang-format off
const Case kCases[] = {
    // Events on a code, with context and NOT.
    {"or code", core::SelectEventsOr, &kCodes, "V4", "A", "", 0, 0, {}, {1, 6, 11}},
    {"or lags", core::SelectEventsOr, &kCodes, "V4", "A", "", 1, 2, {}, {1, 2, 3, 5, 6, 7, 8, 10, 11, 12}},
    {"or case", core::SelectEventsOr, &kCodes, "V4", "a", "", 0, 0, {}, {}},
    {"or blank", core::SelectEventsOr, &kCodes, "V4", "A ", "", 0, 0, {}, {}},
    {"or empty", core::SelectEventsOr, &kCodes, "V4", "", "", 0, 0, {}, {3, 5, 8, 9, 12}},
    {"or not lag", core::SelectEventsOrNot, &kCodes, "V4", "A", "", 0, 1, {}, {3, 4, 5, 8, 9, 10}},
    {"and", core::SelectEventsAnd, &kCodes, "V4", "A", "", 1, 0, {2, 3, 6, 7, 9}, {6}},
    {"and not", core::SelectEventsAndNot, &kCodes, "V4", "A", "", 1, 0, {2, 3, 6, 7, 9}, {2, 3, 7, 9}},
    {"or adds", core::SelectEventsOr, &kCodes, "V4", "A", "", 0, 0, {2, 4}, {1, 2, 4, 6, 11}},
    {"lag shifts", core::SelectEventsOr, &kCodes, "V4", "A", "", -1, 2, {}, {2, 3, 7, 8, 12}},
    {"lag empty", core::SelectEventsOr, &kCodes, "V4", "A", "", 1, -2, {}, {}},
    {"lag wide", core::SelectEventsOr, &kFive, "V4", "A", "", 1000000000, 0, {}, {1, 2, 3}},
    {"lag far", core::SelectEventsOr, &kFive, "V4", "A", "", -1000000000, 1000000000, {}, {}},
    {"lag all", core::SelectEventsOr, &kFive, "V4", "A", "", 1000000000, 1000000000, {}, {1, 2, 3, 4, 5}},
    {"unknown", core::SelectEventsOr, &kCodes, "V9", "A", "", 0, 0, {}, {}},
    {"lower v", core::SelectEventsOrNot, &kCodes, "v4", "A", "", 0, 0, {}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
    // Events on the text, the sequence number and the ranges.
    {"text", core::SelectEventsOr, &kTexts, "V8", "cat", "", 0, 0, {}, {2, 5}},
    {"text empty", core::SelectEventsOr, &kTexts, "V8", "", "", 0, 0, {}, {1, 2, 4, 5}},
    {"seq", core::SelectEventsOr, &kSequence, "V2", "3", "", 0, 0, {}, {2, 6}},
    {"seq blanks", core::SelectEventsOr, &kSequence, "V2", " 3.0 ", "", 0, 0, {}, {2, 6}},
    {"seq fraction", core::SelectEventsOr, &kSequence, "V2", "2.5", "", 0, 0, {}, {}},
    {"lines", core::SelectEventsOr, &kCodes, "V0", "5", "9", 3, 3, {}, {5, 6, 7, 8, 9}},
    {"lines reversed", core::SelectEventsOr, &kCodes, "V0", "9", "5", 0, 0, {}, {}},
    {"lines fraction", core::SelectEventsOr, &kCodes, "V0", "2.5", "4", 0, 0, {}, {3, 4}},
    {"lines not", core::SelectEventsOrNot, &kCodes, "V0", "10", "99", 0, 0, {}, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
    {"lines and not", core::SelectEventsAndNot, &kCodes, "V0", "1", "10", 0, 0, {3, 8, 11, 12}, {11, 12}},
    {"times", core::SelectEventsOr, &kTimes, "V1", "00:10:00", "00:20:00", 0, 0, {}, {2, 3, 4}},
    {"times as text", core::SelectEventsOr, &kTextOrder, "V1", "10:00:00", "10:59:59", 0, 0, {}, {1, 3}},
    // Episodes.
    {"epi or", core::SelectEpisodesOr, &kEpisodes, "V4", "A", "", 0, 0, {}, {2, 3, 4, 7}},
    {"epi or not", core::SelectEpisodesOrNot, &kEpisodes, "V4", "A", "", 0, 0, {}, {1, 5, 6}},
    {"epi and", core::SelectEpisodesAnd, &kEpisodes, "V4", "A", "", 0, 0, {1, 2, 3, 4, 5, 6, 7}, {2, 3, 4, 7}},
    {"epi and not", core::SelectEpisodesAndNot, &kEpisodes, "V4", "A", "", 0, 0, {1, 2, 3, 4, 5, 6, 7}, {1, 5, 6}},
    {"epi hidden opener", core::SelectEpisodesAnd, &kEpisodes, "V4", "A", "", 0, 0, {3, 6}, {3}},
    {"epi or adds", core::SelectEpisodesOr, &kEpisodes, "V4", "A", "", 0, 0, {5}, {2, 3, 4, 5, 7}},
    {"epi empty", core::SelectEpisodesOr, &kEpisodes, "V4", "", "", 0, 0, {}, {1, 3, 6}},
    {"epi case", core::SelectEpisodesOr, &kEpisodes, "V4", "a", "", 0, 0, {}, {}},
    {"epi blank", core::SelectEpisodesOr, &kEpisodes, "V4", " A", "", 0, 0, {}, {}},
    {"epi lines", core::SelectEpisodesOr, &kEpisodes, "V0", "3", "5", 0, 0, {}, {3, 4, 5}},
    {"epi lines fraction", core::SelectEpisodesOr, &kEpisodes, "V0", "2.5", "5", 0, 0, {}, {3, 4, 5}},
    {"epi lines not", core::SelectEpisodesOrNot, &kEpisodes, "V0", "3", "5", 0, 0, {}, {1, 2, 6, 7}},
    {"epi lines reversed", core::SelectEpisodesOr, &kEpisodes, "V0", "6", "2", 0, 0, {}, {}},
    {"epi lines and reversed", core::SelectEpisodesAnd, &kEpisodes, "V0", "6", "2", 0, 0, {1, 2, 3, 4, 5, 6, 7}, {}},
    {"epi lines and not", core::SelectEpisodesAndNot, &kEpisodes, "V0", "3", "5", 0, 0, {2, 4, 6}, {2, 6}},
    {"epi times", core::SelectEpisodesOr, &kEpisodeTimes, "V1", "10:00:00", "10:30:00", 0, 0, {}, {1, 2, 3, 6}},
    {"epi times not", core::SelectEpisodesOrNot, &kEpisodeTimes, "V1", "10:00:00", "10:30:00", 0, 0, {}, {4, 5}},
    {"epi times and", core::SelectEpisodesAnd, &kEpisodeTimes, "V1", "10:00:00", "10:30:00", 0, 0, {1, 2, 3, 4, 5, 6}, {1, 2, 6}},
    {"epi times and not", core::SelectEpisodesAndNot, &kEpisodeTimes, "V1", "10:00:00", "10:30:00", 0, 0, {1, 2, 3, 4, 5, 6}, {3, 4, 5}},
    {"epi seq zero empty", core::SelectEpisodesOr, &kSequence, "V2", "3", "", 0, 0, {}, {2, 3, 6}},
    {"epi seq zero value", core::SelectEpisodesOr, &kSequence, "V2", "0", "", 0, 0, {}, {1, 3, 5}},
    {"epi seq fraction", core::SelectEpisodesOr, &kSequence, "V2", "2.5", "", 0, 0, {}, {}},
    {"epi text", core::SelectEpisodesOrNot, &kTexts, "V8", "cat", "", 0, 0, {}, {}},
};
// clang-format on

TEST(SelectionRoutines, MarkTheExpectedRecords) {
    for (const Case& c : kCases) {
        KovaState s;
        FillStore1(s, *c.set);
        for (size_t i = 0; i < c.shown.size(); ++i)
            s.SelectionMarks1[c.shown[i]] = static_cast<int16_t>(i + 1);
        s.SelectVariable1 = c.variable;
        s.SelectValue1 = c.value;
        s.SelectValueTo1 = c.valueTo;
        s.LagBefore = c.lagBefore;
        s.LagAfter = c.lagAfter;
        c.routine(s);
        EXPECT_EQ(Marked(s.SelectionMarks1), c.expected) << c.name;
        EXPECT_EQ(s.SelectionMarks1[0], 0) << c.name;
        // A new mark is the record's index; a kept one keeps its shown position.
        for (int k : Marked(s.SelectionMarks1)) {
            auto old = std::find(c.shown.begin(), c.shown.end(), k);
            const int want = old == c.shown.end() ? k : static_cast<int>(old - c.shown.begin()) + 1;
            EXPECT_EQ(s.SelectionMarks1[k], want) << c.name << " record " << k;
        }
    }
}

TEST(SelectionRoutines, SecondSetAndViewModes) {
    KovaState s;
    FillStore1(s, kCodes);
    s.SelectVariable1 = "V4";
    s.SelectValue1 = "A";
    // Data set 2 and the filter lines share the second store and criteria but
    // not their counts.
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
    core::SelectEpisodesOr(s);
    EXPECT_EQ(Marked(s.SelectionMarks2), (V{1, 3}));
    EXPECT_EQ(Marked(s.SelectionMarks1), V{});

    s.ViewMode = 0;
    core::SelectEventsOrNot(s);
    core::SelectEpisodesOrNot(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), V{});
    EXPECT_EQ(Marked(s.SelectionMarks2), (V{1, 3}));
}

TEST(SelectionRoutines, StoreShorterThanItsCountIsNotOverrun) {
    KovaState s;
    FillStore1(s, kCodes);
    s.FullCount1 = 40;
    s.SelectionMarks1.resize(8);
    s.SelectVariable1 = "V4";
    core::SelectEventsOrNot(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), (V{1, 2, 4, 6, 7}));
    core::SelectEpisodesOr(s);
    EXPECT_EQ(Marked(s.SelectionMarks1), (V{1, 2, 3, 4, 5, 6, 7}));

    FillStore1(s, core::RecordSet(1));
    core::SelectEpisodesOrNot(s);
    core::SelectEventsOrNot(s);
    EXPECT_EQ(s.SelectionMarks1.size(), 1u);
}

}  // namespace
