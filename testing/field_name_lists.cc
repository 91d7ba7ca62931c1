// The field-name lists the PA automated-test driver writes (every field of
// every form, or every field of one form), one symbolic name a line, and
// the name maps they are looked up in.
#include <fstream>
#include <string>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/fields/fields.h"
#include "host/descriptors.h"
#include "host/string_utils.h"
#include "identifiers/form_ids.h"
#include "testing/auto_test_boxes.h"
#include "testing/auto_test_files.h"
#include "testing/test_data_maps.h"

namespace PACalculationMgmt {
namespace {

void writeFieldNamesOf(std::ostream& out, const DataMgmt::TaxReturn& taxReturn, const DataMgmt::FormId& form) {
  const DataMgmt::TaxFormDescPtr formDesc = taxReturn.getTaxFormDescriptor(form);
  if (formDesc.isNull()) return;
  for (const DataMgmt::FieldId& id : formDesc->fieldIds()) {
    const DataMgmt::FormFieldDescPtr fieldDesc = formDesc->getFieldDesc(id);
    if (!fieldDesc.isNull()) out << fieldDesc->getSymbolicName() << "\n";
  }
  out.flush();
}

}  // namespace

void PATaxReturnCalcEngine::writeAllFieldNames(const std::string& fileName, const std::string& directory) {
  if (paReturn == nullptr) return;
  std::ofstream out;
  const std::string path = AutoTestFiles::fileInFolder(directory, fileName);
  AutoTestFiles::openOutput(path, false, out);
  const DataMgmt::TaxReturnDescPtr returnDesc = paReturn->getTaxReturnDesc();
  if (!returnDesc.isNull()) {
    for (const DataMgmt::TaxFormDescPtr& form : returnDesc->getTaxFormDescriptorsInDisplayOrder()) {
      writeFieldNamesOf(out, *paReturn, form->getTypeID());
    }
  }
  AutoTestFiles::closeOutput(out, path);
  AutoTestBoxes::mark(paReturn, kFormID_PAReturnInfo, PAReturnInfo::kAutoTestDoneBox);
}

void PATaxReturnCalcEngine::writeFormFieldNames(const std::string& formName, const std::string& fileName,
                                                const std::string& directory) {
  if (paReturn == nullptr) return;
  std::ofstream out;
  const std::string path = AutoTestFiles::fileInFolder(directory, fileName);
  AutoTestFiles::openOutput(path, false, out);
  StateCalculationMgmt::FormNameMap formNames;
  StateCalculationMgmt::FieldNameMap fieldNames;
  buildAutoTestNameMaps(formNames, fieldNames);
  // A name of no form gives an empty list.
  const auto form = formNames.find(Utils::OVStringUtils::toUpperCase(formName));
  if (form != formNames.end()) writeFieldNamesOf(out, *paReturn, form->second);
  AutoTestFiles::closeOutput(out, path);
  AutoTestBoxes::mark(paReturn, kFormID_PAReturnInfo, PAReturnInfo::kAutoTestDoneBox);
}

void PATaxReturnCalcEngine::buildAutoTestNameMaps(StateCalculationMgmt::FormNameMap& formNames,
                                                  StateCalculationMgmt::FieldNameMap& fieldNames) {
  if (paReturn == nullptr) return;
  const DataMgmt::TaxReturnDescPtr returnDesc = paReturn->getTaxReturnDesc();
  if (returnDesc.isNull()) return;
  for (const DataMgmt::TaxFormDescPtr& form : returnDesc->getTaxFormDescriptors()) {
    formNames.emplace(Utils::OVStringUtils::toUpperCase(form->getDevName()), form->getTypeID());
    TestDataMaps::addFormFields(*paReturn, form->getTypeID(), fieldNames);
  }
}

}  // namespace PACalculationMgmt
