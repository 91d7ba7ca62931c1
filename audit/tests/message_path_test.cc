// The audit message path: class filter, wording, notes, listing mode, the
// recording session and the stored e-file refusal.
#include <cstring>

#include "audit/tests/state_auditor_fixture.h"
#include "host/data_manager.h"
#include "host/efile.h"
#include "host/user_interface.h"

namespace {

const char kHint[] =
    "  For instructions on how to make this change, click the FAQ \"How can I go back to an "
    "Interview topic?\"";
const char kStateOnly[] =
    "  This issue only affects your state return. You can still e-file your federal return and "
    "file your state return on paper. We'll guide you step-by-step through the process when you "
    "finish checking your return.";

class MessagePathTest : public StateAuditorTest {
 protected:
  void TearDown() override {
    DataMgmt::TaxDataMgrHandle::setUserInterface(nullptr);
    StateAuditorTest::TearDown();
  }
  void report(uint8_t cls, bool answer, const char* text, int note = 0, unsigned short copy = 2) {
    auditor->reportAuditIssue("help", 0, true, cls, answer, 4, kFormID_PA40, copy, FieldId(9),
                              text, note);
  }
  void refuse(uint8_t cls, bool answer, const char* text) {
    auditor->reportEFileIssue("help", 0, false, cls, answer, 6, FormId(), 0, FieldId(0), text, 0);
  }
  std::string refusalText() {
    return federalPtr->getFieldAsString(kFormID_Fed183, 1, kFed183FieldIds[50]);
  }
  double refusalStatus() { return federalPtr->getIR(kFormID_Fed183, 1, kFed183FieldIds[49]); }
  void recording(bool on) {
    ui.setRecording(on);
    DataMgmt::TaxDataMgrHandle::setUserInterface(&ui);
  }

  UIBridgeMgmt::UserInterface ui;
};

TEST_F(MessagePathTest, TextGetsOneFinalPeriod) {
  startAudit(AuditMgmt::kAuditStandard);
  report(1, true, "Missing entry");
  report(1, true, "Already ends.");
  report(1, false, "");
  report(1, false, nullptr);
  ASSERT_EQ(calls().size(), 4u);
  EXPECT_EQ(calls()[0].text, "Missing entry.");
  EXPECT_EQ(calls()[1].text, "Already ends.");
  EXPECT_EQ(calls()[2].text, "");
  EXPECT_EQ(calls()[3].text, "");
}

TEST_F(MessagePathTest, ShownMessageCarriesTheRuleParameters) {
  startAudit(AuditMgmt::kAuditStandard);
  report(3, true, "x", 0, 0);
  ASSERT_EQ(calls().size(), 1u);
  const MessageCall& call = calls()[0];
  EXPECT_EQ(call.call, "showAuditMsg");
  EXPECT_EQ(call.helpId, "help");
  EXPECT_FALSE(call.flag);  // the path always passes false onward
  EXPECT_TRUE(call.answer);
  EXPECT_EQ(call.code, 4);
  EXPECT_EQ(call.secondCode, 1);
  EXPECT_EQ(call.form, kFormID_PA40);
  EXPECT_EQ(call.copy, 1);  // copy 0 is taken as 1
  EXPECT_EQ(call.field.getNumber(), 9);
  EXPECT_EQ(auditor->lastClass, 3);
}

TEST_F(MessagePathTest, ClassFilter) {
  const struct {
    uint8_t cls;
    AuditMgmt::AuditType type;
    uint16_t filter;
    bool shown;
  } cases[] = {
      {3, AuditMgmt::kAuditStandard, 0, true},   {3, AuditMgmt::kAuditEFile, 0, true},
      {1, AuditMgmt::kAuditStandard, 0, true},   {1, AuditMgmt::kAuditEFile, 0, false},
      {2, AuditMgmt::kAuditStandard, 0, false},  {2, AuditMgmt::kAuditEFile, 0, true},
      {8, AuditMgmt::kAuditStandard, 0, false},  {8, AuditMgmt::kAuditEFile, 0, false},
      {0x10, AuditMgmt::kAuditStandard, 0, false}, {0x22, AuditMgmt::kAuditEFile, 0, true},
      {8, AuditMgmt::kAuditStandard, 8, true},   {0x10, AuditMgmt::kAuditStandard, 0x10, true},
      {8, AuditMgmt::kAuditStandard, 0x10, false}, {3, AuditMgmt::kAuditStandard, 8, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << int(c.cls) << " " << c.type << " " << c.filter);
    SetUp();
    startAudit(c.type, c.filter);
    report(c.cls, true, "Issue");
    const bool shownOrListed = !calls().empty() || auditor->getAuditReport()->size() > 0;
    EXPECT_EQ(shownOrListed, c.shown);
  }
}

TEST_F(MessagePathTest, ListingModeAddsReportLinesOnly) {
  startAudit(AuditMgmt::kAuditStandard, 8);
  report(8, true, "Attach Schedule W-2S", 2);
  report(8, false, "Attach Schedule X");
  report(8, true, "");
  EXPECT_TRUE(calls().empty());
  const std::vector<std::string> lines = reportLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "    - attach Schedule W-2S.");  // the note kind is ignored
  EXPECT_EQ(lines[1], "    - ");
  EXPECT_EQ(auditor->listingCount, 2);
  const AuditMgmt::AuditReportLine& line = auditor->getAuditReport()->lines()[0];
  EXPECT_EQ(line.form.getNumber(), 0);
  EXPECT_EQ(line.copy, 1);
  EXPECT_EQ(line.field.getNumber(), 0);
  EXPECT_EQ(line.first, "");
  EXPECT_TRUE(line.last);
}

TEST_F(MessagePathTest, RecordingSessionListsBothAnswers) {
  recording(true);
  startAudit(AuditMgmt::kAuditStandard, 8);
  report(8, true, "Attach it");
  report(8, false, "Attach that");
  EXPECT_EQ(reportLines(), (std::vector<std::string>{"Y    - attach it.", "N    - attach that."}));
  EXPECT_EQ(auditor->listingCount, 1);
}

TEST_F(MessagePathTest, RecordingSessionAddsYesNoInOrdinaryMode) {
  recording(true);
  startAudit(AuditMgmt::kAuditEFile);
  report(2, false, "Bad entry");
  report(2, true, "Bad entry");
  EXPECT_EQ(reportLines(), (std::vector<std::string>{"--No--", "--Yes--"}));
  ASSERT_EQ(calls().size(), 2u);
  EXPECT_FALSE(calls()[0].answer);
  EXPECT_TRUE(calls()[1].answer);
  EXPECT_EQ(pa->eFileAuditProblem, 1);  // through showStateAuditMsg
}

TEST_F(MessagePathTest, NotesFollowTheKindOfAudit) {
  ASSERT_EQ(std::strlen(kHint), 103u);
  startAudit(AuditMgmt::kAuditStandard);
  report(3, true, "Text", 1);
  report(3, true, "Text", 2);
  startAudit(AuditMgmt::kAuditEFile);
  report(3, true, "Text", 1);
  report(3, true, "Text", 2);
  ASSERT_EQ(calls().size(), 4u);
  EXPECT_EQ(calls()[0].text, "Text.");
  EXPECT_EQ(calls()[1].text, std::string("Text.") + kHint);
  EXPECT_EQ(calls()[2].text, std::string("Text.") + kStateOnly);
  EXPECT_EQ(calls()[3].text, std::string("Text.") + kHint);
}

TEST_F(MessagePathTest, EFileIssueIsShownForCopyOne) {
  startAudit(AuditMgmt::kAuditEFile);
  auditor->reportEFileIssue("h", 0, false, 2, true, 6, kFormID_PAScheduleA, 3, FieldId(5), "No",
                            0);
  ASSERT_EQ(calls().size(), 1u);
  EXPECT_EQ(calls()[0].copy, 1);
  EXPECT_EQ(calls()[0].form, kFormID_PAScheduleA);
}

class RefusalRecordTest : public MessagePathTest {
 protected:
  void SetUp() override {
    MessagePathTest::SetUp();
    EFileMgmt::EFileMgrHandle::setCurFileReturnType(pa->getReturnType());
    number(kFormID_Fed183, kFed183FieldIds[49], 1);  // field 28906: nothing stored yet
  }
};

TEST_F(RefusalRecordTest, OnlyTheFirstRefusalIsStored) {
  startAudit(AuditMgmt::kAuditEFile);
  refuse(0x22, false, "Not stored");
  EXPECT_EQ(refusalStatus(), 1);
  refuse(0x22, true, "First refusal");
  refuse(0x22, true, "Second refusal.");
  EXPECT_EQ(refusalStatus(), 0);
  EXPECT_EQ(refusalText(), "First refusal.");
  EXPECT_EQ(calls().size(), 3u);
}

TEST_F(RefusalRecordTest, RecordDoesNotDependOnTheFilter) {
  startAudit(AuditMgmt::kAuditStandard);  // class 0x22 is not shown here
  refuse(0x22, true, "Refused.");
  EXPECT_TRUE(calls().empty());
  EXPECT_EQ(refusalText(), "Refused.");
}

TEST_F(RefusalRecordTest, NoRecordWithoutTheRecordBitOrForAnotherFile) {
  startAudit(AuditMgmt::kAuditEFile);
  refuse(0x02, true, "Not recorded");
  EXPECT_EQ(refusalStatus(), 1);
  EFileMgmt::EFileMgrHandle::setCurFileReturnType(1);  // a federal file
  refuse(0x22, true, "Not recorded");
  EXPECT_EQ(refusalStatus(), 1);
  EXPECT_EQ(refusalText(), "");
}

TEST_F(MessagePathTest, NoFederalForm183MeansNoRecord) {
  EFileMgmt::EFileMgrHandle::setCurFileReturnType(pa->getReturnType());
  startAudit(AuditMgmt::kAuditEFile);
  refuse(0x22, true, "Refused");
  EXPECT_FALSE(federalPtr->formExists(kFormID_Fed183, 1));
  EXPECT_EQ(calls().size(), 1u);
}

}  // namespace
