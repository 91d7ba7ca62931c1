// The places where the calculation keeps a value as the user's, for the
// edited-return test.
//
// Where the module lets the user type over an amount it fills in, the
// amount first filled is the user's from then on (the host cannot tell it
// from a typed one), and an entry the calculation limits in place stays
// limited. An edit that would change such a value does not reach it, so a
// return edited after a calculation and the same entries loaded fresh
// agree only when the fresh entries hold it as typed: the test takes the
// value each place holds after the first calculation into the fresh
// entries. A place that belongs to a federal source (a PA W-2 row to its
// W-2, a PA Schedule C copy to its federal copy, a worksheet row to its
// source) goes with it: once the row or copy stands for another source, the
// calculation takes its figures afresh, and so do the fresh entries. The
// README names the same places, each with what a preparer does to have
// the value filled again.
#ifndef PAHOST_TESTS_KEPT_AS_USERS_H_
#define PAHOST_TESTS_KEPT_AS_USERS_H_

#include <map>
#include <string>
#include <vector>

#include "catalogs/catalog_id.h"

namespace DataMgmt {
class TaxReturn;
}

// What tells the source a kept value belongs to.
enum class KeptSource {
  kNone,             // the place itself
  kListedW2,         // a PA W-2 row: the federal W-2 the copy's list shows for it
  kCopyField,        // the copy: the value of one of its fields (the linked federal copy)
  kRowField,         // a row: the value of a column of its own (its source reference)
};

struct KeptPlace {
  const char* name;                 // as the README names it
  const char* form;                 // the test-data name of the form
  CatalogId catalog;                // its named-field table
  std::vector<const char*> fields;  // fields and columns (every row) of the table
  KeptSource source;
  const char* sourceField;          // kCopyField, kRowField: the field or column naming the source
  bool whileClosed = false;         // kept as entered while the calculation holds the field closed
};

// Every place, in the README's order.
const std::vector<KeptPlace>& keptPlaces();

// What the kept places held as the user's after the first calculation:
// the values open to the user (one the calculation held protected is its
// figure, not the user's, and is left to the fresh calculation), and those
// of a place kept as entered while closed.
class KeptValues {
 public:
  // `pa` is the PA return after the first calculation, `heldDump` the dump
  // of both returns then.
  KeptValues(const DataMgmt::TaxReturn& pa, const std::string& heldDump);

  // The field lines that put them into the fresh entries, for the copies
  // and rows that still stand for the same source once the edit is
  // calculated (`editedDump`); a place whose source changed is emptied.
  std::vector<std::string> entries(const std::string& editedDump) const;

 private:
  struct Held {
    const KeptPlace* place;
    int copy;
    int row;
    std::string key;
    std::string value;
  };
  std::string heldDump_;
  std::vector<Held> values_;
};

#endif  // PAHOST_TESTS_KEPT_AS_USERS_H_
