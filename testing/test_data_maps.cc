// Name maps and copy numbers of the test-data readers.
#include "testing/test_data_maps.h"

#include <cerrno>
#include <cstdlib>

#include "host/descriptors.h"
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
  for (const DataMgmt::FieldId& id : formDesc->fieldIds()) {
    const DataMgmt::FormFieldDescPtr fieldDesc = formDesc->getFieldDesc(id);
    if (!fieldDesc.isNull()) fieldNames.emplace(fieldDesc->getSymbolicName(), id);
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

}  // namespace TestDataMaps
