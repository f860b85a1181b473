#include "analyses/frequency_analysis.h"

#include <gtest/gtest.h>

#include <cmath>

#include "analyses/sequential_analysis.h"
#include "analysis_fixture.h"

namespace {

using test::Row;

class EventPass : public test::AnalysisTest {
protected:
    // "code/span/start/duration" of events 0..n.
    std::vector<std::string> Events(int varIndex) {
        core::EventList list = core::BuildEventList(s, varIndex);
        std::vector<std::string> out;
        for (const core::FrequencyEvent& e : list.events) {
            char buffer[64];
            std::snprintf(buffer, sizeof buffer, "/%d/%g/%g", e.span, e.start, e.duration);
            out.push_back(std::string(e.code) + buffer);
        }
        return out;
    }
};

TEST_F(EventPass, EmptyRecordsExtendAnEventOrAreFilled) {
    Protocol({{"", 0, "", "A"}, {}, {}, {"", 0, "", "B"}, {"", 0, "", "A"}});
    EXPECT_EQ(Events(4), (std::vector<std::string>{"/0/0/0", "A/3/0/0", "B/1/0/0", "A/1/0/0"}));
    s.EpisodeFilling = 1;
    EXPECT_EQ(Events(4), (std::vector<std::string>{"/0/0/0", "A/1/0/0", "A/1/0/0", "A/1/0/0",
                                                   "B/1/0/0", "A/1/0/0"}));
    // A filled event repeats the record's own text, not a copy of it.
    EXPECT_EQ(core::BuildEventList(s, 4).events[3].code.data(), s.Records1[1].V4.data());
    EXPECT_EQ(core::BuildSequentialEvents(s, 4).events[3].code.data(), s.Records1[1].V4.data());
}

TEST_F(EventPass, RecordsBeforeTheFirstCodeAndFillingAtTheRangeStart) {
    Protocol({{}, {}, {"", 0, "", "A"}});
    EXPECT_EQ(Events(4), (std::vector<std::string>{"/2/0/0", "A/1/0/0"}));
    // Filling never fills position 1 ...
    s.EpisodeFilling = 1;
    EXPECT_EQ(Events(4), (std::vector<std::string>{"/1/0/0", "/1/0/0", "A/1/0/0"}));
    // ... and a range starting later copies event 0: an empty code, time 0.
    s.FromRecord = 2;
    EXPECT_EQ(Events(4), (std::vector<std::string>{"/0/0/0", "/1/0/0", "A/1/0/0"}));
}

TEST_F(EventPass, CodesAreTrimmedAndCaseSensitiveAndV2HasItsSignPosition) {
    Protocol({{"", 3, "", " A "}, {"", 0, "", "A"}, {"", 12, "", "a"}, {"", -1}});
    EXPECT_EQ(Events(4), (std::vector<std::string>{"/0/0/0", "A/1/0/0", "A/1/0/0", "a/2/0/0"}));
    EXPECT_EQ(Events(2), (std::vector<std::string>{"/0/0/0", " 3/2/0/0", " 12/1/0/0", "-1/1/0/0"}));
}

TEST_F(EventPass, MissingTimeCodesInheritAndBackwardTimesGiveNegativeDurations) {
    Protocol({{"00:00:10", 0, "", "A"}, {"", 0, "", "B"}, {"00:00:30", 0, "", "C"}});
    EXPECT_EQ(Events(4), (std::vector<std::string>{"/0/0/0", "A/1/10/0", "B/1/10/20", "C/1/30/0"}));
    Protocol({{"00:01:00", 0, "", "A"}, {" 00:00:40 ", 0, "", "B"}});
    EXPECT_EQ(Events(4), (std::vector<std::string>{"/0/0/0", "A/1/60/-20", "B/1/40/0"}));
}

TEST_F(EventPass, TimecodeEventsKeepTheirRecordPositions) {
    Protocol({{}, {"5"}, {}, {"7"}});
    core::EventList list = core::BuildEventList(s, 1);
    ASSERT_EQ(list.EventCount(), 2);
    EXPECT_EQ(list.RangeLength, 4);
    EXPECT_EQ(list.events[1].position, 2);
    EXPECT_EQ(list.events[2].position, 4);
}

TEST_F(EventPass, RangeChecks) {
    Protocol({{}, {}, {}});
    EXPECT_TRUE(core::FrequencyRangeValid(s));
    s.FromRecord = 0;
    EXPECT_FALSE(core::FrequencyRangeValid(s));
    s.FromRecord = 3;
    s.ToRecord = 2;
    EXPECT_FALSE(core::FrequencyRangeValid(s));
    s.FromRecord = 1;
    s.ToRecord = 4;
    EXPECT_FALSE(core::FrequencyRangeValid(s));
    s.ToRecord = 3;
    s.ViewMode = 2;
    EXPECT_FALSE(core::FrequencyRangeValid(s));
    // A rejected range ends silently: no file, no viewer, no message.
    EXPECT_TRUE(core::FrequencyAnalysis(s, ui, 4, test::FixedClock()));
    EXPECT_TRUE(ui.log.empty());
    EXPECT_FALSE(std::filesystem::exists(AnaPath()));
}

TEST(FrequencyStatistics, PopulationMeanAndStandardDeviation) {
    core::MeanSd none = core::PopulationMeanSd(0, 0, 0);
    EXPECT_EQ(none.mean, 0);
    EXPECT_EQ(none.sd, 0);
    // 2, 4, 4, 4, 5, 5, 7, 9: mean 5, population s.d. 2.
    core::MeanSd m = core::PopulationMeanSd(8, 40, 232);
    EXPECT_DOUBLE_EQ(m.mean, 5);
    EXPECT_DOUBLE_EQ(m.sd, 2);
    // A radicand that rounding leaves just below zero gives 0, not NaN.
    core::MeanSd r = core::PopulationMeanSd(3, 0.3, 0.03 - 1e-15);
    EXPECT_EQ(r.sd, 0);
    EXPECT_FALSE(std::isnan(r.sd));
}

TEST(FrequencyStatistics, ACategoryListedTwiceCountsItsEventsTwice) {
    core::EventList list;
    list.RangeLength = 2;
    list.events.push_back({"A", 1, 0, 4, 1});
    list.events.push_back({"B", 1, 4, 0, 2});
    core::FrequencyCounts c = core::CountCategories({"A", "A", "C"}, list);
    EXPECT_EQ(c.valid, 2);
    EXPECT_EQ(c.rows[0].count, 1);
    EXPECT_EQ(c.rows[1].count, 1);
    EXPECT_EQ(c.rows[2].count, 0);
    EXPECT_EQ(c.total.durations, 8);
}

}  // namespace
