// Adding, cutting, pasting, joining and splitting records of every set, the
// record clipboard, the range dialogs' confirmations, swap and delete coding
// and the table editor.
#include "mainwindow/record_commands.h"

#include <gtest/gtest.h>

#include "mainwindow/daily_fixture.h"
#include "mainwindow/find.h"
#include "mainwindow/memo_edit.h"
#include "store/open_save.h"
#include "store/selection_store.h"

namespace {

using core::KovaState;
using core::RecordSet;

std::vector<std::string> Texts(const RecordSet& set, int count) {
    std::vector<std::string> out;
    for (int i = 1; i <= count; ++i)
        out.push_back(set[i].V8);
    return out;
}

// Every record's V0 is its position and the array holds exactly the count.
void ExpectNumbered(const RecordSet& set, int count) {
    ASSERT_EQ(set.size(), static_cast<size_t>(count) + 1);
    for (int i = 1; i <= count; ++i)
        EXPECT_EQ(set[i].V0, i) << "record " << i;
}

void ShowFilters(KovaState& s, core::KovaUi& ui, int count, int current) {
    s.Records2 = test::MakeRecords(count, "line ");
    s.FilterCount = static_cast<int16_t>(count);
    s.CurrentFilterLine = static_cast<int16_t>(current);
    s.FilterFileName = "/tmp/f.fil";
    core::ShowFilterMode(s, ui);
}

struct Edit : ::testing::Test {
    KovaState s;
    test::FakeUi ui;

    // The window shows `count` records with `current` on the last row.
    void ExpectWindow(int count, int current) {
        EXPECT_EQ(s.Main.scrollMin, 1);
        EXPECT_EQ(s.Main.scrollMax, count);
        EXPECT_EQ(s.Main.scrollValue, current);
        EXPECT_EQ(s.Main.Teller.caption, std::to_string(count));
        EXPECT_EQ(s.Main.rows[10].v[0], current > 0 ? std::to_string(current) : "");
    }
};

TEST_F(Edit, AddPutsTheSetsOwnNewRecordAfterTheCurrentOne) {
    struct Case {
        int view;
        int16_t v2;
        const char* text;
    };
    for (const Case& c : {Case{1, 1, ""}, Case{2, 0, ""}, Case{3, 0, "*"}}) {
        SCOPED_TRACE(c.view);
        KovaState fresh;
        s = fresh;
        if (c.view == 1)
            test::ShowSet1(s, ui, 5, 2);
        else if (c.view == 2)
            test::ShowSet2(s, ui, 5, 2);
        else
            ShowFilters(s, ui, 5, 2);
        core::AddButton(s, ui);
        auto set = *core::ShownEditSet(s);
        EXPECT_EQ(set.count, 6);
        EXPECT_EQ(set.current, 3);
        ExpectNumbered(set.records, 6);
        EXPECT_EQ(set.records[3].V2, c.v2);
        EXPECT_EQ(set.records[3].V1, c.text);
        EXPECT_EQ(set.records[3].V8, c.text);
        EXPECT_EQ(set.records[3].Memo, "");
        EXPECT_EQ(set.records[4].V8, c.view == 3 ? "line 3" : c.view == 2 ? "second 3" : "text 3");
        EXPECT_EQ(set.changes, 1u);
        ExpectWindow(6, 3);
    }
}

TEST_F(Edit, AddInAnEmptySetAndAfterTheLast) {
    test::ShowSet1(s, ui, 0, 0);
    core::AddRecordData1(s, ui);
    EXPECT_EQ(s.RecordCount1, 1);
    EXPECT_EQ(s.CurrentRecord1, 1);
    EXPECT_EQ(s.Records1[1].V0, 1);
    EXPECT_EQ(s.Records1[1].V2, 1);
    core::AddRecordData1(s, ui);
    EXPECT_EQ(s.CurrentRecord1, 2);
    ExpectNumbered(s.Records1, 2);
    ExpectWindow(2, 2);
}

TEST_F(Edit, CutMovesTheRangeToTheClipboard) {
    test::ShowSet1(s, ui, 10, 9);
    int16_t from = 3, to = 5;
    core::DeleteRecordsData1(s, ui, from, to);
    ASSERT_EQ(s.ClipboardCount, 3);
    ASSERT_EQ(s.RecordClipboard.size(), 4u);
    for (int j = 1; j <= 3; ++j) {
        EXPECT_EQ(s.RecordClipboard[j].V0, j + 2);
        EXPECT_EQ(s.RecordClipboard[j].V8, "text " + std::to_string(j + 2));
    }
    EXPECT_EQ(s.RecordCount1, 7);
    ExpectNumbered(s.Records1, 7);
    EXPECT_EQ(s.Records1[3].V8, "text 6");
    EXPECT_EQ(s.CurrentRecord1, 3);
    EXPECT_EQ(s.ChangeCount1, 1u);
    ExpectWindow(7, 3);
}

TEST_F(Edit, CutAtTheEndAndOfEverything) {
    test::ShowSet1(s, ui, 10, 1);
    int16_t from = 9, to = 10;
    core::DeleteRecordsData1(s, ui, from, to);
    EXPECT_EQ(s.RecordCount1, 8);
    EXPECT_EQ(s.CurrentRecord1, 8);
    from = 1;
    to = 8;
    core::DeleteRecordsData1(s, ui, from, to);
    EXPECT_EQ(s.RecordCount1, 0);
    EXPECT_EQ(s.CurrentRecord1, 0);
    EXPECT_EQ(s.Records1.size(), 1u);
    EXPECT_EQ(s.Main.text1, "");
    EXPECT_EQ(s.Main.Teller.caption, "0");
    EXPECT_FALSE(s.Main.scrollEnabled);
    // A range outside the set cuts nothing.
    from = 1;
    to = 1;
    core::DeleteRecordsData1(s, ui, from, to);
    EXPECT_EQ(s.ClipboardCount, 8);
}

TEST_F(Edit, PasteInsertsTheClipboardAfterTheCurrentRecordAndKeepsIt) {
    test::ShowSet1(s, ui, 7, 4);
    s.RecordClipboard = test::MakeRecords(3, "clip ");
    s.ClipboardCount = 3;
    core::PasteButton(s, ui);
    EXPECT_EQ(s.RecordCount1, 10);
    ExpectNumbered(s.Records1, 10);
    EXPECT_EQ(Texts(s.Records1, 10),
              (std::vector<std::string>{"text 1", "text 2", "text 3", "text 4", "clip 1", "clip 2",
                                        "clip 3", "text 5", "text 6", "text 7"}));
    EXPECT_EQ(s.CurrentRecord1, 7);
    ExpectWindow(10, 7);
    EXPECT_EQ(s.ClipboardCount, 3);
    EXPECT_EQ(s.RecordClipboard[1].V0, 1);  // the clipboard's copy keeps its number
    EXPECT_EQ(s.ChangeCount1, 1u);

    // An empty clipboard changes nothing but redraws at the same place.
    s.ClipboardCount = 0;
    s.RecordClipboard.assign(1, {});
    core::PasteButton(s, ui);
    EXPECT_EQ(s.RecordCount1, 10);
    EXPECT_EQ(s.CurrentRecord1, 7);
    EXPECT_EQ(s.ChangeCount1, 1u);
}

TEST_F(Edit, RecordsCutInOneSetArePastedIntoAnother) {
    test::ShowSet1(s, ui, 4, 1);
    s.Records1[2].Memo = "a memo";
    core::ConfirmCut(s, ui, "2", "3");
    EXPECT_EQ(s.RecordCount1, 2);
    test::ShowSet2(s, ui, 2, 1);
    core::PasteButton(s, ui);
    EXPECT_EQ(Texts(s.Records2, 4),
              (std::vector<std::string>{"second 1", "text 2", "text 3", "second 2"}));
    ExpectNumbered(s.Records2, 4);
    EXPECT_EQ(s.Records2[2].Memo, "a memo");
    EXPECT_EQ(s.CurrentRecord2, 3);
    EXPECT_EQ(s.ChangeCount2, 1u);
}

TEST_F(Edit, JoinAppendsTheTextToThePreviousRecord) {
    test::ShowSet1(s, ui, 6, 5);
    s.Records1[4].V8 = "  first ";
    s.Records1[5].V8 = " second  ";
    s.Records1[5].Memo = "dropped";
    core::JoinButton(s, ui);
    EXPECT_EQ(s.RecordCount1, 5);
    ExpectNumbered(s.Records1, 5);
    EXPECT_EQ(s.Records1[4].V8, "first second");
    EXPECT_EQ(s.Records1[4].V1, "4");
    EXPECT_EQ(s.Records1[5].V8, "text 6");
    EXPECT_EQ(s.ScratchText, "first second");
    EXPECT_EQ(s.CurrentRecord1, 4);
    ExpectWindow(5, 4);

    s.Records1[1].V8 = "";
    s.CurrentRecord1 = 2;
    core::JoinButton(s, ui);
    // The joined text begins with the blank; shown as the current record's
    // text it is stored back trimmed, as the text box always does.
    EXPECT_EQ(s.ScratchText, " text 2");
    EXPECT_EQ(s.Records1[1].V8, "text 2");

    // On the first record, and on filter lines, nothing happens.
    const RecordSet before = s.Records1;
    core::JoinButton(s, ui);
    EXPECT_EQ(s.Records1, before);
    ShowFilters(s, ui, 3, 3);
    core::JoinButton(s, ui);
    EXPECT_EQ(s.FilterCount, 3);
}

TEST_F(Edit, SplitCutsAtTheCaretAndRenumbersDataSet1) {
    test::ShowSet1(s, ui, 3, 2);
    s.Records1[2].V8 = "abcdef";
    s.Records1[3].V8 = "x /// y";  // a later separator splits as well
    for (auto& r : s.Records1)
        r.V3 = "A", r.V1 = "";
    s.Records1[1].V1 = "10:00";
    core::RefreshRecordList1(s, ui, s.CurrentRecord1);
    core::SplitButton(s, ui, 3);
    EXPECT_EQ(Texts(s.Records1, 5), (std::vector<std::string>{"text 1", "abc", "def", "x", "y"}));
    ExpectNumbered(s.Records1, 5);
    EXPECT_EQ(s.CurrentRecord1, 3);
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(s.Records1[i].V2, i);  // one actor under one time code
    ExpectWindow(5, 3);
    EXPECT_EQ(s.ChangeCount1, 1u);

    // The caret at either end does nothing.
    core::SplitButton(s, ui, 0);
    core::SplitButton(s, ui, 3);
    EXPECT_EQ(s.RecordCount1, 5);
}

TEST_F(Edit, SplitInDataSet2KeepsTheSequenceNumbersItGives) {
    test::ShowSet1(s, ui, 2, 1);
    test::ShowSet2(s, ui, 2, 2);
    s.Records2[2].V8 = "one two";
    s.Records2[2].V2 = 7;
    core::SplitButton(s, ui, 4);
    EXPECT_EQ(Texts(s.Records2, 3), (std::vector<std::string>{"second 1", "one", "two"}));
    EXPECT_EQ(s.Records2[2].V2, 7);
    EXPECT_EQ(s.Records2[3].V2, 8);
    EXPECT_EQ(s.CurrentRecord2, 3);
    EXPECT_EQ(s.Records1[1].V2, 1);
    ExpectWindow(3, 3);
}

TEST_F(Edit, TheCaretCountsALineBreakAsTheTwoCharactersItIsStoredAs) {
    test::ShowSet1(s, ui, 1, 1);
    s.Records1[1].V8 = "one\r\ntwo three";
    // The editor shows "one\ntwo three"; the caret after "two" is at 7.
    EXPECT_EQ(core::StoredOffset(s.Records1[1].V8, 7), 8u);
    EXPECT_EQ(core::StoredOffset(s.Records1[1].V8, 99), s.Records1[1].V8.size());
    core::SplitButton(s, ui, 7);
    EXPECT_EQ(Texts(s.Records1, 2), (std::vector<std::string>{"one\r\ntwo", "three"}));
}

TEST_F(Edit, NothingPassesTheRecordLimit) {
    test::ShowSet1(s, ui, core::kMaxRecords, 5);
    s.Records1[5].V8 = "abcdef";
    const RecordSet before = s.Records1;
    core::AddButton(s, ui);
    s.RecordClipboard = test::MakeRecords(1);
    s.ClipboardCount = 1;
    core::PasteButton(s, ui);
    core::SplitButton(s, ui, 3);
    EXPECT_EQ(s.RecordCount1, core::kMaxRecords);
    EXPECT_TRUE(s.Records1 == before);
    EXPECT_EQ(s.ChangeCount1, 0u);
    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(ui.messages[0],
              "KOVA|A record set holds at most 32767 records; this would make 32768. Nothing "
              "was changed.");

    // A paste that passes by more is refused the same way; one that fits runs.
    KovaState t;
    test::ShowSet2(t, ui, 32760, 1);
    t.RecordClipboard = test::MakeRecords(8);
    t.ClipboardCount = 8;
    EXPECT_FALSE(core::InsertRecordsData2(t, ui));
    EXPECT_EQ(t.RecordCount2, 32760);
    t.ClipboardCount = 7;
    EXPECT_TRUE(core::InsertRecordsData2(t, ui));
    EXPECT_EQ(t.RecordCount2, core::kMaxRecords);
}

TEST_F(Edit, ASplitPastTheSequenceLimitLeavesTheText) {
    test::ShowSet2(s, ui, 1, 1);
    s.Records2[1].V8 = "abcdef";
    s.Records2[1].V2 = 32767;
    core::SplitButton(s, ui, 2);
    EXPECT_EQ(s.RecordCount2, 1);
    EXPECT_EQ(s.Records2[1].V8, "abcdef");
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(Edit, AShownSelectionKeepsItsStructure) {
    test::ShowSet1(s, ui, 6, 2);
    core::BeginSelection(s, ui);
    s.SelectionMarks1[2] = 1;
    s.SelectionMarks1[5] = 1;
    core::ApplySelection(s, ui);
    ASSERT_EQ(s.RecordCount1, 2);
    s.CurrentRecord1 = 2;
    s.RecordClipboard = test::MakeRecords(2, "clip ");
    s.ClipboardCount = 2;
    const RecordSet shown = s.Records1;
    const uint64_t changes = s.ChangeCount1;
    s.Records1[2].V8 = "ab cd";
    core::AddButton(s, ui);
    core::PasteButton(s, ui);
    core::JoinButton(s, ui);
    core::SplitButton(s, ui, 2);
    core::ConfirmCut(s, ui, "1", "2");
    EXPECT_EQ(s.RecordCount1, 2);
    EXPECT_EQ(s.ChangeCount1, changes);
    EXPECT_EQ(s.Records1[1], shown[1]);
    EXPECT_EQ(s.ClipboardCount, 2);
    // Copying stays: positions in the shown selection.
    core::ConfirmCopy(s, "2", "2");
    EXPECT_EQ(s.ClipboardCount, 1);
    EXPECT_EQ(s.RecordClipboard[1].V8, "ab cd");
    EXPECT_EQ(s.RecordClipboard[1].V0, 5);
}

TEST_F(Edit, RangeDialogsReadTheirBoxes) {
    test::ShowSet1(s, ui, 12, 12);
    EXPECT_EQ(core::RangeDialogPreset(s), " 12");
    struct Case {
        const char* from;
        const char* to;
        int16_t readFrom, readTo;
        int clipboard;  // -1: nothing copied
    };
    const Case cases[] = {
        {" 12", " 12", 12, 12, 1}, {"5", "3", 5, 3, -1},   {"2.5", "3.5", 2, 4, 3},
        {"1", "12", 1, 12, 12},    {"1", "13", 1, 13, -1}, {"abc", "2", 0, 2, -1},
        {"0", "2", 0, 2, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.from) + ".." + c.to);
        s.ClipboardCount = -1;
        core::ConfirmCopy(s, c.from, c.to);
        EXPECT_EQ(s.FromRecord, c.readFrom);
        EXPECT_EQ(s.ToRecord, c.readTo);
        EXPECT_EQ(s.ClipboardCount, c.clipboard);
    }
    // A number no 16-bit value holds changes nothing and never wraps.
    s.FromRecord = 4;
    s.ToRecord = 4;
    core::ConfirmCut(s, ui, "1", "65537");
    core::ConfirmCopy(s, "-40000", "2");
    EXPECT_EQ(s.FromRecord, 4);
    EXPECT_EQ(s.ToRecord, 4);
    EXPECT_EQ(s.RecordCount1, 12);
    EXPECT_EQ(s.ClipboardCount, -1);

    core::ConfirmCut(s, ui, " 12", " 12");
    EXPECT_EQ(s.RecordCount1, 11);
    EXPECT_EQ(s.RecordClipboard[1].V8, "text 12");
}

TEST_F(Edit, CopyOfFilterLinesGoesByTheirPositions) {
    ShowFilters(s, ui, 5, 5);
    core::ConfirmCopy(s, "2", "3");
    EXPECT_EQ(s.ClipboardCount, 2);
    EXPECT_EQ(s.RecordClipboard[2].V8, "line 3");
    EXPECT_EQ(s.FromRecord, 2);
    EXPECT_EQ(s.FilterCount, 5);
    s.ViewMode = 0;
    EXPECT_EQ(core::RangeDialogPreset(s), "");
}

// ---- delete and swap coding ---------------------------------------------------

struct Coding : Edit {
    // The dialog as its OK leaves things: the range typed, DialogCancelled 0.
    std::function<void()> Ok(const char* from, const char* to, int16_t second = 0) {
        return [=, this] {
            core::StoreCodingRange(s, from, to);
            if (second != 0)
                s.Lag = second;
        };
    }
    std::function<void()> Cancel() {
        return [this] { s.DialogCancelled = 1; };
    }
};

TEST_F(Coding, DeleteClearsTheVariableOverTheRange) {
    test::ShowSet1(s, ui, 5, 2);
    for (auto& r : s.Records1)
        r.V4 = "code";
    const core::CodingPreset preset = core::CodingDialogPreset(s, 4);
    EXPECT_EQ(preset.from, " 2");
    EXPECT_EQ(preset.to, " 5");
    EXPECT_EQ(preset.label, "V4");
    core::DeleteCoding(s, ui, 4, Ok("1", "5"));
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(s.Records1[i].V4, "");
    EXPECT_EQ(s.CurrentRecord1, 2);
    EXPECT_EQ(s.FromRecord, 1);
    core::DeleteCoding(s, ui, 2, Ok("2", "3"));
    EXPECT_EQ(s.Records1[1].V2, 1);
    EXPECT_EQ(s.Records1[2].V2, 0);
    EXPECT_EQ(s.Records1[3].V2, 0);

    ShowFilters(s, ui, 3, 1);
    core::DeleteCoding(s, ui, 8, Ok("1", "3"));
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(s.Records2[i].V8, "*");
    EXPECT_EQ(s.FromFilterLine, 1);
    EXPECT_EQ(s.ToFilterLine, 3);
    EXPECT_EQ(s.Main.text1, "*");
}

TEST_F(Coding, NothingIsClearedWithoutAConfirmedValidRange) {
    test::ShowSet2(s, ui, 4, 1);
    const RecordSet before = s.Records2;
    // Cancel; the dialog closed without OK; a reversed or too long range; a
    // number no 16-bit value holds (the earlier range is not used instead).
    core::DeleteCoding(s, ui, 8, Cancel());
    core::DeleteCoding(s, ui, 8, [] {});
    core::DeleteCoding(s, ui, 8, Ok("3", "2"));
    EXPECT_EQ(s.FromRecord2, 3);
    core::DeleteCoding(s, ui, 8, Ok("1", "5"));
    s.FromRecord2 = 1;
    s.ToRecord2 = 4;
    core::DeleteCoding(s, ui, 8, Ok("1", "99999"));
    EXPECT_EQ(s.DialogCancelled, 1);
    EXPECT_EQ(s.Records2, before);
    s.ViewMode = 0;
    bool asked = false;
    core::DeleteCoding(s, ui, 8, [&] { asked = true; });
    EXPECT_FALSE(asked);
}

TEST_F(Coding, SwapExchangesTwoVariables) {
    test::ShowSet1(s, ui, 4, 3);
    for (auto& r : s.Records1)
        r.V7 = "code";
    core::SwapCoding(s, ui, 8, Ok("2", "4", 7));
    EXPECT_EQ(s.Records1[1].V8, "text 1");
    for (int i = 2; i <= 4; ++i) {
        EXPECT_EQ(s.Records1[i].V8, "code");
        EXPECT_EQ(s.Records1[i].V7, "text " + std::to_string(i));
    }
    EXPECT_EQ(s.Lag, 0);
    EXPECT_EQ(s.Main.text1, "code");

    const RecordSet before = s.Records1;
    core::SwapCoding(s, ui, 4, Ok("3", "2", 5));
    EXPECT_EQ(s.FromRecord, 3);
    EXPECT_EQ(s.ToRecord, 2);
    core::SwapCoding(s, ui, 4, Ok("1", "4"));           // no second variable
    core::SwapCoding(s, ui, 4, [this] { s.Lag = 5; });  // closed without OK
    core::SwapCoding(s, ui, 4, Ok("1", "4", 2));        // V2 is never swapped
    EXPECT_EQ(s.Records1, before);
    EXPECT_EQ(s.Lag, 0);

    s.ViewMode = 0;
    s.Lag = 9;
    core::SwapCoding(s, ui, 4, Ok("1", "4", 5));
    EXPECT_EQ(s.Lag, 9);
}

// ---- table editor ---------------------------------------------------------------

TEST(TableEdit, LabelsOneALine) {
    KovaState s;
    EXPECT_EQ(core::TableEditCaption(s, 1), "Variable labels");
    EXPECT_EQ(core::TableEditText(s, 1), "V0\nV1\nV2\nV3\nV4\nV5\nV6\nV7\nV8\nTotal");
    core::EditTable(s, 1, [&] {
        s.ScratchText = "Nr\r\nTime\nSeq";
        s.DialogCancelled = 0;
    });
    EXPECT_EQ(s.Varnaam[0], "Nr");
    EXPECT_EQ(s.Varnaam[1], "Time");
    EXPECT_EQ(s.Varnaam[2], "Seq");
    for (int k = 3; k <= 9; ++k)
        EXPECT_EQ(s.Varnaam[k], "");
    // Closed without OK: nothing changes.
    core::EditTable(s, 1, [&] { s.ScratchText = "x"; });
    EXPECT_EQ(s.Varnaam[0], "Nr");
}

TEST(TableEdit, CategoryLists) {
    KovaState s;
    s.Varnaam[5] = "Mood";
    s.CategoryLists[5] = {"angry", "calm", "happy"};
    EXPECT_EQ(core::TableEditCaption(s, 5), "Mood");
    auto ok = [&] { s.DialogCancelled = 0; };
    core::EditTable(s, 5, ok);
    EXPECT_EQ(s.CategoryLists[5], (std::vector<std::string>{"angry", "calm", "happy"}));
    core::EditTable(s, 5, [&] {
        s.ScratchText = "sad\r\n\nBored";
        ok();
    });
    EXPECT_EQ(s.CategoryLists[5], (std::vector<std::string>{"", "Bored", "sad"}));
    core::EditTable(s, 5, [&] {
        s.ScratchText = "";
        ok();
    });
    EXPECT_TRUE(s.CategoryLists[5].empty());
    s.CategoryLists[4] = {"a"};
    core::EditTable(s, 4, [&] { s.ScratchText = "b"; });
    EXPECT_EQ(s.CategoryLists[4], (std::vector<std::string>{"a"}));
}

// ---- the memo editor and structural changes -----------------------------------

TEST_F(Edit, AMemoOpenedBeforeAStructuralChangeIsNotStored) {
    test::ShowSet1(s, ui, 5, 3);
    const core::MemoTarget target = core::MemoTargetForCurrent(s);
    // An add and a cut leave the count, the position and its number as they
    // were, but another record stands at position 3 now.
    s.CurrentRecord1 = 1;
    core::AddButton(s, ui);
    core::ConfirmCut(s, ui, "4", "4");
    ASSERT_EQ(s.RecordCount1, 5);
    ASSERT_EQ(s.Records1[3].V0, 3);
    EXPECT_EQ(core::StoreMemo(s, ui, target, false, "note"), core::MemoStore::Refused);
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(s.Records1[i].Memo, "");
    // Opened anew it stores.
    s.CurrentRecord1 = 3;
    EXPECT_EQ(core::StoreMemo(s, ui, core::MemoTargetForCurrent(s), false, "note"),
              core::MemoStore::Stored);
    EXPECT_EQ(s.Records1[3].Memo, "note");
}

TEST_F(Edit, OpensAndSelectionsCountAsStructuralChanges) {
    test::ShowSet1(s, ui, 4, 1);
    const core::MemoTarget target = core::MemoTargetForCurrent(s);
    ASSERT_TRUE(core::OpenDataFile(s, ui, "/no/such/folder/new.kov"));  // a new set of one
    EXPECT_EQ(s.ChangeCount1, 1u);
    EXPECT_EQ(core::StoreMemo(s, ui, target, false, "x"), core::MemoStore::Refused);
    test::ShowSet1(s, ui, 4, 1);
    const uint64_t before = s.ChangeCount1;
    core::BeginSelection(s, ui);
    s.SelectionMarks1[2] = 1;
    core::ApplySelection(s, ui);
    EXPECT_EQ(s.ChangeCount1, before + 1);
    core::EndSelection(s, ui);
    EXPECT_EQ(s.ChangeCount1, before + 2);
    EXPECT_EQ(s.ChangeCount2, 0u);
}

}  // namespace
