// The state layer of the auditor: the audit pass, the e-file copy limit,
// the message path (wording, class filter, notes, listing mode, the stored
// e-file refusal) and the generic state checks.
#include <cstring>

#include "audit/tests/audit_fixture.h"
#include "host/efile.h"
#include "host/orvane_exception.h"

namespace audit_test {
namespace {

const char kHint[] =
    "  For instructions on how to make this change, click the FAQ \"How can I go back to an "
    "Interview topic?\"";

class StateLayerTest : public AuditTest {
 protected:
  void report(uint8_t cls, bool answer, const char* text, int note = 0, unsigned short copy = 2) {
    auditor->reportAuditIssue("help", 0, true, cls, answer, 4, kFormID_PA40, copy, FieldId(9), text,
                              note);
  }
  void refuse(uint8_t cls, const char* text) {
    auditor->reportEFileIssue("help", 0, false, cls, true, 6, FormId(), 0, FieldId(0), text, 0);
  }
  std::string refusalText() {
    return federalPtr->getFieldAsString(kFormID_Fed183, 1, Fed183::kRefusalText);
  }
  void residencyDates() {
    auditor->auditResidencyDates("", 0, false, 3, kFormID_PAReturnInfo,
                                 PAReturnInfo::kPartYearResidentBox,
                                 PAReturnInfo::kPartYearFromDate, PAReturnInfo::kPartYearToDate);
  }
};

TEST_F(StateLayerTest, AuditPassWalksEveryCopyOfEveryListedForm) {
  auditor->probeDispatch = true;
  printer->order = {kFormID_PAScheduleB, kFormID_PAScheduleA, kFormID_PA40};
  for (uint16_t copy = 1; copy <= 3; ++copy) holder(kFormID_PAScheduleA, copy);
  holder(kFormID_PA40, 1);
  AuditMgmt::AuditReportPtr first = auditor->auditReturn(AuditMgmt::kAuditEFile);
  EXPECT_TRUE(auditor->eFileAudit);
  const int a = kFormID_PAScheduleA.getNumber();  // Schedule B has no copies
  EXPECT_EQ(auditor->checked,
            (std::vector<std::vector<int>>{
                {a, 1, 1}, {a, 2, 1}, {a, 3, 1}, {kFormID_PA40.getNumber(), 1, 1}}));
  // Each audit stores its type and starts a fresh report.
  first->addLine(AuditMgmt::AuditReportLine());
  EXPECT_EQ(auditor->auditReturn(AuditMgmt::kAuditStandard)->size(), 0u);
  EXPECT_FALSE(auditor->eFileAudit);
  // Without a state printer nothing is walked.
  ProbeAuditor bare(federal(), pa.get(), &DataMgmt::OrvaneConfiguration::getInstance(),
                    CalculationMgmt::TaxReturnCalcEnginePtr(),
                    TaxFormPrintMgmt::TaxFormPrinterPtr());
  bare.probeDispatch = true;
  EXPECT_FALSE(bare.auditReturn(AuditMgmt::kAuditStandard).isNull());
  EXPECT_TRUE(bare.checked.empty());
}

TEST_F(StateLayerTest, CopyLimitTexts) {
  char name[256] = "";
  pa->formName(name, kFormID_PAScheduleA, 1);
  const std::string form = name;
  const struct {
    int limit, copies, code;
    std::string text;  // empty: nothing reported
  } cases[] = {{1, 2, 11, "Only 1 copy of " + form + "  may be filed electronically."},
               {0, 1, 12, form + " may not be filed electronically."},
               {3, 5, 11, "Only 3 copies of " + form + " may be filed electronically."},
               {3, 3, 0, ""},
               {-1, 4, 0, ""}};  // PA: the return's own copy count
  for (const auto& c : cases) {
    SetUp();
    for (int copy = 1; copy <= c.copies; ++copy) holder(kFormID_PAScheduleA, copy);
    auditor->limit = c.limit;
    auditor->auditEFileCopyLimit("help", 0, true, kFormID_PAScheduleA);
    ASSERT_EQ(calls().size(), c.text.empty() ? 0u : 1u) << c.limit;
    if (c.text.empty()) continue;
    const MessageCall& call = calls()[0];
    EXPECT_EQ(call.call, "epFailMsg");
    EXPECT_TRUE(call.flag && call.answer);
    EXPECT_EQ(call.code, c.code);
    EXPECT_EQ(call.field.getNumber(), 1);
    EXPECT_EQ(call.text, c.text);
  }
}

TEST_F(StateLayerTest, MessageWordingAndProblemCodes) {
  startAudit(AuditMgmt::kAuditStandard);
  report(3, true, "Missing entry", 0, 0);
  report(1, true, "Already ends.");
  report(1, false, nullptr);
  ASSERT_EQ(calls().size(), 3u);
  const MessageCall& call = calls()[0];
  EXPECT_EQ(call.text, "Missing entry.");
  EXPECT_FALSE(call.flag);  // the path always passes false onward
  EXPECT_EQ(call.helpId, "help");
  EXPECT_EQ(call.code, 4);
  EXPECT_EQ(call.secondCode, 1);
  EXPECT_EQ(call.copy, 1);  // copy 0 is taken as 1
  EXPECT_EQ(call.field.getNumber(), 9);
  EXPECT_EQ(calls()[1].text, "Already ends.");
  EXPECT_EQ(calls()[2].text, "");
  auditor->reportEFileIssue("h", 0, false, 1, true, 6, kFormID_PAScheduleA, 3, FieldId(5), "No", 0);
  EXPECT_EQ(calls().back().copy, 1);  // e-file issues are shown for copy 1
  // A problem of electronic filing flags the state return only when true.
  auditor->showStateAuditMsg("h", 0, false, false, 6, 1, kFormID_PA40, 2, FieldId(7), "text.");
  auditor->showStateAuditMsg("h", 0, false, true, 7, 1, kFormID_PA40, 2, FieldId(7), "text.");
  EXPECT_EQ(pa->eFileAuditProblem, 0);
  auditor->showStateAuditMsg("h", 0, false, true, 6, 1, kFormID_PA40, 2, FieldId(7), "text.");
  EXPECT_EQ(pa->eFileAuditProblem, 1);
  // The host's form amount of a 1099-G is its state withholding.
  DataMgmt::TaxFormPtr form = holder(kFormID_Fed1099G, 1);
  EXPECT_FALSE(auditor->isFormAmountNonZero(form));
  number(kFormID_Fed1099G, Fed1099G::kStateTaxWithheld, -12);
  EXPECT_TRUE(auditor->isFormAmountNonZero(form));
  EXPECT_FALSE(auditor->isFormAmountNonZero(DataMgmt::TaxFormPtr()));
}

TEST_F(StateLayerTest, ClassFilterAndNotes) {
  const AuditMgmt::AuditType kStd = AuditMgmt::kAuditStandard, kElf = AuditMgmt::kAuditEFile;
  const struct {
    uint8_t cls;
    AuditMgmt::AuditType type;
    uint16_t filter;
    bool shown;
  } cases[] = {{3, kStd, 0, true},     {3, kElf, 0, true},  {1, kStd, 0, true},
               {1, kElf, 0, false},    {2, kStd, 0, false}, {2, kElf, 0, true},
               {8, kStd, 0, false},    {8, kElf, 0, false}, {0x10, kStd, 0, false},
               {0x22, kElf, 0, true},  {8, kStd, 8, true},  {0x10, kStd, 0x10, true},
               {8, kStd, 0x10, false}, {3, kStd, 8, false}};
  for (const auto& c : cases) {
    SetUp();
    startAudit(c.type, c.filter);
    report(c.cls, true, "Issue");
    EXPECT_EQ(!calls().empty() || auditor->getAuditReport()->size() > 0, c.shown)
        << int(c.cls) << " " << c.type << " " << c.filter;
  }
  ASSERT_EQ(std::strlen(kHint), 103u);
  for (AuditMgmt::AuditType type : {kStd, kElf}) {
    startAudit(type);
    report(3, true, "Text", 1);
    report(3, true, "Text", 2);
  }
  const std::size_t n = calls().size();
  EXPECT_EQ(calls()[n - 4].text, "Text.");
  EXPECT_EQ(calls()[n - 3].text, std::string("Text.") + kHint);
  EXPECT_EQ(calls()[n - 2].text, std::string("Text.") + kStateOnlyText);
  EXPECT_EQ(calls()[n - 1].text, std::string("Text.") + kHint);
}

TEST_F(StateLayerTest, ListingModeAndRecordingSession) {
  startAudit(AuditMgmt::kAuditStandard, 8);
  report(8, true, "Attach Schedule W-2S", 2);
  report(8, false, "Attach Schedule X");
  report(8, true, "");
  EXPECT_TRUE(calls().empty());
  // The note kind is ignored; the first letter is lower-cased.
  EXPECT_EQ(reportLines(), (std::vector<std::string>{"    - attach Schedule W-2S.", "    - "}));
  EXPECT_EQ(auditor->listingCount, 2);
  const AuditMgmt::AuditReportLine& line = auditor->getAuditReport()->lines()[0];
  EXPECT_EQ(line.form.getNumber(), 0);
  EXPECT_EQ(line.copy, 1);
  EXPECT_TRUE(line.last);

  SetUp();
  UIBridgeMgmt::UserInterface ui(true);
  DataMgmt::TaxDataMgrHandle::setUserInterface(&ui);
  startAudit(AuditMgmt::kAuditStandard, 8);
  report(8, true, "Attach it");
  report(8, false, "Attach that");
  EXPECT_EQ(reportLines(), (std::vector<std::string>{"Y    - attach it.", "N    - attach that."}));
  EXPECT_EQ(auditor->listingCount, 1);
  startAudit(AuditMgmt::kAuditEFile);  // out of listing mode the answers are listed
  report(2, false, "Bad entry");
  report(2, true, "Bad entry");
  EXPECT_EQ(reportLines(), (std::vector<std::string>{"--No--", "--Yes--"}));
  EXPECT_EQ(pa->eFileAuditProblem, 1);  // through showStateAuditMsg
}

TEST_F(StateLayerTest, OnlyTheFirstRefusalIsStoredWhateverTheFilter) {
  EFileMgmt::EFileMgrHandle::setCurFileReturnType(pa->getReturnType());
  startAudit(AuditMgmt::kAuditEFile);
  refuse(0x22, "No form 183: no record");
  EXPECT_FALSE(federalPtr->formExists(kFormID_Fed183, 1));
  number(kFormID_Fed183, Fed183::kRefusalStatus, 1);  // nothing stored yet
  startAudit(AuditMgmt::kAuditEFile);
  refuse(0x02, "Not recorded: no record bit");
  startAudit(AuditMgmt::kAuditStandard);  // class 0x22 is not shown here
  refuse(0x22, "First refusal");
  refuse(0x22, "Second refusal.");
  EXPECT_EQ(federalPtr->getIR(kFormID_Fed183, 1, Fed183::kRefusalStatus), 0);
  EXPECT_EQ(refusalText(), "First refusal.");
  SetUp();  // a federal file: no record
  number(kFormID_Fed183, Fed183::kRefusalStatus, 1);
  EFileMgmt::EFileMgrHandle::setCurFileReturnType(1);
  refuse(0x22, "Not recorded");
  EXPECT_EQ(refusalText(), "");
}

TEST_F(StateLayerTest, FieldScansNameTheFirstFieldToComplete) {
  const FieldId group[] = {Fed1099G::kPayerStreet, Fed1099G::kPayerCity, Fed1099G::kPayerState,
                           FieldId(0)};
  const struct {
    bool filled[3];
    uint16_t position;
  } cases[] = {{{false, true, false}, 0},
               {{true, false, false}, 1},
               {{true, true, false}, 2},
               {{false, false, false}, 3},
               {{true, true, true}, 3}};
  for (const auto& c : cases) {
    SetUp();
    for (int k = 0; k < 3; ++k) {
      if (c.filled[k]) text(kFormID_Fed1099G, group[k], "x", 2);
    }
    EXPECT_EQ(auditor->scanFieldListNullState(kFormID_Fed1099G, 2, group), c.position);
    EXPECT_EQ(auditor->scanFormFieldListNullState(holder(kFormID_Fed1099G, 2), group), c.position);
  }
}

TEST_F(StateLayerTest, ResidencyPeriods) {
  const struct {
    const char *start, *end;
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
      {"1/2/2018", "12/31/2018", nullptr, 0, true, 0}};
  for (const auto& c : cases) {
    SetUp();
    mark(kFormID_PAReturnInfo, PAReturnInfo::kPartYearResidentBox);
    if (c.start[0] != '\0') text(kFormID_PAReturnInfo, PAReturnInfo::kPartYearFromDate, c.start);
    if (c.end[0] != '\0') text(kFormID_PAReturnInfo, PAReturnInfo::kPartYearToDate, c.end);
    startAudit(AuditMgmt::kAuditEFile);  // shows both the caller's class 3 and class 2
    residencyDates();
    ASSERT_EQ(calls().size(), c.text == nullptr ? 0u : 1u) << c.start << " - " << c.end;
    if (c.text == nullptr) continue;
    EXPECT_EQ(calls()[0].text, c.text);
    EXPECT_TRUE(calls()[0].answer);
    EXPECT_EQ(calls()[0].code, c.code);
    EXPECT_EQ(calls()[0].field, c.atStart ? PAReturnInfo::kPartYearFromDate.id()
                                          : PAReturnInfo::kPartYearToDate.id());
    EXPECT_EQ(auditor->lastClass, c.cls);
  }
  SetUp();  // a missing copy reads as an unmarked box: not an issue
  startAudit(AuditMgmt::kAuditStandard);
  residencyDates();
  ASSERT_EQ(calls().size(), 1u);
  EXPECT_FALSE(calls()[0].answer);
}

TEST_F(StateLayerTest, GenericChecksOfOneCopy) {
  // Form 2555: refused on the information form only.
  federal()->setForm2555Present(true);
  EXPECT_TRUE(auditor->federalFlagAppliesToState());
  startAudit(AuditMgmt::kAuditEFile);
  auditor->auditFormGeneric("", 0, false, kFormID_PA40, holder(kFormID_PA40), 1);
  EXPECT_TRUE(calls().empty());
  auditor->listingCount = 5;
  auditor->auditFormGeneric("", 0, false, kFormID_PAReturnInfo, holder(kFormID_PAReturnInfo), 1);
  EXPECT_EQ(auditor->listingCount, 0);
  EXPECT_EQ(calls().back().code, 6);
  EXPECT_EQ(calls().back().text.rfind("You cannot electronically file your Pennsylvania return "
                                      "because you have filed a federal Form 2555 or 2555EZ.  This "
                                      "issue",
                                      0),
            0u);
  // A paper run shows overridden, then tentative values; listing mode none.
  SetUp();
  DataMgmt::TaxFormPtr copy = holder(kFormID_PA40, 1);
  const FieldId& item = PA40::kLeadingItem;
  copy->store(item, DataMgmt::FieldValue::of(12));
  copy->setOverridden(item, true);
  copy->setTentative(item, true);
  copy->setTentative(PA40::kOtherIncomeTopicField, true);
  startAudit(AuditMgmt::kAuditStandard, 8);
  auditor->auditFormGeneric("", 0, false, kFormID_PA40, copy, 1);
  EXPECT_TRUE(calls().empty());
  startAudit(AuditMgmt::kAuditStandard);
  auditor->auditFormGeneric("", 0, false, kFormID_PA40, copy, 1);
  ASSERT_EQ(calls().size(), 3u);
  EXPECT_EQ(calls()[0].code, 1);
  EXPECT_EQ(calls()[0].field, item);
  EXPECT_EQ(calls()[0].text, "\"12\"");
  EXPECT_EQ(calls()[1].code, 2);
  EXPECT_EQ(calls()[1].field, PA40::kOtherIncomeTopicField.id());
  EXPECT_EQ(calls()[1].text, "\"\"");
  EXPECT_EQ(calls()[2].field, item);
  // An electronic run checks the copy limit (copy 1 only) and the overrides.
  pa->setInElf(true);
  auditor->limit = 0;
  startAudit(AuditMgmt::kAuditEFile);
  auditor->auditFormGeneric("", 0, false, kFormID_PA40, copy, 1);
  auditor->auditFormGeneric("", 0, false, kFormID_PA40, holder(kFormID_PA40, 2), 2);
  ASSERT_EQ(calls().size(), 6u);
  EXPECT_EQ(calls()[3].call, "epFailMsg");
  EXPECT_EQ(calls()[4].call, "overrideCheckOneForm");
  EXPECT_EQ(calls()[4].federalForm, kFormID_FedFilerInfo);
  EXPECT_EQ(calls()[5].call, "overrideCheckOneForm");
}

TEST_F(StateLayerTest, PaymentReminderInListingModeOnly) {
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
  pa->setInElf(true);  // only the paper case selected, but filed electronically
  startAudit(AuditMgmt::kAuditStandard, 8);
  auditor->auditPaymentSubmission(1);
  EXPECT_TRUE(reportLines().empty());
}

TEST_F(StateLayerTest, CareOfTexts) {
  text(kFormID_FedFilerInfo, FedFilerInfo::kCareOf, "J. Smith");
  startAudit(AuditMgmt::kAuditStandard);
  auditor->auditCareOf("", 0, false, 2);
  auditor->auditCareOf("", 0, false, 3);
  ASSERT_EQ(calls().size(), 2u);
  const std::string paper =
      "Your federal return contains a \"Care Of\" address and Our Pennsylvania program does not "
      "print this information on your paper return automatically.  You must hand write \"J. "
      "Smith\" on your paper return in order to file it correctly";
  EXPECT_EQ(calls()[0].text, paper + ".");
  EXPECT_TRUE(calls()[0].answer);
  EXPECT_EQ(calls()[1].text.rfind(paper + ". To e-file your Pennsylvania return", 0), 0u);
  pa->setInElf(true);
  startAudit(AuditMgmt::kAuditEFile);
  auditor->auditCareOf("", 0, false, 3);
  EXPECT_EQ(calls().back().form, kFormID_PAReturnInfo);
  EXPECT_EQ(calls().back().code, 6);
  EXPECT_EQ(calls().back().text.rfind("\"Our Pennsylvania program\" does not allow returns with "
                                      "a \"Care Of\" address to be filed electronically. To e-file "
                                      "your Pennsylvania return,",
                                      0),
            0u);
  EXPECT_THROW(auditor->auditCareOf("", 0, false, 4), Exceptions::OrvaneException);
}

TEST_F(StateLayerTest, StateInfoEntered) {
  const struct {
    const char* values[3];
    int resEfileType, residency;
    bool answer;
  } cases[] = {{{"NJ", "", ""}, 2, 2, true},    {{"NJ", "", ""}, 2, 1, false},
               {{"NJ", "pa", ""}, 2, 2, false}, {{"NJ", "NY", "DE"}, 2, 2, false},
               {{"", "", ""}, 1, 4, true},      {{"", "", ""}, 1, 3, false}};
  for (const auto& c : cases) {
    SetUp();
    for (int k = 0; k < 3; ++k) {
      if (c.values[k][0] == '\0') continue;
      text(kFormID_FedFilerInfo, FedFilerInfo::kResidencyState.at(k), c.values[k]);
    }
    EFileMgmt::EFileMgrHandle::setStateResEfileType(pa->getReturnType(), c.resEfileType);
    startAudit(AuditMgmt::kAuditEFile);
    auditor->auditStateInfoEntered(c.residency);
    ASSERT_EQ(calls().size(), 1u);
    EXPECT_EQ(calls()[0].answer, c.answer) << c.resEfileType << " " << c.residency;
    EXPECT_EQ(calls()[0].code, 7);
    EXPECT_EQ(calls()[0].text.rfind("It looks like you didn't fill in all your state return "
                                    "information in your federal return.",
                                    0),
              0u);
  }
}

}  // namespace
}  // namespace audit_test
