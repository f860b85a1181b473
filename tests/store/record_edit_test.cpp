#include "store/record_edit.h"

#include <gtest/gtest.h>

using core::ProtocolRecord;
using core::RecordSet;

namespace {

// A set of records whose V8 are the given texts; every record has V0 = its
// position, V1 "t", V2 = 10 * position, V3 "A" and a memo.
RecordSet Set(const std::vector<std::string>& texts) {
    RecordSet set(1);
    for (const std::string& t : texts) {
        ProtocolRecord r;
        r.V0 = static_cast<int16_t>(set.size());
        r.V1 = "t";
        r.V2 = static_cast<int16_t>(10 * set.size());
        r.V3 = "A";
        r.V4 = "c4";
        r.V8 = t;
        r.Memo = "memo " + std::to_string(set.size());
        set.push_back(r);
    }
    return set;
}

std::vector<std::string> Texts(const RecordSet& set) {
    std::vector<std::string> out;
    for (size_t i = 1; i < set.size(); ++i) {
        out.push_back(set[i].V8);
    }
    return out;
}

bool Split(RecordSet& set, int16_t from, int16_t& count) {
    core::KovaState s;
    return core::SplitRecordsAtSeparator(s, set, from, count, "///");
}

}  // namespace

TEST(SplitRecordsAtSeparator, PiecesCopyTheRecordAndCountV2Up) {
    RecordSet set = Set({"Yes /// no /// maybe"});
    set[1].V2 = 4;
    int16_t count = 1;
    ASSERT_TRUE(Split(set, 1, count));
    ASSERT_EQ(count, 3);
    ASSERT_EQ(set.size(), 4u);
    EXPECT_EQ(Texts(set), (std::vector<std::string>{"Yes", "no", "maybe"}));
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(set[i].V0, i);
        EXPECT_EQ(set[i].V2, 3 + i);
        EXPECT_EQ(set[i].V1, "t");
        EXPECT_EQ(set[i].V3, "A");
        EXPECT_EQ(set[i].V4, "c4");
        EXPECT_EQ(set[i].Memo, "memo 1");
    }
}

TEST(SplitRecordsAtSeparator, EmptyPiecesAndEnds) {
    struct Case {
        std::string text;
        std::vector<std::string> pieces;
    };
    const std::vector<Case> cases = {
        {"///rest", {"", "rest"}},
        {"abc///", {"abc"}},
        {"a/// ///", {"a", ""}},
        {"a//////b", {"a", "", "b"}},
        {"///", {""}},
        {"  x  ///  y  ", {"x", "y"}},
        {"a////b", {"a", "/b"}},
        {"one\r\ntwo///three", {"one\r\ntwo", "three"}},
        {"  keep  blanks  ", {"  keep  blanks  "}},  // no separator: unchanged
        {"a//b", {"a//b"}},
    };
    for (const Case& c : cases) {
        RecordSet set = Set({c.text});
        int16_t count = 1;
        ASSERT_TRUE(Split(set, 1, count));
        EXPECT_EQ(Texts(set), c.pieces) << c.text;
        EXPECT_EQ(count, static_cast<int16_t>(c.pieces.size())) << c.text;
    }
}

TEST(SplitRecordsAtSeparator, EveryRecordFromFromOnIsExamined) {
    RecordSet set = Set({"r1///x", "r2", "r3", "r4", "r5 /// b", "r6", "r7///c///d", "r8"});
    for (auto& r : set) {
        r.V0 = 99;  // stale numbers: the split renumbers from From on
    }
    int16_t count = 8;
    ASSERT_TRUE(Split(set, 5, count));
    EXPECT_EQ(count, 11);
    EXPECT_EQ(Texts(set), (std::vector<std::string>{"r1///x", "r2", "r3", "r4", "r5", "b", "r6",
                                                    "r7", "c", "d", "r8"}));
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(set[i].V0, 99);  // before From: untouched
    }
    for (int i = 5; i <= 11; ++i) {
        EXPECT_EQ(set[i].V0, i);
    }
    EXPECT_EQ(set[6].V2, 51);
    EXPECT_EQ(set[7].V2, 60);
    EXPECT_EQ(set[10].V2, 72);
    EXPECT_EQ(set[11].Memo, "memo 8");
}

TEST(SplitRecordsAtSeparator, NothingToDo) {
    const RecordSet original = Set({"a///b", "c"});
    core::KovaState s;
    RecordSet set = original;
    int16_t count = 2;
    EXPECT_TRUE(core::SplitRecordsAtSeparator(s, set, 1, count, ""));
    EXPECT_EQ(set, original);
    EXPECT_TRUE(Split(set, 3, count));  // past the end
    EXPECT_TRUE(Split(set, 0, count));
    EXPECT_EQ(set, original);
    EXPECT_EQ(count, 2);

    RecordSet empty(1);
    int16_t zero = 0;
    EXPECT_TRUE(Split(empty, 1, zero));
    EXPECT_EQ(zero, 0);
    EXPECT_EQ(empty.size(), 1u);

    RecordSet shortSet = Set({"a///b"});
    int16_t wrong = 5;  // count larger than the set: refused, not read past the end
    EXPECT_FALSE(Split(shortSet, 1, wrong));
    EXPECT_EQ(wrong, 5);
    EXPECT_EQ(Texts(shortSet), (std::vector<std::string>{"a///b"}));
}

TEST(SplitRecordsAtSeparator, RefusesToPassTheLimits) {
    // 32766 records, the last holding two separators: 32768 records after.
    RecordSet big = Set(std::vector<std::string>(32766, "x"));
    big[32766].V8 = "a///b///c";
    int16_t count = 32766;
    const RecordSet before = big;
    EXPECT_FALSE(Split(big, 1, count));
    EXPECT_EQ(count, 32766);
    EXPECT_EQ(big, before);
    // One separator less fits exactly.
    big[32766].V8 = "a///b";
    EXPECT_TRUE(Split(big, 32766, count));
    EXPECT_EQ(count, 32767);
    EXPECT_EQ(big[32767].V8, "b");
    EXPECT_EQ(big[32767].V0, 32767);

    // A piece's V2 may not pass 32767.
    RecordSet set = Set({"a///b///c"});
    set[1].V2 = 32766;
    int16_t one = 1;
    EXPECT_FALSE(Split(set, 1, one));
    EXPECT_EQ(set[1].V8, "a///b///c");
    set[1].V8 = "a///b";
    EXPECT_TRUE(Split(set, 1, one));
    EXPECT_EQ(set[2].V2, 32767);
}

// A split counts what its pieces add before it makes them, exactly: with the
// pieces' own sequence numbers, or with the set renumbered afterwards.
TEST(SplitRecordsAtSeparator, CountsWhatThePiecesAddExactly) {
    for (bool renumbered : {false, true}) {
        RecordSet set = Set({"x", "a///b///c", "y", "long///\r\n##m///e", "z"});
        set[2].V2 = 9;
        set[4].Memo.clear();
        for (int i = 1; i <= 5; ++i)
            set[i].V1 = i == 5 ? "t2" : "";
        int16_t count = 5;
        core::SavedSize size(set, count, 9, "info");
        core::SplitSizeCheck check{size, renumbered};
        core::KovaState s;
        ASSERT_TRUE(core::SplitRecordsAtSeparator(s, set, 2, count, "///", &check));
        ASSERT_EQ(count, 9);
        if (renumbered)
            core::NumberSequence(set, count);
        EXPECT_EQ(size.Bytes(), core::SavedFileBytes(set, count, 9, "info")) << renumbered;

        // With no room left, the same split is refused and changes nothing.
        RecordSet again = Set({"a///b"});
        int16_t one = 1;
        core::SavedSize full(again, one, 9, "");
        full.Grow(static_cast<long long>(core::kMaxDataFileBytes - full.Bytes()), 0, 0);
        core::SplitSizeCheck none{full, renumbered};
        const RecordSet before = again;
        EXPECT_FALSE(core::SplitRecordsAtSeparator(s, again, 1, one, "///", &none));
        EXPECT_TRUE(none.refused);
        EXPECT_EQ(again, before);
        EXPECT_EQ(full.Bytes(), core::kMaxDataFileBytes);
    }
}

TEST(NumberSequence, RunsOfOneActorAtOneTimeCode) {
    RecordSet set(7);
    const std::pair<const char*, const char*> fields[] = {
        {"10:00", "A"}, {"", "A"}, {"10:00", "A"}, {"10:00", "A"}, {"10:00", "B"}, {"", "B"}};
    for (int i = 1; i <= 6; ++i) {
        set[i].V1 = fields[i - 1].first;
        set[i].V3 = fields[i - 1].second;
        set[i].V2 = 77;
    }
    core::NumberSequence(set, 6);
    std::vector<int> v2;
    for (int i = 1; i <= 6; ++i) {
        v2.push_back(set[i].V2);
    }
    EXPECT_EQ(v2, (std::vector<int>{1, 2, 1, 2, 1, 2}));
}

TEST(NumberSequence, ExactComparisonsAndBounds) {
    RecordSet set(6);
    const char* actors[] = {"a", "A", "A ", "A ", "A "};  // case and blanks count
    for (int i = 1; i <= 5; ++i) {
        set[i].V3 = actors[i - 1];
    }
    core::NumberSequence(set, 5);
    EXPECT_EQ(set[1].V2, 1);
    EXPECT_EQ(set[2].V2, 1);
    EXPECT_EQ(set[3].V2, 1);
    EXPECT_EQ(set[5].V2, 3);
    set[5].V2 = 9;
    core::NumberSequence(set, 4);  // only records 1..Count
    EXPECT_EQ(set[5].V2, 9);
    RecordSet empty;
    core::NumberSequence(empty, 3);  // no array: nothing
    EXPECT_TRUE(empty.empty());
}
