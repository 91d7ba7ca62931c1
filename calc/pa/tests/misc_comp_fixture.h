// Fixture of the miscellaneous-compensation worksheet tests: the engine over
// fixture returns, with helpers for the worksheet's rows and the federal
// Form 1099-MISC and 1099-R copies.
#ifndef CALC_PA_TESTS_MISC_COMP_FIXTURE_H_
#define CALC_PA_TESTS_MISC_COMP_FIXTURE_H_

#include <string>

#include "calc/state/tests/state_engine_fixture.h"
#include "catalogs/fields/fields.h"

class MiscCompTest : public StateEngineTest {
 protected:
  // The columns of a worksheet row, in form order.
  enum Column { kOwner, kLetter, kPayer, kDistCode, kAmount, kReduction, kPAAmount, kWithheld };
  // Row `row` (1 to 20) of column `column`.
  static const FieldId& cell(int row, Column column) {
    static const NamedColumn<PAMiscCompWorksheetFieldIds>* const kColumns[] = {
        &PAMiscCompWorksheet::kRowOwner,          &PAMiscCompWorksheet::kRowCodeLetter,
        &PAMiscCompWorksheet::kRowPayer,          &PAMiscCompWorksheet::kRowDistributionCode,
        &PAMiscCompWorksheet::kRowAmount,         &PAMiscCompWorksheet::kRowReduction,
        &PAMiscCompWorksheet::kRowPACompensation, &PAMiscCompWorksheet::kRowPAWithholding};
    return kColumns[column]->at(row - 1);
  }

  void setJoint() { mark(kFormID_PAReturnInfo, PAReturnInfo::kJointBox); }
  void reference(int row, const std::string& value, uint16_t copy = 1) {
    text(kFormID_PAMiscCompWorksheet, PAMiscCompWorksheet::kRowSourceReference.at(row - 1), value, copy);
  }
  std::string referenceText(int row, uint16_t copy = 1) {
    return textOf(kFormID_PAMiscCompWorksheet, PAMiscCompWorksheet::kRowSourceReference.at(row - 1), copy);
  }
  void calculate(uint16_t copy = 1) {
    engine->computeMiscCompWorksheet(holder(kFormID_PAMiscCompWorksheet, copy), copy, 0);
  }
  DataMgmt::TaxForm& sheet(uint16_t copy = 1) { return copyOf(kFormID_PAMiscCompWorksheet, copy); }
  double amount(const FieldId& field, uint16_t copy = 1) { return sheet(copy).getIR(field); }
  std::string cellText(int row, Column column) {
    return textOf(kFormID_PAMiscCompWorksheet, cell(row, column));
  }
  bool nullAndProtected(int row, Column column) {
    return sheet().isNull(cell(row, column)) && sheet().isProtected(cell(row, column));
  }

  // Federal copies; amounts in dollars are stored as hundredths.
  void miscCopy(uint16_t copy, double otherIncome, const std::string& otherCode, double nonemployee = 0,
                const std::string& nonemployeeCode = "") {
    number(kFormID_Fed1099Misc, Fed1099Misc::kOtherIncome, otherIncome * 100, copy);
    text(kFormID_Fed1099Misc, Fed1099Misc::kOtherIncomeCode, otherCode, copy);
    number(kFormID_Fed1099Misc, Fed1099Misc::kNonemployeeCompensation, nonemployee * 100, copy);
    text(kFormID_Fed1099Misc, Fed1099Misc::kNonemployeeCompensationCode, nonemployeeCode, copy);
  }
  void rCopy(uint16_t copy, double gross, const std::string& code) {
    number(kFormID_Fed1099R, Fed1099R::kGrossDistribution, gross * 100, copy);
    text(kFormID_Fed1099R, Fed1099R::kDistributionCode, code, copy);
  }
};

#endif  // CALC_PA_TESTS_MISC_COMP_FIXTURE_H_
