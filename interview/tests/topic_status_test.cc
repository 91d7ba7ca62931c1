// The topics' status, gateway and instance answers. Fields are named by
// host field number, so a wrong member index in the rules shows here.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "interview/tests/interview_fixture.h"

namespace {

class TopicStatusTest : public InterviewTest {
 public:
  const FieldId& pa40(int n) { return kPA40FieldIds.byNumber(n); }
  const FieldId& info(int n) { return kPAReturnInfoFieldIds.byNumber(n); }
  const FieldId& idw(int n) { return kPAInterestDividendWorksheetFieldIds.byNumber(n); }
  const FieldId& scheduleE(int n) { return kPAScheduleEFieldIds.byNumber(n); }

  void markPA40(int n) { mark(kFormID_PA40, pa40(n)); }
  void markInfo(int n) { mark(kFormID_PAReturnInfo, info(n)); }
  void markScheduleE(int n) { mark(kFormID_PAScheduleE, scheduleE(n)); }
  void numberPA40(int n, double v) { number(kFormID_PA40, pa40(n), v); }
  void numberIdw(int n, double v) { number(kFormID_PAInterestDividendWorksheet, idw(n), v); }
  void inputForm(const FormId& form) { state->getFormOrCreate(form, 1); }

  int status(const char* id) { return topic(id)->getTopicStatus(); }
};

struct StatusCase {
  const char* topic;
  const char* entries;
  std::function<void(TopicStatusTest&)> enter;
  int status;
};

void nothing(TopicStatusTest&) {}

TEST_F(TopicStatusTest, RuledTopicsAnswerFromTheReturnsEntries) {
  using T = TopicStatusTest;
  const StatusCase cases[] = {
      {"JtVentureRent", "nothing", nothing, 2},
      {"JtVentureRent", "52351 positive", [](T& t) { t.numberPA40(52351, 5); }, 0},
      {"JtVentureRent", "52351 negative", [](T& t) { t.numberPA40(52351, -5); }, 2},
      {"LocalIncTxRet", "nothing", nothing, 0},
      {"LocalIncTxRet", "nonresident", [](T& t) { t.markInfo(47); }, 2},
      {"TaxPayPen", "nothing", nothing, 0},
      {"TaxPayPen", "32585 yes", [](T& t) { t.mark(kFormID_State14, kState14FieldIds.byNumber(32585)); }, 2},
      {"busMFJ", "nothing", nothing, 2},
      {"busMFJ", "309 yes", [](T& t) { t.markPA40(309); }, 0},
      {"busMFJ", "309 an explicit No",
       [](T& t) { t.put(kFormID_PA40, t.pa40(309), DataMgmt::FieldValue::no()); }, 2},
      {"miscinc", "nothing (not part-year)", nothing, 2},
      {"miscinc", "Schedule J 43 yes",
       [](T& t) { t.mark(kFormID_PAScheduleJ, kPAScheduleJFieldIds.byNumber(43)); }, 1},
      {"miscinc", "W-2G 9610 yes",
       [](T& t) { t.mark(kFormID_PAW2GIncome, kPAW2GIncomeFieldIds.byNumber(9610)); }, 1},
      {"miscinc", "360 yes", [](T& t) { t.markPA40(360); }, 1},
      {"miscinc", "part-year, 36093 zero", [](T& t) { t.markInfo(48); }, 2},
      {"miscinc", "part-year, 36093 negative", [](T& t) { t.markInfo(48); t.numberPA40(36093, -3); }, 2},
      {"miscinc", "part-year, 36093 positive", [](T& t) { t.markInfo(48); t.numberPA40(36093, 3); }, 1},
      {"pa40c", "nothing", nothing, 2},
      {"pa40c", "56127 yes", [](T& t) { t.markPA40(56127); }, 0},
      {"paamend", "nothing", nothing, 2},
      {"paamend", "42790 yes", [](T& t) { t.markInfo(42790); }, 1},
      {"pamisc", "nothing", nothing, 0},
      {"pamisc", "nonresident", [](T& t) { t.markInfo(47); }, 0},
      {"pausetax", "nothing", nothing, 0},
      {"paothbus", "nothing", nothing, 2},
      {"paothbus", "285 yes", [](T& t) { t.markPA40(285); }, 1},
      {"paothbus", "56128 negative", [](T& t) { t.numberPA40(56128, -4); }, 1},
      {"paothbus", "56129 positive", [](T& t) { t.numberPA40(56129, 3); }, 1},
      {"paextpmt", "nothing", nothing, 1},
      {"papmtsum", "nonresident", [](T& t) { t.markInfo(47); }, 1},
      {"papwh", "nothing", nothing, 2},
      {"papwh", "Schedule E 210 yes", [](T& t) { t.markScheduleE(210); }, 1},
      {"papwh", "210 and 46 yes", [](T& t) { t.markScheduleE(210); t.markInfo(46); }, 2},
      {"parefund", "nothing", nothing, 2},
      {"parefund", "251 positive", [](T& t) { t.numberPA40(251, 10); }, 1},
      {"parefund", "251 negative", [](T& t) { t.numberPA40(251, -10); }, 2},
      {"paschd", "nothing", nothing, 2},
      {"paschd", "150684 yes", [](T& t) { t.markInfo(150684); }, 0},
      {"paschewk", "nothing", nothing, 1},
      {"paschewk", "Schedule E 204 yes", [](T& t) { t.markScheduleE(204); }, 2},
      {"paschg", "nothing", nothing, 0},
      {"paschg", "nonresident", [](T& t) { t.markInfo(47); }, 2},
      {"paue1", "nothing", nothing, 2},
      {"paue1", "36510 non-zero", [](T& t) { t.numberPA40(36510, 1); }, 0},
      {"paue1", "36511 negative", [](T& t) { t.numberPA40(36511, -1); }, 0},
      {"pauppen", "nothing", nothing, 2},
      {"pauppen", "402 yes", [](T& t) { t.markPA40(402); }, 0},
      // Topics without a rule keep the host's answer, the initial status.
      {"pags", "nonresident", [](T& t) { t.markInfo(47); }, 0},
      {"pawages", "nothing", nothing, 1},
      {"pacontributions", "nothing", nothing, 2},
  };
  for (const StatusCase& c : cases) {
    deleteTree();
    SetUp();  // a fresh return per case
    c.enter(*this);
    EXPECT_EQ(status(c.topic), c.status) << c.topic << " with " << c.entries;
  }
}

TEST_F(TopicStatusTest, ANonresidentReturnClosesTheResidentTopics) {
  markInfo(47);
  markInfo(46);
  markInfo(48);
  inputForm(kFormID_State16);
  numberIdw(162, 5);
  EXPECT_EQ(status("paintdiv"), 2);
  EXPECT_EQ(status("LocalIncTxRet"), 2);
  EXPECT_EQ(status("paschg"), 2);
}

// --- Interest and dividends -------------------------------------------------

TEST_F(TopicStatusTest, InterestDividendsWithoutMarksIsOpenWhateverTheWorksheetHolds) {
  inputForm(kFormID_State16);
  numberIdw(162, 5);
  EXPECT_EQ(status("paintdiv"), 1);
}

TEST_F(TopicStatusTest, InterestDividendsWithoutInputFormsIsOpen) {
  markInfo(46);
  numberIdw(162, 5);
  EXPECT_EQ(status("paintdiv"), 1);
  EXPECT_FALSE(state->formExists(kFormID_State16, 1));  // looked up, not created
  EXPECT_FALSE(state->formExists(kFormID_State17, 1));
}

TEST_F(TopicStatusTest, InterestDividendsBranchesOnTheWorksheet) {
  using T = TopicStatusTest;
  struct Case {
    const char* entries;
    std::function<void(T&)> enter;
    int status;
  };
  // Both branches, with an input form present and Schedule E 204 marked
  // (so that its "not yes" test does not decide).
  const Case branchA[] = {
      {"nothing", nothing, 1},
      {"total 234", [](T& t) { t.numberIdw(234, 7); }, 0},
      {"162", [](T& t) { t.numberIdw(162, -1); }, 0},
      {"180", [](T& t) { t.numberIdw(180, 2); }, 0},
      {"313 yes", [](T& t) { t.mark(kFormID_PAInterestDividendWorksheet, t.idw(313)); }, 0},
      {"314 yes", [](T& t) { t.mark(kFormID_PAInterestDividendWorksheet, t.idw(314)); }, 0},
      {"PA-40 56127 yes", [](T& t) { t.markPA40(56127); }, 0},
      {"Schedule E 204 cleared",
       [](T& t) { t.put(kFormID_PAScheduleE, t.scheduleE(204), DataMgmt::FieldValue::null()); }, 0},
      {"307 (branch B only)", [](T& t) { t.numberIdw(307, 3); }, 1},
  };
  for (const Case& c : branchA) {
    deleteTree();
    SetUp();
    markInfo(46);
    inputForm(kFormID_State17);
    markScheduleE(204);
    c.enter(*this);
    EXPECT_EQ(status("paintdiv"), c.status) << "branch A, " << c.entries;
  }
  const Case branchB[] = {
      {"nothing", nothing, 1},
      {"307", [](T& t) { t.numberIdw(307, 3); }, 0},
      {"total 234", [](T& t) { t.numberIdw(234, 1); }, 0},
      {"313 yes", [](T& t) { t.mark(kFormID_PAInterestDividendWorksheet, t.idw(313)); }, 0},
  };
  for (const Case& c : branchB) {
    deleteTree();
    SetUp();
    markInfo(48);
    inputForm(kFormID_State16);
    markScheduleE(204);
    c.enter(*this);
    EXPECT_EQ(status("paintdiv"), c.status) << "branch B, " << c.entries;
  }
}

TEST_F(TopicStatusTest, InterestDividendsOfAPartYearReturnWithoutInputFormsIsOpen) {
  markInfo(48);
  numberIdw(307, 3);
  EXPECT_EQ(status("paintdiv"), 1);
}

// --- Gateway and instances --------------------------------------------------

TEST_F(TopicStatusTest, OtherStateCreditGatewayDependsOnPartYearResidency) {
  TopicMgmt::TopicDesc* credit = topic("paschg");
  EXPECT_EQ(credit->getGatewayType(0, 0), TopicMgmt::kGatewayType4);
  markInfo(48);
  EXPECT_EQ(credit->getGatewayType(1, 2), TopicMgmt::kGatewayType2);
  // Another answer of the host passes unchanged.
  credit->setGatewayType(TopicMgmt::kGatewayType4);
  EXPECT_EQ(credit->getGatewayType(0, 0), TopicMgmt::kGatewayType4);
  // Other topics keep the host's answer.
  EXPECT_EQ(topic("paschsp")->getGatewayType(0, 0), TopicMgmt::kGatewayType2);
}

TEST_F(TopicStatusTest, SalesTopicAllowsOneInstance) {
  EXPECT_EQ(topic("paschd")->getMaxInstances(), 1);
  EXPECT_EQ(topic("paschewk")->getMaxInstances(), 0);
}

TEST_F(TopicStatusTest, StatusRulesAreReadsOnly) {
  state->setSaveNeeded(false);
  for (const char* id : {"paintdiv", "miscinc", "papwh", "TaxPayPen", "paschg"}) {
    topic(id)->getTopicStatus();
  }
  topic("paschg")->getGatewayType(0, 0);
  EXPECT_FALSE(state->isSaveNeeded());
  EXPECT_FALSE(state->formExists(kFormID_PAReturnInfo, 1));
}

TEST_F(TopicStatusTest, TopicsOfAStoreWithoutThePAReturnReadNothing) {
  DataMgmt::TaxDataStore empty;
  std::unique_ptr<std::vector<TopicMgmt::TopicDesc*>> topics(buildInterviewHierarchy(empty));
  for (TopicMgmt::TopicDesc* top : *topics) {
    for (TopicMgmt::TopicDesc* t : top->getChildren()) {
      t->getTopicStatus();
      t->getGatewayType(0, 0);
    }
    top->getTopicStatus();
  }
  EXPECT_EQ((*topics)[1]->getChildren()[3]->getIdText(), "paintdiv");
  EXPECT_EQ((*topics)[1]->getChildren()[3]->getTopicStatus(), 1);
  for (TopicMgmt::TopicDesc* top : *topics) delete top;
}

}  // namespace
