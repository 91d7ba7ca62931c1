// The PA tax summary report: its eight lines, labels and values.
#include "output/pa_tax_summary_report.h"

#include <gtest/gtest.h>

#include <string>

#include "catalogs/catalogs.h"
#include "host/field_value.h"
#include "host/stand_in.h"
#include "host/string_pool.h"
#include "host/tax_form.h"
#include "host/us_tax_return.h"
#include "identifiers/form_ids.h"

namespace {

using DataMgmt::FieldValue;

// The report's lines in order: label and the PA-40 field (host number)
// whose value the line shows.
struct Line {
  const char* label;
  int pa40Field;
};
const Line kLines[] = {
    {"PA Net Taxable Comp.", 139}, {"PA Gross Taxable Inc", 170}, {"PA Other Deduct", 36093},
    {"PA Net Taxable Inc", 172},   {"PA Tax", 173},               {"PA Tax Pmts & Cr", 249},
    {"PA Refund", 252},            {"Amount You Owe ", 268},
};

class PASummaryReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StandIn::resetAll();
    federal = DataMgmt::TaxReturnPtr(new DataMgmt::USTaxReturn());
    state = DataMgmt::TaxReturnPtr(new PADataMgmt::PATaxReturn(
        federal, DataMgmt::TaxReturnDesc::pennsylvania(), Utils::StringPool::shared()));
  }
  void TearDown() override { EXPECT_EQ(StandIn::diagnostics().unknownFieldWrites, 0); }

  void pa40(int field, double value) {
    DataMgmt::TaxFormPtr copy = state->getFormOrCreate(kFormID_PA40, 1);
    copy->store(kPA40FieldIds.byNumber(field), FieldValue::of(value));
  }

  DataMgmt::TaxReturnPtr federal;
  DataMgmt::TaxReturnPtr state;
};

TEST_F(PASummaryReportTest, EightLinesInOrderWithTheirPA40Values) {
  long value = 1000;
  for (const Line& line : kLines) pa40(line.pa40Field, value++);
  PAReportMgmt::PATaxSummaryReport report(state);
  const auto& fields = report.getFields();
  ASSERT_EQ(fields.size(), 8u);
  value = 1000;
  for (size_t i = 0; i < fields.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(fields[i].first, kLines[i].label);
    EXPECT_EQ(fields[i].second, value++);
  }
  EXPECT_EQ(fields[7].first.size(), 15u);  // "Amount You Owe " keeps its blank
}

TEST_F(PASummaryReportTest, NoRefundNorAmountOwedStillGivesEightLines) {
  pa40(139, 52000);
  pa40(173, 1596);
  PAReportMgmt::PATaxSummaryReport report(state);
  const auto& fields = report.getFields();
  ASSERT_EQ(fields.size(), 8u);
  EXPECT_EQ(fields[0].second, 52000);
  EXPECT_EQ(fields[4].second, 1596);
  EXPECT_EQ(fields[6].second, 0);
  EXPECT_EQ(fields[7].second, 0);
}

TEST_F(PASummaryReportTest, LinesAreFilledOnceWhenTheReportIsMade) {
  PAReportMgmt::PATaxSummaryReport report(state);
  pa40(173, 99);  // later changes do not reach a report already made
  EXPECT_EQ(report.getFields().size(), 8u);
  EXPECT_EQ(report.getFields()[4].second, 0);
}

TEST_F(PASummaryReportTest, AReturnThatIsNotPAGivesEightZeroLines) {
  PAReportMgmt::PATaxSummaryReport report(federal);
  const auto& fields = report.getFields();
  ASSERT_EQ(fields.size(), 8u);
  for (size_t i = 0; i < fields.size(); ++i) {
    EXPECT_EQ(fields[i].first, kLines[i].label);
    EXPECT_EQ(fields[i].second, 0);
  }
}

}  // namespace
