// StateAuditMgmt::TableField: one named field of any form, for the constant
// rule tables whose rows name fields of different forms (a statement line
// of a W-2 beside one of a 1099-R, a PA-40 field beside a Schedule G-L
// field).
//
// A TableField names either a form's field constant (`PA40::kDaytimePhone`)
// or row r of a form's column (`FedW2::kStateCode`, r). It refers to that
// constant, which lives as long as the program, and reads the catalog
// member only when asked. The empty TableField names no field: it reads as
// kNullFieldID, which every host operation reads as missing.
#ifndef AUDIT_TABLE_FIELD_H_
#define AUDIT_TABLE_FIELD_H_

#include "catalogs/named_field.h"
#include "host/identifier.h"

namespace StateAuditMgmt {

class TableField {
 public:
  constexpr TableField() = default;
  // A field constant of a form's table (converts implicitly, so that a
  // table row can list the names themselves).
  template <class Catalog>
  constexpr TableField(const NamedField<Catalog>& field)  // NOLINT(runtime/explicit)
      : source_(&field), resolve_(&fieldOf<Catalog>) {}
  // Row `row` of a column of a form's table.
  template <class Catalog>
  constexpr TableField(const NamedColumn<Catalog>& column, int row)
      : source_(&column), row_(row), resolve_(&rowOf<Catalog>) {}
  // Only the tables' own constants outlive a table row.
  template <class Catalog>
  TableField(const NamedField<Catalog>&&) = delete;
  template <class Catalog>
  TableField(const NamedColumn<Catalog>&&, int) = delete;

  constexpr bool empty() const { return resolve_ == nullptr; }
  const Primitives::OVImmutableIdentifier& id() const {
    return empty() ? Primitives::kNullFieldID : resolve_(source_, row_);
  }
  operator const Primitives::OVImmutableIdentifier&() const { return id(); }  // NOLINT

 private:
  using Resolver = const Primitives::OVImmutableIdentifier& (*)(const void*, int);

  template <class Catalog>
  static const Primitives::OVImmutableIdentifier& fieldOf(const void* source, int /*row*/) {
    return static_cast<const NamedField<Catalog>*>(source)->id();
  }
  template <class Catalog>
  static const Primitives::OVImmutableIdentifier& rowOf(const void* source, int row) {
    return static_cast<const NamedColumn<Catalog>*>(source)->at(row);
  }

  const void* source_ = nullptr;
  int row_ = 0;
  Resolver resolve_ = nullptr;
};

}  // namespace StateAuditMgmt

#endif  // AUDIT_TABLE_FIELD_H_
