// The stand-in's generated return descriptions.
//
// One TaxFormDesc per form constant of the module's form table, on the side
// the constant names. Fields come in catalog member order from the
// module's catalog tables (read here as data; the module's objects are not
// linked); a form without a catalog lists the fields of form_fields.def in
// ascending order. Kinds, titles and copy limits follow the small tables
// beside this file.
//
// A form's fields are made the first time they are asked for, from an
// index of the kind table by form built once; a data-file list likewise.
// The two descriptions live until the process ends and are never torn
// down: the exit frees their memory.
#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "catalogs/run_notation.h"
#include "host/descriptors.h"
#include "host/tif_descriptor_tables.h"
#include "host/value_text.h"
#include "identifiers/form_ids.h"

namespace DataMgmt {
namespace {

// Every form the small tables name must be a form constant (checked at
// compile time; sizeof does not use the constant, so nothing is linked).
#define FORM_FIELDS(form, runs) static_assert(sizeof(kFormID_##form) > 0, #form);
#include "host/form_fields.def"
#undef FORM_FIELDS
#define FIELD_KIND(form, field, kind) static_assert(sizeof(kFormID_##form) > 0, #form);
#define FIELD_KIND_LEN(form, field, kind, length) FIELD_KIND(form, field, kind)
#define FIELD_KIND_CALC(form, field, kind) FIELD_KIND(form, field, kind)
#include "host/field_kinds.def"
#undef FIELD_KIND
#undef FIELD_KIND_LEN
#undef FIELD_KIND_CALC
#define FORM_TITLE(form, title) static_assert(sizeof(kFormID_##form) > 0, #form);
#include "host/form_titles.def"
#undef FORM_TITLE

struct FormRow {
  const char* name;
  int number;
  bool isState;
};

constexpr FormRow kForms[] = {
#define FORM_ID(name, number, isState) {#name, number, isState},
#include "identifiers/form_ids.def"
#undef FORM_ID
};

// A form's place in kForms, named after its constant: the kind rows name
// their form's place without any search at compile time.
enum FormPlace : std::size_t {
#define FORM_ID(name, number, isState) kPlaceOf##name,
#include "identifiers/form_ids.def"
#undef FORM_ID
  kFormPlaces
};
static_assert(kFormPlaces == std::size(kForms), "one place per form row");

// The catalogs' field numbers, expanded from their tables at compile time.
#define FIELD_CATALOG(name, members, runs) \
  constexpr std::array<int, members> k##name##Numbers = RunNotation::expand<members>(runs);
#include "catalogs/all_catalogs.def"
#undef FIELD_CATALOG

struct CatalogRow {
  const char* name;
  const int* numbers;
  int members;
};

const CatalogRow kCatalogs[] = {
#define FIELD_CATALOG(name, members, runs) {#name, k##name##Numbers.data(), members},
#include "catalogs/all_catalogs.def"
#undef FIELD_CATALOG
};

// Forms whose catalog is not named after them. `extra` names a second
// catalog whose numbers missing from the first are appended in its order.
struct Pairing {
  const char* form;
  const char* catalog;
  const char* extra;
};

const Pairing kPairings[] = {
    {"Fed32783", "PAReturnInfoAltFieldIds", nullptr},
    {"Fed43", "PADirectDepositDebitAltFieldIds", nullptr},
    {"Fed155", "PADirectDepositDebitAltFieldIds", nullptr},
    {"State15", "FederalReturnTypeFieldIds", nullptr},
    {"State16", "State16FieldIds", "State16To18FieldIds"},
    {"State17", "State17FieldIds", "State16To18FieldIds"},
    {"State18", "State16To18FieldIds", nullptr},
};

struct FormFieldsRow {
  const char* form;
  const char* runs;
};

const FormFieldsRow kFormFields[] = {
#define FORM_FIELDS(form, runs) {#form, runs},
#include "host/form_fields.def"
#undef FORM_FIELDS
};

enum KindCode { kKind_TEXT, kKind_CHECKBOX, kKind_YESNO };

struct KindRow {
  std::size_t form;  // the form's place in kForms
  int field;
  KindCode kind;
  int length;  // 0: the kind's default
  bool calculated;
};

constexpr KindRow kKinds[] = {
#define FIELD_KIND(form, field, kind) {kPlaceOf##form, field, kKind_##kind, 0, false},
#define FIELD_KIND_LEN(form, field, kind, length) {kPlaceOf##form, field, kKind_##kind, length, false},
#define FIELD_KIND_CALC(form, field, kind) {kPlaceOf##form, field, kKind_##kind, 0, true},
#include "host/field_kinds.def"
#undef FIELD_KIND
#undef FIELD_KIND_LEN
#undef FIELD_KIND_CALC
};

// The line labels of the module's field tables ("Line 9 Total PA taxable
// income"), table after table: each table's first row names its catalog,
// the others give a host field number and its label.
struct LabelRow {
  const char* catalog;  // null but in a table's first row
  int number;
  const char* label;
};
const LabelRow kLabelRows[] = {
#define FIELD_TABLE(form, catalog) {#catalog, 0, ""},
#define FORM_FIELD(name, member, number, label) {nullptr, number, label},
#define FORM_COLUMN(name, first, number, step, rows)
#define END_FIELD_TABLE
#include "catalogs/fields/all_tables.def"
#undef FIELD_TABLE
#undef FORM_FIELD
#undef FORM_COLUMN
#undef END_FIELD_TABLE
};

struct TitleRow {
  const char* form;
  const char* title;
};

const TitleRow kTitles[] = {
#define FORM_TITLE(form, title) {#form, title},
#include "host/form_titles.def"
#undef FORM_TITLE
};

// The PA forms in the order the PA return shows and prints them (the PA
// print table, whose forms have data-file lists); the other state forms
// follow in ascending number.
const char* const kPADisplayOrder[] = {
    "PAEstimatedVouchers", "PA40", "PAScheduleW2S", "PAScheduleOC", "PAScheduleGL",
    "PAScheduleA", "PAScheduleB", "PAScheduleUE", "PAScheduleC", "PAScheduleD",
    "PAScheduleE", "PAScheduleJ", "PADeductions", "PAScheduleSP", "PAW2GIncome",
    "PAW2", "PAMiscCompWorksheet", "PAScheduleDWorksheet", "State16", "State17",
    "PAInterestDividendWorksheet", "PAReturnInfo", "PAEstimatedTaxWorksheet",
    "PADirectDepositDebit", "PALocalIncomeTaxReturn",
};

// Federal forms whose amounts are stored in hundredths.
const char* const kHundredthsForms[] = {
    "FedW2", "Fed1099Misc", "Fed1099R", "Fed1099G", "FedW2G", "Fed135", "Fed164", "Fed166",
};

const uint16_t kTextLength = 80;
const uint16_t kNumberLength = 15;
const uint16_t kBoxLength = 1;

bool same(const char* a, const std::string& b) { return b == a; }

// The catalog of that name, found in an index made once; null for none.
const CatalogRow* findCatalog(const std::string& name) {
  static const auto* const index = [] {
    auto* byName = new std::unordered_map<std::string, const CatalogRow*>();
    for (const auto& row : kCatalogs) byName->emplace(row.name, &row);
    return byName;
  }();
  const auto found = index->find(name);
  return found == index->end() ? nullptr : found->second;
}

std::vector<int> numbersOf(const CatalogRow& catalog) {
  return std::vector<int>(catalog.numbers, catalog.numbers + catalog.members);
}

std::vector<int> readRuns(const char* runs) {
  std::vector<int> numbers;
  RunNotation::RunReader reader(runs);
  for (int n = reader.next(); n > 0; n = reader.next()) numbers.push_back(n);
  return numbers;
}

// The kind rows of each form, ascending by field number (the first row of
// a field first). The rows are put in a bucket per form once (each row
// knows its form's place from compile time), and a form's bucket is
// sorted the first time it is asked for.
typedef std::vector<std::pair<int, const KindRow*>> KindsOfForm;

const KindsOfForm& kindsOf(std::size_t form) {
  struct Bucket {
    KindsOfForm rows;
    bool sorted = false;
  };
  static auto* const buckets = [] {
    auto* made = new std::array<Bucket, std::size(kForms)>();
    for (const auto& row : kKinds) (*made)[row.form].rows.emplace_back(row.field, &row);
    return made;
  }();
  Bucket& bucket = buckets->at(form);
  if (!bucket.sorted) {
    // Rows of one field keep their order: a row's address is its place.
    std::sort(bucket.rows.begin(), bucket.rows.end());
    bucket.sorted = true;
  }
  return bucket.rows;
}

// The place in kForms of one of its rows.
std::size_t indexOf(const FormRow& row) { return static_cast<std::size_t>(&row - kForms); }

// The form's catalog and the catalog whose further numbers it takes (either
// null when there is none).
std::pair<const CatalogRow*, const CatalogRow*> catalogsOf(const std::string& form) {
  const CatalogRow* catalog = nullptr;
  const CatalogRow* extra = nullptr;
  for (const auto& pairing : kPairings) {
    if (same(pairing.form, form)) {
      catalog = findCatalog(pairing.catalog);
      if (pairing.extra != nullptr) extra = findCatalog(pairing.extra);
    }
  }
  if (catalog == nullptr) catalog = findCatalog(form + "FieldIds");
  return {catalog, extra};
}

// The form's field numbers in form order.
std::vector<int> fieldNumbersOf(const FormRow& row) {
  const std::string form = row.name;
  const auto [catalog, extra] = catalogsOf(form);
  if (catalog != nullptr) {
    std::vector<int> numbers = numbersOf(*catalog);
    if (extra != nullptr) {
      const std::set<int> own(numbers.begin(), numbers.end());
      for (int n : numbersOf(*extra)) {
        if (own.count(n) == 0) numbers.push_back(n);
      }
    }
    return numbers;
  }
  // No catalog: the listed fields and the fields with a kind, ascending.
  std::set<int> numbers;
  for (const auto& listed : kFormFields) {
    if (!same(listed.form, form)) continue;
    for (int n : readRuns(listed.runs)) numbers.insert(n);
  }
  for (const auto& entry : kindsOf(indexOf(row))) numbers.insert(entry.first);
  return std::vector<int>(numbers.begin(), numbers.end());
}

const KindRow* kindOf(const KindsOfForm& kinds, int field) {
  const auto found = std::lower_bound(
      kinds.begin(), kinds.end(), field,
      [](const KindsOfForm::value_type& entry, int number) { return entry.first < number; });
  return found == kinds.end() || found->first != field ? nullptr : found->second;
}

bool storesHundredths(const std::string& form) {
  for (const char* name : kHundredthsForms) {
    if (same(name, form)) return true;
  }
  return false;
}

std::string upperCase(const std::string& text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

// A field's kind, length and edit code from its kind row (none: a number).
struct FieldShape {
  FieldKind kind = kNumberField;
  uint16_t length = kNumberLength;
  unsigned char editCode = kEditNone;
  bool calculated = false;
};

// The shape of a field with kind row `row` (null: a plain number).
FieldShape shapeOf(const KindRow* row, bool hundredths) {
  FieldShape shape;
  if (hundredths) shape.editCode = kEditHundredths;
  if (row == nullptr) return shape;
  shape.calculated = row->calculated;
  switch (row->kind) {
    case kKind_TEXT:
      shape = {kTextField, kTextLength, kEditNone, row->calculated};
      break;
    case kKind_CHECKBOX:
      shape = {kCheckBoxField, kBoxLength, kEditNone, row->calculated};
      break;
    case kKind_YESNO:
      shape = {kYesNoField, kBoxLength, kEditYesNo, row->calculated};
      break;
  }
  if (row->length > 0) shape.length = static_cast<uint16_t>(row->length);
  return shape;
}

// The labels a catalog's table gives, by host field number; rows without
// a label are left out. Made once.
const std::unordered_map<int, const char*>& labelsOf(const std::string& catalog) {
  static const auto* const index = [] {
    auto* byCatalog = new std::unordered_map<std::string_view, std::unordered_map<int, const char*>>();
    std::unordered_map<int, const char*>* labels = nullptr;
    for (const LabelRow& row : kLabelRows) {
      if (row.catalog != nullptr) labels = &(*byCatalog)[row.catalog];
      if (row.label[0] != '\0') labels->emplace(row.number, row.label);
    }
    return byCatalog;
  }();
  static const std::unordered_map<int, const char*> none;
  const auto found = index->find(catalog);
  return found == index->end() ? none : found->second;
}

// The printed line label of a field from its table's label: the line's
// number or letter after "Line " or "Box " ("9" of "Line 9 Total PA taxable
// income"), else the label quoted, a line named by its caption; "" for
// none.
std::string lineIdOf(const std::string& label) {
  for (const char* head : {"Line ", "Box "}) {
    const std::string start = head;
    if (label.compare(0, start.size(), start) != 0) continue;
    const std::size_t end = label.find(' ', start.size());
    return label.substr(start.size(), end == std::string::npos ? std::string::npos : end - start.size());
  }
  return label.empty() ? label : "\"" + label + "\"";
}

// The fields of one form: their descriptors and traits. The form's kind
// rows are found once, and every field is named after the form.
class FieldSource {
 public:
  FieldSource(const FormRow& row, const TaxFormDesc* form) : row_(row), form_(form) {}

  // Plain numbers, but for the fields with a kind row (the first row of a
  // field counts).
  FieldTraitsTable traits() {
    prepare();
    FieldTraitsTable table;
    table.common = traitsOf(shapeOf(nullptr, hundredths_));
    for (const auto& entry : *kinds_) {
      if (!table.apart.empty() && table.apart.back().first == entry.first) continue;
      table.apart.emplace_back(entry.first, traitsOf(shapeOf(entry.second, hundredths_)));
    }
    return table;
  }

  FormFieldDescPtr make(int number) {
    prepare();
    const FieldShape shape = shapeOf(kindOf(*kinds_, number), hundredths_);
    const Primitives::OVImmutableIdentifier id(number);
    const std::string lineId = lineIdOf(labelOf(number));
    if (!lineId.empty()) {
      return FormFieldDescPtr(new FormFieldDesc(id, shape.kind, shape.length, shape.editCode,
                                                shape.calculated,
                                                *form_->sourceNamePrefix() + "F" + std::to_string(number),
                                                lineId));
    }
    return FormFieldDescPtr(new FormFieldDesc(id, shape.kind, shape.length, shape.editCode, shape.calculated,
                                              form_->sourceNamePrefix()));
  }

 private:
  static FieldTraits traitsOf(const FieldShape& shape) {
    return FieldTraits{true, shape.kind, shape.editCode};
  }

  void prepare() {
    if (kinds_ != nullptr) return;
    kinds_ = &kindsOf(indexOf(row_));
    hundredths_ = storesHundredths(row_.name);
    const auto catalogs = catalogsOf(row_.name);
    for (const CatalogRow* catalog : {catalogs.first, catalogs.second}) {
      if (catalog != nullptr) labels_.push_back(&labelsOf(catalog->name));
    }
  }

  // The label the form's tables give the field, "" for none.
  std::string labelOf(int number) const {
    for (const auto* labels : labels_) {
      const auto found = labels->find(number);
      if (found != labels->end()) return found->second;
    }
    return std::string();
  }

  const FormRow& row_;
  const TaxFormDesc* form_;  // the form whose source this is: it outlives the source
  const KindsOfForm* kinds_ = nullptr;
  bool hundredths_ = false;
  std::vector<const std::unordered_map<int, const char*>*> labels_;  // the form's tables
};

TaxFormDescPtr buildForm(const FormRow& row) {
  const std::string name = row.name;
  const std::string devName = upperCase(name);
  std::string busName = devName;
  for (const auto& title : kTitles) {
    if (same(title.form, name)) busName = title.title;
  }
  TaxFormDescPtr form(
      new TaxFormDesc(Primitives::OVImmutableFormIdentifier(row.number, row.isState), devName, busName));
  const auto source = std::make_shared<FieldSource>(row, form.get());
  form->setFieldSource([&row] { return fieldNumbersOf(row); },
                       [source](int number) { return source->make(number); },
                       [source] { return source->traits(); });
  return form;
}

// The data-file list of a form of the PA print table, made when first
// asked for.
void addStateListOnUse(TaxReturnDesc& desc, const Primitives::OVImmutableFormIdentifier& form) {
  for (const auto& row : kForms) {
    if (row.number != form.getNumber() || row.isState != form.isStateForm()) continue;
    for (const char* name : kPADisplayOrder) {
      if (std::strcmp(row.name, name) == 0) {
        addStateTifDescriptors(&desc, {form});
        return;
      }
    }
  }
}

// The only federal form with a data-file list: form 131.
void addFederalListOnUse(TaxReturnDesc& desc, const Primitives::OVImmutableFormIdentifier& form) {
  if (form.getNumber() == 131) addFederalTifDescriptors(&desc);
}

// Registers the forms of one side: for the state side the display order
// first, then every other form of the side in ascending number.
void registerForms(TaxReturnDesc* desc, bool stateSide) {
  std::vector<const FormRow*> rows;
  for (const auto& row : kForms) {
    if (row.isState == stateSide) rows.push_back(&row);
  }
  std::stable_sort(rows.begin(), rows.end(),
                   [](const FormRow* a, const FormRow* b) { return a->number < b->number; });
  if (stateSide) {
    for (const char* name : kPADisplayOrder) {
      for (const FormRow* row : rows) {
        if (same(row->name, name)) desc->registerForm(buildForm(*row));
      }
    }
  }
  for (const FormRow* row : rows) {
    // registerForm ignores a form already registered.
    if (desc->getTaxFormDescriptor(Primitives::OVImmutableFormIdentifier(row->number, row->isState))
            .isNull()) {
      desc->registerForm(buildForm(*row));
    }
  }
}

TaxReturnDesc* build(bool stateSide) {
  TaxReturnDesc* desc = stateSide ? new TaxReturnDesc(40, "PA", "Pennsylvania", "", "Pennsylvania")
                                  : new TaxReturnDesc(1, "US", "Federal", "", "Federal");
  registerForms(desc, stateSide);
  desc->setTifListSource(stateSide ? addStateListOnUse : addFederalListOnUse);
  return desc;
}

}  // namespace

// Each description is made on first use and kept, never destroyed, to the
// end of the process.
TaxReturnDescPtr TaxReturnDesc::federal() {
  static const TaxReturnDescPtr* const desc = new TaxReturnDescPtr(build(false));
  return *desc;
}

TaxReturnDescPtr TaxReturnDesc::pennsylvania() {
  static const TaxReturnDescPtr* const desc = new TaxReturnDescPtr(build(true));
  return *desc;
}

}  // namespace DataMgmt
