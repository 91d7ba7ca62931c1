// The engine's text test-data reader: loadInputTextFile reads lines of
// "FORM:copy:FIELD:value" into a return, and assignFieldFromText sets one
// field from a text whatever the field's kind. Every test-data reader of
// the engine writes its fields through assignFieldFromText, which holds the
// one rule of what a number field takes (TestDataFormat::readAmount): a
// value that is not a plain number, or lies beyond
// TestDataFormat::kMaxAmount, changes nothing. The text loader stores a
// line exactly as written or not at all: a line with a NUL byte, a copy
// part that is not a copy number the form can hold, or a number field's
// value that is not a plain number is left out, and while a hook runs
// every line left out is written to the hooks' report with its number and
// the reason. A file that cannot be read whole (a read fails) loads
// nothing and is reported.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "calc/state/state_tax_return_calc_engine.h"
#include "host/descriptors.h"
#include "host/io.h"
#include "host/string_utils.h"
#include "host/tax_form.h"
#include "host/tax_return.h"
#include "testing/auto_test_files.h"
#include "testing/auto_test_report.h"
#include "testing/test_data_format.h"
#include "testing/test_data_maps.h"

namespace StateCalculationMgmt {
namespace {

const char kUntrue[] = "UNTRUE";
const char kCopyNumMarker[] = "[CopyNum]";

using TestDataFormat::LineProblem;

bool isComment(const std::string& line) {
  const std::size_t first = line.find_first_not_of(" \t");
  return first == std::string::npos || line[first] == '#';
}

// One run of loadInputTextFile over a return. A line's form is found by
// its upper-cased name among the forms of the return's description, and
// its field by the symbolic name "k" + FORM + "_" + FIELD among the fields
// of that form (the first of a name, as in the readers' name maps); the
// host's descriptors answer both from their own tables, so nothing is
// built for a run.
class TextLoad {
 public:
  TextLoad(StateTaxReturnCalcEngine& engine, DataMgmt::TaxReturn& taxReturn)
      : engine_(engine), taxReturn_(taxReturn), returnDesc_(taxReturn.getTaxReturnDesc()) {}

  // Stores the line; why it is left out, "" when it is stored.
  std::string load(const std::string& line) {
    if (line.find('\0') != std::string::npos) return AutoTestReport::problemText(LineProblem::kNulByte);
    const std::vector<std::string> parts = TestDataFormat::splitLine(line);
    if (parts.size() < TestDataFormat::kLineParts) return "fewer than four parts (FORM:copy:FIELD:value)";
    const std::string formName = Utils::OVStringUtils::toUpperCase(parts[0]);
    const FormId form = returnDesc_->findFormNamed(formName);
    const DataMgmt::TaxFormDescPtr formDesc =
        form.isValid() ? returnDesc_->getTaxFormDescriptor(form) : DataMgmt::TaxFormDescPtr();
    if (formDesc.isNull()) return "no such form";
    const FieldId field = formDesc->findFieldNamed("k" + formName + "_" + parts[2]);
    if (!field.isValid()) return "no such field of the form";

    TestDataFormat::CopyRange copies{0, 0};
    LineProblem problem = TestDataFormat::readCopyPart(parts[1], formDesc->getMaxCopies(), &copies);
    if (problem == LineProblem::kStored) problem = TestDataMaps::valueProblem(taxReturn_, form, field, parts[3]);
    if (problem != LineProblem::kStored) return AutoTestReport::problemText(problem);
    for (unsigned c = copies.first; c <= copies.last; ++c) {
      engine_.assignFieldFromText(form, static_cast<uint16_t>(c), field, parts[3], &taxReturn_, false);
    }
    return "";
  }

 private:
  StateTaxReturnCalcEngine& engine_;
  DataMgmt::TaxReturn& taxReturn_;
  const DataMgmt::TaxReturnDescPtr returnDesc_;
};

// Loads `lines` into the return; a line left out is reported as line N
// of `source`, and so is each line whose number `tooLong` lists (in
// rising order), which was too long to read.
void loadLines(StateTaxReturnCalcEngine& engine, const std::vector<std::string>& lines,
               const std::vector<long>& tooLong, const std::string& source, DataMgmt::TaxReturn* taxReturn) {
  if (taxReturn == nullptr || taxReturn->getTaxReturnDesc().isNull()) return;
  TextLoad load(engine, *taxReturn);
  auto nextTooLong = tooLong.begin();
  for (std::size_t k = 0; k < lines.size(); ++k) {
    const long number = static_cast<long>(k + 1);
    std::string reason;
    if (nextTooLong != tooLong.end() && *nextTooLong == number) {
      ++nextTooLong;
      reason = "longer than " + std::to_string(IOMgmt::kMaxLineLength) + " bytes";
    } else if (!isComment(lines[k])) {
      reason = load.load(lines[k]);
    }
    if (!reason.empty()) AutoTestReport::add(source + " line " + std::to_string(number) + ": " + reason);
  }
}

}  // namespace

void StateTaxReturnCalcEngine::loadInputTextFile(const std::string& path,
                                                 DataMgmt::TaxReturn* taxReturn) {
  if (taxReturn == nullptr || taxReturn->getTaxReturnDesc().isNull()) return;
  std::vector<long> tooLong;
  std::string why;
  const std::vector<std::string> lines = AutoTestFiles::readLines(path, &tooLong, &why);
  if (!why.empty()) AutoTestReport::fileNotRead(path, why);
  loadLines(*this, lines, tooLong, path, taxReturn);
}

void StateTaxReturnCalcEngine::loadInputLines(const std::vector<std::string>& lines,
                                              DataMgmt::TaxReturn* taxReturn) {
  loadLines(*this, lines, {}, "test data", taxReturn);
}

void StateTaxReturnCalcEngine::assignFieldFromText(const FormId& formId, uint16_t copy,
                                                   const FieldId& field, const std::string& value,
                                                   DataMgmt::TaxReturn* taxReturn,
                                                   bool onlyWithData) {
  if (taxReturn == nullptr) return;
  if (onlyWithData && taxReturn->noSigValue(formId, copy, field)) return;
  // The field's kind and edit code, as its descriptor tells them.
  const DataMgmt::FieldTraits traits = TestDataMaps::traitsOf(*taxReturn, formId, field);
  // A number field takes a plain number the host can hold, or nothing.
  TestDataFormat::Amount number;
  if (TestDataMaps::isNumberField(traits) &&
      TestDataFormat::readAmount(value, &number) != LineProblem::kStored) {
    return;
  }

  DataMgmt::TaxFormPtr form = taxReturn->getFormOrCreate(formId, copy);
  if (form.isNull()) return;  // copy 0, a copy past the limit or a form of the other side

  if (value.empty()) {
    form->setNull(field);
    taxReturn->setDataEntered(formId, copy, true, true);
    return;
  }
  if (!traits.known) return;  // the form has no such field
  const unsigned char editCode = traits.editCode;

  if (traits.isBoolean()) {
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
  } else if (traits.isText()) {
    std::string text = value;
    const size_t marker = text.find(kCopyNumMarker);
    if (marker != std::string::npos) text = text.substr(0, marker) + std::to_string(copy);
    form->assignText(field, text.c_str());
  } else {
    double amount = TestDataFormat::scaleByEditCode(number.number, editCode);
    // RAND(n): scaled by the generator's own maximum, so the share never exceeds 1.
    if (number.random) amount = std::rand() / static_cast<double>(RAND_MAX) * amount;
    form->assignIR(field, amount);
  }
  taxReturn->setDataEntered(formId, copy, true, true);
}

}  // namespace StateCalculationMgmt
