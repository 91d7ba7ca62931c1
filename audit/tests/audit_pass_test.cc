// The audit pass, the PA dispatch, the e-file copy limit and the state's
// record of e-file problems.
#include "audit/tests/state_auditor_fixture.h"

namespace {

class AuditPassTest : public StateAuditorTest {};

TEST_F(AuditPassTest, WalksEveryCopyOfEveryListedForm) {
  auditor->probeDispatch = true;
  printer->order = {kFormID_PAScheduleB, kFormID_PAScheduleA, kFormID_PA40};
  holder(kFormID_PAScheduleA, 1);
  holder(kFormID_PAScheduleA, 2);
  holder(kFormID_PAScheduleA, 3);
  holder(kFormID_PA40, 1);

  auditor->auditReturn(AuditMgmt::kAuditStandard);

  // Schedule B has no copies and adds no call.
  ASSERT_EQ(auditor->checked.size(), 4u);
  for (int copy = 1; copy <= 3; ++copy) {
    EXPECT_EQ(auditor->checked[copy - 1].form, kFormID_PAScheduleA.getNumber());
    EXPECT_EQ(auditor->checked[copy - 1].copy, copy);
    EXPECT_TRUE(auditor->checked[copy - 1].sameCopy);
  }
  EXPECT_EQ(auditor->checked[3].form, kFormID_PA40.getNumber());
}

TEST_F(AuditPassTest, EachAuditStoresItsTypeAndStartsAFreshReport) {
  auditor->probeDispatch = true;
  AuditMgmt::AuditReportPtr first = auditor->auditReturn(AuditMgmt::kAuditEFile);
  EXPECT_EQ(auditor->auditType, AuditMgmt::kAuditEFile);
  EXPECT_TRUE(auditor->eFileAudit);
  first->addLine(AuditMgmt::AuditReportLine());

  AuditMgmt::AuditReportPtr second = auditor->auditReturn(AuditMgmt::kAuditStandard);
  EXPECT_EQ(auditor->auditType, AuditMgmt::kAuditStandard);
  EXPECT_FALSE(auditor->eFileAudit);
  EXPECT_EQ(second->size(), 0u);
  EXPECT_EQ(second.get(), auditor->getAuditReport().get());
}

TEST_F(AuditPassTest, WithoutAStatePrinterNothingIsWalked) {
  holder(kFormID_PA40, 1);
  ProbeAuditor bare(federal(), pa.get(), &DataMgmt::OrvaneConfiguration::getInstance(),
                    CalculationMgmt::TaxReturnCalcEnginePtr(),
                    TaxFormPrintMgmt::TaxFormPrinterPtr());
  bare.probeDispatch = true;
  AuditMgmt::AuditReportPtr report = bare.auditReturn(AuditMgmt::kAuditStandard);
  EXPECT_FALSE(report.isNull());
  EXPECT_TRUE(bare.checked.empty());
}

// State forms 16 to 18 and forms of no dispatch row get the generic checks
// only: in a paper run, their overridden and tentative values.
TEST_F(AuditPassTest, FormsWithoutRulesGetOnlyTheGenericChecks) {
  for (const FormId& form : {kFormID_State16, kFormID_State17, kFormID_State18,
                             kFormID_PAEstimatedVouchers}) {
    SCOPED_TRACE(form.getNumber());
    SetUp();
    DataMgmt::TaxFormPtr copy = holder(form, 1);
    const DataMgmt::TaxFormDescPtr desc = copy->getTaxFormDescriptor();
    ASSERT_FALSE(desc->fieldIds().empty());
    const FieldId field = desc->fieldIds().front();
    copy->setTentative(field, true);
    printer->order = {form};

    auditor->auditReturn(AuditMgmt::kAuditStandard);

    ASSERT_EQ(calls().size(), 1u);
    EXPECT_EQ(calls()[0].call, "showAuditMsg");
    EXPECT_EQ(calls()[0].code, 2);
    EXPECT_EQ(calls()[0].field, field);
    EXPECT_EQ(auditor->getAuditReport()->size(), 0u);
  }
}

TEST_F(AuditPassTest, PAFormsNeverExceedTheirCopyLimit) {
  for (uint16_t copy = 1; copy <= 4; ++copy) holder(kFormID_PAScheduleA, copy);
  EXPECT_EQ(auditor->getMaxEFileCopies(kFormID_PAScheduleA), 4);
  auditor->auditEFileCopyLimit(AuditMgmt::kNoAuditHelpID, 0, false, kFormID_PAScheduleA);
  EXPECT_TRUE(calls().empty());
}

TEST_F(AuditPassTest, CopyLimitTexts) {
  char name[256] = "";
  pa->formName(name, kFormID_PAScheduleA, 1);
  const std::string formName = name;
  ASSERT_FALSE(formName.empty());
  struct Case {
    int limit;
    int copies;
    int code;
    std::string text;  // empty: nothing reported
  } cases[] = {
      {1, 2, 11, "Only 1 copy of " + formName + "  may be filed electronically."},
      {0, 1, 12, formName + " may not be filed electronically."},
      {3, 5, 11, "Only 3 copies of " + formName + " may be filed electronically."},
      {3, 3, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.limit);
    SetUp();
    for (int copy = 1; copy <= c.copies; ++copy) holder(kFormID_PAScheduleA, copy);
    auditor->limit = c.limit;
    auditor->auditEFileCopyLimit("help", 0, true, kFormID_PAScheduleA);
    if (c.text.empty()) {
      EXPECT_TRUE(calls().empty());
      continue;
    }
    ASSERT_EQ(calls().size(), 1u);
    const MessageCall& call = calls()[0];
    EXPECT_EQ(call.call, "epFailMsg");
    EXPECT_EQ(call.helpId, "help");
    EXPECT_TRUE(call.flag);
    EXPECT_TRUE(call.answer);
    EXPECT_EQ(call.code, c.code);
    EXPECT_EQ(call.secondCode, 0);
    EXPECT_EQ(call.form, kFormID_PAScheduleA);
    EXPECT_EQ(call.copy, 1);
    EXPECT_EQ(call.field.getNumber(), 1);
    EXPECT_EQ(call.text, c.text);
  }
}

TEST_F(AuditPassTest, ReturnProblemCodesFlagTheStateReturn) {
  const struct {
    bool answer;
    char code;
    bool flagged;
  } cases[] = {{true, 1, true},   {true, 3, true},   {true, 4, true},   {true, 6, true},
               {true, 9, true},   {true, 10, true},  {true, 11, true},  {true, 12, true},
               {true, 2, false},  {true, 5, false},  {true, 7, false},  {true, 8, false},
               {false, 4, false}, {false, 6, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.code));
    pa->eFileAuditProblem = 0;
    const std::size_t before = calls().size();
    auditor->showStateAuditMsg("h", 0, false, c.answer, c.code, 1, kFormID_PA40, 2, FieldId(7),
                               "text.");
    EXPECT_EQ(pa->eFileAuditProblem, c.flagged ? 1 : 0);
    ASSERT_EQ(calls().size(), before + 1);
    EXPECT_EQ(calls().back().call, "showAuditMsg");
    EXPECT_EQ(calls().back().answer, c.answer);
    EXPECT_EQ(calls().back().copy, 2);
  }
}

TEST_F(AuditPassTest, FormAmountIsThe1099GAmount) {
  DataMgmt::TaxFormPtr form = holder(kFormID_Fed1099G, 1);
  EXPECT_FALSE(auditor->isFormAmountNonZero(form));
  number(kFormID_Fed1099G, kFed1099GFieldIds[64], -12);  // field 16
  EXPECT_TRUE(auditor->isFormAmountNonZero(form));
  EXPECT_FALSE(auditor->isFormAmountNonZero(DataMgmt::TaxFormPtr()));
}

}  // namespace
