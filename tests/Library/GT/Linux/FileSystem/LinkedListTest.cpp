#include "GT/Linux/FileSystem/LinkedList.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

// An item that counts its own disposal.
struct CCounted : ListItem {
  CCounted(char name, int& disposed) : mName(name), mDisposed(disposed) {}
  ~CCounted() override { ++mDisposed; }
  char mName;
  int& mDisposed;
};

std::string Names(LinkedList const& list) {
  std::string names;
  ListNode* node = nullptr;
  for (InitIterator(&list, &node); node; Next(&node))
    names += static_cast<CCounted*>(static_cast<ListItem*>(GetData(node)))->mName;
  return names;
}

void Fill(LinkedList& list, std::string const& names, int& disposed) {
  for (char name : names)
    ASSERT_EQ(GT::nFsNoErr, AddToTail(&list, static_cast<ListItem*>(new CCounted(name, disposed))));
}

TEST(LinkedList, NullListsAndDataAreParameterErrors) {
  LinkedList list;
  int dummy = 0;
  EXPECT_EQ(GT::nFsParameterError, InitLinkedList(nullptr, MyDisposeDataProc));
  EXPECT_EQ(GT::nFsParameterError, AddToTail(nullptr, &dummy));
  ASSERT_EQ(GT::nFsNoErr, InitLinkedList(&list, MyDisposeDataProc));
  EXPECT_EQ(GT::nFsParameterError, AddToTail(&list, nullptr));
  EXPECT_EQ(0u, GetNumberOfItems(&list));
  EXPECT_EQ(0u, GetNumberOfItems(nullptr));
  ListNode sentinel{nullptr, nullptr};
  ListNode* node = &sentinel;
  InitIterator(nullptr, &node);
  EXPECT_EQ(nullptr, node);
  EXPECT_EQ(nullptr, GetData(nullptr));
  Next(&node);  // past the end stays there
  EXPECT_EQ(nullptr, node);
  DestroyList(nullptr);
}

// InsertList: (target, source, after which item of target; 0 = null) -> target, source.
TEST(LinkedList, InsertListPlacesTheSourceAndEmptiesIt) {
  struct {
    char const* target;
    char const* source;
    char after;  // 0: at the head
    bool sameDisposal;
    char const* expected;
    char const* sourceAfter;
  } const cases[] = {
      {"abc", "XY", 0, true, "XYabc", ""},   {"abc", "XY", 'a', true, "aXYbc", ""},
      {"abc", "XY", 'c', true, "abcXY", ""}, {"", "XY", 0, true, "XY", ""},
      {"abc", "", 'b', true, "abc", ""},     {"abc", "XY", 'b', false, "abc", "XY"},
  };
  for (auto const& c : cases) {
    int disposed = 0;
    LinkedList target, source;
    InitLinkedList(&target, MyDisposeDataProc);
    InitLinkedList(&source, c.sameDisposal ? MyDisposeDataProc : MyCloseForkProc);
    Fill(target, c.target, disposed);
    Fill(source, c.source, disposed);
    ListNode* after = nullptr;
    if (c.after) InitIterator(&target, &after);
    while (after &&
           static_cast<CCounted*>(static_cast<ListItem*>(GetData(after)))->mName != c.after)
      Next(&after);
    InsertList(&target, &source, after);
    EXPECT_EQ(c.expected, Names(target)) << c.target << " " << c.source << " " << c.after;
    EXPECT_EQ(c.sourceAfter, Names(source));
    EXPECT_EQ(std::string(c.expected).size(), GetNumberOfItems(&target));
    EXPECT_EQ(std::string(c.sourceAfter).size(), GetNumberOfItems(&source));
    // The tail is right: one more item lands last.
    Fill(target, "z", disposed);
    EXPECT_EQ(std::string(c.expected) + "z", Names(target));
    DestroyList(&target);
    DestroyList(&source);
    EXPECT_EQ(0u, GetNumberOfItems(&target));
    EXPECT_EQ(nullptr, target.head);
    EXPECT_EQ(static_cast<int>(std::string(c.target).size() + std::string(c.source).size() + 1),
              disposed);
  }
}

TEST(LinkedList, TheForkProcedureClosesTheOpenFork) {
  LinkedList forks;
  InitLinkedList(&forks, MyCloseForkProc);
  int const fd = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  ForkTrackerData* const open = new ForkTrackerData;
  open->forkDestRefNum = fd;
  ASSERT_EQ(GT::nFsNoErr, AddToTail(&forks, static_cast<ListItem*>(open)));
  ASSERT_EQ(GT::nFsNoErr, AddToTail(&forks, static_cast<ListItem*>(new ForkTrackerData)));
  EXPECT_EQ(2u, GetNumberOfItems(&forks));
  DestroyList(&forks);
  EXPECT_EQ(-1, ::fcntl(fd, F_GETFD)) << "the open fork was left open";
}

}  // namespace
