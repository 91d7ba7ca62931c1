// Checks every catalog built at load against what is stated about it
// (catalog_expectations.def): count, range, runs, members by index and
// numbers it must contain; and the named fields built on the catalogs.
#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

#include "catalogs/any_named_field.h"
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
  {#name,                                  \
   {k##name.size(), [](std::size_t k) -> const Primitives::OVImmutableIdentifier& { return k##name[k]; }}},
#include "catalogs/all_catalogs.def"
#undef FIELD_CATALOG
  };
  return kViews;
}

// One statement of catalog_expectations.def.
struct Stated {
  enum Kind { kShape, kMembers, kContains } kind;
  const char* name;
  std::size_t count;  // kShape: count, lowest, highest, runs
  int lowest, highest, runs;
  std::size_t first;    // kMembers: the first member stated
  const char* numbers;  // kMembers, kContains
};

#define CATALOG(name, count, lo, hi, runs) {Stated::kShape, #name, count, lo, hi, runs, 0, ""},
#define MEMBERS(name, first, numbers) {Stated::kMembers, #name, 0, 0, 0, 0, first, numbers},
#define CONTAINS(name, numbers) {Stated::kContains, #name, 0, 0, 0, 0, 0, numbers},
const Stated kStated[] = {
#include "catalogs/tests/catalog_expectations.def"
};
#undef CATALOG
#undef MEMBERS
#undef CONTAINS

const CatalogView& view(const char* name) {
  auto it = views().find(name);
  EXPECT_NE(it, views().end()) << name;
  static const CatalogView kEmpty{
      0, [](std::size_t) -> const Primitives::OVImmutableIdentifier& { return kNullFieldID; }};
  return it == views().end() ? kEmpty : it->second;
}

TEST(Catalogs, SeventyTwoCatalogsOfSeventeenThousandMembers) {
  std::size_t total = 0;
  for (const auto& entry : views()) total += entry.second.size;
  EXPECT_EQ(views().size(), 72u);
  EXPECT_EQ(total, 17319u);
}

// Every catalog's stated count, range and runs, no number twice, nothing
// past the last member; its stated members by index and stated numbers.
TEST(Catalogs, StatedShapesMembersAndNumbers) {
  int shapes = 0;
  for (const Stated& stated : kStated) {
    SCOPED_TRACE(stated.name);
    const CatalogView& catalog = view(stated.name);
    std::set<int> seen;
    int runs = 0, lowest = 0, highest = 0, repeats = 0;
    for (std::size_t k = 0; k < catalog.size; ++k) {
      const int number = catalog.member(k).getNumber();
      ASSERT_GT(number, 0) << "member " << k;
      repeats += !seen.insert(number).second;
      if (k == 0 || number != catalog.member(k - 1).getNumber() + 1) ++runs;
      lowest = k == 0 ? number : std::min(lowest, number);
      highest = std::max(highest, number);
    }
    RunNotation::RunReader reader(stated.numbers);
    std::size_t k = stated.first;
    for (int number = reader.next(); number != 0; number = reader.next(), ++k) {
      if (stated.kind == Stated::kMembers) {
        EXPECT_EQ(catalog.member(k).getNumber(), number) << "member " << k;
      } else if (stated.kind == Stated::kContains) {
        EXPECT_EQ(seen.count(number), 1u) << number;
      }
    }
    if (stated.kind != Stated::kShape) continue;
    ++shapes;
    EXPECT_EQ(catalog.size, stated.count);
    EXPECT_EQ(std::vector<int>({lowest, highest, runs, repeats}),
              std::vector<int>({stated.lowest, stated.highest, stated.runs, 0}));
    EXPECT_EQ(catalog.member(stated.count), kNullFieldID);
  }
  EXPECT_EQ(shapes, 72);
}

TEST(Catalogs, LookupByNumber) {
  EXPECT_EQ(kPA40FieldIds.indexOf(268), 261);
  EXPECT_EQ(kPA40FieldIds.byNumber(268), kPA40FieldIds[261]);
  EXPECT_EQ(kPA40FieldIds.indexOf(999999), -1);
  EXPECT_EQ(kPA40FieldIds.byNumber(999999), kNullFieldID);
}

// A named field reads as its catalog member; a column steps through its
// rows and reads nothing outside them; the tables answer lookups by host
// number; a table row may name a field or a column row of any form.
TEST(Catalogs, NamedFields) {
  EXPECT_EQ(&PA40::kNetCompensation.id(), &kPA40FieldIds[PA40::kNetCompensation.member()]);
  EXPECT_EQ(PA40::kNetCompensation.id().getNumber(), PA40::kNetCompensation.number());
  const NamedColumn<State16FieldIds>& records = State16::kLineRecord;
  EXPECT_EQ(records.at(23).getNumber(), records.number() + 23);
  EXPECT_EQ(records.at(24), kNullFieldID);
  EXPECT_EQ(records.at(-1), kNullFieldID);

  const NamedFieldInfo* row = findNamedField(CatalogId::PA40FieldIds, 139);
  ASSERT_NE(row, nullptr);
  EXPECT_STREQ(row->label, "Line 1c Net compensation");
  EXPECT_EQ(findNamedField(CatalogId::PA40FieldIds, 999999), nullptr);
  EXPECT_EQ(findNamedField(CatalogId::kNone, 139), nullptr);

  constexpr AnyNamedField kRows[] = {
      {}, PA40::kNetCompensation, {State16::kLineRecord, 2}, {State16::kLineRecord, 24}};
  EXPECT_FALSE(kRows[0].isSet());
  EXPECT_EQ(kRows[0].id(), kNullFieldID);
  EXPECT_EQ(&kRows[1].id(), &PA40::kNetCompensation.id());
  EXPECT_EQ(&kRows[2].id(), &State16::kLineRecord.at(2));
  EXPECT_EQ(kRows[3].id(), kNullFieldID);
  // It keeps an address: a temporary field or column is refused.
  static_assert(!std::is_constructible_v<AnyNamedField, NamedField<PA40FieldIds>&&>);
  static_assert(!std::is_constructible_v<AnyNamedField, NamedColumn<State16FieldIds>&&, int>);
}

}  // namespace
