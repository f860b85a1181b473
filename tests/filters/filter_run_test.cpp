// Whole filter programs run through the commands of the run-filters dialog.
#include <gtest/gtest.h>

#include "filters/filter_program.h"
#include "filters/filter_run.h"
#include "filters/filter_test_support.h"
#include "filters/run_filter_command.h"
#include "mainwindow/daily_fixture.h"
#include "store/text.h"
#include "support/fake_ui.h"

namespace {

using core::FilterRunKind;
using test::FilterLine;

struct FilterRun : ::testing::Test {
    core::KovaState s;
    test::FakeUi ui;

    bool RunAll(int from = 0, int to = 0) {
        if (from != 0) {
            s.FromRecord = static_cast<int16_t>(from);
            s.ToRecord = static_cast<int16_t>(to);
        }
        return core::RunFilterCommand(s, ui, FilterRunKind::AllFilters);
    }
    bool RunCurrent(int line) {
        s.CurrentFilterLine = static_cast<int16_t>(line);
        return core::RunFilterCommand(s, ui, FilterRunKind::CurrentFilter);
    }
};

TEST_F(FilterRun, RewritesEveryAnchorWhoseLinesAllMatch) {
    test::SetCodedProtocol(s, 6, {2, 3, 5});
    s.Records1[3].V3 = "P";
    s.Records1[5].V3 = "P";
    test::SetProgram(s, {FilterLine(0, {{4, "A"}}), FilterLine(0, {{3, "P"}}),
                         FilterLine(999, {{5, "AP"}, {8, "|$+ (AP)"}})});
    ASSERT_TRUE(RunAll());
    EXPECT_EQ(test::Column(s, 5), (std::vector<std::string>{"", "", "AP", "", "AP", ""}));
    EXPECT_EQ(s.Records1[3].V8, "text 3 (AP)");
    EXPECT_EQ(s.Records1[2].V8, "text 2");
    EXPECT_EQ(s.ViewMode, 1);
    EXPECT_FALSE(ui.waitVisible);
    EXPECT_EQ(ui.waitLabel3, "filterno.");
    EXPECT_EQ(ui.waitLabel1, " 3");
}

TEST_F(FilterRun, OffsetsAreBoundedByOneAndTheRangeEnd) {
    // Look-back from record 1 has no target; record 1 is still a target of 2.
    test::SetCodedProtocol(s, 5, {1, 2, 3, 4, 5});
    test::SetProgram(s, {FilterLine(-1, {{4, "A"}}), FilterLine(999, {{6, "prev A"}})});
    ASSERT_TRUE(RunAll());
    EXPECT_EQ(test::Column(s, 6),
              (std::vector<std::string>{"", "prev A", "prev A", "prev A", "prev A"}));
    // Look-ahead stops at the range's end although record 4 exists.
    test::SetCodedProtocol(s, 5, {1, 2, 3, 4, 5});
    test::SetProgram(s, {FilterLine(1, {{4, "A"}}), FilterLine(999, {{6, "next A"}})});
    ASSERT_TRUE(RunAll(2, 3));
    EXPECT_EQ(test::Column(s, 6), (std::vector<std::string>{"", "next A", "", "", ""}));
    // Look-back may reach before the range's start.
    test::SetCodedProtocol(s, 5, {1});
    test::SetProgram(s, {FilterLine(-1, {{4, "A"}}), FilterLine(999, {{6, "after 1"}})});
    ASSERT_TRUE(RunAll(2, 5));
    EXPECT_EQ(s.Records1[2].V6, "after 1");
}

TEST_F(FilterRun, LinesAreTestedUpwardAndStopAtTheFirstFailure) {
    test::SetCodedProtocol(s, 4, {3});
    // The offset-0 line would store V8 in $V1; it runs only where the offset-2
    // line (directly above the header) matched.
    test::SetProgram(s, {FilterLine(0, {{8, "|$:$V1"}}), FilterLine(2, {{4, "A"}}),
                         FilterLine(999, {{7, "|n+$V1"}})});
    s.FilterVariables[1] = "untouched";
    ASSERT_TRUE(RunAll());
    EXPECT_EQ(s.FilterVariables[1], "text 1");
    EXPECT_EQ(test::Column(s, 7), (std::vector<std::string>{"0", "", "", ""}));
}

TEST_F(FilterRun, LaterAnchorsSeeEarlierRewrites) {
    test::SetCodedProtocol(s, 4, {1});
    // Each record after an A becomes A itself, so the code runs down the set.
    test::SetProgram(s, {FilterLine(-1, {{4, "A"}}), FilterLine(999, {{4, "A"}})});
    ASSERT_TRUE(RunAll());
    EXPECT_EQ(test::Column(s, 4), (std::vector<std::string>{"A", "A", "A", "A"}));
}

TEST_F(FilterRun, FilterVariablesCarryAcrossAnchorsBlocksAndRuns) {
    test::SetCodedProtocol(s, 3, {});
    s.Records1[1].V3 = "first";
    s.Records1[2].V3 = "second";
    s.Records1[3].V3 = "third";
    // The first block stores every anchor's actor in $V2, so the last one is
    // left there for the second block.
    test::SetProgram(s, {FilterLine(0, {{3, "|$:$V2"}}), FilterLine(999, {}),
                         FilterLine(0, {{3, "|$=$V2"}}), FilterLine(999, {{5, "last"}})});
    ASSERT_TRUE(RunAll());
    EXPECT_EQ(s.FilterVariables[2], "third");
    EXPECT_EQ(test::Column(s, 5), (std::vector<std::string>{"", "", "last"}));
    // A later run still sees it.
    test::SetProgram(s, {FilterLine(0, {{3, "|$=$V2"}}), FilterLine(999, {{6, "again"}})});
    ASSERT_TRUE(RunAll());
    EXPECT_EQ(test::Column(s, 6), (std::vector<std::string>{"", "", "again"}));
}

TEST_F(FilterRun, RunCurrentRunsTheBlockOfTheCurrentLine) {
    test::SetCodedProtocol(s, 3, {1, 2, 3});
    test::SetProgram(s, {FilterLine(0, {{4, "A"}}), FilterLine(999, {{5, "one"}}),
                         FilterLine(0, {{4, "A"}}), FilterLine(999, {{6, "two"}})});
    s.ViewMode = 3;
    ASSERT_TRUE(RunCurrent(3));
    EXPECT_EQ(test::Column(s, 5), (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(test::Column(s, 6), (std::vector<std::string>{"two", "two", "two"}));
    EXPECT_EQ(s.CurrentFilterLine, 3);
    EXPECT_EQ(s.ViewMode, 1);
    ASSERT_TRUE(RunCurrent(2));
    EXPECT_EQ(test::Column(s, 5), (std::vector<std::string>{"one", "one", "one"}));
    // Below the last header nothing runs, and data set 1 is shown.
    test::SetProgram(s, {FilterLine(999, {{7, "x"}}), FilterLine(0, {{4, "A"}})});
    s.ViewMode = 3;
    ASSERT_TRUE(RunCurrent(2));
    EXPECT_EQ(test::Column(s, 7), (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(s.ViewMode, 1);
}

TEST_F(FilterRun, RunAllSkipsSieveSelectAndClosingBlocks) {
    test::SetCodedProtocol(s, 3, {2});
    test::SetProgram(
        s, {FilterLine(0, {{4, "A"}}), FilterLine(999, {{5, "first"}}), FilterLine(0, {{4, "A"}}),
            FilterLine(888, {}), FilterLine(0, {{4, "A"}}), FilterLine(777, {}),
            FilterLine(0, {{5, "first"}}), FilterLine(999, {{6, "second"}}),
            FilterLine(0, {{4, "A"}}), FilterLine(555, {})});
    ASSERT_TRUE(RunAll());
    EXPECT_EQ(test::Column(s, 6), (std::vector<std::string>{"", "second", ""}));
    EXPECT_EQ(s.SieveActive, 0);
    EXPECT_EQ(s.SelectionShown1, core::kFalse);
}

TEST_F(FilterRun, DeletionRenumbersAndClampsTheRangeEnd) {
    test::SetCodedProtocol(s, 10, {3, 7});
    test::SetProgram(s, {FilterLine(0, {{4, "A"}}), FilterLine(999, {{3, "|del"}})});
    s.CurrentRecord1 = 10;
    ASSERT_TRUE(RunAll(1, 10));
    EXPECT_EQ(s.RecordCount1, 8);
    EXPECT_EQ(test::Numbers(s), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(test::Column(s, 8),
              (std::vector<std::string>{"text 1", "text 2", "text 4", "text 5", "text 6", "text 8",
                                        "text 9", "text 10"}));
    EXPECT_EQ(s.ToRecord, 8);
    EXPECT_EQ(s.CurrentRecord1, 8);
    EXPECT_EQ(s.Records1.size(), 9u);

    test::SetCodedProtocol(s, 10, {3, 7});
    const uint64_t changes = s.ChangeCount1;
    ASSERT_TRUE(RunAll(1, 5));
    EXPECT_EQ(s.RecordCount1, 9);
    EXPECT_EQ(s.ToRecord, 5);
    EXPECT_EQ(s.ChangeCount1, changes + 1);  // a memo editor open on a record refuses now
}

TEST_F(FilterRun, DeletingEveryRecordLeavesAnEmptySet) {
    test::SetCodedProtocol(s, 3, {});
    test::SetProgram(s, {FilterLine(999, {{4, "|del"}})});
    ASSERT_TRUE(RunAll());
    EXPECT_EQ(s.RecordCount1, 0);
    EXPECT_EQ(s.CurrentRecord1, 0);
    EXPECT_EQ(s.ToRecord, 0);
}

TEST_F(FilterRun, SplitCoversTheWholeSetAndMovesTheRangeEnd) {
    test::SetCodedProtocol(s, 12, {2});
    s.Records1[2].V8 = "one. two. three";
    s.Records1[12].V8 = "old///mark";
    test::SetProgram(
        s, {FilterLine(0, {{4, "A"}}), FilterLine(999, {{4, "|///one."}, {5, "|///two."}})});
    ASSERT_TRUE(RunAll(1, 10));
    EXPECT_EQ(s.RecordCount1, 15);
    // The range end moves by every record the split added, outside it too.
    EXPECT_EQ(s.ToRecord, 13);
    EXPECT_EQ(test::Column(s, 8)[1], "one.");
    EXPECT_EQ(test::Column(s, 8)[2], "two.");
    EXPECT_EQ(test::Column(s, 8)[3], "three");
    EXPECT_EQ(test::Column(s, 8)[13], "old");
    EXPECT_EQ(test::Column(s, 8)[14], "mark");
    EXPECT_EQ(test::Numbers(s).back(), 15);
    // Every piece keeps the codes of the record it came from.
    EXPECT_EQ(test::Column(s, 4)[3], "A");
    EXPECT_EQ(s.ChangeCount1, 1u);
}

TEST_F(FilterRun, SplitAndDeleteInOneBlockDeleteThePiecesOfQueuedRecords) {
    test::SetCodedProtocol(s, 5, {2, 4});
    s.Records1[2].V8 = "a. b";
    s.Records1[4].V8 = "c. d";
    s.Records1[5].V8 = "e. f";
    // Record 2 is split and queued; record 4 is queued; record 5 is split by an
    // earlier mark of its own.
    s.Records1[5].V8 = "e.///f";
    test::SetProgram(s, {FilterLine(0, {{4, "A"}}), FilterLine(999, {{3, "|del"}, {8, "|///a."}})});
    ASSERT_TRUE(RunAll());
    EXPECT_EQ(test::Column(s, 8), (std::vector<std::string>{"text 1", "text 3", "e.", "f"}));
    EXPECT_EQ(test::Numbers(s), (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(FilterRun, PassOrderIsRewriteThenSplitThenDelete) {
    test::SetCodedProtocol(s, 3, {2});
    s.Records1[2].V8 = "x. y";
    // The rewrite of V4 happens on the whole record before the split, so both
    // pieces carry it; the deletion then removes both pieces of record 2.
    test::SetProgram(s, {FilterLine(0, {{4, "A"}}), FilterLine(999, {{4, "B"}, {8, "|///x."}}),
                         FilterLine(0, {{4, "B"}}), FilterLine(999, {{3, "|del"}})});
    ASSERT_TRUE(RunAll(1, 3));
    EXPECT_EQ(test::Column(s, 8), (std::vector<std::string>{"text 1", "text 3"}));
    EXPECT_EQ(s.ToRecord, 2);
}

TEST_F(FilterRun, ConditionErrorEndsOnlyTheCommandAndRestoresEverything) {
    test::SetCodedProtocol(s, 5, {1, 2, 3, 4, 5});
    test::SetProgram(s, {FilterLine(0, {{4, "A"}}), FilterLine(999, {{4, "|del"}}),
                         FilterLine(0, {{4, "A"}}), FilterLine(999, {{5, "changed"}}),
                         FilterLine(0, {{8, "[bad"}}), FilterLine(999, {{6, "never"}})});
    s.ViewMode = 3;
    s.CurrentRecord1 = 4;
    s.FromRecord = 2;
    s.ToRecord = 4;
    s.SieveActive = 1;
    s.SieveList = {0, 2, 5};
    s.SieveCount = 2;
    s.SievePosition = 2;
    s.Main.CString.caption = "Sieve";
    s.FilterReportOn = core::kTrue;
    core::KovaState before = s;
    EXPECT_FALSE(RunAll());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], "Fatal Error in condition filter:|[bad");
    EXPECT_EQ(s.Records1, before.Records1);
    EXPECT_EQ(s.RecordCount1, 5);
    EXPECT_EQ(s.CurrentRecord1, 4);
    EXPECT_EQ(s.FromRecord, 2);
    EXPECT_EQ(s.ToRecord, 4);
    EXPECT_EQ(s.SieveList, before.SieveList);
    EXPECT_EQ(s.SievePosition, 2);
    EXPECT_EQ(s.ViewMode, 3);
    EXPECT_EQ(s.Main.CString, before.Main.CString);
    EXPECT_EQ(s.Main.title, before.Main.title);
    EXPECT_EQ(s.ResultTable, before.ResultTable);
    EXPECT_FALSE(ui.waitVisible);
    // The program goes on: a good program runs afterwards.
    test::SetProgram(s, {FilterLine(0, {{4, "A"}}), FilterLine(999, {{5, "ok"}})});
    EXPECT_TRUE(RunAll(1, 5));
    EXPECT_EQ(s.Records1[5].V5, "ok");
}

TEST_F(FilterRun, BadPatternFailsOnlyWhereItsCellIsTested) {
    // Its line is not reached where the line nearer the header fails...
    test::SetCodedProtocol(s, 4, {3});
    test::SetProgram(s, {FilterLine(0, {{4, "A"}, {8, "[bad"}}), FilterLine(0, {{4, "Z"}}),
                         FilterLine(999, {{5, "x"}})});
    EXPECT_TRUE(RunAll());
    // ...nor its cell where a cell before it on the line rejects.
    test::SetProgram(s, {FilterLine(0, {{4, "B"}, {8, "[bad"}}), FilterLine(999, {{5, "x"}})});
    EXPECT_TRUE(RunAll());
    EXPECT_TRUE(ui.messages.empty());
    // Where it is tested, the command stops with the cell's text.
    test::SetProgram(s, {FilterLine(0, {{4, "A"}, {8, "[bad"}}), FilterLine(999, {{5, "x"}})});
    EXPECT_FALSE(RunAll());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], "Fatal Error in condition filter:|[bad");
    EXPECT_EQ(test::Column(s, 5), (std::vector<std::string>{"", "", "", ""}));
}

TEST_F(FilterRun, BareFormsAreConditionErrorsToo) {
    for (const std::string& cell :
         std::vector<std::string>{"|n", "|dt", "|wcount", "|$", "[" + std::string(100, 'x')}) {
        test::SetCodedProtocol(s, 2, {});
        test::SetProgram(s, {FilterLine(0, {{3, cell}}), FilterLine(999, {{4, "x"}})});
        ui.messages.clear();
        EXPECT_FALSE(RunAll());
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0],
                  "Fatal Error in condition filter:|" + core::QuoteForMessage(cell));
        EXPECT_EQ(test::Column(s, 4), (std::vector<std::string>{"-", "-"}));
    }
}

TEST_F(FilterRun, RunCurrentFromTheFilterViewRenumbersLikeRunAll) {
    test::SetCodedProtocol(s, 4, {2});
    for (int k = 1; k <= 4; ++k)
        s.Records1[k].V2 = static_cast<int16_t>(k);
    test::SetProgram(s, {FilterLine(0, {{4, "A"}}), FilterLine(999, {{4, "|del"}})});
    s.ViewMode = 3;
    s.CurrentRecord1 = 4;
    ASSERT_TRUE(RunCurrent(1));
    EXPECT_EQ(s.RecordCount1, 3);
    // Renumbered as one run (no times, no actors): 1, 2, 3.
    EXPECT_EQ(s.Records1[3].V2, 3);
    EXPECT_EQ(s.CurrentRecord1, 3);
}

TEST_F(FilterRun, SelectionRefusesBlocksThatChangeTheRecordCount) {
    test::SetCodedProtocol(s, 6, {2, 4, 6});
    s.Records1[1].V3 = "shown";
    s.Records1[4].V3 = "shown";
    s.Records1[6].V3 = "shown";
    test::SetProgram(s, {FilterLine(0, {{3, "shown"}}), FilterLine(777, {})});
    ASSERT_TRUE(RunCurrent(2));
    ASSERT_EQ(s.SelectionShown1, core::kTrue);
    ASSERT_EQ(s.RecordCount1, 3);

    test::SetProgram(s, {FilterLine(0, {{4, "A"}}), FilterLine(999, {{4, "|del"}}),
                         FilterLine(0, {{4, "A"}}), FilterLine(999, {{5, "seen"}}),
                         FilterLine(0, {{4, "A"}}), FilterLine(999, {{8, "|///text"}})});
    ui.messages.clear();
    ASSERT_TRUE(RunAll(1, 3));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].substr(0, 11), "ERROR HELP|");
    EXPECT_EQ(s.RecordCount1, 3);
    EXPECT_EQ(test::Numbers(s), (std::vector<int>{1, 4, 6}));
    EXPECT_EQ(test::Column(s, 5), (std::vector<std::string>{"", "seen", "seen"}));
    EXPECT_EQ(test::Column(s, 8), (std::vector<std::string>{"text 1", "text 4", "text 6"}));
}

TEST_F(FilterRun, RangeIsReadAsSixteenBitNumbers) {
    test::SetCodedProtocol(s, 20, {});
    EXPECT_TRUE(core::ReadFilterRange(s, "12abc", "15"));
    EXPECT_EQ(s.FromRecord, 12);
    EXPECT_TRUE(core::ReadFilterRange(s, "2.5", "3.5"));
    EXPECT_EQ(s.FromRecord, 2);
    EXPECT_EQ(s.ToRecord, 4);
    EXPECT_FALSE(core::ReadFilterRange(s, "5", "3"));
    EXPECT_FALSE(core::ReadFilterRange(s, "0", "3"));
    EXPECT_FALSE(core::ReadFilterRange(s, "1", "21"));
    EXPECT_FALSE(core::ReadFilterRange(s, "1", "99999"));
    EXPECT_FALSE(core::ReadFilterRange(s, "-99999", "3"));
    EXPECT_TRUE(core::ReadFilterRange(s, "1", "20"));
}

TEST_F(FilterRun, RangeInASelectionIsMappedToShownPositions) {
    test::SetCodedProtocol(s, 40, {10, 20, 30});
    test::SetProgram(s, {FilterLine(0, {{4, "A"}}), FilterLine(777, {})});
    ASSERT_TRUE(RunCurrent(2));
    ASSERT_EQ(s.RecordCount1, 3);
    auto preset = core::FilterRangePreset(s);
    EXPECT_EQ(preset.first, "10");
    EXPECT_EQ(preset.second, "30");
    EXPECT_TRUE(core::ReadFilterRange(s, "20", "30"));
    EXPECT_EQ(s.FromRecord, 2);
    EXPECT_EQ(s.ToRecord, 3);
    // 25 is no shown record's number: the range ends at the last one before.
    EXPECT_TRUE(core::ReadFilterRange(s, "15", "25"));
    EXPECT_EQ(s.FromRecord, 2);
    EXPECT_EQ(s.ToRecord, 2);
    // A range without a shown record is a bad range: nothing runs.
    EXPECT_FALSE(core::ReadFilterRange(s, "21", "29"));
}

TEST_F(FilterRun, SplitPastTheRecordLimitIsRefusedWhereverTheSplitRecordsSit) {
    // The split records come first; the records after them take the set over
    // the limit.
    test::SetCodedProtocol(s, core::kMaxRecords, {1, 3});
    test::SetProgram(s, {FilterLine(0, {{4, "A"}}), FilterLine(999, {{8, "|///text|2"}})});
    EXPECT_FALSE(RunAll());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].substr(0, 11), "ERROR HELP|");
    EXPECT_EQ(s.RecordCount1, core::kMaxRecords);
    EXPECT_EQ(s.Records1[1].V8, "text 1");
    EXPECT_EQ(s.Records1[core::kMaxRecords].V0, core::kMaxRecords);
}

// Pieces count their sequence numbers up from the record's, past 32767 for a
// moment; the renumbering right after the split gives every record a valid
// one, so only the record limit can refuse a split.
TEST_F(FilterRun, SplitOfRecordsWithHighSequenceNumbersRunsAndRenumbers) {
    for (int16_t high : {int16_t{32767}, int16_t{32766}, int16_t{32000}}) {
        test::SetCodedProtocol(s, 3, {1});
        s.Records1[2].V2 = high;
        s.Records1[2].V8 = "first///second///third";
        test::SetProgram(s, {FilterLine(0, {{4, "A"}}), FilterLine(999, {{8, "|///text|2"}})});
        ui.messages.clear();
        EXPECT_TRUE(RunAll()) << high;
        EXPECT_TRUE(ui.messages.empty()) << high;
        EXPECT_EQ(test::Column(s, 8),
                  (std::vector<std::string>{"te", "xt 1", "first", "second", "third", "text 3"}))
            << high;
        std::vector<int> sequence;
        for (int i = 1; i <= s.RecordCount1; ++i)
            sequence.push_back(s.Records1[i].V2);
        EXPECT_EQ(sequence, (std::vector<int>{1, 2, 3, 4, 5, 6})) << high;
    }
}

// Blocks that feed a field back into itself double it per block; the run stops
// with a message before a field passes the limit, and nothing is changed.
TEST_F(FilterRun, FieldGrowingPastTheLimitStopsTheRunAndRollsBack) {
    struct Case {
        const char* what;
        bool append;
        core::ProtocolRecord condition;
        core::ProtocolRecord header;
    } cases[] = {
        {"copy in append mode", true, FilterLine(0, {}), FilterLine(999, {{8, "|==="}})},
        {"variable fed back", false, FilterLine(0, {{8, "|$:$V1"}}),
         FilterLine(999, {{8, "|$+$V1"}})},
        {"replacement", false, FilterLine(0, {}), FilterLine(999, {{8, "|$=|a|aaaa|"}})},
        {"append of the cell", true, FilterLine(0, {}), FilterLine(999, {{5, "grow"}})},
    };
    for (const Case& c : cases) {
        test::SetCodedProtocol(s, 2, {});
        s.Records1[1].V8 = "";  // stays empty: record 2 is the one that grows
        s.Records1[2].V8 = "aaaa";
        s.Records1[2].V5 = std::string(core::kMaxFieldBytes - 40, 'g');
        std::vector<core::ProtocolRecord> program;
        for (int block = 0; block < 30; ++block) {
            program.push_back(c.condition);
            program.push_back(c.header);
        }
        test::SetProgram(s, program);
        s.FilterAppendMode = c.append ? core::kTrue : core::kFalse;
        const core::RecordSet before = s.Records1;
        ui.messages.clear();
        EXPECT_FALSE(RunAll()) << c.what;
        ASSERT_EQ(ui.messages.size(), 1u) << c.what;
        EXPECT_EQ(ui.messages[0].rfind("ERROR HELP|The filter would make V", 0), 0u)
            << ui.messages[0];
        EXPECT_NE(ui.messages[0].find(" of record 2 longer than 16777216 characters"),
                  std::string::npos)
            << ui.messages[0];
        EXPECT_TRUE(s.Records1 == before) << c.what;
        EXPECT_EQ(s.RecordCount1, 2);
    }
}

// A run that would make data set 1 too large to be saved stops before it
// goes further, and nothing is changed: a 64 KiB rewrite of many records, a
// split whose pieces each copy a memo of 1 MiB.
TEST_F(FilterRun, RunsThatWouldMakeTheSetTooLargeToSaveStopAndRollBack) {
    const struct {
        const char* what;
        int records;
        core::ProtocolRecord header;
    } cases[] = {{"rewrite", 1400, FilterLine(999, {{8, std::string(65536, 'w')}})},
                 {"split", 1, FilterLine(999, {{8, "|///text|2"}})}};
    for (const auto& c : cases) {
        test::SetCodedProtocol(s, c.records, {});
        s.Records1[1].Memo.assign(size_t{1} << 20, 'm');
        for (int piece = 0; piece < 99; ++piece)
            s.Records1[1].V8 += "///p";
        test::SetProgram(s, {FilterLine(0, {}), c.header});
        const core::RecordSet before = s.Records1;
        ui.messages.clear();
        EXPECT_FALSE(RunAll()) << c.what;
        ASSERT_EQ(ui.messages.size(), 1u) << c.what;
        EXPECT_EQ(ui.messages[0],
                  "ERROR HELP|Saved, the set would be larger than 80 MB, the most a data file may "
                  "hold. The filter stopped; nothing was changed.");
        EXPECT_TRUE(s.Records1 == before) << c.what;
    }
}

// A run takes the last bytes left, not one more. The set has one actor and
// no time codes, every sequence number 1 until a deletion or a split numbers
// the whole set 1..n; what a block changes counts for the blocks after it.
TEST_F(FilterRun, RunsTakeTheLastBytesLeftButNoMore) {
    const auto codedA = FilterLine(0, {{4, "A"}});
    const auto third = FilterLine(0, {{8, "text 3"}});
    const struct {
        const char* what;
        std::vector<core::ProtocolRecord> program;
    } cases[] = {
        {"deletion", {codedA, FilterLine(999, {{8, "|del"}})}},
        {"two rewrites",
         {codedA, FilterLine(999, {{5, "|$+ab"}}), codedA, FilterLine(999, {{6, "|$+cde"}})}},
        {"deletion, then a rewrite",
         {codedA, FilterLine(999, {{8, "|del"}}), third, FilterLine(999, {{5, "|$+ab"}})}},
        {"split, then a rewrite",
         {codedA, FilterLine(999, {{8, "|///text|2"}}), third, FilterLine(999, {{5, "|$+ab"}})}},
        {"copy of V1, sequence number 9 to 10", {codedA, FilterLine(999, {{1, "|==="}})}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::SetCodedProtocol(s, 200, {2, 9});
        s.Records1[2].V2 = 9;
        test::SetProgram(s, c.program);
        test::ExpectTheLastBytesTaken(
            s, ui, 1, [this] { return RunAll(); },
            "ERROR HELP|Saved, the set would be larger than 80 MB, the most a data file may hold. "
            "The filter stopped; nothing was changed.");
    }
}

// A failed run gives back the state as it was, every part of it: the filter
// variables a condition stored, the header cells the actions trimmed, the
// records, the view and the report, and whatever the state holds besides.
TEST_F(FilterRun, FailedRunGivesBackTheWholeState) {
    test::SetCodedProtocol(s, 6, {2, 5});
    test::SetProgram(s, {FilterLine(0, {{4, "A"}, {8, "|$:$V1"}}),
                         FilterLine(999, {{5, "  seen  "}, {6, "|$+ more"}}),
                         FilterLine(0, {{4, "A"}, {8, "[bad"}}), FilterLine(999, {{5, "x"}})});
    // Fields of every kind away from their first values.
    s.CurrentRecord1 = 4;
    s.FromRecord = 1;
    s.ToRecord = 6;
    s.SieveActive = 1;
    s.SieveList = {0, 2, 5};
    s.SieveCount = 2;
    s.SievePosition = 2;
    s.FilterVariables = {"", "one", "two", "three", "four", "five"};
    s.FilterReportOn = core::kTrue;
    s.ChangeCount1 = 7;
    s.ReadIncomplete2 = true;
    s.DataFileName2.clear();
    s.TableFileName = "codes.tbl";
    s.FileInfo1 = "session 3";
    s.FileHeaderNumber = 9;
    s.CategoryLists[4] = {"A", "B"};
    s.Varnaam[4] = "Move";
    s.ResultTable.caption = "earlier report";
    s.Main.title = "KOVA Kovfile: protocol.kov";
    s.Main.rows[3].v[4] = "A";
    s.LastFindText = "text";
    s.MemoRecord = 2;
    s.RecordClipboard.resize(2);
    s.ClipboardCount = 1;
    const core::KovaState before = s;
    EXPECT_FALSE(RunAll());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], "Fatal Error in condition filter:|[bad");
    EXPECT_EQ(s.FilterVariables, before.FilterVariables);
    EXPECT_TRUE(s.Records2 == before.Records2);
    EXPECT_GT(s.ChangeCount1, before.ChangeCount1);  // the one thing that moves on
    s.ChangeCount1 = before.ChangeCount1;
    EXPECT_TRUE(s == before);
}

TEST(FilterProgram, HeaderSearchStopsAtTheFirstHeaderAtOrBelowTheLine) {
    core::KovaState s;
    test::SetProgram(s, {FilterLine(0, {}), FilterLine(888, {}), FilterLine(1, {}),
                         FilterLine(2, {}), FilterLine(555, {}), FilterLine(0, {})});
    struct Case {
        int16_t start;
        bool found;
        int16_t header;
    } cases[] = {
        {1, true, 2},  {2, true, 2}, {3, true, 5},
        {5, true, 5},  {6, true, 6},  // no header below: the last line
        {-4, true, 2}, {0, true, 2}, {7, false, 7},
    };
    for (const Case& c : cases) {
        int16_t line = c.start;
        EXPECT_EQ(core::FindBlockHeader(s, line), c.found) << c.start;
        EXPECT_EQ(line, c.header) << c.start;
    }
    s.FilterCount = 0;
    int16_t line = 1;
    EXPECT_FALSE(core::FindBlockHeader(s, line));
}

}  // namespace
