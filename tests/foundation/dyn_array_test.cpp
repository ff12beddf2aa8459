#include <gtest/gtest.h>
#include "qz_dynArray.h"

static void fill(DynArray<char>& a, const char* s) {
    a.clear();
    a.append((int)strlen(s), s);
}

static std::string str(const DynArray<char>& a) { return std::string(a.data, a.num); }

TEST(DynArray, GrowthRule) {
    DynArray<int> a;
    a.push(1);
    EXPECT_EQ(a.capacity, 8);
    for (int i = 0; i < 8; i++) a.push(i);
    EXPECT_EQ(a.num, 9);
    EXPECT_EQ(a.capacity, 16);

    DynArray<int> b;
    int eight[8] = {};
    b.append(8, eight);
    EXPECT_EQ(b.capacity, 8);
    int twenty[20] = {};
    b.append(20, twenty);  // doubling gives 16 < 28: need + 8
    EXPECT_EQ(b.capacity, 36);
    EXPECT_EQ(b.num, 28);
}

// Sources inside the array itself: read before the storage grows (push of
// an element of a full array) and before the tail moves (insert ahead of the
// source, also straddling the insert point). Clean under AddressSanitizer.
TEST(DynArray, InsertFromItself) {
    struct Case {
        const char* start;
        int at, n, from;
        const char* expect;
    } cases[] = {
        {"abcdefgh", 8, 1, 0, "abcdefgha"},    // full: push grows the storage
        {"abcdefgh", 0, 3, 5, "fghabcdefgh"},  // full: grows and shifts
        {"abcdef", 0, 1, 3, "dabcdef"},        // room left: shifts only
        {"abcdef", 2, 2, 1, "abbccdef"},        // source straddles the insert point
    };
    for (const Case& c : cases) {
        DynArray<char> a;
        a.reserve(8);
        fill(a, c.start);
        a.insert(c.at, c.n, &a[c.from]);
        EXPECT_EQ(str(a), c.expect) << c.start << " at " << c.at;
    }
    DynArray<char> full;
    fill(full, "abcdefgh");
    ASSERT_EQ(full.capacity, 8);
    full.push(full[7]);  // the reference dies with the old storage
    EXPECT_EQ(str(full), "abcdefghh");
}

TEST(DynArray, ResizeAllocatesExactlyAndKeepsStorage) {
    DynArray<int> a;
    a.resize(5);
    EXPECT_EQ(a.capacity, 5);
    for (int i = 0; i < 5; i++) EXPECT_EQ(a[i], 0);
    a.resize(0);
    EXPECT_EQ(a.num, 0);
    EXPECT_EQ(a.capacity, 5);
    EXPECT_NE(a.data, nullptr);
    a.release();
    EXPECT_EQ(a.data, nullptr);
    EXPECT_EQ(a.capacity, 0);
}

TEST(DynArray, RemovalsKeepOrOrder) {
    DynArray<char> a;
    fill(a, "abc");
    a.removeFast(0, 1);
    EXPECT_EQ(str(a), "cb");
    fill(a, "abc");
    a.removeFast(1, 2);
    EXPECT_EQ(str(a), "a");
    fill(a, "abc");
    a.remove(0, 1);
    EXPECT_EQ(str(a), "bc");
    fill(a, "abcdef");
    a.removeFast(1, 2);  // the last two fill the gap as one block
    EXPECT_EQ(str(a), "aefd");
    fill(a, "abc");
    a.insert(1, 2, "xy");
    EXPECT_EQ(str(a), "axybc");
    a.insert(a.num, 1, "z");  // at == num appends
    EXPECT_EQ(str(a), "axybcz");
}

TEST(DynArray, ZeroedStaticStorageIsEmpty) {
    static DynArray<int> s;  // zero-initialised static storage
    EXPECT_EQ(s.num, 0);
    s.push(7);
    EXPECT_EQ(s.back(), 7);
}

TEST(DynArray, CountsItsAllocations) {
    uint64_t before = qzAllocCount;
    DynArray<int> a;
    a.reserve(100);
    EXPECT_EQ(qzAllocCount, before + 1);
    for (int i = 0; i < 100; i++) a.push(i);
    a.clear();
    for (int i = 0; i < 100; i++) a.push(i);
    EXPECT_EQ(qzAllocCount, before + 1);
}

using DynArrayDeathTest = ::testing::Test;

TEST(DynArrayDeathTest, AssertionsNameTheFailedCheck) {
    EXPECT_EXIT(
        {
            DynArray<int> a;
            a.back();
        },
        ::testing::ExitedWithCode(100), "failed ASSERT\\(num>0\\)");
    EXPECT_EXIT(
        {
            DynArray<int> a;
            a.insert(1, 1, nullptr);
        },
        ::testing::ExitedWithCode(100), "failed ASSERT\\(at>=0 && at<=num\\)");
    EXPECT_EXIT(
        {
            DynArray<int> a;
            a.resize(2);
            a.remove(1, 2);
        },
        ::testing::ExitedWithCode(100), "failed ASSERT\\(at\\+n<=num\\)");
    EXPECT_EXIT(
        {
            DynArray<int> a;
            a.reserve(-1);
        },
        ::testing::ExitedWithCode(100), "failed ASSERT\\(n>=0\\)");
}
