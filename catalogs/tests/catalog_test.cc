// Checks every catalog built at load against what is stated about it
// (catalog_expectations.def): count, range, runs, members by index and
// numbers it must contain.
#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "catalogs/catalogs.h"
#include "catalogs/fields/field_tables.h"
#include "catalogs/fields/fields.h"

namespace {

using Primitives::kNullFieldID;

struct CatalogView {
  std::size_t size;
  std::function<const Primitives::OVImmutableIdentifier&(std::size_t)> member;
};

const std::map<std::string, CatalogView>& views() {
  static const std::map<std::string, CatalogView> kViews = {
#define FIELD_CATALOG(name, members, runs) \
  {#name, {k##name.size(), [](std::size_t k) -> const Primitives::OVImmutableIdentifier& { return k##name[k]; }}},
#include "catalogs/federal/main_return.def"
#include "catalogs/federal/schedule_e.def"
#include "catalogs/federal/second_group.def"
#include "catalogs/federal/w2_1099.def"
#include "catalogs/federal/w2g_dependents.def"
#include "catalogs/state/local_tax.def"
#include "catalogs/state/pa_forms.def"
#include "catalogs/state/return_info.def"
#include "catalogs/state/shared.def"
#include "catalogs/state/ue_w2.def"
#undef FIELD_CATALOG
  };
  return kViews;
}

struct StatedShape {
  const char* name;
  std::size_t count;
  int lowest, highest, runs;
};
struct StatedMembers {
  const char* name;
  std::size_t first;
  const char* numbers;
};

#define CATALOG(name, count, lo, hi, runs) {#name, count, lo, hi, runs},
#define MEMBERS(name, first, numbers)
#define CONTAINS(name, numbers)
const StatedShape kShapes[] = {
#include "catalogs/tests/catalog_expectations.def"
};
#undef CATALOG
#undef MEMBERS
#undef CONTAINS

#define CATALOG(name, count, lo, hi, runs)
#define MEMBERS(name, first, numbers) {#name, first, numbers},
#define CONTAINS(name, numbers)
const StatedMembers kMembers[] = {
#include "catalogs/tests/catalog_expectations.def"
};
#undef MEMBERS
#undef CONTAINS

#define MEMBERS(name, first, numbers)
#define CONTAINS(name, numbers) {#name, 0, numbers},
const StatedMembers kContains[] = {
#include "catalogs/tests/catalog_expectations.def"
};
#undef CATALOG
#undef MEMBERS
#undef CONTAINS

const CatalogView& view(const char* name) {
  auto it = views().find(name);
  EXPECT_NE(it, views().end()) << name;
  static const CatalogView kEmpty{0, [](std::size_t) -> const Primitives::OVImmutableIdentifier& {
                                    return kNullFieldID;
                                  }};
  return it == views().end() ? kEmpty : it->second;
}

TEST(Catalogs, SeventyTwoCatalogsOfSeventeenThousandMembers) {
  EXPECT_EQ(views().size(), 72u);
  EXPECT_EQ(sizeof(kShapes) / sizeof(kShapes[0]), 72u);
  std::size_t total = 0;
  for (const auto& entry : views()) total += entry.second.size;
  EXPECT_EQ(total, 17319u);
}

TEST(Catalogs, CountRangeRunsAndNoRepeats) {
  for (const StatedShape& shape : kShapes) {
    SCOPED_TRACE(shape.name);
    const CatalogView& catalog = view(shape.name);
    ASSERT_EQ(catalog.size, shape.count);
    std::set<int> seen;
    int runs = 0;
    int lowest = 0, highest = 0;
    for (std::size_t k = 0; k < catalog.size; ++k) {
      const int number = catalog.member(k).getNumber();
      ASSERT_GT(number, 0) << "member " << k;
      EXPECT_TRUE(seen.insert(number).second) << "repeated " << number;
      if (k == 0 || number != catalog.member(k - 1).getNumber() + 1) ++runs;
      lowest = k == 0 ? number : std::min(lowest, number);
      highest = std::max(highest, number);
    }
    EXPECT_EQ(lowest, shape.lowest);
    EXPECT_EQ(highest, shape.highest);
    EXPECT_EQ(runs, shape.runs);
    EXPECT_EQ(catalog.member(shape.count), kNullFieldID);  // past the last member
  }
}

TEST(Catalogs, StatedMembersByIndex) {
  for (const StatedMembers& stated : kMembers) {
    SCOPED_TRACE(stated.name);
    const CatalogView& catalog = view(stated.name);
    RunNotation::RunReader reader(stated.numbers);
    std::size_t k = stated.first;
    for (int number = reader.next(); number != 0; number = reader.next(), ++k) {
      EXPECT_EQ(catalog.member(k).getNumber(), number) << "member " << k;
    }
  }
}

TEST(Catalogs, StatedNumbersArePresent) {
  for (const StatedMembers& stated : kContains) {
    SCOPED_TRACE(stated.name);
    const CatalogView& catalog = view(stated.name);
    std::set<int> numbers;
    for (std::size_t k = 0; k < catalog.size; ++k) numbers.insert(catalog.member(k).getNumber());
    RunNotation::RunReader reader(stated.numbers);
    for (int number = reader.next(); number != 0; number = reader.next()) {
      EXPECT_EQ(numbers.count(number), 1u) << number;
    }
  }
}

// A few members read by name, as calculation code reads them.
TEST(Catalogs, NamedReads) {
  EXPECT_EQ(kStateSummaryFieldIds[0].getNumber(), 32784);
  EXPECT_EQ(kStateSummaryFieldIds[9].getNumber(), 133647);
  EXPECT_EQ(kFederalReturnTypeFieldIds[9].getNumber(), 10);
  EXPECT_EQ(kPA40FieldIds[172].getNumber(), 139);
  EXPECT_EQ(kPA40FieldIds[203].getNumber(), 36093);
  EXPECT_EQ(kPA40FieldIds[261].getNumber(), 268);
  EXPECT_EQ(kPAScheduleBFieldIds[14].getNumber(), 156330);
  EXPECT_EQ(kPAScheduleBFieldIds[15].getNumber(), 155770);
  EXPECT_EQ(kPAReturnInfoFieldIds[172].getNumber(), 94);
  EXPECT_EQ(kPAReturnInfoFieldIds[173].getNumber(), 92);
  EXPECT_EQ(kFed190FieldIds[11].getNumber(), 10);
  EXPECT_EQ(kFed190FieldIds[14].getNumber(), 127);
  EXPECT_EQ(kFed104FieldIds[36].getNumber(), 183);
  EXPECT_EQ(kState16To18FieldIds[67].getNumber(), 108);
  EXPECT_EQ(kIncomeKindTableFieldIds[75].getNumber(), 116);
  EXPECT_EQ(kFedFilerInfoFieldIds.size(), 1764u);
}

TEST(Catalogs, LookupByNumber) {
  EXPECT_EQ(kPA40FieldIds.indexOf(268), 261);
  EXPECT_EQ(kPA40FieldIds.byNumber(268), kPA40FieldIds[261]);
  EXPECT_EQ(kPA40FieldIds.indexOf(999999), -1);
  EXPECT_EQ(kPA40FieldIds.byNumber(999999), kNullFieldID);
}

// A named field reads as its catalog member; a column steps through its rows
// and reads nothing outside them; the tables answer lookups by host number.
TEST(Catalogs, NamedFields) {
  const Primitives::OVImmutableIdentifier& net = PA40::kNetCompensation;
  EXPECT_EQ(&net, &kPA40FieldIds[172]);
  EXPECT_EQ(PA40::kNetCompensation.number(), 139);

  constexpr NamedColumn<PA40FieldIds> column{&kPA40FieldIds, 142, 36510, 2, 2};
  EXPECT_EQ(column.at(1).getNumber(), kPA40FieldIds[144].getNumber());
  EXPECT_EQ(column.at(2), kNullFieldID);
  EXPECT_EQ(column.at(-1), kNullFieldID);

  const NamedFieldInfo* row = findNamedField(CatalogId::PA40FieldIds, 139);
  ASSERT_NE(row, nullptr);
  EXPECT_STREQ(row->label, "Line 1c Net compensation");
  EXPECT_EQ(findNamedField(CatalogId::PA40FieldIds, 999999), nullptr);
  EXPECT_EQ(findNamedField(CatalogId::kNone, 139), nullptr);
}

}  // namespace
