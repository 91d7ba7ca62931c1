// The records behind the interest and dividend display lines, and the
// filling of one display line.

#include "calc/state/int_div_display.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "calc/state/state_tax_return_calc_engine.h"
#include "host/descriptors.h"
#include "host/form_field.h"
#include "host/orvane_exception.h"
#include "host/rounding.h"
#include "host/tax_form.h"
#include "host/tax_return.h"

namespace StateCalculationMgmt {

const IntDivLineType kIntDivLineTypes[kIntDivLineTypeCount] = {
    {kNoLineType, "", 0},
    {kSourceHeaderLine, "", 0},
    {kRegularInterestLine, "- Regular Interest", 1},
    {kUSObligationsLine, "- U.S. Obligations", 2},
    {kInterestInStateLine, "- Muni Bonds - In State", 3},
    {kInterestOutOfStateLine, "- Muni Bonds - Out of State", 4},
    {kRegularDividendsLine, "- Regular Dividends", 1},
    {kDividendsInStateLine, "- Muni Bond Fund - In State", 3},
    {kDividendsOutOfStateLine, "- Muni Bond Fund - Out of State", 4},
    {kRestrictedStockLine, "- Restricted Stock", 0},
};

const char* const kIntDivRecordFormat = "%s||%d||%d||%d";

const char* const kIntDivOwnerTexts[3] = {"T", "S", "J"};

namespace {

const char kClassName[] = "StateTaxReturnCalcEngine";
const char kSeparator[] = "||";

// The leading decimal number of `text`, clamped to the range of int.
int leadingNumber(const char* text) {
  const long value = std::strtol(text, nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

// An iterator over the copy's fields standing on `field`; at the end when
// the form has no such field.
DataMgmt::OVFieldIDIter fieldsAt(const TaxFormPtr& copy, const FieldId& field) {
  const DataMgmt::TaxFormDescPtr desc = copy->getTaxFormDescriptor();
  if (!desc) return DataMgmt::OVFieldIDIter();
  DataMgmt::OVFieldIDIter it = desc->getFieldIDs();
  it = field;
  return it;
}

// The field `offset` positions from `line`; none when `line` is at the end.
FieldId offsetField(const DataMgmt::OVFieldIDIter& line, int offset) {
  if (line.atEOL()) return Primitives::kNullFieldID;
  return (line + offset).getID();
}

}  // namespace

void StateTaxReturnCalcEngine::setIntDivInfo(TaxFormPtr summaryCopy, const FieldId& recordField,
                                             const char* description, FormId source, uint16_t copy,
                                             int lineType) {
  char storedDescription[kIntDivDescriptionSize];
  FormId storedSource;
  uint16_t storedCopy = 0;
  int storedType = 0;
  getIntDivInfo(summaryCopy, recordField, storedDescription, storedSource, &storedCopy, &storedType);

  if (description != nullptr && description[0] != '\0') {
    std::snprintf(storedDescription, sizeof storedDescription, "%s", description);
  }
  if (source.getNumber() > 0) {
    if (source.isStateForm()) {
      throw Exceptions::OrvaneException("FedFormId > First StateForm", kClassName, "setIntDivInfo");
    }
    storedSource = source;
  }
  if (copy != 0) storedCopy = copy;
  if (lineType >= kIntDivLineTypeCount) {
    throw Exceptions::OrvaneException("LineType out of range", kClassName, "setIntDivInfo");
  }
  if (lineType >= 1) storedType = lineType;

  if (!summaryCopy) return;
  // The description is cut to kIntDivDescriptionMax, so that the numbers
  // always fit and a stored description reads back as it was cut.
  char record[kIntDivRecordSize];
  char cut[kIntDivDescriptionMax + 1];
  std::snprintf(cut, sizeof cut, "%.*s", kIntDivDescriptionMax, storedDescription);
  std::snprintf(record, sizeof record, kIntDivRecordFormat, cut, storedSource.getNumber(),
                static_cast<int>(storedCopy), storedType);
  summaryCopy->assignText(recordField, record);
}

void StateTaxReturnCalcEngine::getIntDivInfo(TaxFormPtr summaryCopy, const FieldId& recordField,
                                             char* description, FormId& source, uint16_t* copy,
                                             int* lineType) {
  description[0] = '\0';
  source = FormId();
  *copy = 0;
  *lineType = 0;
  if (!summaryCopy) return;

  // Only the first kIntDivRecordSize characters of the field make the record.
  char text[128];
  summaryCopy->valueString(text, recordField, FormId());
  text[kIntDivRecordSize] = '\0';

  const char* first = std::strstr(text, kSeparator);
  if (first == nullptr) return;
  std::snprintf(description, kIntDivDescriptionSize, "%.*s", static_cast<int>(first - text), text);
  const char* sourceText = first + 2;
  const char* second = std::strstr(sourceText, kSeparator);
  if (second == nullptr) return;
  source = FormId(leadingNumber(sourceText));
  const char* copyText = second + 2;
  const char* third = std::strstr(copyText, kSeparator);
  if (third == nullptr) return;
  *copy = static_cast<uint16_t>(leadingNumber(copyText));
  *lineType = static_cast<int16_t>(leadingNumber(third + 2));
}

void StateTaxReturnCalcEngine::clearDisplayLine(TaxFormPtr summaryCopy, const FieldId& lineStart,
                                                bool clearLabel, bool protectAmounts) {
  if (!summaryCopy) return;
  const DataMgmt::OVFieldIDIter line = fieldsAt(summaryCopy, lineStart);
  if (line.atEOL()) return;
  const DisplayLineOffsets& layout = DisplayLineLayout;
  if (layout.ownerColumn == DisplayLineOffsets::kHasOwnerField) summaryCopy->setNull(offsetField(line, -1));
  summaryCopy->setNull(offsetField(line, layout.headerAmountOffset));
  summaryCopy->setNull(offsetField(line, layout.columnOffset));
  if (clearLabel) summaryCopy->setNull(offsetField(line, layout.labelOffset));
  if (protectAmounts) {
    const FieldId amount = offsetField(line, layout.amountOffset);
    const FieldId stateAmount = offsetField(line, layout.stateAmountOffset);
    summaryCopy->makeProtected(amount);
    summaryCopy->makeProtected(stateAmount);
    summaryCopy->setNull(amount);
    summaryCopy->setNull(stateAmount);
  }
}

void StateTaxReturnCalcEngine::fillDisplayLine(TaxFormPtr summaryCopy, const FormId& summaryForm, uint16_t copy,
                                               DataMgmt::OVFieldIDIter& line, int lineType, const char* label,
                                               double amount, double regular, double usObligations,
                                               double inStateLimit, double inState, double outOfState,
                                               int residencyChoice, int protectAmounts, int owner,
                                               uint16_t filingStatus) {
  if (!summaryForm.isStateForm()) {
    throw Exceptions::OrvaneException("Invalid State FormID", kClassName, "fillDisplayLine");
  }
  if (!summaryCopy) return;
  if (lineType < 1 || lineType >= kIntDivLineTypeCount) {
    clearDisplayLine(summaryCopy, line, true, true);
    return;
  }
  const DisplayLineOffsets& layout = DisplayLineLayout;
  const bool hasOwner = layout.ownerColumn == DisplayLineOffsets::kHasOwnerField;
  const int totalsOwner = hasOwner ? owner : 0;
  const IntDivLineType& type = kIntDivLineTypes[lineType];
  const FieldId labelField = offsetField(line, layout.labelOffset);
  const FieldId columnField = offsetField(line, layout.columnOffset);
  const FieldId amountField = offsetField(line, layout.amountOffset);
  const FieldId stateAmountField = offsetField(line, layout.stateAmountOffset);
  double* totals = nullptr;  // the taxpayer total of the line's column; the spouse's follows
  double value = 0;

  switch (lineType) {
    case kSourceHeaderLine: {
      clearDisplayLine(summaryCopy, line, false, true);
      summaryCopy->assignIR(offsetField(line, layout.headerAmountOffset), amount);
      if (hasOwner) {
        const char* ownerText = owner >= 0 && owner <= 2 ? kIntDivOwnerTexts[owner] : kIntDivOwnerTexts[2];
        summaryCopy->assignText(offsetField(line, -1), isJointFiling(filingStatus) ? ownerText : "T");
      }
      char current[128];
      stateReturn->formString(current, summaryForm, copy, labelField);
      const char* wanted = label != nullptr ? label : "";
      if (std::strcmp(current, wanted) != 0) summaryCopy->assignText(labelField, wanted);
      break;
    }
    case kRegularInterestLine:
    case kRegularDividendsLine:
      clearDisplayLine(summaryCopy, line, false, true);
      summaryCopy->assignText(labelField, type.label);
      summaryCopy->assignIR(columnField, type.column);
      value = regular;
      copyNumberField(summaryForm, copy, stateAmountField, value, 0);
      summaryCopy->assignIR(amountField, value);
      totals = &ownerTotals[0];
      break;
    case kUSObligationsLine:
      clearDisplayLine(summaryCopy, line, false, true);
      summaryCopy->assignText(labelField, type.label);
      summaryCopy->assignIR(columnField, type.column);
      summaryCopy->zero(stateAmountField);
      value = usObligations;
      copyNumberField(summaryForm, copy, amountField, value, 0);
      totals = &ownerTotals[2];
      break;
    case kInterestInStateLine:
    case kDividendsInStateLine:  // a part-year or nonresident filer enters it
      summaryCopy->assignText(labelField, type.label);
      if (residencyChoice == kChoiceFullYearResident) {
        clearDisplayLine(summaryCopy, line, false, true);
        value = inState;
        copyNumberField(summaryForm, copy, amountField, value, 0);
        summaryCopy->zero(stateAmountField);
      } else {
        clearDisplayLine(summaryCopy, line, false, protectAmounts != 0);
        // What the line held while the calculation wrote it (a full-year
        // resident's amount, or another line's before the lines moved) is
        // no entry of the filer's.
        summaryCopy->unprotectAndMaybeSetNull(amountField);
        summaryCopy->minIR(amountField, amountField, inStateLimit);
        summaryCopy->zero(stateAmountField);
        value = summaryCopy->getIR(amountField);
      }
      summaryCopy->assignIR(columnField, type.column);
      totals = &ownerTotals[4];
      break;
    case kInterestOutOfStateLine:
    case kDividendsOutOfStateLine:
      summaryCopy->assignText(labelField, type.label);
      if (residencyChoice == kChoiceFullYearResident) {
        clearDisplayLine(summaryCopy, line, false, true);
        value = outOfState;
        copyNumberField(summaryForm, copy, amountField, value, 0);
        copyNumberField(summaryForm, copy, stateAmountField, value, 0);
      } else {
        clearDisplayLine(summaryCopy, line, false, protectAmounts != 0);
        const double previous = summaryCopy->getIR(offsetField(line, layout.amountOffset - layout.lineStride));
        summaryCopy->assignIR(amountField, amount - regular - usObligations - previous);
        summaryCopy->assignII(stateAmountField, amountField);
        value = summaryCopy->getIR(stateAmountField);
      }
      summaryCopy->assignIR(columnField, type.column);
      totals = &ownerTotals[6];
      break;
    case kRestrictedStockLine:
      clearDisplayLine(summaryCopy, line, false, true);
      summaryCopy->assignText(labelField, type.label);
      summaryCopy->setNull(columnField);
      summaryCopy->zero(stateAmountField);
      summaryCopy->assignIR(amountField, amount);
      break;
  }
  if (totals != nullptr) addToOwnerTotals(totalsOwner, totals, totals + 1, value, filingStatus);
  line += layout.lineStride;
}

void addToOwnerTotals(int owner, double* taxpayerTotal, double* spouseTotal, double amount,
                      uint16_t filingStatus) {
  if (amount <= 0 || taxpayerTotal == nullptr || spouseTotal == nullptr) return;
  if (owner == 0) {
    *taxpayerTotal += amount;
  } else if (owner == 1) {
    *spouseTotal += amount;
  } else if (StateTaxReturnCalcEngine::isJointFiling(filingStatus)) {
    const double half = static_cast<double>(Utils::roundR(amount * 0.5));
    *taxpayerTotal += half;
    *spouseTotal += amount - half;
  } else {
    *taxpayerTotal += amount;
  }
}

}  // namespace StateCalculationMgmt
