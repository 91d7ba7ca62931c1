// The topics' status, gateway and instance answers.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "host/descriptors.h"
#include "interview/tests/interview_fixture.h"

namespace {

class TopicStatusTest : public InterviewTest {
 protected:
  // Writes entries "DEVNAME:field:value" (blank-separated) on copy 1 of PA
  // forms: value X marks, N is an explicit No, null empties, else a number.
  // "DEVNAME" alone makes the copy.
  void enter(const std::string& entries) {
    std::istringstream in(entries);
    for (std::string entry; in >> entry;) {
      const std::size_t colon = entry.find(':'), second = entry.rfind(':');
      const std::string dev = entry.substr(0, colon), value = entry.substr(second + 1);
      for (const auto& form : state->getTaxReturnDesc()->getTaxFormDescriptors()) {
        if (form->getDevName() != dev) continue;
        state->getFormOrCreate(form->getTypeID(), 1);
        if (colon == std::string::npos) continue;
        using V = DataMgmt::FieldValue;
        put(form->getTypeID(), FieldId(std::stoi(entry.substr(colon + 1, second - colon - 1))),
            value == "X" ? V::mark() : value == "N" ? V::no() : value == "null" ? V::null() : V::of(std::stod(value)));
      }
    }
  }
  struct Case {
    const char *topic, *entries;
    int status;
  };
  // Each case on a fresh return, after `common`.
  void expectStatuses(const std::vector<Case>& cases, const std::string& common = "") {
    for (const Case& c : cases) {
      deleteTree();
      SetUp();
      enter(common + " " + c.entries);
      EXPECT_EQ(topic(c.topic)->getTopicStatus(), c.status) << c.topic << ": " << common << " " << c.entries;
    }
  }
};

// Each line of each rule that answers from the entries, then the fixed
// answers and a topic without a rule (the host's initial status).
TEST_F(TopicStatusTest, RuledTopicsAnswerFromTheReturnsEntries) {
  expectStatuses({
      {"JtVentureRent", "PA40:52351:5", 0}, {"JtVentureRent", "PA40:52351:-5", 2},
      {"LocalIncTxRet", "PARETURNINFO:47:X", 2}, {"LocalIncTxRet", "", 0}, {"TaxPayPen", "STATE14:32585:X", 2},
      {"busMFJ", "PA40:309:X", 0}, {"busMFJ", "PA40:309:N", 2},
      {"miscinc", "PASCHEDULEJ:43:X", 1}, {"miscinc", "PAW2GINCOME:9610:X", 1}, {"miscinc", "PA40:360:X", 1},
      {"miscinc", "PA40:36093:3", 2}, {"miscinc", "PARETURNINFO:48:X", 2},
      {"miscinc", "PARETURNINFO:48:X PA40:36093:3", 1}, {"pa40c", "PA40:56127:X", 0}, {"pa40c", "", 2},
      {"paamend", "PARETURNINFO:42790:X", 1}, {"paamend", "", 2},
      {"paothbus", "PA40:285:X", 1}, {"paothbus", "PA40:56128:-4", 1}, {"paothbus", "PA40:56129:4", 1},
      {"paothbus", "", 2}, {"papwh", "PASCHEDULEE:210:X", 1}, {"papwh", "", 2},
      {"papwh", "PASCHEDULEE:210:X PARETURNINFO:46:X", 2}, {"parefund", "PA40:251:10", 1}, {"parefund", "PA40:251:-10", 2},
      {"paschd", "PARETURNINFO:150684:X", 0}, {"paschd", "", 2}, {"paschewk", "PASCHEDULEE:204:X", 2},
      {"paschewk", "", 1}, {"paschg", "PARETURNINFO:47:X PARETURNINFO:48:X", 2}, {"paschg", "", 0},
      {"paue1", "PA40:36510:-1", 0}, {"paue1", "PA40:36511:1", 0}, {"paue1", "", 2},
      {"pauppen", "PA40:402:X", 0}, {"pauppen", "", 2}, {"pamisc", "PARETURNINFO:47:X", 0}, {"pausetax", "", 0},
      {"paextpmt", "", 1}, {"papmtsum", "", 1}, {"pags", "PARETURNINFO:47:X", 0},
  });
}

// Interest and dividends: with a residency mark and input form 17, the
// worksheet's entries decide; Schedule E's box is marked so that its "not
// yes" test does not decide.
TEST_F(TopicStatusTest, InterestDividendsBranchOnResidencyAndTheWorksheet) {
  for (const char* residency : {"PARETURNINFO:46:X", "PARETURNINFO:48:X"}) {
    const bool branchA = residency == std::string("PARETURNINFO:46:X");
    expectStatuses({{"paintdiv", "", 1},
                    {"paintdiv", "PAINTERESTDIVIDENDWORKSHEET:234:7", 0},
                    {"paintdiv", "PAINTERESTDIVIDENDWORKSHEET:162:-1", 0},
                    {"paintdiv", "PAINTERESTDIVIDENDWORKSHEET:180:2", 0},
                    {"paintdiv", "PAINTERESTDIVIDENDWORKSHEET:313:X", 0},
                    {"paintdiv", "PAINTERESTDIVIDENDWORKSHEET:314:X", 0},
                    {"paintdiv", "PA40:56127:X", 0},
                    {"paintdiv", "PASCHEDULEE:204:null", 0},
                    {"paintdiv", "PAINTERESTDIVIDENDWORKSHEET:307:3", branchA ? 1 : 0}},
                   std::string(residency) + " STATE17 PASCHEDULEE:204:X");
  }
  // Nonresident first; without the marks, or without an input form, 1. The
  // forms are looked up, not made.
  expectStatuses({{"paintdiv", "PARETURNINFO:47:X PARETURNINFO:46:X STATE16", 2},
                  {"paintdiv", "STATE16", 1},
                  {"paintdiv", "PARETURNINFO:46:X", 1},
                  {"paintdiv", "PARETURNINFO:48:X", 1}},
                 "PAINTERESTDIVIDENDWORKSHEET:162:5");
  EXPECT_FALSE(state->formExists(kFormID_State17, 1));
}

TEST_F(TopicStatusTest, GatewayInstancesAndReadsOnly) {
  state->setSaveNeeded(false);
  for (const char* id : {"paintdiv", "miscinc", "papwh", "TaxPayPen", "paschg"}) topic(id)->getTopicStatus();
  TopicMgmt::TopicDesc* credit = topic("paschg");
  EXPECT_EQ(credit->getGatewayType(0, 0), TopicMgmt::kGatewayType4);
  EXPECT_FALSE(state->isSaveNeeded() || state->formExists(kFormID_PAReturnInfo, 1));  // the rules only read
  enter("PARETURNINFO:48:X");
  EXPECT_EQ(credit->getGatewayType(1, 2), TopicMgmt::kGatewayType2);
  credit->setGatewayType(TopicMgmt::kGatewayType4);  // another answer of the host passes unchanged
  EXPECT_EQ(credit->getGatewayType(0, 0), TopicMgmt::kGatewayType4);
  EXPECT_EQ(topic("paschsp")->getGatewayType(0, 0), TopicMgmt::kGatewayType2);
  EXPECT_TRUE(topic("paschd")->getMaxInstances() == 1 && topic("paschewk")->getMaxInstances() == 0);
  // Topics of a store without the PA return read it as empty.
  DataMgmt::TaxDataStore empty;
  std::unique_ptr<std::vector<TopicMgmt::TopicDesc*>> topics(buildInterviewHierarchy(empty));
  for (TopicMgmt::TopicDesc* top : *topics) {
    for (TopicMgmt::TopicDesc* t : top->getChildren()) t->getTopicStatus(), t->getGatewayType(0, 0);
  }
  EXPECT_EQ((*topics)[1]->getChildren()[3]->getTopicStatus(), 1);  // paintdiv
  for (TopicMgmt::TopicDesc* top : *topics) delete top;
}

}  // namespace
