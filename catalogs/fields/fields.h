// Every form's named fields (see catalogs/named_field.h): one namespace per
// catalog, named like the catalog without "FieldIds" (`PA40`, `FedW2`),
// holding the constants of the form's table `catalogs/fields/<form>.def`.
#ifndef CATALOGS_FIELDS_FIELDS_H_
#define CATALOGS_FIELDS_FIELDS_H_

#include "catalogs/catalogs.h"
#include "catalogs/named_field.h"

#define FIELD_TABLE(form, catalog) \
  namespace form {                 \
  using TableCatalog = catalog;    \
  inline constexpr const catalog* kTableCatalog = &k##catalog;
#define FORM_FIELD(name, member, number, label) \
  inline constexpr NamedField<TableCatalog> k##name{kTableCatalog, member, number};
#define FORM_COLUMN(name, first, number, step, rows) \
  inline constexpr NamedColumn<TableCatalog> k##name{kTableCatalog, first, number, step, rows};
#define END_FIELD_TABLE }

#include "catalogs/fields/all_tables.def"

#undef FIELD_TABLE
#undef FORM_FIELD
#undef FORM_COLUMN
#undef END_FIELD_TABLE

#endif  // CATALOGS_FIELDS_FIELDS_H_
