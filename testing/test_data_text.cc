// The engine's text test-data reader: loadInputTextFile reads lines of
// "FORM:copy:FIELD:value" into a return, and assignFieldFromText sets one
// field from a text whatever the field's kind. Every test-data reader of
// the engine writes its fields through assignFieldFromText. A number beyond
// TestDataFormat::kMaxAmount is refused, so no amount the host cannot hold
// enters a return.
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

// The copy part of a line: a decimal number, with a trailing "+" meaning
// every copy from 1 up to it. Numbers beyond a copy number's range are
// clamped, so they can never wrap round to another copy.
struct CopyPart {
  long number;
  bool upTo;
};

CopyPart readCopyPart(std::string text) {
  CopyPart part{0, false};
  if (!text.empty() && text.back() == '+') {
    text.pop_back();
    part.upTo = true;
  }
  const long number = std::strtol(text.c_str(), nullptr, 10);
  part.number = number < 0 ? 0 : (number > UINT16_MAX ? long(UINT16_MAX) + 1 : number);
  return part;
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
    const CopyPart copy = readCopyPart(parts[1]);
    const std::string& fieldName = parts[2];
    const std::string& value = parts[3];

    const auto form = formNames.find(formName);
    if (form == formNames.end()) continue;
    const DataMgmt::TaxFormDescPtr formDesc = taxReturn->getTaxFormDescriptor(form->second);
    if (formDesc.isNull()) continue;
    if (formsMet.insert(formName).second) TestDataMaps::addFormFields(*taxReturn, form->second, fieldNames);
    const auto field = fieldNames.find("k" + formName + "_" + fieldName);
    if (field == fieldNames.end()) continue;

    if (copy.upTo) {
      // Copies past the form's limit cannot be made, so the walk stops there.
      const long last = std::min<long>(copy.number, formDesc->getMaxCopies());
      for (long c = 1; c <= last; ++c) {
        assignFieldFromText(form->second, static_cast<uint16_t>(c), field->second, value,
                            taxReturn, false);
      }
    } else if (copy.number <= UINT16_MAX) {
      assignFieldFromText(form->second, static_cast<uint16_t>(copy.number), field->second, value,
                          taxReturn, false);
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
