// Name maps and copy numbers of the test-data readers.
#include "testing/test_data_maps.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "host/string_utils.h"

namespace TestDataMaps {
namespace {

// A field's name, at its place in a text of names, and a sort key.
struct NamedField {
  uint64_t key;
  std::size_t at, length;
  int number;
};

// Sorts fields by their names in `names`, of two equal names the first
// placed first. A form's names share a head and mostly differ in a few
// characters after it: each is keyed by its first eight characters after
// the head, read as one number, and only names of equal keys are compared
// further.
void sortByName(const std::string& names, std::vector<NamedField>& named) {
  if (named.empty()) return;
  const std::string_view text(names);
  const std::string_view first = text.substr(named[0].at, named[0].length);
  std::size_t head = first.size();
  for (const NamedField& n : named) {
    const std::string_view name = text.substr(n.at, n.length);
    std::size_t same = 0;
    while (same < head && same < name.size() && name[same] == first[same]) ++same;
    head = same;
  }
  for (NamedField& n : named) {
    n.key = 0;
    for (std::size_t i = 0; i < 8; ++i) {
      const std::size_t at = head + i;
      n.key = n.key << 8 | (at < n.length ? static_cast<unsigned char>(names[n.at + at]) : 0);
    }
  }
  std::sort(named.begin(), named.end(), [text, head](const NamedField& a, const NamedField& b) {
    if (a.key != b.key) return a.key < b.key;
    const int order = text.substr(a.at, a.length).substr(head).compare(text.substr(b.at, b.length).substr(head));
    return order < 0 || (order == 0 && a.at < b.at);
  });
}

}  // namespace

void addAllForms(const DataMgmt::TaxReturn& taxReturn, StateCalculationMgmt::FormNameMap& formNames) {
  const DataMgmt::TaxReturnDescPtr returnDesc = taxReturn.getTaxReturnDesc();
  if (returnDesc.isNull()) return;
  for (const DataMgmt::TaxFormDescPtr& form : returnDesc->getTaxFormDescriptors()) {
    formNames.emplace(Utils::OVStringUtils::toUpperCase(form->getDevName()), form->getTypeID());
  }
}

void addFormFields(const DataMgmt::TaxReturn& taxReturn, const DataMgmt::FormId& form,
                   StateCalculationMgmt::FieldNameMap& fieldNames) {
  const DataMgmt::TaxFormDescPtr formDesc = taxReturn.getTaxFormDescriptor(form);
  if (formDesc.isNull()) return;
  // A form has hundreds of fields: their names are written one after
  // another into one text, with no descriptor or string made for each,
  // sorted (of two equal names the first field's first) and go into the map
  // in that order, each beside the one before.
  const std::vector<DataMgmt::FieldId>& ids = formDesc->fieldIds();
  std::string names;
  std::vector<NamedField> named;
  named.reserve(ids.size());
  for (const DataMgmt::FieldId& id : ids) {
    const std::size_t at = names.size();
    if (formDesc->appendSymbolicName(id, names)) named.push_back(NamedField{0, at, names.size() - at, id.getNumber()});
  }
  sortByName(names, named);
  auto hint = fieldNames.end();
  for (const NamedField& n : named) {
    hint = std::next(fieldNames.emplace_hint(hint, std::piecewise_construct,
                                             std::forward_as_tuple(names, n.at, n.length),
                                             std::forward_as_tuple(n.number)));
  }
}

bool isFieldOfForm(const DataMgmt::TaxReturn& taxReturn, const DataMgmt::FormId& form,
                   const DataMgmt::FieldId& field, const std::string& name) {
  const DataMgmt::TaxFormDescPtr formDesc = taxReturn.getTaxFormDescriptor(form);
  if (formDesc.isNull()) return false;
  const DataMgmt::FormFieldDescPtr fieldDesc = formDesc->getFieldDesc(field);
  return !fieldDesc.isNull() && fieldDesc->getSymbolicName() == name;
}

TestDataFormat::LineProblem readCopy(const DataMgmt::TaxReturn& taxReturn, const DataMgmt::FormId& form,
                                     const std::string& text, uint16_t* copy) {
  *copy = 0;
  const DataMgmt::TaxFormDescPtr formDesc = taxReturn.getTaxFormDescriptor(form);
  unsigned number = 0;
  const TestDataFormat::LineProblem problem =
      TestDataFormat::readCopyNumber(text, formDesc.isNull() ? 0 : formDesc->getMaxCopies(), &number);
  if (problem == TestDataFormat::LineProblem::kStored) *copy = static_cast<uint16_t>(number);
  return problem;
}

DataMgmt::FormFieldDescPtr fieldDescOf(const DataMgmt::TaxReturn& taxReturn, const DataMgmt::FormId& form,
                                       const DataMgmt::FieldId& field) {
  const DataMgmt::TaxFormDescPtr formDesc = taxReturn.getTaxFormDescriptor(form);
  return formDesc.isNull() ? DataMgmt::FormFieldDescPtr() : formDesc->getFieldDesc(field);
}

DataMgmt::FieldTraits traitsOf(const DataMgmt::TaxReturn& taxReturn, const DataMgmt::FormId& form,
                               const DataMgmt::FieldId& field) {
  const DataMgmt::TaxFormDescPtr formDesc = taxReturn.getTaxFormDescriptor(form);
  return formDesc.isNull() ? DataMgmt::FieldTraits() : formDesc->traitsOf(field);
}

bool isNumberField(const DataMgmt::FieldTraits& traits) {
  return traits.known && !traits.isBoolean() && !traits.isText();
}

TestDataFormat::LineProblem valueProblem(const DataMgmt::TaxReturn& taxReturn, const DataMgmt::FormId& form,
                                         const DataMgmt::FieldId& field, const std::string& value) {
  if (!isNumberField(traitsOf(taxReturn, form, field))) return TestDataFormat::LineProblem::kStored;
  return TestDataFormat::checkAmountText(value);
}

std::string fieldLabel(const DataMgmt::TaxReturn& taxReturn, const DataMgmt::FormId& form, uint16_t copy,
                       const DataMgmt::FieldId& field) {
  const DataMgmt::TaxFormDescPtr formDesc = taxReturn.getTaxFormDescriptor(form);
  const DataMgmt::FormFieldDescPtr fieldDesc = fieldDescOf(taxReturn, form, field);
  return (formDesc.isNull() ? std::string("?") : formDesc->getDevName()) + ":" + std::to_string(copy) + ":" +
         (fieldDesc.isNull() ? std::string("?") : fieldDesc->getSymbolicName());
}

}  // namespace TestDataMaps
