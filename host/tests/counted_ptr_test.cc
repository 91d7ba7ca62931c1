#include "host/counted_ptr.h"

#include <gtest/gtest.h>

namespace {

using SmartPointers::CountedPtr;

// Counts live instances so that a test sees exactly when a holder deletes.
struct Tracked {
  static int live;
  Tracked() { ++live; }
  virtual ~Tracked() { --live; }
};
int Tracked::live = 0;

struct TrackedChild : Tracked {};

class TrackedPtr : public CountedPtr<Tracked> {
 public:
  using CountedPtr<Tracked>::CountedPtr;
};

class CountedPtrTest : public ::testing::Test {
 protected:
  void SetUp() override { Tracked::live = 0; }
  void TearDown() override { EXPECT_EQ(Tracked::live, 0); }
};

TEST_F(CountedPtrTest, EmptyHolderOwnsACountAndDeletesNothing) {
  CountedPtr<Tracked> empty;
  EXPECT_TRUE(empty.isNull());
  EXPECT_EQ(empty.useCount(), 1);
  CountedPtr<Tracked> copy(empty);
  EXPECT_EQ(empty.useCount(), 2);
  EXPECT_TRUE(copy.isNull());
}

TEST_F(CountedPtrTest, LastReleaseDeletesOnce) {
  {
    CountedPtr<Tracked> a(new Tracked);
    {
      CountedPtr<Tracked> b(a);
      CountedPtr<Tracked> c(b);
      EXPECT_EQ(a.useCount(), 3);
    }
    EXPECT_EQ(Tracked::live, 1);
    EXPECT_EQ(a.useCount(), 1);
  }
  EXPECT_EQ(Tracked::live, 0);
}

TEST_F(CountedPtrTest, SelfAssignmentChangesNothing) {
  CountedPtr<Tracked> a(new Tracked);
  Tracked* object = a.get();
  CountedPtr<Tracked>& alias = a;
  a = alias;
  EXPECT_EQ(a.get(), object);
  EXPECT_EQ(a.useCount(), 1);
  EXPECT_EQ(Tracked::live, 1);
}

TEST_F(CountedPtrTest, AssignmentReleasesTheOldObject) {
  CountedPtr<Tracked> a(new Tracked);
  CountedPtr<Tracked> b(new Tracked);
  EXPECT_EQ(Tracked::live, 2);
  a = b;
  EXPECT_EQ(Tracked::live, 1);
  EXPECT_EQ(a.get(), b.get());
  EXPECT_EQ(b.useCount(), 2);
}

TEST_F(CountedPtrTest, AssigningASharerKeepsTheCount) {
  CountedPtr<Tracked> a(new Tracked);
  CountedPtr<Tracked> b(a);
  a = b;  // releases one share, then takes one back
  EXPECT_EQ(a.useCount(), 2);
  EXPECT_EQ(Tracked::live, 1);
}

TEST_F(CountedPtrTest, AssigningAnEmptyHolderEmptiesTheTarget) {
  CountedPtr<Tracked> a(new Tracked);
  CountedPtr<Tracked> empty;
  a = empty;
  EXPECT_TRUE(a.isNull());
  EXPECT_EQ(Tracked::live, 0);
  EXPECT_EQ(empty.useCount(), 2);
}

TEST_F(CountedPtrTest, DeletesThroughTheVirtualDestructor) {
  { CountedPtr<Tracked> a(new TrackedChild); }
  EXPECT_EQ(Tracked::live, 0);
}

long countInside(TrackedPtr byValue) { return byValue.useCount(); }

struct Keeper {
  explicit Keeper(TrackedPtr p) : kept(p) {}
  TrackedPtr kept;
};

TEST_F(CountedPtrTest, PassingByValueReturnsTheCountUnlessKept) {
  TrackedPtr p(new Tracked);
  EXPECT_EQ(countInside(p), 2);
  EXPECT_EQ(p.useCount(), 1);
  Keeper keeper(p);
  EXPECT_EQ(p.useCount(), 2);
}

TEST_F(CountedPtrTest, NamedTypesForwardConstruction) {
  TrackedPtr empty;
  EXPECT_TRUE(empty.isNull());
  TrackedPtr full(new Tracked);
  TrackedPtr copy(full);
  copy = full;
  EXPECT_EQ(full.useCount(), 2);
  Primitives::StringPtr text(new std::string("abc"));
  EXPECT_EQ(*text, "abc");
  EXPECT_EQ(text->size(), 3u);
}

}  // namespace
