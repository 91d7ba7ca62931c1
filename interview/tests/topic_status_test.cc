// The topics' status, gateway and instance answers.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "interview/tests/interview_fixture.h"

namespace {

class TopicStatusTest : public InterviewTest {
 public:
  void info(const FieldId& box) { mark(kFormID_PAReturnInfo, box); }
  void pa40(const FieldId& field, double value) { number(kFormID_PA40, field, value); }
  void worksheet(const FieldId& field, double value) { number(kFormID_PAInterestDividendWorksheet, field, value); }
  void inputForm(const FormId& form) { state->getFormOrCreate(form, 1); }
  int status(const char* id) { return topic(id)->getTopicStatus(); }

  struct Case {
    const char* topic;
    std::function<void(TopicStatusTest&)> enter;
    int status;
  };
  // Each case on a fresh return.
  void expectStatuses(const std::vector<Case>& cases, const std::function<void(TopicStatusTest&)>& common) {
    for (const Case& c : cases) {
      deleteTree();
      SetUp();
      common(*this);
      c.enter(*this);
      EXPECT_EQ(status(c.topic), c.status) << c.topic << " case " << (&c - cases.data());
    }
  }
};

using T = TopicStatusTest;
void nothing(T&) {}

TEST_F(TopicStatusTest, RuledTopicsAnswerFromTheReturnsEntries) {
  const auto nonresident = [](T& t) { t.info(PAReturnInfo::kNonresidentBox); };
  expectStatuses(
      {
          {"JtVentureRent", [](T& t) { t.pa40(PA40::kJointVentureScheduleCCount, 5); }, 0},
          {"JtVentureRent", [](T& t) { t.pa40(PA40::kJointVentureScheduleCCount, -5); }, 2},
          {"parefund", [](T& t) { t.pa40(PA40::kOverpayment, -10); }, 2},
          {"parefund", [](T& t) { t.pa40(PA40::kOverpayment, 10); }, 1},
          {"paothbus", [](T& t) { t.pa40(PA40::kTaxpayerFederalFarmIncome, -4); }, 1},  // non-zero
          {"paothbus", nothing, 2},
          {"busMFJ", [](T& t) { t.put(kFormID_PA40, PA40::kBothUETotalsBox, DataMgmt::FieldValue::no()); }, 2},
          {"miscinc", [](T& t) { t.info(PAReturnInfo::kPartYearResidentBox); t.pa40(PA40::kOtherDeductions, 3); }, 1},
          {"TaxPayPen", [](T& t) { t.mark(kFormID_State14, State14::kTaxesPaymentsStatusBox); }, 2},
          {"pamisc", nonresident, 0},
          {"pags", nonresident, 0},  // no rule: the host's answer, the initial status
          // A nonresident return closes the resident topics, whatever else is entered.
          {"LocalIncTxRet", nonresident, 2},
          {"paschg", [](T& t) { t.info(PAReturnInfo::kNonresidentBox); t.info(PAReturnInfo::kPartYearResidentBox); }, 2},
          {"paintdiv", [](T& t) { t.info(PAReturnInfo::kNonresidentBox); t.info(PAReturnInfo::kFullYearResidentBox);
                                  t.inputForm(kFormID_State16);
                                  t.worksheet(PAInterestDividendWorksheet::kFederalInterest, 5); }, 2},
      },
      nothing);
}

// Interest and dividends: with residency marks and an input form, the
// worksheet's entries decide; Schedule E's box is marked so that its "not
// yes" test does not decide.
TEST_F(TopicStatusTest, InterestDividendsBranchOnResidencyAndTheWorksheet) {
  namespace W = PAInterestDividendWorksheet;
  const std::vector<Case> either = {
      {"paintdiv", nothing, 1},
      {"paintdiv", [](T& t) { t.worksheet(W::kFederalDividends, 7); }, 0},
      {"paintdiv", [](T& t) { t.worksheet(W::kFederalInterest, -1); }, 0},
      {"paintdiv", [](T& t) { t.worksheet(W::kEstateTrustInterest, 2); }, 0},
      {"paintdiv", [](T& t) { t.mark(kFormID_PAInterestDividendWorksheet, W::kPartnershipSecondKindInterestBox); }, 0},
      {"paintdiv", [](T& t) { t.mark(kFormID_PA40, PA40::kScheduleCBox); }, 0},
      {"paintdiv", [](T& t) { t.put(kFormID_PAScheduleE, PAScheduleE::kNoRK1AmountsBox, DataMgmt::FieldValue::null()); }, 0},
  };
  for (const FieldId* residency : {&PAReturnInfo::kFullYearResidentBox.id(), &PAReturnInfo::kPartYearResidentBox.id()}) {
    std::vector<Case> cases = either;
    const bool branchA = residency == &PAReturnInfo::kFullYearResidentBox.id();
    cases.push_back({"paintdiv", [](T& t) { t.worksheet(W::kSummaryExemptInterestOfBoth, 3); }, branchA ? 1 : 0});
    expectStatuses(cases, [residency](T& t) {
      t.info(*residency);
      t.inputForm(kFormID_State17);
      t.mark(kFormID_PAScheduleE, PAScheduleE::kNoRK1AmountsBox);
    });
  }
  // Open without the marks, or without an input form; the forms are looked
  // up, not made.
  expectStatuses({{"paintdiv", [](T& t) { t.inputForm(kFormID_State16); }, 1},
                  {"paintdiv", [](T& t) { t.info(PAReturnInfo::kFullYearResidentBox); }, 1},
                  {"paintdiv", [](T& t) { t.info(PAReturnInfo::kPartYearResidentBox); }, 1}},
                 [](T& t) { t.worksheet(W::kFederalInterest, 5); });
  EXPECT_FALSE(state->formExists(kFormID_State16, 1) || state->formExists(kFormID_State17, 1));
}

TEST_F(TopicStatusTest, GatewayInstancesAndReadsOnly) {
  state->setSaveNeeded(false);
  for (const char* id : {"paintdiv", "miscinc", "papwh", "TaxPayPen", "paschg"}) status(id);
  TopicMgmt::TopicDesc* credit = topic("paschg");
  EXPECT_EQ(credit->getGatewayType(0, 0), TopicMgmt::kGatewayType4);
  EXPECT_FALSE(state->isSaveNeeded());  // the rules only read
  EXPECT_FALSE(state->formExists(kFormID_PAReturnInfo, 1));
  info(PAReturnInfo::kPartYearResidentBox);
  EXPECT_EQ(credit->getGatewayType(1, 2), TopicMgmt::kGatewayType2);
  credit->setGatewayType(TopicMgmt::kGatewayType4);  // another answer of the host passes unchanged
  EXPECT_EQ(credit->getGatewayType(0, 0), TopicMgmt::kGatewayType4);
  EXPECT_EQ(topic("paschsp")->getGatewayType(0, 0), TopicMgmt::kGatewayType2);
  EXPECT_EQ(topic("paschd")->getMaxInstances(), 1);
  EXPECT_EQ(topic("paschewk")->getMaxInstances(), 0);

  // Topics of a store without the PA return read nothing.
  DataMgmt::TaxDataStore empty;
  std::unique_ptr<std::vector<TopicMgmt::TopicDesc*>> topics(buildInterviewHierarchy(empty));
  for (TopicMgmt::TopicDesc* top : *topics) {
    for (TopicMgmt::TopicDesc* t : top->getChildren()) t->getTopicStatus(), t->getGatewayType(0, 0);
    top->getTopicStatus();
  }
  EXPECT_EQ((*topics)[1]->getChildren()[3]->getTopicStatus(), 1);  // paintdiv
  for (TopicMgmt::TopicDesc* top : *topics) delete top;
}

}  // namespace
