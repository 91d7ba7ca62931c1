// Generic state checks: the pass over each copy, field-group scans,
// residency dates, payment, Care Of, draft forms and state entries.
#include "audit/tests/state_auditor_fixture.h"
#include "host/efile.h"
#include "host/orvane_exception.h"

namespace {

class GenericChecksTest : public StateAuditorTest {
 protected:
  // Part-year box, start and end dates of the PA information form.
  const FieldId& partYearBox() { return kPAReturnInfoFieldIds[103]; }  // field 48
  const FieldId& startDate() { return kPAReturnInfoFieldIds[104]; }    // field 49
  const FieldId& endDate() { return kPAReturnInfoFieldIds[105]; }      // field 50
  void residency(const std::string& start, const std::string& end) {
    mark(kFormID_PAReturnInfo, partYearBox());
    if (!start.empty()) text(kFormID_PAReturnInfo, startDate(), start);
    if (!end.empty()) text(kFormID_PAReturnInfo, endDate(), end);
    // An electronic-filing audit shows both the caller's class 3 and class 2.
    startAudit(AuditMgmt::kAuditEFile);
    auditor->auditResidencyDates(AuditMgmt::kNoAuditHelpID, 0, false, 3, kFormID_PAReturnInfo,
                                 partYearBox(), startDate(), endDate());
  }
};

TEST_F(GenericChecksTest, FormFieldScanNamesTheFirstFieldToComplete) {
  const FieldId group[] = {kPA40FieldIds[1], kPA40FieldIds[2], kPA40FieldIds[3], FieldId(0)};
  const struct {
    bool filled[3];
    uint16_t position;
  } cases[] = {
      {{false, true, false}, 0}, {{true, false, false}, 1}, {{true, true, false}, 2},
      {{false, false, false}, 3}, {{true, true, true}, 3},
  };
  for (const auto& c : cases) {
    SetUp();
    DataMgmt::TaxFormPtr copy = holder(kFormID_PA40, 1);
    for (int k = 0; k < 3; ++k) {
      if (c.filled[k]) copy->store(group[k], DataMgmt::FieldValue::of(5));
    }
    EXPECT_EQ(auditor->scanFormFieldListNullState(copy, group), c.position);
  }
  const FieldId empty[] = {FieldId(0)};
  EXPECT_EQ(auditor->scanFormFieldListNullState(holder(kFormID_PA40, 1), empty), 0);
}

TEST_F(GenericChecksTest, FieldScanReadsTheFederalCopy) {
  const FieldId address[] = {kFed1099GFieldIds[15], kFed1099GFieldIds[16], kFed1099GFieldIds[29],
                             kFed1099GFieldIds[30], FieldId(0)};  // fields 30-33
  text(kFormID_Fed1099G, address[0], "1 Main St", 2);
  text(kFormID_Fed1099G, address[2], "PA", 2);
  EXPECT_EQ(auditor->scanFieldListNullState(kFormID_Fed1099G, 2, address), 1);
  EXPECT_EQ(auditor->scanFieldListNullState(kFormID_Fed1099G, 1, address), 4);
}

TEST_F(GenericChecksTest, ResidencyPeriods) {
  const struct {
    const char* start;
    const char* end;
    const char* text;  // null: no message with answer true
    int code;
    bool atStart;
    int cls;
  } cases[] = {
      {"", "", "Pennsylvania residency period.", 4, true, 3},
      {"", "3/1/2018", "starting date of Pennsylvania residency.", 4, true, 3},
      {"3/1/2018", "", "ending date of Pennsylvania residency.", 4, false, 3},
      {"3/1/2017", "2/1/2018", "starting date of the residency must be in 2018.", 7, true, 3},
      {"3/1/2018", "2/1/2019", "ending date of the residency must be in 2018.", 7, false, 3},
      {"5/1/2018", "3/1/2018", "the starting date must be before the ending date.", 3, true, 3},
      {"5/1/2018", "5/1/2018", "the starting date must be before the ending date.", 3, true, 3},
      {"1/1/2018", "12/31/2018",
       "Part-year residency dates can't be for a full year.  Either change to full year "
       "residency or change dates of residence to less than a full year.",
       3, true, 2},
      {"1/2/2018", "12/31/2018", nullptr, 0, true, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.start) + " - " + c.end);
    SetUp();
    residency(c.start, c.end);
    if (c.text == nullptr) {
      EXPECT_TRUE(calls().empty());
      continue;
    }
    ASSERT_EQ(calls().size(), 1u);
    const MessageCall& call = calls()[0];
    EXPECT_EQ(call.text, c.text);
    EXPECT_TRUE(call.answer);
    EXPECT_EQ(call.code, c.code);
    EXPECT_EQ(call.field, c.atStart ? startDate() : endDate());
    EXPECT_EQ(call.form, kFormID_PAReturnInfo);
    EXPECT_EQ(auditor->lastClass, c.cls);
  }
}

TEST_F(GenericChecksTest, ResidencyOnAMissingCopyIsNotAnIssue) {
  startAudit(AuditMgmt::kAuditStandard);
  auditor->auditResidencyDates(AuditMgmt::kNoAuditHelpID, 0, false, 3, kFormID_PAReturnInfo,
                               partYearBox(), startDate(), endDate());
  ASSERT_EQ(calls().size(), 1u);
  EXPECT_FALSE(calls()[0].answer);
}

TEST_F(GenericChecksTest, Form2555RefusalOnlyOnTheInformationForm) {
  federal()->setForm2555Present(true);
  EXPECT_TRUE(auditor->federalFlagAppliesToState());
  startAudit(AuditMgmt::kAuditEFile);
  auditor->auditFormGeneric(AuditMgmt::kNoAuditHelpID, 0, false, kFormID_PA40,
                            holder(kFormID_PA40), 1);
  EXPECT_TRUE(callsNamed("showAuditMsg").empty());
  auditor->listingCount = 5;
  auditor->auditFormGeneric(AuditMgmt::kNoAuditHelpID, 0, false, kFormID_PAReturnInfo,
                            holder(kFormID_PAReturnInfo), 1);
  EXPECT_EQ(auditor->listingCount, 0);
  const std::vector<MessageCall> shown = callsNamed("showAuditMsg");
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_TRUE(shown[0].answer);
  EXPECT_EQ(shown[0].code, 6);
  EXPECT_EQ(shown[0].text.rfind("You cannot electronically file your Pennsylvania return because "
                                "you have filed a federal Form 2555 or 2555EZ.  This issue",
                                0),
            0u);
  federal()->setForm2555Present(false);
  EXPECT_FALSE(auditor->federalFlagAppliesToState());
}

TEST_F(GenericChecksTest, PaperRunShowsOverriddenThenTentativeValues) {
  DataMgmt::TaxFormPtr copy = holder(kFormID_PA40, 1);
  copy->store(kPA40FieldIds[5], DataMgmt::FieldValue::of(12));
  copy->setOverridden(kPA40FieldIds[5], true);
  copy->setTentative(kPA40FieldIds[5], true);
  copy->setTentative(kPA40FieldIds[2], true);
  startAudit(AuditMgmt::kAuditStandard);
  auditor->auditFormGeneric(AuditMgmt::kNoAuditHelpID, 0, false, kFormID_PA40, copy, 1);
  ASSERT_EQ(calls().size(), 3u);
  EXPECT_EQ(calls()[0].code, 1);
  EXPECT_EQ(calls()[0].field, kPA40FieldIds[5]);
  EXPECT_EQ(calls()[0].text, "\"12\"");
  EXPECT_EQ(calls()[1].code, 2);
  EXPECT_EQ(calls()[1].field, kPA40FieldIds[2]);
  EXPECT_EQ(calls()[1].text, "\"\"");
  EXPECT_EQ(calls()[2].code, 2);
  EXPECT_EQ(calls()[2].field, kPA40FieldIds[5]);
}

TEST_F(GenericChecksTest, ElectronicRunChecksCopyLimitAndOverrides) {
  DataMgmt::TaxFormPtr copy = holder(kFormID_PA40, 1);
  copy->setTentative(kPA40FieldIds[2], true);
  pa->setInElf(true);
  auditor->limit = 0;
  startAudit(AuditMgmt::kAuditEFile);
  auditor->auditFormGeneric(AuditMgmt::kNoAuditHelpID, 0, false, kFormID_PA40, copy, 1);
  ASSERT_EQ(calls().size(), 2u);
  EXPECT_EQ(calls()[0].call, "epFailMsg");
  EXPECT_EQ(calls()[1].call, "overrideCheckOneForm");
  EXPECT_EQ(calls()[1].federalForm, kFormID_FedFilerInfo);
  // Copy 2 skips the copy limit.
  auditor->auditFormGeneric(AuditMgmt::kNoAuditHelpID, 0, false, kFormID_PA40,
                            holder(kFormID_PA40, 2), 2);
  ASSERT_EQ(calls().size(), 3u);
  EXPECT_EQ(calls()[2].call, "overrideCheckOneForm");
}

TEST_F(GenericChecksTest, ListingModeShowsNoValues) {
  DataMgmt::TaxFormPtr copy = holder(kFormID_PA40, 1);
  copy->setTentative(kPA40FieldIds[2], true);
  startAudit(AuditMgmt::kAuditStandard, 8);
  auditor->auditFormGeneric(AuditMgmt::kNoAuditHelpID, 0, false, kFormID_PA40, copy, 1);
  EXPECT_TRUE(calls().empty());
}

TEST_F(GenericChecksTest, PaymentReminderInListingModeOnly) {
  holder(kFormID_PAEstimatedVouchers, 1);
  startAudit(AuditMgmt::kAuditStandard, 8);
  auditor->auditPaymentSubmission(3);
  EXPECT_TRUE(reportLines().empty());  // tax balance 0

  pa->setTaxBalance(120);
  auditor->auditPaymentSubmission(3);
  ASSERT_EQ(reportLines().size(), 1u);
  EXPECT_EQ(reportLines()[0].rfind("    - your payment must be submitted with your ", 0), 0u);

  startAudit(AuditMgmt::kAuditStandard);
  auditor->auditPaymentSubmission(3);
  EXPECT_TRUE(calls().empty());

  // Only the paper case selected, but the return is filed electronically.
  pa->setInElf(true);
  startAudit(AuditMgmt::kAuditStandard, 8);
  auditor->auditPaymentSubmission(1);
  EXPECT_TRUE(reportLines().empty());
}

TEST_F(GenericChecksTest, CareOfTexts) {
  text(kFormID_FedFilerInfo, kFedFilerInfoFieldIds[1603], "J. Smith");  // field 736
  startAudit(AuditMgmt::kAuditStandard);
  auditor->auditCareOf(AuditMgmt::kNoAuditHelpID, 0, false, 2);
  auditor->auditCareOf(AuditMgmt::kNoAuditHelpID, 0, false, 3);
  ASSERT_EQ(calls().size(), 2u);
  EXPECT_EQ(calls()[0].text,
            "Your federal return contains a \"Care Of\" address and Our Pennsylvania program does "
            "not print this information on your paper return automatically.  You must hand write "
            "\"J. Smith\" on your paper return in order to file it correctly.");
  EXPECT_TRUE(calls()[0].answer);
  EXPECT_EQ(calls()[1].text.rfind(calls()[0].text.substr(0, calls()[0].text.size() - 1) +
                                      ". To e-file your Pennsylvania return",
                                  0),
            0u);

  pa->setInElf(true);
  startAudit(AuditMgmt::kAuditEFile);
  auditor->auditCareOf(AuditMgmt::kNoAuditHelpID, 0, false, 3);
  const std::vector<MessageCall> shown = callsNamed("showAuditMsg");
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[2].form, kFormID_PAReturnInfo);
  EXPECT_EQ(shown[2].code, 6);
  EXPECT_EQ(shown[2].text.rfind("\"Our Pennsylvania program\" does not allow returns with a "
                                "\"Care Of\" address to be filed electronically. To e-file your "
                                "Pennsylvania return,",
                                0),
            0u);

  EXPECT_THROW(auditor->auditCareOf(AuditMgmt::kNoAuditHelpID, 0, false, 4),
               Exceptions::OrvaneException);
}

TEST_F(GenericChecksTest, DraftForms) {
  holder(kFormID_PA40, 1);
  holder(kFormID_PAScheduleA, 1);
  printer->order = {kFormID_PA40, kFormID_PAScheduleB, kFormID_PAScheduleA};
  const FormId drafts[] = {kFormID_PAScheduleA, kFormID_PAScheduleB, kFormID_PA40, FormId()};
  startAudit(AuditMgmt::kAuditEFile);
  auditor->auditDraftForms(drafts);
  ASSERT_EQ(calls().size(), 1u);
  EXPECT_TRUE(calls()[0].answer);
  const std::string& message = calls()[0].text;
  EXPECT_EQ(message.rfind("The Pennsylvania tax office isn't ready", 0), 0u);
  const std::string names = pa->getTaxFormDescriptor(kFormID_PA40)->getNameText() + ", " +
                            pa->getTaxFormDescriptor(kFormID_PAScheduleA)->getNameText() + ".";
  EXPECT_EQ(message.substr(message.size() - names.size()),  names);
  EXPECT_NE(message.find("menu.    Draft forms in your return include: "), std::string::npos);

  const FormId none[] = {kFormID_PAScheduleB, FormId()};
  auditor->auditDraftForms(none);
  ASSERT_EQ(calls().size(), 2u);
  EXPECT_FALSE(calls()[1].answer);
  EXPECT_EQ(calls()[1].text, "");

  const FormId emptyList[] = {FormId()};
  auditor->auditDraftForms(emptyList);
  EXPECT_EQ(calls().size(), 2u);
}

TEST_F(GenericChecksTest, StateInfoEntered) {
  const FieldId entries[] = {kFedFilerInfoFieldIds[1735], kFedFilerInfoFieldIds[1738],
                             kFedFilerInfoFieldIds[1741]};  // fields 675, 679, 683
  const struct {
    const char* values[3];
    int resEfileType;
    int residency;
    bool answer;
  } cases[] = {
      {{"NJ", "", ""}, 2, 2, true},   {{"NJ", "", ""}, 2, 1, false},
      {{"NJ", "pa", ""}, 2, 2, false}, {{"NJ", "NY", "DE"}, 2, 2, false},
      {{"", "", ""}, 1, 4, true},     {{"", "", ""}, 1, 3, false},
      {{"", "", ""}, 3, 3, true},     {{"", "", ""}, 4, 2, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.resEfileType << " " << c.residency);
    SetUp();
    for (int k = 0; k < 3; ++k) {
      if (c.values[k][0] != '\0') text(kFormID_FedFilerInfo, entries[k], c.values[k]);
    }
    EFileMgmt::EFileMgrHandle::setStateResEfileType(pa->getReturnType(), c.resEfileType);
    startAudit(AuditMgmt::kAuditEFile);
    auditor->auditStateInfoEntered(c.residency);
    ASSERT_EQ(calls().size(), 1u);
    EXPECT_EQ(calls()[0].answer, c.answer);
    EXPECT_EQ(calls()[0].code, 7);
    EXPECT_EQ(calls()[0].text.rfind("It looks like you didn't fill in all your state return "
                                    "information in your federal return.",
                                    0),
              0u);
  }
}

}  // namespace
