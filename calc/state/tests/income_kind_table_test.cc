// The income-kind table of the federal wage pull.
#include "calc/state/income_kind_table.h"

#include "calc/state/tests/allocation_fixture.h"
#include "host/descriptors.h"

namespace {

using StateCalculationMgmt::IncomeKindRow;
using StateCalculationMgmt::StateTaxReturnCalcEngine;

TEST_F(AllocationTest, IncomeKindRowsHoldTheDocumentedFields) {
  const IncomeKindRow* table = StateTaxReturnCalcEngine::incomeKindTable;
  ASSERT_NE(table, nullptr);
  for (int i = 0; i < kIncomeKindCount; ++i) {
    const IncomeKindExpectation& want = kIncomeKindExpectations[i];
    const IncomeKindRow& row = table[i];
    SCOPED_TRACE(::testing::Message() << "row " << i + 1);
    EXPECT_EQ(row.federalField.getNumber(), want.federal);
    EXPECT_EQ(row.federal55Field.getNumber(), want.federal55);
    EXPECT_EQ(row.federal87Field.getNumber(), want.federal87);
    EXPECT_EQ(row.kindField1.getNumber(), want.kind1);
    EXPECT_EQ(row.kindField2.getNumber(), want.kind2);
    EXPECT_EQ(row.amountField.getNumber(), want.amount);
    EXPECT_EQ(row.taxpayerField.getNumber(), want.taxpayer);
    EXPECT_EQ(row.splitRule, want.rule);
  }
}

TEST_F(AllocationTest, IncomeKindTableEndsAfterRow22WithDefaultRows) {
  const IncomeKindRow* table = StateTaxReturnCalcEngine::incomeKindTable;
  const int size = StateCalculationMgmt::kIncomeKindTableSize;
  int visited = 0;
  while (visited < size && table[visited].federalField.getNumber() > 0) ++visited;
  EXPECT_EQ(visited, kIncomeKindCount);
  for (int i = kIncomeKindCount; i < size; ++i) {
    const IncomeKindRow& row = table[i];
    EXPECT_EQ(row.federalField.getNumber() + row.federal55Field.getNumber() +
                  row.federal87Field.getNumber() + row.kindField1.getNumber() +
                  row.kindField2.getNumber() + row.amountField.getNumber() +
                  row.taxpayerField.getNumber(),
              0)
        << "row " << i + 1;
    EXPECT_EQ(row.splitRule, 0) << "row " << i + 1;
  }
}

TEST_F(AllocationTest, ALaterEngineSharesTheTableAsBuilt) {
  const IncomeKindRow* first = StateTaxReturnCalcEngine::incomeKindTable;
  const int amount = first[9].amountField.getNumber();
  PACalculationMgmt::PATaxReturnCalcEngine second(federal, pa.get(),
                                                   TaxFormPrintMgmt::TaxFormPrinterPtr());
  EXPECT_EQ(StateTaxReturnCalcEngine::incomeKindTable, first);
  EXPECT_EQ(first[9].amountField.getNumber(), amount);
  EXPECT_EQ(first[9].federal87Field.getNumber(), 91);
}

// The pull finds each kind's spouse part as the field after T in the
// allocation form's field order.
TEST_F(AllocationTest, SpousePartFollowsTheTaxpayerPartInFieldOrder) {
  DataMgmt::TaxFormDescPtr desc = pa->getTaxFormDescriptor(kFormID_State18);
  ASSERT_FALSE(desc.isNull());
  for (const IncomeKindExpectation& want : kIncomeKindExpectations) {
    DataMgmt::OVFieldIDIter it = desc->getFieldIDs();
    it = alloc(want.taxpayer);
    EXPECT_EQ((it + 1).getID().getNumber(), want.spouse) << "T " << want.taxpayer;
  }
}

}  // namespace
