// Host numbers that pahost reads from the module's data tables rather than
// from the module: a form's number by its constant's name
// (identifiers/form_ids.def: kPA40FormNumber for PA40), a field's number by
// its row name in its form's named-field table. Header-only; a program that
// uses fieldNumberOf links catalogs/fields/field_tables.cc.
#ifndef PAHOST_TABLE_NUMBERS_H_
#define PAHOST_TABLE_NUMBERS_H_

#include <cstring>

#include "catalogs/fields/field_tables.h"

namespace TableNumbers {

#define FORM_ID(name, number, isState) constexpr int k##name##FormNumber = number;
#include "identifiers/form_ids.def"
#undef FORM_ID

// The host field number of the row named `name` in the catalog's table; 0
// when the table has no such row.
inline int fieldNumberOf(CatalogId catalog, const char* name) {
  for (const NamedFieldInfo* row = namedFieldRows(catalog); row != nullptr && row->name != nullptr; ++row) {
    if (std::strcmp(row->name, name) == 0) return row->number;
  }
  return 0;
}

}  // namespace TableNumbers

#endif  // PAHOST_TABLE_NUMBERS_H_
