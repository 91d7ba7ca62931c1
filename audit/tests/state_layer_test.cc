// The state layer of the auditor: the audit pass and the PA dispatch, the
// e-file copy limit, the message path (wording, class filter, notes,
// listing mode, the stored e-file refusal) and the generic state checks.
#include <cstring>

#include "audit/tests/audit_fixture.h"
#include "host/efile.h"
#include "host/orvane_exception.h"
#include "output/pa_tax_form_printer.h"

namespace audit_test {
namespace {

class StateLayerTest : public AuditTest {
 protected:
  void report(uint8_t cls, bool answer, const char* text, int note = 0, unsigned short copy = 2) {
    auditor->reportAuditIssue("help", 0, true, cls, answer, 4, kFormID_PA40, copy, FieldId(9), text,
                              note);
  }
  void refuse(uint8_t cls, const char* text, bool answer = true) {
    auditor->reportEFileIssue("help", 0, false, cls, answer, 6, FormId(), 0, FieldId(0), text, 0);
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
  const std::vector<std::vector<int>> all = {
      {a, 1, 1}, {a, 2, 1}, {a, 3, 1}, {kFormID_PA40.getNumber(), 1, 1}};
  EXPECT_EQ(auditor->checked, all);
  // Each audit stores its type and starts a fresh report.
  first->addLine(AuditMgmt::AuditReportLine());
  EXPECT_EQ(auditor->auditReturn(AuditMgmt::kAuditStandard)->size(), 0u);
  EXPECT_FALSE(auditor->eFileAudit);
  // Counts beyond the list (signed bytes, 127 + 127) walk only the list;
  // counts below it walk that many.
  const struct {
    char a, b;
    std::size_t walked;
  } counts[] = {{127, 127, 4}, {1, 1, 3}, {0, 0, 0}, {-100, 1, 0}};
  for (const auto& c : counts) {
    auditor->checked.clear();
    printer->forceCounts = true;
    printer->countA = c.a;
    printer->countB = c.b;
    auditor->auditReturn(AuditMgmt::kAuditStandard);
    EXPECT_EQ(auditor->checked.size(), c.walked) << int(c.a) << "+" << int(c.b);
  }
  // Without a state printer nothing is walked.
  ProbeAuditor bare(federal(), pa.get(), &DataMgmt::OrvaneConfiguration::getInstance(),
                    CalculationMgmt::TaxReturnCalcEnginePtr(),
                    TaxFormPrintMgmt::TaxFormPrinterPtr());
  bare.probeDispatch = true;
  EXPECT_FALSE(bare.auditReturn(AuditMgmt::kAuditStandard).isNull());
  EXPECT_TRUE(bare.checked.empty());
}

// Every row of the PA dispatch table on a return that opens every gate:
// no rule throws, a form with rules reports, one without reports nothing.
TEST_F(StateLayerTest, DispatchAuditsEveryFormOfItsTable) {
  const struct {
    const FormId* form;
    bool hasRules;
  } rows[] = {{&kFormID_PAReturnInfo, true}, {&kFormID_State16, false},
              {&kFormID_State17, false}, {&kFormID_State18, false},
              {&kFormID_PA40, true}, {&kFormID_PAScheduleW2S, false},
              {&kFormID_PAMiscCompWorksheet, true}, {&kFormID_PAScheduleC, true},
              {&kFormID_PAScheduleD, true}, {&kFormID_PAScheduleA, true},
              {&kFormID_PAScheduleB, true}, {&kFormID_PAInterestDividendWorksheet, true},
              {&kFormID_PAScheduleDWorksheet, true}, {&kFormID_PAScheduleE, true},
              {&kFormID_PAScheduleGL, true}, {&kFormID_State45316, false},
              {&kFormID_PAScheduleJ, true}, {&kFormID_PAScheduleUE, true},
              {&kFormID_PAScheduleSP, true}, {&kFormID_PAScheduleOC, true},
              {&kFormID_PADeductions, true}, {&kFormID_PALocalIncomeTaxReturn, true}};
  number(kFormID_PAScheduleD, PAScheduleD::kTotalGain, 10);
  number(kFormID_PAScheduleJ, PAScheduleJ::kTotalIncome, 10);
  number(kFormID_PAScheduleUE, PAScheduleUE::kNetExpenses, 10);
  text(kFormID_PALocalIncomeTaxReturn, PALocalIncomeTaxReturn::kMarkerEntry, "X");
  number(kFormID_PADeductions, PADeductions::kTaxpayerTuitionContribution.at(0), 10);
  for (const auto& row : rows) {
    for (Kind kind : {kAll, kOrd, kEF}) {
      const std::vector<Seen> seen = seenIn(kind, [&] {
        EXPECT_NO_THROW(auditor->checkOneForm("", 0, false, *row.form, holder(*row.form), 1));
      });
      EXPECT_TRUE(kind != kAll || !seen.empty() == row.hasRules) << row.form->getNumber();
    }
    // A copy that is gone is no failure either.
    EXPECT_NO_THROW(auditor->checkOneForm("", 0, false, *row.form, DataMgmt::TaxFormPtr(), 1));
  }
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
    const MessageCall call = calls()[0];
    EXPECT_EQ(call.call, "epFailMsg");
    EXPECT_TRUE(call.flag && call.answer);
    EXPECT_EQ(call.code, c.code);
    EXPECT_EQ(call.copy, 1);
    EXPECT_EQ(call.field.getNumber(), 1);
    EXPECT_EQ(call.text, c.text);
  }
  // The longest form name the host gives (255 characters) is not cut.
  DataMgmt::TaxReturnDescPtr desc(new DataMgmt::TaxReturnDesc(40, "PA", "P", "Q", "R"));
  const std::string longName(300, 'N');
  desc->registerForm(
      DataMgmt::TaxFormDescPtr(new DataMgmt::TaxFormDesc(kFormID_PA40, "PA40", longName)));
  PADataMgmt::PATaxReturn named(federalPtr, desc, Utils::StringPool::shared());
  ProbeAuditor wide(federal(), &named, &DataMgmt::OrvaneConfiguration::getInstance(),
                    CalculationMgmt::TaxReturnCalcEnginePtr(), printerShare);
  for (uint16_t copy = 1; copy <= 5; ++copy) named.getFormOrCreate(kFormID_PA40, copy);
  wide.limit = 3;
  wide.auditEFileCopyLimit("help", 0, true, kFormID_PA40);
  ASSERT_EQ(wide.messageCalls().size(), 1u);
  EXPECT_EQ(wide.messageCalls()[0].text,
            "Only 3 copies of " + longName.substr(0, 255) + " may be filed electronically.");
}

// The message path: the final period, copy 1 for 0 and for every e-file
// message, the class filter by kind of audit, the notes, listing mode.
TEST_F(StateLayerTest, MessagePath) {
  startAudit(AuditMgmt::kAuditStandard);
  report(3, true, "Missing entry", 0, 0);
  report(1, true, "Already ends.");
  report(1, false, nullptr);
  auditor->reportEFileIssue("h", 0, false, 1, true, 6, kFormID_PAScheduleA, 3, FieldId(5), "No", 0);
  ASSERT_EQ(calls().size(), 4u);
  const MessageCall call = calls()[0];
  EXPECT_EQ(std::vector<std::string>({call.text, calls()[1].text, calls()[2].text, call.helpId}),
            std::vector<std::string>({"Missing entry.", "Already ends.", "", "help"}));
  EXPECT_EQ(std::vector<int>({call.flag, call.code, call.secondCode, call.copy, calls()[3].copy}),
            std::vector<int>({0, 4, 1, 1, 1}));
  // Shown or not, by class, kind of audit and class filter.
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
    EXPECT_EQ(!auditor->messageCalls().empty(), c.shown)
        << int(c.cls) << " " << c.type << " " << c.filter;
  }
  ASSERT_EQ(std::strlen(kHintText), 103u);
  std::vector<std::string> texts;
  for (AuditMgmt::AuditType type : {kStd, kElf}) {
    startAudit(type);
    report(3, true, "Text", 1);
    report(3, true, "Text", 2);
    for (const MessageCall& c : calls()) texts.push_back(c.text);
  }
  EXPECT_EQ(texts,
            std::vector<std::string>({"Text.", std::string("Text.") + kHintText,
                                      std::string("Text.") + kStateOnlyText,
                                      std::string("Text.") + kHintText}));
  // A problem of electronic filing flags the state return only when true
  // and of a problem code.
  for (int code : {6, 7}) {
    auditor->showStateAuditMsg("h", 0, false, false, 6, 1, kFormID_PA40, 2, FieldId(7), "t.");
    auditor->showStateAuditMsg("h", 0, false, true, code, 1, kFormID_PA40, 2, FieldId(7), "t.");
    EXPECT_EQ(pa->eFileAuditProblem, code == 6 ? 1 : 0);
    pa->eFileAuditProblem = 0;
  }
  // The host's form amount of a 1099-G is its state withholding.
  number(kFormID_Fed1099G, Fed1099G::kStateTaxWithheld, -12);
  EXPECT_TRUE(auditor->isFormAmountNonZero(holder(kFormID_Fed1099G)));
  EXPECT_FALSE(auditor->isFormAmountNonZero(holder(kFormID_Fed1099G, 2)));
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
  UIBridgeMgmt::UserInterface ui(true);
  DataMgmt::TaxDataMgrHandle::setUserInterface(&ui);
  startAudit(AuditMgmt::kAuditStandard, 8);
  report(8, true, "Attach it");
  report(8, false, "Attach that");
  EXPECT_EQ(reportLines(), (std::vector<std::string>{"Y    - attach it.", "N    - attach that."}));
  EXPECT_EQ(auditor->listingCount, 3);
  startAudit(AuditMgmt::kAuditEFile);  // out of listing mode the answers are listed
  report(2, false, "Bad entry");
  report(2, true, "Bad entry");
  EXPECT_EQ(reportLines(), (std::vector<std::string>{"--No--", "--Yes--"}));
  EXPECT_EQ(pa->eFileAuditProblem, 1);  // through showStateAuditMsg
  EXPECT_EQ(calls().back().text, "Bad entry.");
}

// The first refusal of class 0x20 is stored on federal form 183 (its
// status field set to 0), whatever the filter; the e-file problem flag
// follows the message code only.
TEST_F(StateLayerTest, OnlyTheFirstRefusalIsStored) {
  startAudit(AuditMgmt::kAuditEFile);
  refuse(0x22, "No form 183: no record");
  EXPECT_FALSE(federalPtr->formExists(kFormID_Fed183, 1));
  armRefusalRecord();
  refuse(0x02, "Not recorded: no record bit");
  refuse(0x22, "Not recorded: answer false", false);
  startAudit(AuditMgmt::kAuditStandard);  // class 0x22 is not shown here
  refuse(0x22, "First refusal");
  refuse(0x22, "Second refusal.");
  EXPECT_EQ(federalPtr->getIR(kFormID_Fed183, 1, Fed183::kRefusalStatus), 0);
  EXPECT_EQ(refusalText(), "First refusal.");
  for (int status : {0, 1}) {  // stored already, or a federal file in the making
    SetUp();
    number(kFormID_Fed183, Fed183::kRefusalStatus, status);
    EFileMgmt::EFileMgrHandle::setCurFileReturnType(status == 0 ? 40 : 1);
    refuse(0x22, "Not recorded");
    EXPECT_EQ(refusalText(), "");
  }

  // (A whole audit's first refusal, the W-2G limit, and the later ones it
  // keeps out are pinned by the golden audit of returns/rule_triggers.txt.)

  // The deceased taxpayer's refusal has code 7: stored, but no flag.
  SetUp();
  armRefusalRecord();
  mark(kFormID_FedFilerInfo, FedFilerInfo::kTaxpayerDeceasedBox);
  mark(kFormID_PAReturnInfo, PAReturnInfo::kTaxpayerNoIDBox);  // nothing else is true
  const Seen deceased = one(run(&P::auditReturnInfo, kFormID_PAReturnInfo, 1, kEF),
                            "This program does not support e-filing on behalf");
  EXPECT_TRUE(deceased.answer);
  EXPECT_EQ(deceased.code, 7);
  EXPECT_EQ(deceased.form, kFormID_PAReturnInfo.getNumber());
  EXPECT_EQ(refusalText(),
            "This program does not support e-filing on behalf of a deceased taxpayer.");
  EXPECT_EQ(pa->eFileAuditProblem, 0);
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
    const MessageCall call = calls()[0];
    EXPECT_EQ(call.text, c.text);
    EXPECT_TRUE(call.answer);
    EXPECT_EQ(call.code, c.code);
    EXPECT_EQ(call.field, c.atStart ? PAReturnInfo::kPartYearFromDate.id()
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
  // Form 2555: refused on the information form only, never stored (class 2).
  federal()->setForm2555Present(true);
  armRefusalRecord();
  EXPECT_TRUE(auditor->federalFlagAppliesToState());
  startAudit(AuditMgmt::kAuditEFile);
  auditor->auditFormGeneric("", 0, false, kFormID_PA40, holder(kFormID_PA40), 1);
  EXPECT_TRUE(calls().empty());
  auditor->listingCount = 5;
  auditor->auditFormGeneric("", 0, false, kFormID_PAReturnInfo, holder(kFormID_PAReturnInfo), 0);
  EXPECT_EQ(auditor->listingCount, 0);
  EXPECT_EQ(std::vector<int>({calls().back().answer, calls().back().code, calls().back().copy}),
            std::vector<int>({1, 6, 1}));
  EXPECT_EQ(calls().back().text.find(kStateOnlyText), calls().back().text.size() -
                                                          std::strlen(kStateOnlyText));
  EXPECT_EQ(auditor->lastClass, 2);
  EXPECT_EQ(refusalText(), "");
  // A paper run shows overridden, then tentative values, as they read and
  // without a period; listing mode shows none.
  SetUp();
  DataMgmt::TaxFormPtr copy = holder(kFormID_PA40, 1);
  const FieldId& item = PA40::kFilingStatusCode;
  copy->store(item, DataMgmt::FieldValue::ofText("1,234"));
  copy->setOverridden(item, true);
  copy->setTentative(item, true);
  copy->setTentative(PA40::kOtherIncomeTopicField, true);
  startAudit(AuditMgmt::kAuditStandard, 8);
  auditor->auditFormGeneric("", 0, false, kFormID_PA40, copy, 1);
  EXPECT_TRUE(calls().empty());
  startAudit(AuditMgmt::kAuditStandard);
  auditor->auditFormGeneric("", 0, false, kFormID_PA40, copy, 1);
  ASSERT_EQ(calls().size(), 3u);
  const MessageCall overridden = calls()[0];
  EXPECT_EQ(std::vector<int>({overridden.answer, overridden.code, overridden.secondCode,
                              overridden.copy}),
            std::vector<int>({1, 1, 0, 1}));
  EXPECT_EQ(overridden.field, item);
  EXPECT_EQ(overridden.text, "\"1,234\"");
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
  ASSERT_EQ(calls().size(), 3u);
  EXPECT_EQ(calls()[0].call, "epFailMsg");
  EXPECT_EQ(calls()[1].call, "overrideCheckOneForm");
  EXPECT_EQ(calls()[1].federalForm, kFormID_FedFilerInfo);
  EXPECT_EQ(calls()[2].call, "overrideCheckOneForm");
}

TEST_F(StateLayerTest, PaymentReminderInListingModeOnly) {
  holder(kFormID_PAEstimatedVouchers, 1);
  startAudit(AuditMgmt::kAuditStandard, 8);
  auditor->auditPaymentSubmission(3);
  EXPECT_TRUE(reportLines().empty());  // tax balance 0
  pa->setTaxBalance(120);
  auditor->auditPaymentSubmission(3);
  ASSERT_EQ(reportLines().size(), 1u);
  EXPECT_EQ(reportLines()[0], "    - your payment must be submitted with your PA-V Payment Voucher.");
  startAudit(AuditMgmt::kAuditStandard);
  auditor->auditPaymentSubmission(3);
  EXPECT_TRUE(calls().empty());
  pa->setInElf(true);  // only the paper case selected, but filed electronically
  startAudit(AuditMgmt::kAuditStandard, 8);
  auditor->auditPaymentSubmission(1);
  EXPECT_TRUE(reportLines().empty());
}

// Every form of the PA print order, which the audit walks, is named by its
// printed title, not by its developer name.
TEST_F(StateLayerTest, EveryFormTheAuditWalksHasItsPrintedTitle) {
  for (const auto& residency : {PAReturnInfo::kFullYearResidentBox, PAReturnInfo::kNonresidentBox,
                                PAReturnInfo::kPartYearResidentBox}) {
    SetUp();
    mark(kFormID_PAReturnInfo, residency);
    PATaxFormPrintMgmt::PATaxFormPrinter paPrinter(*pa);
    std::vector<FormId> forms;
    char countA = 0, countB = 0;
    paPrinter.formsToAudit(forms, countA, countB);
    EXPECT_GT(forms.size(), 15u);
    for (const FormId& form : forms) {
      char name[256];
      pa->formName(name, form, 1);
      EXPECT_NE(name, pa->getTaxFormDescriptor(form)->getDevName()) << form.getNumber();
    }
  }
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
  pa->setInElf(true);  // class 2 (e-file audits only), note 2
  startAudit(AuditMgmt::kAuditStandard);
  auditor->auditCareOf("", 0, false, 3);
  EXPECT_TRUE(calls().empty());
  startAudit(AuditMgmt::kAuditEFile);
  auditor->auditCareOf("", 0, false, 3);
  const MessageCall eFile = calls().back();
  EXPECT_EQ(std::vector<int>({eFile.form.getNumber(), eFile.code, auditor->lastClass}),
            std::vector<int>({kFormID_PAReturnInfo.getNumber(), 6, 2}));
  EXPECT_EQ(eFile.text.find(kHintText), eFile.text.size() - std::strlen(kHintText));
  EXPECT_THROW(auditor->auditCareOf("", 0, false, 4), Exceptions::OrvaneException);

  SetUp();  // a long Care Of line is quoted whole
  const std::string careOf = std::string(190, 'c') + " of Smith";
  text(kFormID_FedFilerInfo, FedFilerInfo::kCareOf, careOf);
  startAudit(AuditMgmt::kAuditStandard);
  auditor->auditCareOf("", 0, false, 2);
  EXPECT_NE(calls().at(0).text.find("\"" + careOf + "\""), std::string::npos);
}

TEST_F(StateLayerTest, StateInfoEntered) {
  const struct {
    const char* values[3];
    int resEfileType, residency;  // residency: the information form's code
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
  // The information form passes its recorded residency (field 3).
  for (int residency : {1, 2}) {
    SetUp();
    EFileMgmt::EFileMgrHandle::setStateResEfileType(pa->getReturnType(), 2);
    number(kFormID_PAReturnInfo, PAReturnInfo::kResidencyChoice, residency);
    const Seen s = one(run(&P::auditReturnInfo, kFormID_PAReturnInfo, 1, kEF), "It looks like");
    EXPECT_EQ(s.answer, residency == 2);
    EXPECT_EQ(std::vector<int>({s.code, s.form}), std::vector<int>({7, 0}));
  }
}

TEST_F(StateLayerTest, DraftFormsAreNamedInPrintOrder) {
  printer->order = {kFormID_PA40, kFormID_PAScheduleA, kFormID_PAScheduleB};
  for (const FormId& form : printer->order) holder(form);
  const FormId drafts[] = {kFormID_PAScheduleB, kFormID_PA40, FormId()};
  startAudit(AuditMgmt::kAuditEFile);
  auditor->auditDraftForms(drafts);
  char a[256], b[256];
  pa->formName(a, kFormID_PA40, 1);
  pa->formName(b, kFormID_PAScheduleB, 1);
  ASSERT_EQ(calls().size(), 1u);
  EXPECT_TRUE(calls()[0].answer);
  EXPECT_EQ(calls()[0].text,
            "The Pennsylvania tax office isn't ready to accept returns with the following forms "
            "you have in your return. The final versions of these forms will be available in an "
            "update. To check for an update select Update The Program from the Tools menu.    "
            "Draft forms in your return include: " +
                std::string(a) + ", " + b + ".");
  const FormId none[] = {kFormID_PAScheduleE, FormId()};
  auditor->auditDraftForms(none);  // reported with answer false
  EXPECT_EQ(std::vector<int>({calls().back().answer, calls().back().code}),
            std::vector<int>({0, 6}));
  auditor->auditDraftForms(none + 1);  // an empty list: nothing
  EXPECT_EQ(calls().size(), 2u);
}

}  // namespace
}  // namespace audit_test
