// Named fields: the fields of a form that the module reads or writes, by
// name, as each form's field table gives them.
//
// A form's table (`catalogs/fields/<form>.def`) holds one row per field:
//
//   FORM_FIELD(name, member, host number, "line label")
//   FORM_COLUMN(name, first member, host number of the first, member step, rows)
//
// and its header turns every row into a constant of the form's namespace:
// `PA40::kTotalTaxableIncome` for a field, `PAW2::kRowWages` for a column
// of a repeated row (`PAW2::kRowWages.at(r)` is row r). A named field reads
// as the catalog member it names wherever the host takes a field
// identifier. Every row is checked at compile time against the catalog's
// table: its member must hold its host number (see fields/field_tables.cc).
//
// The line label is the form's own wording where the form prints one
// ("Line 9 Total PA taxable income"), empty otherwise.
//
// A field or column the calculation leaves to the user (an entry there is
// the user's: see fields/user_fields.h) is written with the same arguments
// as USER_FIELD or USER_COLUMN; USER_COLUMN_FROM(..., rows, from) marks
// only the rows from row `from` on (counted from 0), the rows above being
// the calculation's.
#ifndef CATALOGS_NAMED_FIELD_H_
#define CATALOGS_NAMED_FIELD_H_

#include <cstddef>

#include "host/identifier.h"

// One field of the form whose catalog is `Catalog`.
template <class Catalog>
class NamedField {
 public:
  constexpr NamedField(const Catalog* catalog, int member, int number)
      : catalog_(catalog), member_(member), number_(number) {}

  // The catalog member; `kNullFieldID` when the member is past the end.
  const Primitives::OVImmutableIdentifier& id() const {
    return (*catalog_)[static_cast<std::size_t>(member_)];
  }
  operator const Primitives::OVImmutableIdentifier&() const { return id(); }

  constexpr int member() const { return member_; }
  constexpr int number() const { return number_; }

 private:
  const Catalog* catalog_;
  int member_;
  int number_;
};

// A column of a repeated row: row r is `step` members after row r - 1.
// Rows past `rows` (or below 0) read as `kNullFieldID`.
template <class Catalog>
class NamedColumn {
 public:
  constexpr NamedColumn(const Catalog* catalog, int first, int number, int step, int rows)
      : catalog_(catalog), first_(first), number_(number), step_(step), rows_(rows) {}

  const Primitives::OVImmutableIdentifier& at(int row) const {
    if (row < 0 || row >= rows_) return Primitives::kNullFieldID;
    return (*catalog_)[static_cast<std::size_t>(first_ + row * step_)];
  }

  constexpr int first() const { return first_; }
  constexpr int number() const { return number_; }
  constexpr int step() const { return step_; }
  constexpr int rows() const { return rows_; }

 private:
  const Catalog* catalog_;
  int first_;
  int number_;
  int step_;
  int rows_;
};

// The rows of a form's field table at run time: for lookups by host
// number and for the line labels printed beside a value. A column is its
// first row, with the members between its rows and its count of rows.
struct NamedFieldInfo {
  const char* name;
  int member;
  int number;
  const char* label;
  int step = 0;
  int rows = 1;
};

// Makes the constants of one table; the including header defines
// FORM_FIELD and FORM_COLUMN with these before including its .def.
#define NAMED_FIELD_CONSTANT(catalog, name, member, number) \
  inline constexpr NamedField<catalog> k##name{&k##catalog, member, number};
#define NAMED_COLUMN_CONSTANT(catalog, name, first, number, step, rows) \
  inline constexpr NamedColumn<catalog> k##name{&k##catalog, first, number, step, rows};

#endif  // CATALOGS_NAMED_FIELD_H_
