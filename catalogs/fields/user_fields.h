// The fields of each form that the calculation leaves to the user, as the
// form's field table marks them (USER_FIELD, USER_COLUMN and
// USER_COLUMN_FROM rows; see catalogs/named_field.h). An entry in one of
// them is the user's: it keeps in the return a copy the calculation filed
// once the copy's own test fails (see calc/pa/part_of_return.h). Where a
// field is the user's only in some situations (a field while it is open,
// on some copies or for some filers), the routine that asks says so in
// its own code; the table marks only what holds wherever it asks.
//
// Each table's namespace holds `kUserFields` (`PAScheduleGL::kUserFields`),
// a constant of the program that marks nothing for a table without marks.
#ifndef CATALOGS_FIELDS_USER_FIELDS_H_
#define CATALOGS_FIELDS_USER_FIELDS_H_

#include <cstddef>
#include <iterator>

#include "catalogs/fields/fields.h"
#include "host/identifier.h"

// `rows` members of a catalog from member `first`, `step` apart: one
// marked field (a single row), or the marked rows of a column.
struct UserFieldRun {
  int first;
  int step;
  int rows;
};

// The user's fields of one form, whose catalog is `Catalog`; the runs are
// the table's, in table order, and live as long as the program.
template <class Catalog>
class UserFields {
 public:
  constexpr UserFields(const Catalog* catalog, const UserFieldRun* runs, std::size_t count)
      : catalog_(catalog), runs_(runs), count_(count) {}

  // Calls `visit` with each field in turn until it returns true; returns
  // whether it did.
  template <class Visit>
  bool any(Visit visit) const {
    for (std::size_t r = 0; r < count_; ++r) {
      const UserFieldRun& run = runs_[r];
      for (int k = 0, member = run.first; k < run.rows; ++k, member += run.step) {
        if (visit((*catalog_)[static_cast<std::size_t>(member)])) return true;
      }
    }
    return false;
  }

  // Whether `field` is one of them.
  bool holds(const Primitives::OVImmutableIdentifier& field) const {
    return any([&field](const Primitives::OVImmutableIdentifier& f) { return f == field; });
  }

 private:
  const Catalog* catalog_;
  const UserFieldRun* runs_;
  std::size_t count_;
};

// Each table's runs, ended by a run of no rows (which the count leaves
// out), and its constant.
#define FIELD_TABLE(form, catalog) \
  namespace form {                 \
  inline constexpr UserFieldRun kUserFieldRuns[] = {
#define FORM_FIELD(name, member, number, label)
#define FORM_COLUMN(name, first, number, step, rows)
#define USER_FIELD(name, member, number, label) {member, 1, 1},
#define USER_COLUMN(name, first, number, step, rows) {first, step, rows},
#define USER_COLUMN_FROM(name, first, number, step, rows, from) {(first) + (step) * (from), step, (rows) - (from)},
#define END_FIELD_TABLE                                                                                    \
  {0, 0, 0}};                                                                                              \
  inline constexpr UserFields<TableCatalog> kUserFields{kTableCatalog, kUserFieldRuns,                   \
                                                        std::size(kUserFieldRuns) - 1};                  \
  }

#include "catalogs/fields/all_tables.def"

#undef FIELD_TABLE
#undef FORM_FIELD
#undef FORM_COLUMN
#undef USER_FIELD
#undef USER_COLUMN
#undef USER_COLUMN_FROM
#undef END_FIELD_TABLE

#endif  // CATALOGS_FIELDS_USER_FIELDS_H_
