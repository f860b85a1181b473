// Adding, cutting, pasting, joining and splitting records of every set, the
// range dialogs' confirmations, swap and delete coding and the table editor.
#include "mainwindow/record_commands.h"

#include <gtest/gtest.h>

#include <functional>

#include "mainwindow/coding.h"
#include "mainwindow/daily_fixture.h"
#include "mainwindow/field_edit.h"
#include "mainwindow/file_commands.h"
#include "mainwindow/find.h"
#include "mainwindow/grid_model.h"
#include "mainwindow/memo_edit.h"
#include "store/open_save.h"
#include "store/selection_store.h"

namespace {

using core::KovaState;
using core::RecordSet;
using Texts = std::vector<std::string>;

Texts TextsOf(const RecordSet& set) {
    Texts out;
    for (size_t i = 1; i < set.size(); ++i)
        out.push_back(set[i].V8);
    return out;
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

    // Every V0 is its position, and the window shows the count with
    // `current` on the last row and as the scroll bars' value.
    void ExpectShown(const RecordSet& set, int count, int current) {
        ASSERT_EQ(set.size(), static_cast<size_t>(count) + 1);
        for (int i = 1; i <= count; ++i)
            EXPECT_EQ(set[i].V0, i) << "record " << i;
        EXPECT_EQ(s.Main.scrollMax, count);
        EXPECT_EQ(s.Main.scrollValue, current);
        EXPECT_EQ(s.Main.Teller.caption, std::to_string(count));
        EXPECT_EQ(s.Main.rows[10].v[0], current > 0 ? std::to_string(current) : "");
    }

    // A fresh state with data set 1, data set 2 or the filter lines alone shown.
    void ShowOnly(int view, int count, int current) {
        s = KovaState();
        ui.messages.clear();
        if (view == 1)
            test::ShowSet1(s, ui, count, current);
        else if (view == 2)
            test::ShowSet2(s, ui, count, current);
        else
            ShowFilters(s, ui, count, current);
    }

    // Data set 1 behind a selection of record 5 alone, shown as record 1.
    void ShowRecord5Alone() {
        core::BeginSelection(s, ui);
        s.SelectionMarks1[5] = 1;
        core::ApplySelection(s, ui);
        s.CurrentRecord1 = 1;
    }
};

TEST_F(Edit, AddPutsTheSetsOwnNewRecordAfterTheCurrentOne) {
    struct Case {
        int view;
        int16_t v2;
        const char* cell;
        const char* next;
    };
    for (const Case& c :
         {Case{1, 1, "", "text 3"}, Case{2, 0, "", "second 3"}, Case{3, 0, "*", "line 3"}}) {
        SCOPED_TRACE(c.view);
        ShowOnly(c.view, 5, 2);
        core::AddButton(s, ui);
        core::EditSet set = *core::ShownEditSet(s);
        EXPECT_EQ(set.current, 3);
        EXPECT_EQ(set.records[3].V2, c.v2);
        EXPECT_EQ(set.records[3].V1, c.cell);
        EXPECT_EQ(set.records[3].V8, c.cell);
        EXPECT_EQ(set.records[4].V8, c.next);
        EXPECT_EQ(set.changes, 1u);
        ExpectShown(set.records, 6, 3);
    }
}

TEST_F(Edit, CutMovesTheRangeToTheClipboard) {
    test::ShowSet1(s, ui, 10, 9);
    core::ConfirmCut(s, ui, "3", "5");
    ASSERT_EQ(s.ClipboardCount, 3);
    for (int j = 1; j <= 3; ++j) {
        EXPECT_EQ(s.RecordClipboard[j].V0, j + 2);
        EXPECT_EQ(s.RecordClipboard[j].V8, "text " + std::to_string(j + 2));
    }
    EXPECT_EQ(s.Records1[3].V8, "text 6");
    EXPECT_EQ(s.CurrentRecord1, 3);
    EXPECT_EQ(s.ChangeCount1, 1u);
    ExpectShown(s.Records1, 7, 3);

    core::ConfirmCut(s, ui, "6", "7");  // at the end: the new last is current
    ExpectShown(s.Records1, 5, 5);
    core::ConfirmCut(s, ui, "1", "5");  // everything
    ExpectShown(s.Records1, 0, 0);
    EXPECT_EQ(s.Main.text1, "");
    core::AddButton(s, ui);  // an add in the empty set makes record 1
    EXPECT_EQ(s.Records1[1].V2, 1);
    ExpectShown(s.Records1, 1, 1);
}

TEST_F(Edit, PasteInsertsTheClipboardAfterTheCurrentRecordAndKeepsIt) {
    test::ShowSet1(s, ui, 3, 1);
    core::ConfirmCopy(s, "1", "3");
    test::ShowSet2(s, ui, 7, 4);  // records copied in one set go into another
    core::PasteButton(s, ui);
    EXPECT_EQ(TextsOf(s.Records2), (Texts{"second 1", "second 2", "second 3", "second 4", "text 1",
                                          "text 2", "text 3", "second 5", "second 6", "second 7"}));
    EXPECT_EQ(s.CurrentRecord2, 7);
    ExpectShown(s.Records2, 10, 7);
    EXPECT_EQ(s.ClipboardCount, 3);
    EXPECT_EQ(s.RecordClipboard[3].V0, 3);  // the clipboard's copy keeps its number

    // An empty clipboard changes nothing but redraws at the same place.
    s.ClipboardCount = 0;
    core::PasteButton(s, ui);
    ExpectShown(s.Records2, 10, 7);
    EXPECT_EQ(s.ChangeCount2, 1u);
}

TEST_F(Edit, JoinAppendsTheTextToThePreviousRecord) {
    test::ShowSet1(s, ui, 6, 5);
    s.Records1[4].V8 = "  first ";
    s.Records1[5].V8 = " second  ";
    core::JoinButton(s, ui);
    EXPECT_EQ(TextsOf(s.Records1), (Texts{"text 1", "text 2", "text 3", "first second", "text 6"}));
    EXPECT_EQ(s.Records1[4].V1, "4");
    ExpectShown(s.Records1, 5, 4);

    // An empty previous text gives a joined text that opens with the blank
    // (shown as the current text it is stored back trimmed).
    s.Records1[1].V8 = "";
    s.CurrentRecord1 = 2;
    core::JoinButton(s, ui);
    EXPECT_EQ(s.ScratchText, " text 2");

    // The second record's memo goes after the first's on a line of its own;
    // an empty memo adds nothing.
    s.Records1[2].Memo = "first note";
    s.Records1[3].Memo = "second note";
    s.CurrentRecord1 = 3;
    core::JoinButton(s, ui);
    EXPECT_EQ(s.Records1[2].Memo, "first note\r\nsecond note");
    s.Records1[1].Memo = "";
    s.CurrentRecord1 = 2;
    core::JoinButton(s, ui);
    EXPECT_EQ(s.Records1[1].Memo, "first note\r\nsecond note");
    s.Records1[2].Memo = "";
    core::JoinButton(s, ui);
    EXPECT_EQ(s.Records1[1].Memo, "first note\r\nsecond note");

    // On the first record, and on filter lines, nothing happens.
    const RecordSet before = s.Records1;
    core::JoinButton(s, ui);
    EXPECT_EQ(s.Records1, before);
    ShowFilters(s, ui, 3, 3);
    core::JoinButton(s, ui);
    EXPECT_EQ(s.FilterCount, 3);
    // A text or memo one byte past the most a field holds (it could not be
    // read back) is not joined: the texts join with a blank, the memos with a
    // line end.
    for (bool memo : {false, true}) {
        test::ShowSet1(s, ui, 2, 2);
        ui.messages.clear();
        (memo ? s.Records1[1].Memo : s.Records1[1].V8).assign(core::kMaxFieldBytes / 2, 'a');
        (memo ? s.Records1[2].Memo : s.Records1[2].V8).assign(core::kMaxFieldBytes / 2 - memo, 'b');
        core::JoinButton(s, ui);
        EXPECT_EQ(s.RecordCount1, 2);
        EXPECT_EQ(ui.messages.size(), 1u);
    }
}

TEST_F(Edit, SplitCutsAtTheCaretAndRenumbersDataSet1) {
    test::ShowSet1(s, ui, 3, 2);
    s.Records1[2].V8 = "abcdef";
    s.Records1[3].V8 = "x /// y";  // a later separator splits as well
    for (auto& r : s.Records1)
        r.V3 = "A", r.V1 = "";
    core::SplitButton(s, ui, 3);
    EXPECT_EQ(TextsOf(s.Records1), (Texts{"text 1", "abc", "def", "x", "y"}));
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(s.Records1[i].V2, i);  // one actor without time codes
    ExpectShown(s.Records1, 5, 3);
    core::SplitButton(s, ui, 0);  // the caret at either end does nothing
    core::SplitButton(s, ui, 3);
    EXPECT_EQ(s.RecordCount1, 5);

    // The ends are those of the text the box shows, without its blanks.
    s.Records1[3].V8 = "  def  ";
    const uint64_t changes = s.ChangeCount1;
    core::SplitButton(s, ui, 2);  // before "def"
    core::SplitButton(s, ui, 5);  // after it
    EXPECT_EQ(s.RecordCount1, 5);
    EXPECT_EQ(s.CurrentRecord1, 3);
    EXPECT_EQ(s.ChangeCount1, changes);
    EXPECT_EQ(s.Records1[3].V8, "  def  ");
}

// Each set's own change counter counts the change, and only it.
TEST_F(Edit, JoinSplitAndFilterLineEditsCountInTheirOwnSet) {
    // The view, then the edit: join, split, cut of record 1, add.
    for (auto [view, edit] :
         {std::pair{1, 'j'}, {2, 'j'}, {1, 's'}, {2, 's'}, {3, 'c'}, {3, 'a'}}) {
        SCOPED_TRACE(std::to_string(view) + edit);
        s = KovaState();
        test::ShowSet1(s, ui, 4, 3);
        if (view == 2)
            test::ShowSet2(s, ui, 4, 3);
        if (view == 3)
            ShowFilters(s, ui, 4, 3);
        const uint64_t before1 = s.ChangeCount1, before2 = s.ChangeCount2;
        if (edit == 'j')
            core::JoinButton(s, ui);
        else if (edit == 's')
            core::SplitButton(s, ui, 2);
        else if (edit == 'c')
            core::ConfirmCut(s, ui, "1", "1");
        else
            core::AddButton(s, ui);
        EXPECT_EQ(s.ChangeCount1, before1 + (view == 1 ? 1 : 0));
        EXPECT_EQ(s.ChangeCount2, before2 + (view == 1 ? 0 : 1));
    }
}

// After the close button data set 2's and the filter lines' view stays on a
// set of no file: nothing is added, pasted, joined or split there.
TEST_F(Edit, TheViewOfAClosedSetTakesNoRecords) {
    for (int view : {2, 3}) {
        SCOPED_TRACE(view);
        s = KovaState();
        test::ShowSet1(s, ui, 3, 1);
        if (view == 2)
            test::ShowSet2(s, ui, 3, 1);
        else
            ShowFilters(s, ui, 3, 1);
        ui.answers = {core::Answer::No};
        ASSERT_TRUE(core::CloseShownSet(s, ui));
        s.RecordClipboard = test::MakeRecords(1);
        s.ClipboardCount = 1;
        ui.messages.clear();
        const KovaState closed = s;
        core::AddButton(s, ui);
        core::PasteButton(s, ui);
        core::JoinButton(s, ui);
        core::SplitButton(s, ui, 1);
        EXPECT_EQ(s, closed);
        ASSERT_EQ(ui.messages.size(), 4u);
        EXPECT_EQ(ui.messages[0],
                  "KOVA|No file is open here: what is added or typed would be saved nowhere. "
                  "Open a file first.");
    }
}

TEST_F(Edit, SplitInDataSet2KeepsItsSequenceNumbersAndCountsCrLfAsTwo) {
    test::ShowSet2(s, ui, 2, 2);
    s.Records2[2].V8 = "one\r\ntwo three";
    s.Records2[2].V2 = 7;
    // The editor shows "one\ntwo three": the caret after "two" is at 7, byte 8.
    EXPECT_EQ(core::StoredOffset(s.Records2[2].V8, 7), 8u);
    core::SplitButton(s, ui, 7);
    EXPECT_EQ(TextsOf(s.Records2), (Texts{"second 1", "one\r\ntwo", "three"}));
    EXPECT_EQ(s.Records2[2].V2, 7);
    EXPECT_EQ(s.Records2[3].V2, 8);
    ExpectShown(s.Records2, 3, 3);
}

TEST_F(Edit, NothingPassesTheRecordLimit) {
    test::ShowSet1(s, ui, core::kMaxRecords, 5);
    s.Records1[5].V8 = "abcdef";
    const RecordSet before = s.Records1;
    s.RecordClipboard = test::MakeRecords(1);
    s.ClipboardCount = 1;
    core::AddButton(s, ui);
    core::PasteButton(s, ui);
    core::SplitButton(s, ui, 3);
    EXPECT_TRUE(s.Records1 == before);  // the split's separator taken out again
    EXPECT_EQ(s.RecordCount1, core::kMaxRecords);
    EXPECT_EQ(s.ChangeCount1, 0u);
    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(ui.messages[0],
              "KOVA|A record set holds at most 32767 records; this would make 32768. Nothing "
              "was changed.");
}

// A set a few bytes short of what a data file may hold: Add, Paste (of one
// short record) and Split of any set are refused, the set left as it was.
TEST_F(Edit, NothingMakesASetTooLargeToSave) {
    const std::pair<int, char> cases[] = {{1, 'a'}, {1, 'p'}, {1, 's'}, {2, 'a'},
                                          {2, 'p'}, {2, 's'}, {3, 'a'}, {3, 'p'}};
    for (auto [view, edit] : cases) {
        SCOPED_TRACE(std::to_string(view) + edit);
        ShowOnly(view, 6, 5);
        RecordSet& set = view == 1 ? s.Records1 : s.Records2;
        set[5].V8 = "abcdef";
        s.FileInfo1 = s.FileInfo2 = s.FilterFileInfo = "info";
        test::FillToTheBound(s, static_cast<int16_t>(view), 20);
        s.RecordClipboard = test::MakeRecords(1);
        s.ClipboardCount = 1;
        const RecordSet before = set;
        if (edit == 'a')
            core::AddButton(s, ui);
        else if (edit == 'p')
            core::PasteButton(s, ui);
        else
            core::SplitButton(s, ui, 3);
        EXPECT_TRUE(set == before);
        EXPECT_EQ(s.ChangeCount1 + s.ChangeCount2, 0u);
        EXPECT_EQ(ui.messages, Texts{"KOVA|" + test::kSetTooLargeToSave});
    }
}

// A set 3 bytes short of what a data file may hold: every command that writes
// fields of its records, each a few bytes longer, is refused, the set left as
// it was.
TEST_F(Edit, NoFieldWriteMakesASetTooLargeToSave) {
    struct Case {
        const char* command;
        int16_t set;  // the set written; data set 1 is shown but for the filter lines
        std::function<void()> prepare;
        std::function<bool()> write;  // whether it says it stored
    };
    auto range = [this](const char* from, const char* to) {
        return [=, this] { core::StoreCodingRange(s, from, to); };
    };
    auto memo = [this](core::MemoTarget (*target)(const KovaState&), const char* text) {
        return [=, this] {
            return core::StoreMemo(s, ui, target(s), false, text) == core::MemoStore::Stored;
        };
    };
    const Case cases[] = {
        {"code", 1, [] {}, [&] { return core::WriteCode(s, ui, 4, "talk"); }},
        {"code, record 5 alone shown", 1,  // the full set is saved
         [&] { ShowRecord5Alone(); }, [&] { return core::WriteCode(s, ui, 4, "talk"); }},
        {"time box", 1, [] {}, [&] { return core::StoreEditBox(s, ui, 1, "10:00:00"); }},
        {"number box", 1, [] {}, [&] { return core::StoreEditBox(s, ui, 2, "-32768"); }},
        {"actor box", 1, [] {}, [&] { return core::StoreEditBox(s, ui, 3, "teacher"); }},
        {"text box", 1, [] {}, [&] { return core::StoreText1(s, ui, "text 5 more"); }},
        {"memo", 1, [] {}, memo(core::MemoTargetForCurrent, "note")},
        {"file info", 1, [] {}, memo(core::FileInfoTarget, "information")},
        {"grid cell", 1, [] {},
         [&] {
             return core::GridModel::Open(s)->SetCell(s, ui, 5, 5, "talk") ==
                    core::GridEdit::Stored;
         }},
        {"grid cell, sequence number", 1, [] {},  // " 1 " becomes "-32768 ", four more
         [&] {
             return core::GridModel::Open(s)->SetCell(s, ui, 5, 3, "-32768") ==
                    core::GridEdit::Stored;
         }},
        {"delete coding", 3, [] {},  // an empty field of a filter line becomes "*"
         [&] {
             core::DeleteCoding(s, ui, 4, range("1", "20"));
             return false;
         }},
        {"swap coding", 1,  // a CR LF takes one byte in a one-line field, two in a text
         [&] { s.Records1[5].V4 = "a\r\nb\r\nc\r\nd\r\ne"; },
         [&] {
             core::SwapCoding(s, ui, 4, [&] {
                 range("5", "5")();
                 s.Lag = 8;
             });
             return false;
         }},
        {"update sequencer", 1,  // one actor, no times: 1..20, eleven digits more
         [&] {
             for (auto& r : s.Records1)
                 r.V1.clear();
         },
         [&] {
             core::UpdateSequencer(s, ui);
             return false;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        ShowOnly(c.set, 20, 5);
        s.FileInfo1 = s.FilterFileInfo = "info";
        c.prepare();
        test::FillToTheBound(s, c.set, 3);
        const KovaState before = s;
        EXPECT_FALSE(c.write());
        EXPECT_TRUE(s.Records1 == before.Records1);
        EXPECT_TRUE(s.Records2 == before.Records2);
        EXPECT_EQ(s.FileInfo1, before.FileInfo1);
        EXPECT_EQ(s.FilterFileInfo, before.FilterFileInfo);
        EXPECT_EQ(s.Main.text1Record, before.Main.text1Record);
        EXPECT_TRUE(s.Main.rows == before.Main.rows);
        EXPECT_EQ(ui.messages, Texts{"KOVA|" + test::kSetTooLargeToSave});
    }
    // A write that makes the set no larger is stored as before.
    ui.messages.clear();
    test::ShowSet1(s, ui, 20, 5);
    s.Records1[5].V4 = "abcd";
    test::FillToTheBound(s, 1, 0);
    EXPECT_TRUE(core::WriteCode(s, ui, 4, "wxyz"));
    EXPECT_TRUE(core::StoreText1(s, ui, "text"));
    EXPECT_TRUE(ui.messages.empty());
}

// A growing command takes the last bytes left in a set, not one more: the
// first memo with the heading of the memo section ("##MEMOS##"), a second
// without; a pasted text's lone line feeds and marker-like lines; filter
// lines' empty fields turned "*"; sequence numbers renumbered 1..21.
TEST_F(Edit, AGrowingCommandTakesTheLastBytesLeftButNoMore) {
    RecordSet clip = test::MakeRecords(1);
    clip[1].V8 = std::string(70'000, 'y') + "\n##00001\n" + std::string(40'000, 'z') + "\r\n##";
    ASSERT_GT(core::SavedRecordBytes(clip[1]), 110'000u);
    const size_t memo = 9 + 6;     // "##00005" and "note", each with CR LF
    const size_t heading = 9 + 2;  // "##MEMOS##" and CR LF
    auto storeMemo = [this] {
        return core::StoreMemo(s, ui, core::MemoTargetForCurrent(s), false, "note") ==
                   core::MemoStore::Stored &&
               s.Records1[5].Memo == "note";
    };
    struct Case {
        const char* command;
        int16_t set;
        std::function<void()> prepare;
        std::function<bool()> change;
        size_t growth = 0;  // 0: as measured
    };
    const Case cases[] = {
        {"first memo", 1, [] {}, storeMemo, memo + heading},
        {"second memo", 1, [&] { s.Records1[2].Memo = "first"; }, storeMemo, memo},
        {"paste", 1,
         [&] {
             s.RecordClipboard = clip;
             s.ClipboardCount = 1;
         },
         [&] { return core::PasteButton(s, ui), s.RecordCount1 == 21; },
         core::SavedRecordBytes(clip[1])},
        {"delete coding of one filter line", 3, [] {},
         [&] {
             core::DeleteCoding(s, ui, 4, [&] { core::StoreCodingRange(s, "5", "5"); });
             return s.Records2[5].V4 == "*";
         }},
        {"split in data set 1", 1,  // one actor, no times
         [&] {
             for (auto& r : s.Records1)
                 r.V1.clear();
             s.Records1[5].V8 = "abcdef";
         },
         [&] { return core::SplitButton(s, ui, 3), s.RecordCount1 == 21; }},
        {"code, record 5 alone shown", 1,  // the full set is saved
         [&] { ShowRecord5Alone(); }, [&] { return core::WriteCode(s, ui, 4, "talk"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        ShowOnly(c.set, 20, 5);
        s.FileInfo1 = s.FilterFileInfo = "info";
        c.prepare();
        const size_t growth = test::ExpectTheLastBytesTaken(s, ui, c.set, c.change);
        if (c.growth != 0) {
            EXPECT_EQ(growth, c.growth);
        }
    }
}

// The text box counts the set once and then follows the room it found, until
// another write or a new page: a key that would pass the bound is refused.
TEST_F(Edit, TheTextBoxCountsItsRoomAgainAfterAnotherChange) {
    test::ShowSet1(s, ui, 20, 5);
    test::FillToTheBound(s, 1, 10);
    EXPECT_TRUE(core::StoreText1(s, ui, "text 5ab"));  // 8 bytes left
    EXPECT_TRUE(core::WriteCode(s, ui, 4, "talk"));    // 4 left
    EXPECT_FALSE(core::StoreText1(s, ui, "text 5abcdefg"));
    EXPECT_TRUE(core::StoreText1(s, ui, "text 5abcdef"));    // none left
    EXPECT_FALSE(core::StoreText1(s, ui, "text 5abcdefg"));  // the room followed
    EXPECT_EQ(s.Records1[5].V8, "text 5abcdef");
    // A change of the records the page is then drawn for, as a filter run makes.
    EXPECT_TRUE(core::StoreText1(s, ui, "text 5abc"));  // 3 left
    s.Records1[6].V8 += "xx";
    int16_t current = 5;
    core::RefreshRecordList1(s, ui, current);
    EXPECT_FALSE(core::StoreText1(s, ui, "text 5abcdef"));
    EXPECT_EQ(s.Records1[5].V8, "text 5abc");
    EXPECT_EQ(s.Main.text1Record, "text 5abc");
    EXPECT_EQ(ui.messages.size(), 3u);
}

TEST_F(Edit, AShownSelectionKeepsItsStructureButCopies) {
    test::ShowSet1(s, ui, 6, 2);
    core::BeginSelection(s, ui);
    s.SelectionMarks1[2] = 1;
    s.SelectionMarks1[5] = 1;
    core::ApplySelection(s, ui);
    s.CurrentRecord1 = 2;
    s.Records1[2].V8 = "ab cd";
    s.ClipboardCount = 0;
    const RecordSet shown = s.Records1;
    const uint64_t changes = s.ChangeCount1;
    core::AddButton(s, ui);
    core::PasteButton(s, ui);
    core::JoinButton(s, ui);
    core::SplitButton(s, ui, 2);
    core::ConfirmCut(s, ui, "1", "2");
    EXPECT_EQ(s.Records1, shown);
    EXPECT_EQ(s.ChangeCount1, changes);
    core::ConfirmCopy(s, "2", "2");  // a position in the shown selection
    ASSERT_EQ(s.ClipboardCount, 1);
    EXPECT_EQ(s.RecordClipboard[1].V0, 5);
}

TEST_F(Edit, RangeDialogsReadTheirBoxesAndNeverWrap) {
    test::ShowSet1(s, ui, 12, 12);
    EXPECT_EQ(core::RangeDialogPreset(s), " 12");
    struct Case {
        const char* from;
        const char* to;
        int16_t readFrom, readTo;
        int copied;  // -1: nothing copied
    };
    for (const Case& c :
         {Case{" 12", " 12", 12, 12, 1}, Case{"5", "3", 5, 3, -1}, Case{"2.5", "3.5", 2, 4, 3},
          Case{"1", "12", 1, 12, 12}, Case{"1", "13", 1, 13, -1}, Case{"abc", "2", 0, 2, -1},
          // no 16-bit value holds these: the last values stay
          Case{"1", "65537", 0, 2, -1}, Case{"-40000", "2", 0, 2, -1}}) {
        SCOPED_TRACE(std::string(c.from) + ".." + c.to);
        s.ClipboardCount = -1;
        core::ConfirmCopy(s, c.from, c.to);
        EXPECT_EQ(s.FromRecord, c.readFrom);
        EXPECT_EQ(s.ToRecord, c.readTo);
        EXPECT_EQ(s.ClipboardCount, c.copied);
    }
    core::ConfirmCut(s, ui, "1", "99999");
    EXPECT_EQ(s.RecordCount1, 12);
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
};

TEST_F(Coding, DeleteClearsTheVariableOverTheRange) {
    test::ShowSet1(s, ui, 5, 2);
    for (auto& r : s.Records1)
        r.V4 = "code";
    const core::CodingPreset preset = core::CodingDialogPreset(s, 4);
    EXPECT_EQ(preset.from + "|" + preset.to + "|" + preset.label, " 2| 5|V4");
    core::DeleteCoding(s, ui, 4, Ok("2", "5"));
    EXPECT_EQ(s.Records1[1].V4, "code");
    EXPECT_EQ(s.Records1[5].V4, "");
    core::DeleteCoding(s, ui, 2, Ok("2", "3"));
    EXPECT_EQ(s.Records1[3].V2, 0);
    EXPECT_EQ(s.Records1[4].V2, 1);

    ShowFilters(s, ui, 3, 1);
    core::DeleteCoding(s, ui, 8, Ok("1", "3"));
    EXPECT_EQ(TextsOf(s.Records2), (Texts{"*", "*", "*"}));
    EXPECT_EQ(s.FromFilterLine, 1);
    EXPECT_EQ(s.Main.text1, "*");
}

TEST_F(Coding, NothingChangesWithoutAConfirmedValidRange) {
    test::ShowSet2(s, ui, 4, 1);
    const RecordSet before = s.Records2;
    s.FromRecord2 = 1;  // a valid range from before
    s.ToRecord2 = 4;
    core::DeleteCoding(s, ui, 8, [this] { s.DialogCancelled = 1; });  // NO
    core::DeleteCoding(s, ui, 8, [] {});                              // close box
    core::DeleteCoding(s, ui, 8, Ok("1", "99999"));
    core::DeleteCoding(s, ui, 8, Ok("3", "2"));
    core::DeleteCoding(s, ui, 8, Ok("1", "5"));
    core::SwapCoding(s, ui, 8, Ok("1", "4"));           // no second variable
    core::SwapCoding(s, ui, 8, [this] { s.Lag = 5; });  // closed without OK
    core::SwapCoding(s, ui, 8, Ok("1", "4", 2));        // V2 is never swapped
    core::SwapCoding(s, ui, 8, Ok("3", "2", 5));
    EXPECT_EQ(s.Records2, before);
    EXPECT_EQ(s.FromRecord2, 3);
    EXPECT_EQ(s.Lag, 0);
    s.ViewMode = 0;
    s.Lag = 9;
    core::SwapCoding(s, ui, 4, [] { FAIL() << "no dialog in view mode 0"; });
    EXPECT_EQ(s.Lag, 9);
}

TEST_F(Coding, SwapExchangesTwoVariables) {
    test::ShowSet1(s, ui, 4, 3);
    for (auto& r : s.Records1)
        r.V7 = "code";
    core::SwapCoding(s, ui, 8, Ok("2", "4", 7));
    EXPECT_EQ(TextsOf(s.Records1), (Texts{"text 1", "code", "code", "code"}));
    EXPECT_EQ(s.Records1[4].V7, "text 4");
    EXPECT_EQ(s.Lag, 0);
    EXPECT_EQ(s.Main.text1, "code");
}

// ---- table editor ---------------------------------------------------------------

TEST(TableEdit, LabelsAndListsAreReplacedOnlyOnOk) {
    KovaState s;
    s.CategoryLists[5] = {"angry", "calm"};
    EXPECT_EQ(core::TableEditText(s, 1), "V0\nV1\nV2\nV3\nV4\nV5\nV6\nV7\nV8\nTotal");
    auto ok = [&](const char* text) {
        return [&s, text] {
            s.ScratchText = text;
            s.DialogCancelled = 0;
        };
    };
    core::EditTable(s, 1, ok("Nr\r\nTime\nSeq"));
    EXPECT_EQ(s.Varnaam[1], "Time");
    EXPECT_EQ(s.Varnaam[2], "Seq");
    EXPECT_EQ(s.Varnaam[3], "");
    EXPECT_EQ(s.Varnaam[9], "");
    core::EditTable(s, 1, [&] { s.ScratchText = "x"; });  // closed without OK
    EXPECT_EQ(s.Varnaam[0], "Nr");

    EXPECT_EQ(core::TableEditText(s, 5), "angry\ncalm");
    core::EditTable(s, 5, [&] { s.DialogCancelled = 0; });
    EXPECT_EQ(s.CategoryLists[5], (Texts{"angry", "calm"}));
    core::EditTable(s, 5, ok("sad\r\n\nBored"));
    EXPECT_EQ(s.CategoryLists[5], (Texts{"", "Bored", "sad"}));
    core::EditTable(s, 5, ok(""));
    EXPECT_TRUE(s.CategoryLists[5].empty());
}

TEST(TableEdit, AQuoteIsRefusedNamingItsLine) {
    test::FakeUi ui;
    EXPECT_TRUE(core::CheckTableEditText(ui, "Nr\r\nTime"));
    EXPECT_FALSE(core::CheckTableEditText(ui, "Nr\r\nsay \"hi\"\r\nSeq"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0],
              "KOVA|The label or category say \"hi\" contains a double quote (\"), which a "
              "table file cannot hold. Please remove the double quote.");
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
    ASSERT_EQ(s.Records1[3].V0, 3);
    EXPECT_EQ(core::StoreMemo(s, ui, target, false, "note"), core::MemoStore::Refused);
    EXPECT_EQ(s.Records1[3].Memo, "");
    s.CurrentRecord1 = 3;
    EXPECT_EQ(core::StoreMemo(s, ui, core::MemoTargetForCurrent(s), false, "note"),
              core::MemoStore::Stored);

    // Showing a selection and ending it count as well.
    const core::MemoTarget again = core::MemoTargetForCurrent(s);
    core::BeginSelection(s, ui);
    s.SelectionMarks1[3] = 1;
    core::ApplySelection(s, ui);
    core::EndSelection(s, ui);
    s.CurrentRecord1 = 3;
    EXPECT_EQ(core::StoreMemo(s, ui, again, false, "other"), core::MemoStore::Refused);
}

}  // namespace
