#include "analyses/frequency_menu.h"

#include <gtest/gtest.h>

#include "analysis_fixture.h"

namespace {

using test::Count;

class FrequencyMenu : public test::AnalysisTest {
protected:
    void SetUp() override {
        AnalysisTest::SetUp();
        Protocol(
            {{"00:00:01", 1, "x", "A", "B", "C", "D"}, {"00:00:05", 2, "y", "B", "B", "C", "E"}});
    }
    // The options dialog: OK with the whole set, or Cancel.
    std::function<void()> Dialog(bool ok) {
        return [this, ok] {
            ++dialogShown;
            if (!ok) {
                s.DialogCancelled = 1;
                return;
            }
            ASSERT_TRUE(core::ApplyFrequencyOptions(s, ui, "1", "2", filling, tableBased));
        };
    }
    void Click(int index, bool ok = true) {
        core::FrequencyMenuItem(s, ui, index, Dialog(ok), test::FixedClock());
    }
    int dialogShown = 0;
    bool filling = false;
    bool tableBased = false;
};

TEST_F(FrequencyMenu, AnItemAnalysesItsVariableAndShowsTheFile) {
    s.EpisodeFilling = 1;
    s.FromRecord = 0;
    Click(4);
    EXPECT_EQ(dialogShown, 1);
    EXPECT_EQ(s.EpisodeFilling, 0);
    EXPECT_EQ(Count(Ana(), "FREQUENCIES:  V4 (no. 1-2)"), 1u);
    EXPECT_EQ(ui.outputText, Ana());
    EXPECT_EQ(s.OutputKind, "ana");
}

TEST_F(FrequencyMenu, NothingOutsideDataSetOneOrWithoutAFileOrOnCancel) {
    s.ViewMode = 3;
    Click(4);
    s.ViewMode = 2;
    Click(4);
    EXPECT_EQ(dialogShown, 0);
    s.ViewMode = 1;
    s.DataFileName1.clear();
    Click(4);
    EXPECT_EQ(dialogShown, 0);
    s.DataFileName1 = (dir / "talk.kov").string();
    Click(8);
    Click(10);
    EXPECT_EQ(dialogShown, 0);
    Click(4, false);
    EXPECT_EQ(dialogShown, 1);
    EXPECT_FALSE(std::filesystem::exists(AnaPath()));
    EXPECT_TRUE(ui.log.empty());
}

TEST_F(FrequencyMenu, AllWithAnEmptyTableReportsTheOthersAndWarnsOnce) {
    s.CategoryLists[4] = {"A", "B"};
    s.CategoryLists[5] = {"B"};
    s.CategoryLists[7] = {"D", "E"};
    tableBased = true;
    Click(9);
    EXPECT_EQ(dialogShown, 1);
    EXPECT_EQ(ui.messages.size(), 1u);
    const std::string text = Ana();
    EXPECT_EQ(Count(text, "FREQUENCIES:"), 6u);
    EXPECT_EQ(Count(text, "FREQUENCIES:  V6"), 0u);
    EXPECT_LT(text.find("FREQUENCIES:  V1"), text.find("FREQUENCIES:  V2"));
    EXPECT_LT(text.find("FREQUENCIES:  V5"), text.find("FREQUENCIES:  V7"));
    EXPECT_NE(text.find("mean interval:"), std::string::npos);  // V1 has the time-code layout
    EXPECT_EQ(ui.outputText, text);
}

TEST_F(FrequencyMenu, AllStopsWhenTheFileCannotBeWritten) {
    std::filesystem::create_directory(AnaPath());
    Click(9);
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.outputCaption, "");
}

TEST_F(FrequencyMenu, CaptionsFollowTheVariableLabels) {
    s.Varnaam[4] = "Speech act";
    auto captions = core::FrequencyMenuCaptions(s);
    EXPECT_EQ(captions[0], "V1");
    EXPECT_EQ(captions[3], "Speech act");
    EXPECT_EQ(captions[6], "V7");
}

TEST_F(FrequencyMenu, OptionsMapTypedRecordNumbersWhileASelectionIsShown) {
    Protocol({{}, {}, {}, {}});
    const int16_t numbers[] = {0, 3, 6, 6, 9};
    for (int i = 1; i <= 4; ++i)
        s.Records1[static_cast<size_t>(i)].V0 = numbers[i];
    EXPECT_EQ(core::FrequencyRangePreset(s), (std::array<std::string, 2>{"3", "9"}));

    ASSERT_TRUE(core::ApplyFrequencyOptions(s, ui, "6", "9", true, false));
    EXPECT_EQ(s.FromRecord, 6);  // no selection shown: numbers stay as typed
    s.SelectionShown1 = core::kTrue;
    ASSERT_TRUE(core::ApplyFrequencyOptions(s, ui, " 6", "6 ", true, true));
    EXPECT_EQ(s.FromRecord, 2);
    EXPECT_EQ(s.ToRecord, 3);
    EXPECT_EQ(s.EpisodeFilling, 1);
    EXPECT_EQ(s.TableBasedCategories, 1);
    ASSERT_TRUE(core::ApplyFrequencyOptions(s, ui, "4", "8", false, false));
    EXPECT_EQ(s.FromRecord, 2);  // not selected: the selected records within
    EXPECT_EQ(s.ToRecord, 3);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(FrequencyMenu, ANumberBeyondSixteenBitsIsRefused) {
    s.FromRecord = 1;
    s.ToRecord = 2;
    EXPECT_FALSE(core::ApplyFrequencyOptions(s, ui, "1", "40000", true, true));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].rfind("Error|", 0), 0u);
    EXPECT_EQ(s.ToRecord, 2);
    EXPECT_EQ(s.EpisodeFilling, 0);
    EXPECT_EQ(s.TableBasedCategories, 0);
}

}  // namespace
