// The estimated tax worksheet, the payment voucher and the direct deposit
// and debit form inside a whole-return calculation of the real engine: the
// driver reaches them through the dispatch after the last PA-40 pass.
#include <gtest/gtest.h>

#include <memory>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/catalogs.h"
#include "entry/pa_tax_return.h"
#include "host/stand_in.h"
#include "host/string_pool.h"
#include "host/tax_form.h"
#include "host/us_tax_return.h"
#include "identifiers/form_ids.h"

namespace {

TEST(EstimatedTaxFormsReturnTest, AWholeReturnCalculatesTheThreeForms) {
  StandIn::resetAll();
  DataMgmt::TaxReturnPtr federal(new DataMgmt::USTaxReturn());
  PADataMgmt::PATaxReturn pa(federal, DataMgmt::TaxReturnDesc::pennsylvania(), Utils::StringPool::shared());
  auto* us = static_cast<DataMgmt::USTaxReturn*>(federal.get());
  PACalculationMgmt::PATaxReturnCalcEngine engine(us, &pa, TaxFormPrintMgmt::TaxFormPrinterPtr());

  pa.getFormOrCreate(kFormID_PAReturnInfo, 1)->setX(kPAReturnInfoFieldIds.byNumber(55));
  DataMgmt::TaxFormPtr worksheet = pa.getFormOrCreate(kFormID_PAEstimatedTaxWorksheet, 1);
  DataMgmt::TaxFormPtr banking = pa.getFormOrCreate(kFormID_PADirectDepositDebit, 1);
  worksheet->setX(kPAEstimatedTaxWorksheetFieldIds.byNumber(6));

  engine.calcReturn(0);

  EXPECT_EQ(worksheet->valueText(kPAEstimatedTaxWorksheetFieldIds.byNumber(124)), "01-15-20");
  EXPECT_TRUE(worksheet->xMarked(kPAEstimatedTaxWorksheetFieldIds.byNumber(33)));
  EXPECT_TRUE(worksheet->getCalcMark());
  EXPECT_TRUE(worksheet->isDataEntered());
  EXPECT_TRUE(banking->xMarked(kPADirectDepositDebitFieldIds.byNumber(14)));
  EXPECT_TRUE(banking->xMarked(kPADirectDepositDebitFieldIds.byNumber(30)));
  EXPECT_EQ(StandIn::diagnostics().unknownFieldWrites, 0);
}

}  // namespace
