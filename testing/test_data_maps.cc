// Name maps and copy numbers of the test-data readers.
#include "testing/test_data_maps.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <iterator>
#include <utility>
#include <vector>

#include "host/string_utils.h"

namespace TestDataMaps {

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
  // A form has hundreds of fields: their names are sorted first (through
  // pointers, so that nothing is moved; a stable sort keeps the first field
  // of a name first) and go into the map in that order, each beside the
  // one before.
  typedef std::pair<std::string, DataMgmt::FieldId> Named;
  std::vector<Named> named;
  named.reserve(formDesc->fieldIds().size());
  for (const DataMgmt::FieldId& id : formDesc->fieldIds()) {
    const DataMgmt::FormFieldDescPtr fieldDesc = formDesc->getFieldDesc(id);
    if (!fieldDesc.isNull()) named.emplace_back(fieldDesc->getSymbolicName(), id);
  }
  std::vector<Named*> order;
  order.reserve(named.size());
  for (Named& entry : named) order.push_back(&entry);
  std::stable_sort(order.begin(), order.end(),
                   [](const Named* a, const Named* b) { return a->first < b->first; });
  auto hint = fieldNames.end();
  for (Named* entry : order) {
    hint = std::next(fieldNames.emplace_hint(hint, std::move(entry->first), entry->second));
  }
}

bool isFieldOfForm(const DataMgmt::TaxReturn& taxReturn, const DataMgmt::FormId& form,
                   const DataMgmt::FieldId& field, const std::string& name) {
  const DataMgmt::TaxFormDescPtr formDesc = taxReturn.getTaxFormDescriptor(form);
  if (formDesc.isNull()) return false;
  const DataMgmt::FormFieldDescPtr fieldDesc = formDesc->getFieldDesc(field);
  return !fieldDesc.isNull() && fieldDesc->getSymbolicName() == name;
}

uint16_t copyNumberOf(const std::string& text) {
  errno = 0;
  const long number = std::strtol(text.c_str(), nullptr, 10);
  if (errno == ERANGE || number < 0 || number > UINT16_MAX) return 0;
  return static_cast<uint16_t>(number);
}

DataMgmt::FormFieldDescPtr fieldDescOf(const DataMgmt::TaxReturn& taxReturn, const DataMgmt::FormId& form,
                                       const DataMgmt::FieldId& field) {
  const DataMgmt::TaxFormDescPtr formDesc = taxReturn.getTaxFormDescriptor(form);
  return formDesc.isNull() ? DataMgmt::FormFieldDescPtr() : formDesc->getFieldDesc(field);
}

bool isNumberField(const DataMgmt::FormFieldDescPtr& fieldDesc) {
  return !fieldDesc.isNull() && !fieldDesc->isBoolean() && !fieldDesc->isText();
}

TestDataFormat::LineProblem valueProblem(const DataMgmt::TaxReturn& taxReturn, const DataMgmt::FormId& form,
                                         const DataMgmt::FieldId& field, const std::string& value) {
  if (!isNumberField(fieldDescOf(taxReturn, form, field))) return TestDataFormat::LineProblem::kStored;
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
