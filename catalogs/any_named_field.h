// AnyNamedField: a named field, or one row of a named column, of any form,
// for constant tables whose rows mix forms (a line read from federal form
// 1, 55 or 87; a federal field and the state field it maps to).
//
// It is built at compile time from the form's own constant
// (`FedReturn::kStreet`, or `{State16::kLineRecord, 3}` for row 3 of a
// column) and keeps only the constant's address, so a table of them is a
// constant of the program, safe to read from any load-time constructor.
// Only the field tables' own constants live that long: a temporary is
// refused. It resolves to the catalog member on use. A default one names
// no field and reads as `kNullFieldID`, which every host operation takes
// as missing.
#ifndef CATALOGS_ANY_NAMED_FIELD_H_
#define CATALOGS_ANY_NAMED_FIELD_H_

#include "catalogs/named_field.h"
#include "host/identifier.h"

class AnyNamedField {
 public:
  constexpr AnyNamedField() = default;
  template <class Catalog>
  constexpr AnyNamedField(const NamedField<Catalog>& field)  // NOLINT: converts by design
      : named_(&field), resolve_(&resolveField<Catalog>) {}
  template <class Catalog>
  constexpr AnyNamedField(const NamedColumn<Catalog>& column, int row)
      : named_(&column), row_(row), resolve_(&resolveRow<Catalog>) {}
  template <class Catalog>
  AnyNamedField(const NamedField<Catalog>&&) = delete;
  template <class Catalog>
  AnyNamedField(const NamedColumn<Catalog>&&, int) = delete;

  const Primitives::OVImmutableIdentifier& id() const {
    return resolve_ == nullptr ? Primitives::kNullFieldID : resolve_(named_, row_);
  }
  operator const Primitives::OVImmutableIdentifier&() const { return id(); }
  // Whether a field is named at all.
  constexpr bool isSet() const { return resolve_ != nullptr; }

 private:
  using Resolver = const Primitives::OVImmutableIdentifier& (*)(const void*, int);
  template <class Catalog>
  static const Primitives::OVImmutableIdentifier& resolveField(const void* named, int) {
    return static_cast<const NamedField<Catalog>*>(named)->id();
  }
  template <class Catalog>
  static const Primitives::OVImmutableIdentifier& resolveRow(const void* named, int row) {
    return static_cast<const NamedColumn<Catalog>*>(named)->at(row);
  }

  const void* named_ = nullptr;
  int row_ = 0;
  Resolver resolve_ = nullptr;
};

#endif  // CATALOGS_ANY_NAMED_FIELD_H_
