// The field tables at run time, and their check at compile time: every
// row's member must hold the row's host number in the form's catalog, and
// a column's rows must stay inside the catalog (and the rows a column marks
// as the user's inside the column).
#include "catalogs/fields/field_tables.h"

#include "catalogs/catalogs.h"

namespace {

constexpr bool holds(const char* runs, int member, int number) {
  return member >= 0 && RunNotation::nth(runs, static_cast<std::size_t>(member)) == number;
}

// Pass 1: the compile-time checks.
#define FIELD_TABLE(form, catalog) \
  namespace check_##form {         \
  constexpr const char* kRuns = k##catalog##Runs;
#define FORM_FIELD(name, member, number, label) \
  static_assert(holds(kRuns, member, number), #name ": member " #member " is not host field " #number);
#define FORM_COLUMN(name, first, number, step, rows)                                             \
  static_assert(holds(kRuns, first, number), #name ": member " #first " is not host field " #number); \
  static_assert(RunNotation::nth(kRuns, (first) + (step) * ((rows) - 1)) > 0, #name ": rows past the end");
#define USER_COLUMN_FROM(name, first, number, step, rows, from) \
  FORM_COLUMN(name, first, number, step, rows)                  \
  static_assert((from) > 0 && (from) < (rows), #name ": the user's rows start inside the column");
#define END_FIELD_TABLE }
#include "catalogs/fields/all_tables.def"
#undef FIELD_TABLE
#undef FORM_FIELD
#undef FORM_COLUMN
#undef USER_COLUMN_FROM
#undef END_FIELD_TABLE

// Pass 2: the rows of every table (a column as its first row).
#define FIELD_TABLE(form, catalog) const NamedFieldInfo k##form##Rows[] = {
#define FORM_FIELD(name, member, number, label) {#name, member, number, label},
#define FORM_COLUMN(name, first, number, step, rows) {#name, first, number, "", step, rows},
#define END_FIELD_TABLE {nullptr, -1, 0, ""}};
#include "catalogs/fields/all_tables.def"
#undef FIELD_TABLE
#undef FORM_FIELD
#undef FORM_COLUMN
#undef END_FIELD_TABLE

// Pass 3: which rows belong to which catalog.
struct TableOf {
  CatalogId catalog;
  const NamedFieldInfo* rows;
};

const TableOf kTables[] = {
#define FIELD_TABLE(form, catalog) {CatalogId::catalog, k##form##Rows},
#define FORM_FIELD(name, member, number, label)
#define FORM_COLUMN(name, first, number, step, rows)
#define END_FIELD_TABLE
#include "catalogs/fields/all_tables.def"
#undef FIELD_TABLE
#undef FORM_FIELD
#undef FORM_COLUMN
#undef END_FIELD_TABLE
};

}  // namespace

const NamedFieldInfo* namedFieldRows(CatalogId catalog) {
  for (const TableOf& table : kTables) {
    if (table.catalog == catalog) return table.rows;
  }
  return nullptr;
}

const NamedFieldInfo* findNamedField(CatalogId catalog, int number) {
  for (const NamedFieldInfo* row = namedFieldRows(catalog); row != nullptr && row->name != nullptr; ++row) {
    if (row->number == number) return row;
  }
  return nullptr;
}
