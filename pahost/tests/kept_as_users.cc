#include "pahost/tests/kept_as_users.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>

#include "catalogs/fields/field_tables.h"
#include "host/descriptors.h"
#include "host/tax_form.h"
#include "host/tax_return.h"
#include "pahost/tests/return_edits.h"

namespace {

// Each table's KEPT rows, ended by a row without a name.
#define FIELD_TABLE(form, catalog_)                            \
  namespace kept_##form {                                       \
  constexpr CatalogId kCatalog = CatalogId::catalog_;           \
  const KeptMark kMarks[] = {
#define FORM_FIELD(name, member, number, label)
#define FORM_COLUMN(name, first, number, step, rows)
#define KEPT(name, source) {#name, kCatalog, #name, KeptSource::k##source},
#define END_FIELD_TABLE \
  {nullptr, kCatalog, nullptr, KeptSource::kItself}};  \
  }
#include "catalogs/fields/all_tables.def"
#undef FIELD_TABLE
#undef KEPT
#undef END_FIELD_TABLE

struct TableMarks {
  const char* table;
  const KeptMark* marks;
};
const TableMarks kTableMarks[] = {
#define FIELD_TABLE(form, catalog) {#form, kept_##form::kMarks},
#define END_FIELD_TABLE
#include "catalogs/fields/all_tables.def"
#undef FIELD_TABLE
#undef FORM_FIELD
#undef FORM_COLUMN
#undef END_FIELD_TABLE
};

}  // namespace

const std::vector<KeptMark>& keptMarks() {
  static const std::vector<KeptMark> marks = [] {
    std::vector<KeptMark> all;
    for (const TableMarks& t : kTableMarks) {
      for (const KeptMark* m = t.marks; m->name != nullptr; ++m) all.push_back({t.table, m->catalog, m->name, m->source});
    }
    return all;
  }();
  return marks;
}

std::string formOf(const KeptMark& mark) {
  // A table that forms share marks the places of the form named here.
  if (std::strcmp(mark.table, "State16To18") == 0) return "STATE18";
  std::string form = mark.table;
  for (char& c : form) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return form;
}

namespace {

const NamedFieldInfo* rowNamed(CatalogId catalog, const char* name) {
  for (const NamedFieldInfo* row = namedFieldRows(catalog); row != nullptr && row->name != nullptr; ++row) {
    if (std::strcmp(row->name, name) == 0) return row;
  }
  ADD_FAILURE() << "no field " << name;
  return nullptr;
}

// The host numbers of a named field's rows (one for a field).
std::vector<int> rowNumbers(const KeptMark& mark, const char* name) {
  std::vector<int> numbers;
  const NamedFieldInfo* row = rowNamed(mark.catalog, name);
  const DataMgmt::TaxReturnDescPtr desc = DataMgmt::TaxReturnDesc::pennsylvania();
  const DataMgmt::TaxFormDescPtr form = desc->getTaxFormDescriptor(desc->findFormNamed(formOf(mark)));
  if (row == nullptr || form.isNull()) return numbers;
  for (int r = 0; r < row->rows; ++r) {
    numbers.push_back((form->getFieldIDs() + (row->member + row->step * r)).getID().getNumber());
  }
  return numbers;
}

// A dump's field values by FORM:copy:Fnumber.
std::map<std::string, std::string> valuesOf(const std::string& dump) {
  std::map<std::string, std::string> values;
  std::istringstream in(dump);
  for (std::string line; std::getline(in, line);) {
    FieldLine f;
    if (parseFieldLine(line, &f)) values[f.key()] = f.value;
  }
  return values;
}

std::string keyOf(const std::string& form, int copy, int number) {
  return form + ":" + std::to_string(copy) + ":F" + std::to_string(number);
}

std::string valueAt(const std::map<std::string, std::string>& values, const std::string& key) {
  const auto found = values.find(key);
  return found == values.end() ? std::string() : found->second;
}

// The source of row `row` of copy `copy` as a dump shows it.
std::string sourceOf(const KeptMark& mark, const std::map<std::string, std::string>& values, int copy, int row) {
  const std::string form = formOf(mark);
  switch (mark.source) {
    case KeptSource::kItself:
      return std::string();
    case KeptSource::kFederalCopy:
      return valueAt(values, keyOf(form, copy, rowNumbers(mark, "FederalCopyNumber").front()));
    case KeptSource::kRowSource:
      return valueAt(values, keyOf(form, copy, rowNumbers(mark, "RowSourceReference").at(row)));
    case KeptSource::kListedW2: {
      // Rows list the W-2s the copy's list holds, in order, without gaps.
      const std::vector<int> list = rowNumbers(mark, "ListedEmployerName");
      int listed = 0;
      for (std::size_t position = 0; position < list.size(); ++position) {
        if (values.count(keyOf(form, copy, list[position])) == 0) continue;
        if (listed++ == row) return std::to_string(position);
      }
      return std::string();
    }
  }
  return std::string();
}

}  // namespace

KeptValues::KeptValues(const DataMgmt::TaxReturn& pa, const std::string& heldDump) : heldDump_(heldDump) {
  const std::map<std::string, std::string> held = valuesOf(heldDump);
  for (const KeptMark& mark : keptMarks()) {
    const std::string formName = formOf(mark);
    const DataMgmt::FormId form = pa.getTaxReturnDesc()->findFormNamed(formName);
    const std::vector<int> numbers = rowNumbers(mark, mark.name);
    for (int copy = 1; copy <= pa.getMaxCopies(form); ++copy) {
      const DataMgmt::TaxForm* heldCopy = pa.getForm(form, static_cast<uint16_t>(copy));
      if (heldCopy == nullptr) continue;
      for (std::size_t row = 0; row < numbers.size(); ++row) {
        // A value the calculation holds protected is its figure, not the
        // user's: the place holds no entry.
        const std::string key = keyOf(formName, copy, numbers[row]);
        const bool open = !heldCopy->isProtected(DataMgmt::FieldId(numbers[row]));
        values_.push_back({&mark, copy, static_cast<int>(row), key, open ? valueAt(held, key) : std::string()});
      }
    }
  }
}

std::vector<std::string> KeptValues::entries(const std::vector<std::string>& lines,
                                             const std::string& editedDump) const {
  const std::map<std::string, std::string> held = valuesOf(heldDump_);
  const std::map<std::string, std::string> edited = valuesOf(editedDump);
  std::set<std::string> named;
  for (const std::string& line : lines) {
    FieldLine f;
    if (parseFieldLine(line, &f)) named.insert(f.key());
  }
  EditStep step;
  for (const Held& h : values_) {
    const bool sameSource = sourceOf(*h.mark, held, h.copy, h.row) == sourceOf(*h.mark, edited, h.copy, h.row);
    const std::string value = sameSource ? h.value : std::string();
    // An empty place empties an entry the lines hold, and makes no copy.
    if (!value.empty() || named.count(h.key) != 0) {
      FieldLine f;
      parseFieldLine(h.key + ":" + value, &f);
      step.set.push_back(f);
    }
  }
  return editedLines(lines, step);
}
