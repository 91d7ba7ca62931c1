// The PA tax summary report: its eight lines, labels and values.
#include "output/pa_tax_summary_report.h"

#include <gtest/gtest.h>

#include <string>

#include "catalogs/fields/fields.h"
#include "host/field_value.h"
#include "host/stand_in.h"
#include "host/string_pool.h"
#include "host/tax_form.h"
#include "host/us_tax_return.h"
#include "identifiers/form_ids.h"

namespace {

// The report's labels in order, with the PA-40 field each line shows.
const struct {
  const char* label;
  NamedField<PA40FieldIds> field;
} kLines[] = {
    {"PA Net Taxable Comp.", PA40::kNetCompensation}, {"PA Gross Taxable Inc", PA40::kTotalTaxableIncome},
    {"PA Other Deduct", PA40::kOtherDeductions},      {"PA Net Taxable Inc", PA40::kAdjustedTaxableIncome},
    {"PA Tax", PA40::kTaxLiability},                  {"PA Tax Pmts & Cr", PA40::kTotalPaymentsCredits},
    {"PA Refund", PA40::kRefund},                     {"Amount You Owe ", PA40::kTotalPayment},
};

TEST(PASummaryReportTest, EightLinesInOrderFilledOnceWhenTheReportIsMade) {
  StandIn::resetAll();
  DataMgmt::TaxReturnPtr federal(new DataMgmt::USTaxReturn());
  DataMgmt::TaxReturnPtr state(new PADataMgmt::PATaxReturn(federal, DataMgmt::TaxReturnDesc::pennsylvania(),
                                                           Utils::StringPool::shared()));
  DataMgmt::TaxFormPtr pa40 = state->getFormOrCreate(kFormID_PA40, 1);
  long value = 1000;
  for (const auto& line : kLines) pa40->store(line.field, DataMgmt::FieldValue::of(value++));
  pa40->store(PA40::kTotalPayment, DataMgmt::FieldValue::null());  // no amount owed: 0
  PAReportMgmt::PATaxSummaryReport report(state);
  pa40->store(PA40::kTaxLiability, DataMgmt::FieldValue::of(99));  // too late for the report
  // A return that is not the PA return gives eight lines of 0.
  PAReportMgmt::PATaxSummaryReport other(federal);
  ASSERT_EQ(report.getFields().size(), 8u);
  ASSERT_EQ(other.getFields().size(), 8u);
  for (size_t i = 0; i < 8; ++i) {
    EXPECT_EQ(report.getFields()[i].first, kLines[i].label);
    EXPECT_EQ(report.getFields()[i].second, i == 7 ? 0 : 1000 + long(i));
    EXPECT_EQ(other.getFields()[i].first, kLines[i].label);
    EXPECT_EQ(other.getFields()[i].second, 0);
  }
  EXPECT_EQ(StandIn::diagnostics().unknownFieldWrites, 0);
}

}  // namespace
