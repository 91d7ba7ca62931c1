// Audit rules of the PA miscellaneous compensation worksheet (state form
// 187, "PA Schedule MC" in the messages).
//
// The routine walks the twenty rows of the audited copy, counts the rows in
// use that lack a valid earner (column A, "T" or "S"), a valid earning type
// (column 2, one letter A to M), a payer name (column C), a total
// distribution (column E) or, where the distribution code of federal Form
// 1099-R box 7 opens it, a basis (column F), and then reports one message
// per kind, however many rows are at fault.
#include <string>

#include "audit/pa_rule_message.h"
#include "audit/pa_tax_form_auditor.h"
#include "catalogs/any_named_field.h"
#include "catalogs/fields/fields.h"
#include "identifiers/form_ids.h"

namespace PAAuditMgmt {

namespace {

using Column = NamedColumn<PAMiscCompWorksheetFieldIds>;

const uint16_t kMaxEFileCopies = 5;

// A row is in use when one of these holds a significant value.
const Column* const kInUseOrder[] = {
    &PAMiscCompWorksheet::kRowOwner,     &PAMiscCompWorksheet::kRowCodeLetter,
    &PAMiscCompWorksheet::kRowPayer,     &PAMiscCompWorksheet::kRowDistributionCode,
    &PAMiscCompWorksheet::kRowAmount,    &PAMiscCompWorksheet::kRowPACompensation,
    &PAMiscCompWorksheet::kRowReduction, &PAMiscCompWorksheet::kRowPAWithholding};

// Whether the whole text is one of the choices.
bool oneOf(const std::string& text, const char* const* choices) {
  for (; *choices != nullptr; ++choices) {
    if (text == *choices) return true;
  }
  return false;
}

const char* const kEarners[] = {"T", "t", "S", "s", nullptr};
const char* const kTypes[] = {"A", "a", "B", "b", "C", "c", "D", "d", "E",
                              "e", "F", "f", "G", "g", "H", "h", "I", "i",
                              "J", "j", "K", "k", "L", "l", "M", "m", nullptr};
// Distribution codes that open the basis column for entry.
const char* const kBasisCodes[] = {"1", "2", "J", "L", "S", nullptr};

// Counts of rows at fault, by kind.
struct RowFaults {
  int noEarner = 0;
  int noType = 0;
  int noPayer = 0;
  int noDistribution = 0;
  int noBasis = 0;
};

struct RowRule {
  AnyNamedField field;  // the field the message points at
  char code;
  const char* text;
};

// The code of each row rule comes with the rule (RowRule::code).
const RuleMessage kRowMessage = {kAuditPath, kClassBothAudits, 0, kNoNote};

const RowRule kEarnerRule = {
    {PAMiscCompWorksheet::kRowOwner, 0},
    6,
    "You must indicate who earned this item of income by entering T or S in column A."};
const RowRule kTypeRule = {
    {PAMiscCompWorksheet::kRowCodeLetter, 0},
    6,
    "You have either not entered an earning type for an item of your miscellaneous or "
    "non-employee compensation, or the type you entered is invalid. Enter a valid type by "
    "clicking Whole Form and entering in column 2 of the appropriate line, one of the following "
    "types: A, B, C, D, E, F, G, H, I, J, K, L or M. To see a description of each type, click "
    "Whole Form and scroll to the top of the Worksheet."};
const RowRule kDescriptionRule = {
    PAMiscCompWorksheet::kCodeHDescription, 6,
    "Enter the description of your Type H, other nonemployee compensation."};
const RowRule kPayerRule = {
    {PAMiscCompWorksheet::kRowPayer, 0},
    6,
    "For each item on this worksheet, you must enter the payer's name in column C. Since we "
    "calculate this field for you, it should only be blank if you either didn't enter a payer "
    "name on the corresponding federal form, or you cleared the field by overriding our entry "
    "without entering a new name. To fix this error, you should click Whole Form. Then "
    "right-click on the field in column C with the missing name and select Override. If the "
    "Override box is already checked, uncheck it and the payer name will appear in the field "
    "below. If the Override box is not checked, check it and enter the correct payer name."};
const RowRule kSecondCodeRule = {
    {PAMiscCompWorksheet::kRowDistributionCode, 0},
    7,
    "You entered a second distribution code in box 7 of one or more of your federal Forms "
    "1099-R. We've only carried the first distribution code to the Pennsylvania Miscellaneous "
    "Compensation Worksheet. You should check the entries in columns F and G to and make any "
    "necessary adjustments directly on the worksheet."};
const RowRule kDistributionRule = {
    {PAMiscCompWorksheet::kRowAmount, 0},
    6,
    "You must enter the total federal distribution for each item in column E. Since we "
    "calculate this field for you, it should only be blank if you cleared the field by "
    "overriding our entry without entering a new amount. To fix this error, click Whole Form. "
    "Then right-click on the field in column C with the missing amount and select Override. If "
    "the Override box is already checked, uncheck it and amount of the federal distributions "
    "will appear in the field below."};
const RowRule kBasisRule = {
    {PAMiscCompWorksheet::kRowReduction, 0},
    6,
    "The basis field in column F for 1 or more items open for your entry is blank. If, for any "
    "item, the field in column F is open for your entry, you must enter your basis in the plan "
    "from which you received the distribution. If your basis is zero, enter $ 0 in column F. If "
    "this distribution isn't taxable in Pennsylvania, enter the amount of the distribution from "
    "column E in column F."};

const RuleMessage kCopyLimitMessage = {kEFilePath, kClassRefusal, kCodeNoEFile, kStateOnlyNote};
const char kCopyLimitText[] = "More than 5 copies of PA Schedule MC are not allowed";

// Walks the rows of `copy` and counts the faults of the rows in use.
RowFaults countRowFaults(const DataMgmt::TaxReturn& pa, uint16_t copy) {
  RowFaults faults;
  const DataMgmt::FormId& form = kFormID_PAMiscCompWorksheet;
  auto text = [&](const Column& column, int row) {
    return pa.getFieldAsString(form, copy, column.at(row));
  };
  for (int row = 0; row < PAMiscCompWorksheet::kRowOwner.rows(); ++row) {
    bool inUse = false;
    for (const Column* column : kInUseOrder) {
      if (pa.hasSigValue(form, copy, column->at(row))) {
        inUse = true;
        break;
      }
    }
    if (!inUse) continue;
    if (!oneOf(text(PAMiscCompWorksheet::kRowCodeLetter, row), kTypes)) ++faults.noType;
    if (!oneOf(text(PAMiscCompWorksheet::kRowOwner, row), kEarners)) ++faults.noEarner;
    if (pa.isNull(form, copy, PAMiscCompWorksheet::kRowPayer.at(row))) ++faults.noPayer;
    if (pa.isNull(form, copy, PAMiscCompWorksheet::kRowAmount.at(row))) ++faults.noDistribution;
    if (pa.isNull(form, copy, PAMiscCompWorksheet::kRowReduction.at(row))) {
      if (oneOf(text(PAMiscCompWorksheet::kRowDistributionCode, row), kBasisCodes)) {
        ++faults.noBasis;
      }
    }
  }
  return faults;
}

}  // namespace

void PATaxFormAuditor::auditMiscCompensation(DataMgmt::TaxFormPtr /*formCopy*/,
                                             unsigned short copy) {
  const PADataMgmt::PATaxReturn& pa = *paReturn;
  const FormId& form = kFormID_PAMiscCompWorksheet;
  const RowFaults faults = countRowFaults(pa, copy);

  auto report = [&](const RowRule& rule, bool answer) {
    RuleMessage message = kRowMessage;
    message.code = rule.code;
    reportRule(*this, message, answer, form, copy, rule.field, rule.text);
  };
  report(kEarnerRule, faults.noEarner > 0);
  report(kTypeRule, faults.noType > 0);
  report(kDescriptionRule, pa.getIN(form, copy, PAMiscCompWorksheet::kCodeHCount) > 0 &&
                               !pa.hasSigValue(form, copy, PAMiscCompWorksheet::kCodeHDescription));
  report(kPayerRule, faults.noPayer > 0);
  report(kSecondCodeRule,
         pa.getAllCopies(form, PAMiscCompWorksheet::kSecondDistributionCodeCount) > 0);
  report(kDistributionRule, faults.noDistribution > 0);
  report(kBasisRule, faults.noBasis > 0);

  reportRule(*this, kCopyLimitMessage, copy > kMaxEFileCopies, form, copy, Primitives::kNullFieldID,
             kCopyLimitText);
}

}  // namespace PAAuditMgmt
