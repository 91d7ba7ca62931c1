// The engine's text test-data reader: loadInputTextFile reads lines of
// "FORM:copy:FIELD:value" into a return, and assignFieldFromText sets one
// field from a text whatever the field's kind. Every test-data reader of
// the engine writes its fields through assignFieldFromText. A number beyond
// TestDataFormat::kMaxAmount is refused, so no amount the host cannot hold
// enters a return. The text loader stores a line exactly as written or not
// at all: a line with a NUL byte, a copy part that is not a copy number the
// form can hold, or a number field's value that is not a plain number is
// left out (TestDataFormat::LineProblem).
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "calc/state/state_tax_return_calc_engine.h"
#include "host/descriptors.h"
#include "host/string_utils.h"
#include "host/tax_form.h"
#include "host/tax_return.h"
#include "testing/auto_test_files.h"
#include "testing/test_data_format.h"
#include "testing/test_data_maps.h"

namespace StateCalculationMgmt {
namespace {

const char kUntrue[] = "UNTRUE";
const char kCopyNumMarker[] = "[CopyNum]";

using TestDataFormat::kLineParts;
using TestDataFormat::scaleByEditCode;
using TestDataFormat::splitLine;

// Whether the line can be stored as written in a field of `fieldDesc`:
// its copy part names copies the form can hold and a number field's value
// is a number the host can hold. Fills `copies`.
bool storable(const std::string& line, const std::vector<std::string>& parts,
              const DataMgmt::TaxFormDesc& formDesc, const DataMgmt::FormFieldDescPtr& fieldDesc,
              TestDataFormat::CopyRange* copies) {
  using TestDataFormat::LineProblem;
  if (line.find('\0') != std::string::npos) return false;  // the text after it would be lost
  if (TestDataFormat::readCopyPart(parts[1], formDesc.getMaxCopies(), copies) != LineProblem::kStored) {
    return false;
  }
  const bool isNumber = !fieldDesc.isNull() && !fieldDesc->isBoolean() && !fieldDesc->isText();
  return !isNumber || TestDataFormat::checkAmountText(parts[3]) == LineProblem::kStored;
}

}  // namespace

void StateTaxReturnCalcEngine::loadInputTextFile(const std::string& path,
                                                 DataMgmt::TaxReturn* taxReturn) {
  if (taxReturn == nullptr) return;
  const DataMgmt::TaxReturnDescPtr returnDesc = taxReturn->getTaxReturnDesc();
  if (returnDesc.isNull()) return;

  FormNameMap formNames;
  TestDataMaps::addAllForms(*taxReturn, formNames);
  FieldNameMap fieldNames;
  std::set<std::string> formsMet;  // forms whose fields are in fieldNames

  for (const std::string& line : AutoTestFiles::readLines(path)) {
    const std::vector<std::string> parts = splitLine(line);
    if (parts.size() < kLineParts) continue;
    const std::string formName = Utils::OVStringUtils::toUpperCase(parts[0]);
    const std::string& fieldName = parts[2];
    const std::string& value = parts[3];

    const auto form = formNames.find(formName);
    if (form == formNames.end()) continue;
    const DataMgmt::TaxFormDescPtr formDesc = taxReturn->getTaxFormDescriptor(form->second);
    if (formDesc.isNull()) continue;
    if (formsMet.insert(formName).second) TestDataMaps::addFormFields(*taxReturn, form->second, fieldNames);
    const auto field = fieldNames.find("k" + formName + "_" + fieldName);
    if (field == fieldNames.end()) continue;

    // A line that cannot be stored exactly as written is left out whole.
    TestDataFormat::CopyRange copies{0, 0};
    if (!storable(line, parts, *formDesc, formDesc->getFieldDesc(field->second), &copies)) continue;
    for (unsigned c = copies.first; c <= copies.last; ++c) {
      assignFieldFromText(form->second, static_cast<uint16_t>(c), field->second, value, taxReturn,
                          false);
    }
  }
}

void StateTaxReturnCalcEngine::assignFieldFromText(const FormId& formId, uint16_t copy,
                                                   const FieldId& field, const std::string& value,
                                                   DataMgmt::TaxReturn* taxReturn,
                                                   bool onlyWithData) {
  if (taxReturn == nullptr) return;
  if (onlyWithData && taxReturn->noSigValue(formId, copy, field)) return;
  const DataMgmt::TaxFormDescPtr formDesc = taxReturn->getTaxFormDescriptor(formId);
  const DataMgmt::FormFieldDescPtr fieldDesc =
      formDesc.isNull() ? DataMgmt::FormFieldDescPtr() : formDesc->getFieldDesc(field);
  const bool isNumber = !fieldDesc.isNull() && !fieldDesc->isBoolean() && !fieldDesc->isText();
  const TestDataFormat::NumberValue number = TestDataFormat::readNumberValue(value);
  // An amount the host cannot hold is refused before anything changes.
  if (isNumber && !value.empty() && !TestDataFormat::acceptsAmount(number.number)) return;

  DataMgmt::TaxFormPtr form = taxReturn->getFormOrCreate(formId, copy);
  if (form.isNull()) return;  // copy 0, a copy past the limit or a form of the other side

  if (value.empty()) {
    form->setNull(field);
    taxReturn->setDataEntered(formId, copy, true, true);
    return;
  }
  if (fieldDesc.isNull()) return;  // the form has no such field
  const unsigned char editCode = fieldDesc->getValidator().getEditCode();

  if (fieldDesc->isBoolean()) {
    // Any text but "untrue" and the explicit No marks the box, "No" included.
    const std::string upper = Utils::OVStringUtils::toUpperCase(value);
    if (upper == kUntrue) {
      form->setNull(field);
      return;
    }
    if (upper == TestDataFormat::kExplicitNo) {
      form->setXNo(field);
    } else if (editCode == 1) {
      form->setYes(field);
    } else {
      form->setX(field);
    }
  } else if (fieldDesc->isText()) {
    std::string text = value;
    const size_t marker = text.find(kCopyNumMarker);
    if (marker != std::string::npos) text = text.substr(0, marker) + std::to_string(copy);
    form->assignText(field, text.c_str());
  } else {
    double amount = scaleByEditCode(number.number, editCode);
    // RAND(n): scaled by the generator's own maximum, so the share never exceeds 1.
    if (number.random) amount = std::rand() / static_cast<double>(RAND_MAX) * amount;
    form->assignIR(field, amount);
  }
  taxReturn->setDataEntered(formId, copy, true, true);
}

}  // namespace StateCalculationMgmt
