// Whole returns loaded from test-data lines and calculated by the driver:
// one calculation is final, and entries loaded with a fresh return come
// out as they do when typed into the already calculated return.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "calc/pa/tests/driver_fixture.h"
#include "host/descriptors.h"

namespace {

typedef std::vector<std::string> Lines;
typedef std::map<std::string, std::string> Fields;

// The sample return of examples/ (joint, full-year residents, two W-2s,
// interest and dividends; tax 2,833) less its federal common items, which
// the fixture sets.
Lines sampleReturn() {
  std::ifstream in(PA_EXAMPLES_DIR "/sample_return.txt");
  Lines lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line[0] != '#' && line.rfind("FEDCOMMON:", 0) != 0) lines.push_back(line);
  }
  return lines;
}
const Lines kSample = sampleReturn();

Lines operator+(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class WholeReturnTest : public DriverTest {
 protected:
  void SetUp() override {
    DriverTest::SetUp();
    engine->calculate = true;
    federal()->setCommonItem(0, 1, 2);  // joint
    federal()->setStateWages(52000, 38500);
    federal()->setAllStateWages(52000, 38500);
  }
  // Fresh returns for the next step of a test.
  void restart() {
    TearDown();
    SetUp();
  }

  // Loads the lines into the PA return, and into the federal return too
  // when `federalToo`, as a return file is loaded; the state tax withheld
  // is `withheld`.
  void load(const Lines& lines, double withheld, bool federalToo = true) {
    federal()->setStateTaxWithheldNoLocal(withheld);
    // One file a process: the tests may run side by side.
    const std::string path = ::testing::TempDir() + "whole_return_" + std::to_string(getpid()) + ".txt";
    {
      std::ofstream out(path);
      for (const std::string& line : lines) out << line << "\n";
    }
    if (federalToo) engine->loadInputTextFile(path, federal());
    engine->loadInputTextFile(path, pa.get());
    std::remove(path.c_str());
  }
  // One calculation; the probe keeps the copies it calculated.
  void calculate() {
    engine->forms.clear();
    engine->calcReturn(0);
  }
  // The last calculation calculated each further copy of the PA W-2 and of
  // the deductions schedule once, the PA W-2's before copy 1's second run:
  // within its first, ahead of its carry of the withholding's rounding.
  void expectFurtherCopiesCalculatedOnce() {
    for (const FormId* form : {&kFormID_PAW2, &kFormID_PADeductions}) {
      std::vector<int> copies;  // as calculated, in order
      for (const FormCopyCall& call : engine->forms) {
        if (call.form == form->getNumber()) copies.push_back(call.copy);
      }
      const bool w2 = *form == kFormID_PAW2 && !copies.empty();
      const auto copy1Again = w2 ? std::find(copies.begin() + 1, copies.end(), 1) : copies.end();
      for (int c = 2; c <= pa->getMaxCopies(*form); ++c) {
        EXPECT_EQ(std::count(copies.begin(), copies.end(), c), 1) << form->getNumber() << "/" << c;
        EXPECT_NE(std::find(copies.begin(), copy1Again, c), copy1Again) << form->getNumber() << "/" << c;
      }
    }
  }

  // Every PA field that holds a value or is protected, by form/copy/field;
  // with `only`, the fields of that form alone.
  Fields fields(const FormId* only = nullptr) {
    Fields all;
    for (const DataMgmt::TaxFormDescPtr& desc : pa->getTaxReturnDesc()->getTaxFormDescriptors()) {
      if (only != nullptr && !(desc->getTypeID() == *only)) continue;
      for (DataMgmt::TaxFormIter it = pa->getForms(desc->getTypeID()); !it.atEOL(); it.next()) {
        DataMgmt::TaxFormPtr copy = it.getTaxForm();
        for (const FieldId& id : desc->fieldIds()) {
          const DataMgmt::FieldValue& v = copy->stored(id);
          if (v.kind == DataMgmt::FieldValue::kNull && !v.isProtected) continue;
          std::ostringstream key, value;
          key << desc->getTypeID().getNumber() << "/" << copy->getCopyNumber() << "/" << id.getNumber();
          value << v.kind << " " << v.number << " " << v.text << (v.isProtected ? " protected" : "");
          all[key.str()] = value.str();
        }
      }
    }
    return all;
  }
  double pa40(const FieldId& field) { return pa->getIR(kFormID_PA40, 1, field); }
};

// An extension payment of 100 besides the withholding (its yes box opens
// it).
const Lines kPaymentOf100 = {"PARETURNINFO:1:F102:X", "PARETURNINFO:1:F90:100"};
// Withholding 2,000 leaves 833 of the tax unpaid, which opens the penalty;
// an extension payment of 1,500 still leaves an overpayment.
const Lines kPaymentOf1500 = {"PARETURNINFO:1:F102:X", "PARETURNINFO:1:F90:1500"};
const Lines kCreditAndDesignations = {"PA40:1:F253:150", "PA40:1:F258:5", "PA40:1:F254:3"};
const Lines kPenalty = {"PA40:1:F356:X", "PA40:1:F357:UNTRUE", "PA40:1:F267:32"};

// The information form's early PA-40 run sees no tax and only the
// extension payment, the driver's first runs no compensation or resident
// credit.
// None of them may cap or clear what the user typed into the PA-40, whose
// fields come out as when the entries are typed into the calculated return.
TEST_F(WholeReturnTest, EntriesOfAFreshReturnComeOutAsTypedIntoTheCalculatedReturn) {
  const struct {
    Lines base;
    double withheld;
    Lines typed;
    std::vector<std::pair<const FieldId*, double>> lines;  // PA-40 field, amount
  } kCases[] = {
      // Credit to the estimated account 150 (once cut to 100): refund 9.
      {kSample + kPaymentOf100, 2900, kCreditAndDesignations,
       {{&PA40::kOverpayment.id(), 167}, {&PA40::kEstimatedAccountCredit.id(), 150},
        {&PA40::kTotalRefundDonations.id(), 8}, {&PA40::kRefund.id(), 9}}},
      // Designations 5 and 3 (once nulled) off an overpayment of 167.
      {kSample, 3000, {"PA40:1:F258:5", "PA40:1:F254:3"},
       {{&PA40::kRefundDonationA.id(), 5}, {&PA40::kRefundDonationB.id(), 3},
        {&PA40::kTotalRefundDonations.id(), 8}, {&PA40::kRefund.id(), 159}}},
      // Penalty 32 with its box (once nulled and reset).
      {kSample + kPaymentOf1500, 2000, kPenalty,
       {{&PA40::kPenaltiesInterest.id(), 32}, {&PA40::kOverpayment.id(), 635}, {&PA40::kRefund.id(), 635}}},
      // A reduction of compensation (once nulled) and a use tax credit cut
      // to the estimated use tax of the final gross taxable income, 32.
      {kSample, 2778.35,
       {"PA40:1:F36518:500", "PA40:1:F131106:X", "PA40:1:F131107:UNTRUE", "PA40:1:F131109:40"},
       {{&PA40::kTaxpayerMilitaryPay.id(), 500}, {&PA40::kEstimatedUseTax.id(), 32},
        {&PA40::kUseTaxCredit.id(), 32}, {&PA40::kNetCompensation.id(), 90000}}},
  };
  for (const auto& c : kCases) {
    restart();
    load(c.base + c.typed, c.withheld);
    calculate();
    for (const auto& line : c.lines) EXPECT_EQ(pa40(*line.first), line.second) << line.first->getNumber();
    const Fields fresh = fields(&kFormID_PA40);

    restart();
    load(c.base, c.withheld);
    calculate();
    load(c.typed, c.withheld, false);
    calculate();
    EXPECT_EQ(fields(&kFormID_PA40), fresh) << "fresh / typed";
  }
}

// A joint return whose spouse someone else claims has Schedule SP in two
// columns, the spouse's share of the PA-40 income typed (38,500). The
// early runs see no PA-40 income yet; none of them may limit the share
// against it, so that one calculation gives the share as typed, the rest
// the taxpayer's, as when typed into the calculated return.
TEST_F(WholeReturnTest, ASpousesShareOfTheIncomeStaysAsTyped) {
  const Lines claimed = {"FEDFILERINFO:1:F450:X", "PASCHEDULESP:1:F36874:X", "PASCHEDULESP:1:F36876:X"};
  const Lines typed = {"PASCHEDULESP:1:F9589:38500"};
  load(kSample + claimed + typed, 2778.35);
  calculate();
  EXPECT_EQ(pa->getIR(kFormID_PAScheduleSP, 1, PAScheduleSP::kSpousePA40Income), 38500);
  EXPECT_EQ(pa->getIR(kFormID_PAScheduleSP, 1, PAScheduleSP::kTaxpayerPA40Income), 92274 - 38500);
  const Fields fresh = fields(&kFormID_PAScheduleSP);

  restart();
  load(kSample + claimed, 2778.35);
  calculate();
  load(typed, 2778.35, false);
  calculate();
  EXPECT_EQ(fields(&kFormID_PAScheduleSP), fresh) << "fresh / typed";
}

// Calculating again changes no field: the information form's copy of line
// 17 included, and a penalty, payments, the credit to the estimated
// account and designations, and further copies of the PA W-2 (a W-2 19)
// and the deductions schedule, each calculated once a calculation.
TEST_F(WholeReturnTest, ReturnCalculatedOnceIsFinal) {
  const struct {
    Lines lines;
    double withheld;
  } kCases[] = {
      {kSample, 2778.35},
      {kSample + kPaymentOf1500 + kPenalty + kCreditAndDesignations, 2000},
      {kSample + Lines{"FEDW2:19:F21:1000", "PADEDUCTIONS:2:F36547:100"}, 2778.35},
  };
  for (const auto& c : kCases) {
    restart();
    load(c.lines, c.withheld);
    calculate();
    EXPECT_EQ(pa->getIR(kFormID_PAReturnInfo, 1, PAReturnInfo::kDebitAmount), pa40(PA40::kTotalPayment));
    expectFurtherCopiesCalculatedOnce();
    const Fields once = fields();
    calculate();
    EXPECT_EQ(fields(), once) << "once / twice";
    expectFurtherCopiesCalculatedOnce();
  }
}

// A row of the PA W-2 list that the preparer may type over (a W-2 marked
// incorrect on Schedule W2-S) is filled by a whole-return calculation;
// what is typed there afterwards stays when the host calculates the list
// alone.
TEST_F(WholeReturnTest, ARowTypedAfterTheCalculationStaysWhenTheListIsCalculatedAlone) {
  load(kSample, 2778.35);
  mark(kFormID_PAScheduleW2S, PAScheduleW2S::kIncorrectW2Box);
  mark(kFormID_PAScheduleW2S, PAScheduleW2S::kAnySituationBox);
  calculate();
  const FieldId& row = PAW2::kRowPATaxWithheld.at(0);
  ASSERT_FALSE(pa->getForm(kFormID_PAW2, 1)->isProtected(row));
  const auto calculateListAlone = [this] {
    engine->calcForm(kFormID_PAW2, 1, false, 0, 0, pa->getFormUVPtr(kFormID_PAW2, 1, false));
  };
  number(kFormID_PAW2, row, 150);
  calculateListAlone();
  EXPECT_DOUBLE_EQ(pa->getIR(kFormID_PAW2, 1, row), 150);
  // Emptied to be filled again by the list alone, then typed over.
  pa->getForm(kFormID_PAW2, 1)->setNull(row);
  calculateListAlone();
  ASSERT_FALSE(pa->getForm(kFormID_PAW2, 1)->isNull(row));
  number(kFormID_PAW2, row, 150);
  calculateListAlone();
  EXPECT_DOUBLE_EQ(pa->getIR(kFormID_PAW2, 1, row), 150);
}

// Every copy of the information form shows the last line 17, a copy
// beyond the first included (it is calculated before the PA-40 runs that
// make the line).
TEST_F(WholeReturnTest, EveryInformationCopyShowsTheLastLine17) {
  load(kSample + Lines{"PARETURNINFO:2:F46:X"}, 2778.35);
  calculate();
  ASSERT_EQ(pa40(PA40::kTotalPayment), 55);
  for (uint16_t copy : {1, 2}) {
    EXPECT_EQ(pa->getIR(kFormID_PAReturnInfo, copy, PAReturnInfo::kDebitAmount), 55) << copy;
  }
}

// Every copy of the deductions schedule is limited by the income of the
// last PA-40 run, a copy beyond the first (which line 10 does not read)
// included. Off a joint return the limit is the gross taxable income,
// interest and dividends of Schedules A and B (calculated after the first
// run) in it.
TEST_F(WholeReturnTest, EveryDeductionsCopyHasTheLastIncomeLimit) {
  Lines single;
  for (const std::string& line : kSample) {
    single.push_back(line == "PARETURNINFO:1:F57:X" ? "PARETURNINFO:1:F55:X" : line);
  }
  federal()->setCommonItem(0, 1, 1);
  load(single + Lines{"PADEDUCTIONS:1:F36547:100", "PADEDUCTIONS:2:F36547:100"}, 2778.35);
  calculate();
  const double limit = pa->getIR(kFormID_PADeductions, 1, PADeductions::kTaxpayerIncomeLimit);
  ASSERT_EQ(limit, pa40(PA40::kTotalTaxableIncome));
  EXPECT_EQ(pa->getIR(kFormID_PADeductions, 2, PADeductions::kTaxpayerIncomeLimit), limit);
}

// A copy 1 still linked to a federal Schedule E that is gone no longer
// counts its rents: the sample owes 55, not 208.
TEST_F(WholeReturnTest, StaleScheduleECopyOneCountsNoRents) {
  load(kSample + Lines{"PASCHEDULEE:1:F202:X", "PASCHEDULEE:1:F201:1", "PASCHEDULEE:1:F18:X",
                       "PASCHEDULEE:1:F129:5000"},
       2778.35);
  calculate();
  EXPECT_EQ(pa40(PA40::kTotalPayment), 55);
}

// Rich returns (every field of every form filled, with the largest amounts
// the test-data readers take, of either sign) calculate without overflow,
// and every text the module writes lands in a text field of the host's
// kind table.
TEST_F(WholeReturnTest, RichReturnsWriteTextsOnlyIntoTextFields) {
  for (const char* amount : {"1250.5", "10000000000", "-10000000000"}) {
    restart();
    for (DataMgmt::TaxReturn* ret : {static_cast<DataMgmt::TaxReturn*>(federal()), &returnOf(kFormID_PA40)}) {
      for (const DataMgmt::TaxFormDescPtr& form : ret->getTaxReturnDesc()->getTaxFormDescriptors()) {
        for (const FieldId& id : form->fieldIds()) {
          const DataMgmt::FormFieldDescPtr field = form->getFieldDesc(id);
          if (amount[0] == '-' && field->isBoolean()) continue;
          engine->assignFieldFromText(form->getTypeID(), 1, id,
                                      field->isText() ? "Text 12" : field->isBoolean() ? "X" : amount, ret, false);
        }
      }
    }
    calculate();
    EXPECT_EQ(StandIn::diagnostics().textIntoOtherFields, 0) << amount;
  }
}

}  // namespace
