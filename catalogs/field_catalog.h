// FieldCatalog: the field identifiers of one form in the form's fixed
// member order.
//
// Each catalog is its own type (`PA40FieldIds`, `FedW2FieldIds`, ...) with
// exactly one constant instance (`kPA40FieldIds`), built when the library
// loads and destroyed in reverse order when it unloads. Code names field k
// of form F as `kFFieldIds[k]`, always together with F's form constant.
// Member k holds the k-th host field number of the catalog's table; the
// tables are data in run notation (see the .def files beside this header),
// expanded at compile time.
//
// Reading past the last member gives `kNullFieldID`, which every host
// operation reads as missing: an index computed from a row stride can
// never read outside the catalog.
#ifndef CATALOGS_FIELD_CATALOG_H_
#define CATALOGS_FIELD_CATALOG_H_

#include <array>
#include <cstddef>

#include "catalogs/run_notation.h"
#include "host/identifier.h"

template <class Tag, std::size_t N>
class FieldCatalog {
 public:
  // Builds member k from numbers[k], for k from 0 to N-1 in order.
  explicit FieldCatalog(const std::array<int, N>& numbers) {
    for (std::size_t k = 0; k < N; ++k) members_[k] = numbers[k];
  }
  FieldCatalog(const FieldCatalog&) = delete;
  FieldCatalog& operator=(const FieldCatalog&) = delete;

  // Member k; `kNullFieldID` when k is past the last member.
  const Primitives::OVImmutableIdentifier& operator[](std::size_t k) const {
    return k < N ? members_[k] : Primitives::kNullFieldID;
  }

  // The member holding host field `number`; `kNullFieldID` when the
  // catalog has no such member.
  const Primitives::OVImmutableIdentifier& byNumber(int number) const {
    for (const auto& member : members_) {
      if (member.getNumber() == number) return member;
    }
    return Primitives::kNullFieldID;
  }

  // Index of the member holding host field `number`, or -1.
  int indexOf(int number) const {
    for (std::size_t k = 0; k < N; ++k) {
      if (members_[k].getNumber() == number) return static_cast<int>(k);
    }
    return -1;
  }

  static constexpr std::size_t size() { return N; }

 private:
  Primitives::OVImmutableIdentifier members_[N];
};

// Declares catalog type `name`, its instance `k##name` and its table
// `k##name##Runs` (read at compile time by the named-field checks).
#define DECLARE_FIELD_CATALOG(name, members, runs)      \
  using name = FieldCatalog<struct name##Tag, members>; \
  extern const name k##name;                            \
  inline constexpr const char k##name##Runs[] = runs;

// Defines the instance, checking at compile time that the table stands for
// exactly `members` well-formed numbers, and expanding it there.
#define DEFINE_FIELD_CATALOG(name, members, runs)                                      \
  static_assert(RunNotation::count(runs) == (members),                                \
                #name ": table does not hold " #members " well-formed numbers");        \
  static constexpr std::array<int, members> k##name##Numbers =                          \
      RunNotation::expand<members>(k##name##Runs);                                      \
  const name k##name(k##name##Numbers);

#endif  // CATALOGS_FIELD_CATALOG_H_
