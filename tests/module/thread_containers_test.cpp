#include "module/thread_containers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <vector>

namespace webrill::module {
namespace {

struct Counted {
    explicit Counted(int& released) : released_(released) {}
    ~Counted() { ++released_; }
    int& released_;
};

TEST(ThreadObjectListTest, AReaderCanRemoveUnderTheWriteLockWithoutWaitingOnItself) {
    auto done = std::async(std::launch::async, [] {
        int released = 0;
        TThreadObjectList<Counted> list(true);
        list.Add(new Counted(released));
        list.Add(new Counted(released));
        {
            auto reading = list.LockList();
            Counted* first = (*reading)[0];
            auto writing = list.LockListForWrite();
            writing->Remove(first);
        }
        EXPECT_EQ(released, 1);
        EXPECT_EQ(list.Count(), 1u);
    });
    ASSERT_EQ(done.wait_for(std::chrono::seconds(10)), std::future_status::ready) << "deadlock";
}

TEST(ThreadObjectListTest, OwnershipDecidesWhetherLostObjectsAreReleased) {
    int released = 0;
    {
        TThreadObjectList<Counted> owning(true);
        owning.Add(new Counted(released));
        owning.Add(new Counted(released));
        owning.Clear();
        EXPECT_EQ(released, 2);
        owning.Add(new Counted(released));
    }
    EXPECT_EQ(released, 3);  // released with the list

    Counted kept(released);
    {
        TThreadObjectList<Counted> borrowing(false);
        borrowing.Add(&kept);
        borrowing.LockListForWrite()->Extract(0);
        borrowing.Add(&kept);
    }
    EXPECT_EQ(released, 3);
}

TEST(ThreadStringListTest, SetTextReplacesEverythingQueuedBefore) {
    TThreadStringList lines;
    lines.Add("old 1");
    lines.Add("old 2");
    lines.SetText("one\r\ntwo\nthree");
    EXPECT_EQ(*lines.LockList(), (std::vector<std::string>{"one", "two", "three"}));
    lines.SetText("");
    EXPECT_TRUE(lines.LockList()->empty());
}

TEST(ThreadStringListTest, SplitLinesKeepsEmptyLinesBetweenBreaks) {
    EXPECT_EQ(TThreadStringList::SplitLines("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(TThreadStringList::SplitLines("a\rb"), (std::vector<std::string>{"a", "b"}));
}

TEST(ThreadStringListTest, DuplicatesAreAcceptedIgnoredOrRefused) {
    TThreadStringList lines;
    lines.Add("x");
    lines.Add("x");
    lines.SetDuplicates(TDuplicates::Ignore);
    lines.Add("x");
    EXPECT_EQ(lines.LockList()->size(), 2u);
    lines.SetDuplicates(TDuplicates::Error);
    EXPECT_THROW(lines.Add("x"), std::invalid_argument);
}

}  // namespace
}  // namespace webrill::module
