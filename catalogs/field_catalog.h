// FieldCatalog: the field identifiers of one form in the form's fixed
// member order.
//
// Each catalog is its own type (`PA40FieldIds`, `FedW2FieldIds`, ...) with
// exactly one constant instance (`kPA40FieldIds`). An instance is constant
// data until first read: its members are made from its table then, and
// kept to the end of the process (never torn down: the exit frees them).
// Loading the library thus parses no table it does not use. The module
// runs on the host's one thread, which is what the first read assumes. Code names field k
// of form F as `kFFieldIds[k]`, always together with F's form constant.
// Member k holds the k-th host field number of the catalog's table; the
// tables are data in run notation (see the .def files beside this header).
//
// Reading past the last member gives `kNullFieldID`, which every host
// operation reads as missing: an index computed from a row stride can
// never read outside the catalog.
#ifndef CATALOGS_FIELD_CATALOG_H_
#define CATALOGS_FIELD_CATALOG_H_

#include <cstddef>
#include <new>

#include "catalogs/run_notation.h"
#include "host/identifier.h"

template <class Tag, std::size_t N>
class FieldCatalog {
 public:
  // Members 0 to N-1 are made, on first read, from the run-notation table
  // `runs`, which must stand for exactly N numbers (checked at compile
  // time where declared) and outlive the catalog.
  explicit constexpr FieldCatalog(const char* runs) : runs_(runs) {}
  FieldCatalog(const FieldCatalog&) = delete;
  FieldCatalog& operator=(const FieldCatalog&) = delete;

  // Member k; `kNullFieldID` when k is past the last member.
  const Primitives::OVImmutableIdentifier& operator[](std::size_t k) const {
    return k < N ? members()[k] : Primitives::kNullFieldID;
  }

  // The member holding host field `number`; `kNullFieldID` when the
  // catalog has no such member.
  const Primitives::OVImmutableIdentifier& byNumber(int number) const {
    const int k = indexOf(number);
    return k < 0 ? Primitives::kNullFieldID : members()[k];
  }

  // Index of the member holding host field `number`, or -1.
  int indexOf(int number) const {
    const Primitives::OVImmutableIdentifier* all = members();
    for (std::size_t k = 0; k < N; ++k) {
      if (all[k].getNumber() == number) return static_cast<int>(k);
    }
    return -1;
  }

  static constexpr std::size_t size() { return N; }

 private:
  const Primitives::OVImmutableIdentifier* members() const {
    if (members_ == nullptr) members_ = make();
    return members_;
  }

  const Primitives::OVImmutableIdentifier* make() const {
    void* room = ::operator new(sizeof(Primitives::OVImmutableIdentifier) * N);
    auto* made = static_cast<Primitives::OVImmutableIdentifier*>(room);
    RunNotation::RunReader reader(runs_);
    for (std::size_t k = 0; k < N; ++k) new (&made[k]) Primitives::OVImmutableIdentifier(reader.next());
    return made;
  }

  const char* runs_;
  mutable const Primitives::OVImmutableIdentifier* members_ = nullptr;
};

#define DECLARE_FIELD_CATALOG(name, members, runs)      \
  using name = FieldCatalog<struct name##Tag, members>; \
  extern const name k##name;                            \
  inline constexpr const char k##name##Runs[] = runs;

// Defines the instance, checking at compile time that the table stands for
// exactly `members` well-formed numbers.
#define DEFINE_FIELD_CATALOG(name, members, runs)                                \
  static_assert(RunNotation::count(runs) == (members),                          \
                #name ": table does not hold " #members " well-formed numbers");  \
  const name k##name(k##name##Runs);

#endif  // CATALOGS_FIELD_CATALOG_H_
