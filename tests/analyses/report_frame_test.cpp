#include "analyses/report_frame.h"

#include <gtest/gtest.h>

#include "analyses/output_file.h"
#include "analysis_fixture.h"

namespace {

using test::At;
using test::Rule;

class ReportFrame : public test::AnalysisTest {};

TEST_F(ReportFrame, TheOutputFileIsNamedAfterDataSetOne) {
    s.DataFileName1 = "D:\\p\\talk.kov";
    EXPECT_EQ(core::AnalysisOutputName(s), "D:\\p\\talk.ana");
    s.DataFileName1 = "talk.dat";
    EXPECT_EQ(core::AnalysisOutputName(s), "talk.ana");
}

TEST_F(ReportFrame, LeadInsOfANewAndOfAnExistingFile) {
    const std::string path = AnaPath();
    struct Case {
        core::LeadIn leadIn;
        std::string whenNew, whenExisting;
    } cases[] = {
        {core::LeadIn::PrefixAndBlank, path + "\r\n\r\n\r\n\r\n", "\r\n\r\n"},
        {core::LeadIn::PrefixOnly, path + "\r\n\r\n\r\n", "\r\n"},
        {core::LeadIn::TwoBlanks, "\r\n\r\n", "\r\n\r\n"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(path);
        core::AnalysisOutput first = core::OpenAnalysisOutput(s, c.leadIn);
        ASSERT_TRUE(core::FlushAnalysisOutput(s, ui, first));
        core::AnalysisOutput second = core::OpenAnalysisOutput(s, c.leadIn);
        ASSERT_TRUE(core::FlushAnalysisOutput(s, ui, second));
        EXPECT_EQ(Ana(), c.whenNew + c.whenExisting);
    }
    EXPECT_EQ(s.AnalysisFileName, path);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ReportFrame, ABlockIsTitleRulesAndTwoClosingEmptyLines) {
    core::AnalysisOutput block = core::OpenAnalysisOutput(s, core::LeadIn::PrefixOnly);
    core::WriteReportTitle(block, "FREQUENCIES:", true, "V4",
                           {core::RangeTag(1, 10, false), core::EpisodeTag(s)}, 82,
                           {"01-02-2024", "13:45:07"});
    core::WriteReportRule(block, '=');
    block.out.Text("body").EndLine();
    core::WriteReportRule(block, '-');
    ASSERT_TRUE(core::CloseAnalysisOutput(s, ui, block));
    EXPECT_EQ(Ana(),
              AnaPath() + "\r\n\r\n\r\n" +
                  At({{1, "FREQUENCIES:"}, {15, "V4 (no. 1-10)"}, {82, "01-02-2024/13:45:07"}}) +
                  Rule('=') + "body\r\n" + Rule('-') + "\r\n\r\n");
}

TEST_F(ReportFrame, ATitleReachingTheDateColumnPutsTheDateOnTheNextLine) {
    const std::string fits(81, 't');
    const std::string tooLong(82, 't');
    const core::ReportTime time{"d", "t"};
    core::AnalysisOutput block = core::OpenAnalysisOutput(s, core::LeadIn::TwoBlanks);
    core::WriteReportTitle(block, fits, false, "", {}, 82, time);
    core::WriteReportTitle(block, tooLong, false, "", {}, 82, time);
    core::WriteReportTitle(block, "SEQ:", false, "V4", {" (no.  1 - 15 )"}, 85, time);
    EXPECT_EQ(block.out.Bytes(), "\r\n\r\n" + fits + "d/t\r\n" + tooLong + "\r\n" +
                                     std::string(81, ' ') + "d/t\r\n" +
                                     At({{1, "SEQ:V4 (no.  1 - 15 )"}, {85, "d/t"}}));
}

TEST_F(ReportFrame, TitleTags) {
    EXPECT_EQ(core::RangeTag(1, 10, false), " (no. 1-10)");
    EXPECT_EQ(core::RangeTag(1, 10, true), " (no.  1 - 10 )");
    Protocol({{}, {}, {}});
    s.Records1[2].V0 = 5;
    s.Records1[3].V0 = 9;
    EXPECT_EQ(core::SelectionTag(s, 2, 3, false), "");
    s.SelectionShown1 = core::kTrue;
    EXPECT_EQ(core::SelectionTag(s, 2, 3, false), " (Selected:5-9)");
    EXPECT_EQ(core::SelectionTag(s, 2, 3, true), " (Selected: 5 - 9 )");
    EXPECT_EQ(core::EpisodeTag(s), "");
    s.EpisodeFilling = 1;
    EXPECT_EQ(core::EpisodeTag(s), " (EPISODE FILLED)");
}

TEST_F(ReportFrame, AFileThatCannotBeWrittenGivesAnErrorAndChangesNothing) {
    std::filesystem::create_directory(AnaPath());  // a folder where the file should be
    s.AnalysisFileName = "earlier.ana";
    core::AnalysisOutput block = core::OpenAnalysisOutput(s, core::LeadIn::PrefixOnly);
    block.out.Text("x").EndLine();
    EXPECT_FALSE(core::CloseAnalysisOutput(s, ui, block));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].rfind("Error|Error # ", 0), 0u) << ui.messages[0];
    EXPECT_NE(ui.messages[0].find(AnaPath()), std::string::npos);
    EXPECT_EQ(s.AnalysisFileName, "earlier.ana");
    EXPECT_TRUE(std::filesystem::is_directory(AnaPath()));
}

// A protocol opened under a name of fewer than four characters ("ab") names
// no output file: the report ends with an error instead of ending the program.
TEST_F(ReportFrame, ADataFileNameTooShortToDeriveFromGivesAnError) {
    s.DataFileName1 = "ab";
    s.AnalysisFileName = "earlier.ana";
    core::AnalysisOutput block = core::OpenAnalysisOutput(s, core::LeadIn::PrefixOnly);
    block.out.Text("x").EndLine();
    EXPECT_FALSE(core::CloseAnalysisOutput(s, ui, block));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].rfind("Error|Error #  52 ", 0), 0u) << ui.messages[0];
    EXPECT_NE(ui.messages[0].find("\"ab\""), std::string::npos);
    EXPECT_EQ(s.AnalysisFileName, "earlier.ana");
}

TEST_F(ReportFrame, ShowAnalysisFileLoadsTheWholeFileIntoTheViewer) {
    // Before any report: nothing happens.
    EXPECT_TRUE(core::ShowAnalysisFile(s, ui));
    EXPECT_TRUE(ui.log.empty());
    EXPECT_EQ(s.OutputKind, "");

    { std::ofstream(AnaPath(), std::ios::binary) << "a\r\nb\xe9\r\n"; }
    s.AnalysisFileName = AnaPath();
    s.Main.CAnaf.visible = true;
    EXPECT_TRUE(core::ShowAnalysisFile(s, ui));
    EXPECT_EQ(ui.outputCaption, "KOVA Output file: " + AnaPath());
    EXPECT_EQ(ui.outputText, "a\r\nb\xe9\r\n");
    EXPECT_EQ(s.OutputKind, "ana");
    EXPECT_FALSE(s.Main.CAnaf.visible);
    EXPECT_GT(ui.redraws, 0);
}

TEST_F(ReportFrame, AnOutputFileThatCannotBeReadGivesAnErrorAndChangesNothing) {
    s.AnalysisFileName = (dir / "gone.ana").string();
    s.OutputKind = "lst";
    s.Main.CAnaf.visible = true;
    EXPECT_FALSE(core::ShowAnalysisFile(s, ui));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], "Error|Error #  53 was generated by KOVA\rFile not found (" +
                                  s.AnalysisFileName + ")");
    EXPECT_EQ(s.OutputKind, "lst");
    EXPECT_TRUE(s.Main.CAnaf.visible);
    EXPECT_EQ(ui.outputCaption, "");
    EXPECT_EQ(ui.log.size(), 1u);  // the message alone: the viewer is left as it is
}

// A file past the viewer's bounds shows as much of its end as they allow,
// from a line start, so that the newest report is still seen.
TEST_F(ReportFrame, AnOutputFileTooLargeToShowWholeShowsItsEnd) {
    const size_t lines = core::kMaxOutputFileLines;
    const std::string longLine = std::string(126, 'x') + "\r\n";
    std::string longLines;  // past the bound of bytes by one line
    for (size_t k = 0; k <= core::kMaxOutputFileBytes / longLine.size(); ++k)
        longLines += longLine;
    std::string shortLines;  // one line past the bound of lines (the last one empty)
    for (size_t k = 0; k < lines; ++k)
        shortLines += "s\r\n";
    // Each file, and the bytes skipped before the part shown.
    const std::pair<std::string, size_t> cases[] = {
        {longLines, longLine.size()},
        {shortLines, 3},
        {shortLines.substr(3), 0},  // exactly at the bound of lines: whole
    };
    s.AnalysisFileName = AnaPath();
    for (const auto& [file, skipped] : cases) {
        std::ofstream(AnaPath(), std::ios::binary) << file;
        s.OutputKind = "lst";
        s.Main.CAnaf.visible = true;
        ui.log.clear();
        EXPECT_TRUE(core::ShowAnalysisFile(s, ui));
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_EQ(ui.log.front(),
                  skipped == 0 ? "ShowOutput KOVA Output file: " + AnaPath()
                               : "ShowOutputEnd " + AnaPath() + " " + std::to_string(file.size()));
        EXPECT_TRUE(ui.outputText == file.substr(skipped));
        EXPECT_EQ(ui.outputCaption, "KOVA Output file: " + AnaPath());
        EXPECT_EQ(s.OutputKind, "ana");
        EXPECT_FALSE(s.Main.CAnaf.visible);
    }
    // At both bounds it is shown.
    std::string most;
    for (size_t k = 1; k < lines; ++k)
        most += "\r\n";
    most.resize(core::kMaxOutputFileBytes, 'x');
    std::ofstream(AnaPath(), std::ios::binary) << most;
    EXPECT_TRUE(core::ShowAnalysisFile(s, ui));
    EXPECT_TRUE(ui.outputText == most);
}

TEST_F(ReportFrame, ShowListingFileShowsTheListingFile) {
    const std::string lst = (dir / "talk.lst").string();
    { std::ofstream(lst, std::ios::binary) << "listing\r\n"; }
    s.ListingFileName = lst;
    EXPECT_TRUE(core::ShowListingFile(s, ui));
    EXPECT_EQ(ui.outputCaption, "KOVA Output file: " + lst);
    EXPECT_EQ(ui.outputText, "listing\r\n");
    EXPECT_EQ(s.OutputKind, "lst");
}

TEST_F(ReportFrame, ShowOutputShowsTheKindOfFileShownLast) {
    EXPECT_TRUE(core::ShowLastOutputFile(s, ui));  // nothing shown yet: nothing happens
    EXPECT_TRUE(ui.log.empty());
    const std::string lst = (dir / "talk.lst").string();
    { std::ofstream(lst, std::ios::binary) << "L"; }
    { std::ofstream(AnaPath(), std::ios::binary) << "A"; }
    s.ListingFileName = lst;
    s.AnalysisFileName = AnaPath();
    s.OutputKind = "lst";
    EXPECT_TRUE(core::ShowLastOutputFile(s, ui));
    EXPECT_EQ(ui.outputText, "L");
    s.OutputKind = "ana";
    EXPECT_TRUE(core::ShowLastOutputFile(s, ui));
    EXPECT_EQ(ui.outputText, "A");
}

// A protocol kept under a name ending in ".ana" would be its own output file:
// the report is refused and the protocol's file stays as it was.
TEST_F(ReportFrame, ADataFileNamedLikeItsOutputFileIsNeverWrittenTo) {
    s.DataFileName1 = AnaPath();
    {
        std::ofstream f(AnaPath(), std::ios::binary);
        f << "##00000\r\n 0 MEMO 0 \r\n 0 \r\n##END\r\n";
    }
    const std::string before = Ana();
    core::AnalysisOutput block = core::OpenAnalysisOutput(s, core::LeadIn::PrefixOnly);
    block.out.Text("x").EndLine();
    EXPECT_FALSE(core::CloseAnalysisOutput(s, ui, block));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].rfind("Error|Error #  52 ", 0), 0u) << ui.messages[0];
    EXPECT_EQ(Ana(), before);
}

// The output file named after the data file is written only when it is no
// set's open file, whatever name that file was opened under.
TEST_F(ReportFrame, AnOpenSetsFileIsNoOutputFile) {
    std::filesystem::create_directory_symlink(dir, dir / "link");
    {
        std::ofstream rules(AnaPath(), std::ios::binary);
        rules << "##00000\r\n";
    }
    s.FilterFileName = (dir / "link" / "talk.ana").string();
    core::AnalysisOutput block = core::OpenAnalysisOutput(s, core::LeadIn::PrefixOnly);
    block.out.Text("x").EndLine();
    EXPECT_FALSE(core::CloseAnalysisOutput(s, ui, block));
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(Ana(), "##00000\r\n");
}

}  // namespace
