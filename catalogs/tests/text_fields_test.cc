// The record of the named fields that hold texts (fields/text_fields.def)
// against the host's descriptors, for every form it names and every form
// a field table is named after: a recorded field (every row of a recorded
// column) must be a text field, and a field or column of the table that is
// wholly text must be recorded. No return is involved, so a text field the
// module uses counts whether or not some return fills it.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "catalogs/fields/fields.h"
#include "host/descriptors.h"
#include "identifiers/form_ids.h"

namespace {

using Primitives::OVImmutableIdentifier;
typedef std::vector<OVImmutableIdentifier> Fields;

template <class Catalog>
Fields fieldsOf(const NamedField<Catalog>& field) {
  return {field.id()};
}

template <class Catalog>
Fields fieldsOf(const NamedColumn<Catalog>& column) {
  Fields rows;
  for (int row = 0; row < column.rows(); ++row) rows.push_back(column.at(row));
  return rows;
}

struct Entry {
  std::string name;
  Fields fields;
};

std::map<std::string, std::vector<Entry>> readTables() {
  std::map<std::string, std::vector<Entry>> byTable;
  std::vector<Entry>* rows = nullptr;
#define FIELD_TABLE(form, catalog) \
  {                                \
    namespace current = form;      \
    rows = &byTable[#form];
#define FORM_FIELD(name, member, number, label) rows->push_back({#name, fieldsOf(current::k##name)});
#define FORM_COLUMN(name, first, number, step, rows_) rows->push_back({#name, fieldsOf(current::k##name)});
#define END_FIELD_TABLE }
#include "catalogs/fields/all_tables.def"
#undef FIELD_TABLE
#undef FORM_FIELD
#undef FORM_COLUMN
#undef END_FIELD_TABLE
  return byTable;
}

// Every field and column of every table, by table name.
const std::map<std::string, std::vector<Entry>>& tables() {
  static const auto* const byTable = new std::map<std::string, std::vector<Entry>>(readTables());
  return *byTable;
}

// The record: (form, table) to the names of its text fields; a group with
// no rows is in the map too.
std::map<std::pair<std::string, std::string>, std::set<std::string>> recorded() {
  std::map<std::pair<std::string, std::string>, std::set<std::string>> groups;
  std::set<std::string>* names = nullptr;
#define TEXT_FIELDS_OF(form, table) \
  {                                 \
    namespace current = table;      \
    names = &groups[{#form, #table}];
#define TEXT_FIELD(name)                 \
  static_cast<void>(current::k##name); \
  names->insert(#name);
#define END_TEXT_FIELDS }
#include "catalogs/fields/text_fields.def"
#undef TEXT_FIELDS_OF
#undef TEXT_FIELD
#undef END_TEXT_FIELDS
  return groups;
}

const std::map<std::string, const Primitives::OVImmutableFormIdentifier*>& formsByName() {
  static const std::map<std::string, const Primitives::OVImmutableFormIdentifier*> forms = {
#define FORM_ID(name, number, isState) {#name, &kFormID_##name},
#include "identifiers/form_ids.def"
#undef FORM_ID
  };
  return forms;
}

// The rows of `fields` the form's host description does not make text
// fields, as "field N" words; "" when all of them are.
std::string notTexts(const DataMgmt::TaxFormDesc& form, const Fields& fields) {
  std::string numbers;
  for (const OVImmutableIdentifier& field : fields) {
    const DataMgmt::FieldTraits traits = form.traitsOf(field);
    if (traits.known && traits.kind == DataMgmt::kTextField) continue;
    numbers += " " + std::to_string(field.getNumber());
  }
  return numbers;
}

// What differs between the record of one (form, table) and the host.
std::string differences(const std::string& formName, const std::string& table,
                        const std::set<std::string>& names) {
  const auto form = formsByName().find(formName);
  if (form == formsByName().end()) return "  no form " + formName + "\n";
  const auto& side = form->second->isStateForm() ? DataMgmt::TaxReturnDesc::pennsylvania()
                                                 : DataMgmt::TaxReturnDesc::federal();
  const DataMgmt::TaxFormDescPtr desc = side->getTaxFormDescriptor(*form->second);
  if (desc.isNull()) return "  the host does not describe " + formName + "\n";
  std::ostringstream out;
  for (const Entry& entry : tables().at(table)) {
    const std::string missing = notTexts(*desc, entry.fields);
    const bool isRecorded = names.count(entry.name) > 0;
    const std::string where = "  " + formName + " " + table + "::k" + entry.name;
    if (isRecorded && !missing.empty()) {
      out << where << ": recorded as a text, but the host's field(s)" << missing
          << " are not text fields\n";
    } else if (!isRecorded && missing.empty()) {
      out << where << ": a text field on the host, not recorded in text_fields.def\n";
    }
  }
  return out.str();
}

TEST(TextFieldsTest, EveryRecordedTextIsATextFieldAndEveryTextFieldIsRecorded) {
  auto groups = recorded();
  // Every table named after a form is checked on that form, recorded or not.
  for (const auto& table : tables()) {
    if (formsByName().count(table.first) > 0) groups[{table.first, table.first}];
  }
  std::string found;
  for (const auto& group : groups) {
    found += differences(group.first.first, group.first.second, group.second);
  }
  EXPECT_EQ(found, "");
}

}  // namespace
