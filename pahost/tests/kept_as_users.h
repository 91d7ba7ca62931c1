// The places where the calculation keeps a value as the user's, for the
// edited-return test.
//
// Where the module lets the user type over an amount it fills in, the
// amount first filled is the user's from then on (the host cannot tell it
// from a typed one), an entry the calculation limits in place stays
// limited, and one it closes and empties stays empty. An edit does not
// reach such a value: the edited return files what the user's entries
// file with each place holding what it held before the edit. A place that
// belongs to a federal source (a PA W-2 row to its W-2, a PA Schedule C
// copy to its federal copy, a worksheet row to its source) goes with it:
// once the row or copy stands for another source, the calculation takes
// its figures afresh. The field tables mark the places (KEPT rows; see
// catalogs/fields/all_tables.def); the README names them, form by form,
// each with what a preparer does to have the value filled again.
#ifndef PAHOST_TESTS_KEPT_AS_USERS_H_
#define PAHOST_TESTS_KEPT_AS_USERS_H_

#include <string>
#include <vector>

#include "catalogs/catalog_id.h"

namespace DataMgmt {
class TaxReturn;
}

// What a kept value belongs to (the `source` of a KEPT row).
enum class KeptSource {
  kItself,       // the place itself
  kListedW2,     // a PA W-2 row: the federal W-2 the copy's list shows for it
  kRowSource,    // a row: its source reference
  kFederalCopy,  // the copy: the federal copy it stands for
};

// One KEPT row of a field table.
struct KeptMark {
  const char* table;  // the table's name, which upper-cased is the form's test-data name
  CatalogId catalog;
  const char* name;   // the field or column
  KeptSource source;
};

// Every KEPT row, in table order.
const std::vector<KeptMark>& keptMarks();

// The test-data name of the form a mark is of: its table's, upper-cased.
std::string formOf(const KeptMark& mark);

// What the kept places held as the user's before an edit's last step.
class KeptValues {
 public:
  // `pa` is the PA return then, `heldDump` the dump of both returns then.
  KeptValues(const DataMgmt::TaxReturn& pa, const std::string& heldDump);

  // `lines` with the values in them, for the copies and rows that still
  // stand for the same source once the edit is calculated (`editedDump`).
  // A place that held no entry (empty, or the calculation's figure,
  // which it holds protected), or whose source changed, empties an entry
  // the lines hold.
  std::vector<std::string> entries(const std::vector<std::string>& lines, const std::string& editedDump) const;

 private:
  struct Held {
    const KeptMark* mark;
    int copy;
    int row;
    std::string key;
    std::string value;
  };
  std::string heldDump_;
  std::vector<Held> values_;
};

#endif  // PAHOST_TESTS_KEPT_AS_USERS_H_
