// The counted-pointer rules: every holder owns a count, the last release
// deletes once through the virtual destructor, assignment releases the old
// object, and a holder passed by value gives its share back.
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

TEST_F(CountedPtrTest, EveryHolderOwnsACountAndTheLastReleaseDeletesOnce) {
  CountedPtr<Tracked> empty;
  CountedPtr<Tracked> emptyCopy(empty);
  EXPECT_TRUE(emptyCopy.isNull());
  EXPECT_EQ(empty.useCount(), 2);
  {
    CountedPtr<Tracked> a(new TrackedChild);
    {
      CountedPtr<Tracked> b(a), c(b);
      EXPECT_EQ(a.useCount(), 3);
    }
    EXPECT_EQ(Tracked::live, 1);
    EXPECT_EQ(a.useCount(), 1);
  }
  EXPECT_EQ(Tracked::live, 0);
}

TEST_F(CountedPtrTest, AssignmentReleasesTheOldObjectAndSharesTheNew) {
  CountedPtr<Tracked> a(new Tracked), b(new Tracked);
  CountedPtr<Tracked>& alias = a;
  a = alias;  // itself: nothing changes
  EXPECT_EQ(a.useCount(), 1);
  EXPECT_EQ(Tracked::live, 2);
  a = b;
  EXPECT_EQ(Tracked::live, 1);
  EXPECT_EQ(a.get(), b.get());
  a = b;  // a sharer: releases one share, takes one back
  EXPECT_EQ(b.useCount(), 2);
  CountedPtr<Tracked> empty;
  a = empty;
  b = empty;
  EXPECT_TRUE(a.isNull());
  EXPECT_EQ(Tracked::live, 0);
  EXPECT_EQ(empty.useCount(), 3);
}

long countInside(TrackedPtr byValue) { return byValue.useCount(); }

TEST_F(CountedPtrTest, ByValueArgumentsGiveTheirShareBackAndNamedTypesForward) {
  TrackedPtr p(new Tracked);
  EXPECT_EQ(countInside(p), 2);
  EXPECT_EQ(p.useCount(), 1);
  TrackedPtr kept(p);
  kept = p;
  EXPECT_EQ(p.useCount(), 2);
  Primitives::StringPtr text(new std::string("abc"));
  EXPECT_EQ(*text, "abc");
}

}  // namespace
