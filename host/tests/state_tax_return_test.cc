// The state return base: federal pulls, the W-2 owner rule, cross-side
// texts, dates, bounded results and the shares it keeps.
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "host/rounding.h"
#include "host/stand_in.h"
#include "host/state_tax_return.h"
#include "host/us_tax_return.h"

namespace {

using DataMgmt::TaxFormPtr;
using DataMgmt::TaxReturnDesc;
using DataMgmt::TaxReturnPtr;
using DataMgmt::USTaxReturn;
using Primitives::OVImmutableFormIdentifier;
typedef Primitives::OVImmutableIdentifier Id;

const OVImmutableFormIdentifier kFedReturn(1);
const OVImmutableFormIdentifier kFedW2(52);
const OVImmutableFormIdentifier kPA40(169, true);
const OVImmutableFormIdentifier kPAReturnInfo(168, true);

// The smallest state module: constant answers.
class TestStateReturn : public StateDataMgmt::StateTaxReturn {
 public:
  TestStateReturn(TaxReturnPtr& federal)
      : StateTaxReturn(federal, TaxReturnDesc::pennsylvania(), Utils::StringPool::shared()) {}
  void getStateAbbreviation(char* buf) override { std::snprintf(buf, 3, "PA"); }
  void getStateName(char* buf) override { std::snprintf(buf, 13, "Pennsylvania"); }
  int32_t getStateNumber() override { return 39; }
  uint32_t getStateProductCode() override { return 1; }
  uint32_t getStateProductCode2() override { return 1; }
  StateDataMgmt::FormId getInfoFormId() override { return kPAReturnInfo; }
  StateDataMgmt::FieldId getInfoFieldId31() override { return Id(31); }
  StateDataMgmt::FieldId getInfoFieldId33() override { return Id(33); }
  StateDataMgmt::FieldId getInfoFieldId34() override { return Id(34); }
  StateDataMgmt::FieldId getInfoFieldId35() override { return Id(35); }
  StateDataMgmt::FieldId getInfoFieldId36() override { return Id(36); }
  StateDataMgmt::FieldId getInfoFieldId38() override { return Id(38); }
  StateDataMgmt::FieldId getInfoFieldId39() override { return Id(39); }
  StateDataMgmt::FieldId getInfoFieldId40() override { return Id(40); }
  StateDataMgmt::FieldId getInfoFieldId2() override { return Id(2); }
  void mapStateField(const StateDataMgmt::FormId&, const StateDataMgmt::FieldId&,
                     StateDataMgmt::FormId&, StateDataMgmt::FieldId&) override {}
  void getStateTextItem(char* buf, int32_t* amount, int) override {
    buf[0] = '\0';
    *amount = 0;
  }
  void getMailingAddress(char* buf, int) override { buf[0] = '\0'; }
};

class StateReturnTest : public ::testing::Test {
 protected:
  StateReturnTest() : federal_(new USTaxReturn()), state_(federal_) {
    StandIn::resetAll();
    fed().pullLog().clear();
  }
  USTaxReturn& fed() { return *static_cast<USTaxReturn*>(federal_.get()); }

  TaxReturnPtr federal_;
  TestStateReturn state_;
};

TEST_F(StateReturnTest, PullCommonLooksUpFormAndCodeThenCodeAlone) {
  fed().setCommonItem(14, 500);
  fed().setCommonItem(55, 14, 700);
  const OVImmutableFormIdentifier fed55(55);
  EXPECT_EQ(700, state_.pullCommon(fed55, 1, static_cast<Utils::PCTypes>(14)));
  EXPECT_EQ(500, state_.pullCommon(kFedReturn, 9, static_cast<Utils::PCTypes>(14)));
  EXPECT_EQ(0, state_.pullCommon(kFedReturn, 1, static_cast<Utils::PCTypes>(15)));
  fed().setCommonItem(16, LONG_MIN);  // saturates like every whole amount
  EXPECT_EQ(-Utils::kMaxWholeAmount,
            state_.pullCommon(kFedReturn, 1, static_cast<Utils::PCTypes>(16)));
  EXPECT_EQ((std::vector<std::string>{"pullCommon(55,1,14)", "pullCommon(1,9,14)",
                                      "pullCommon(1,1,15)", "pullCommon(1,1,16)"}),
            fed().pullLog());
  fed().setCommonItem(1, 2);
  EXPECT_EQ(2, fed().getFilingStatus());  // code 1
}

// A copy goes to the spouse only when only its spouse mark is set.
TEST_F(StateReturnTest, W2AmountsGoToTheirOwner) {
  const struct {
    bool taxpayer, spouse;
    double wages, extra;
  } copies[] = {{true, false, 100000, 50}, {false, true, 20000, 0}, {false, false, 300, 0},
                {true, true, 400, 0}};
  uint16_t c = 1;
  for (const auto& copy : copies) {
    TaxFormPtr w2 = fed().getFormOrCreate(kFedW2, c++);
    if (copy.taxpayer) w2->setX(Id(1));
    if (copy.spouse) w2->setX(Id(2));
    w2->assignIR(Id(105), copy.wages);
    w2->assignIR(Id(106), copy.extra);
  }
  double w1 = -1, w2 = -1;
  state_.getFromW2(kFedW2, Id(105), Id(106), false, w1, w2);
  EXPECT_DOUBLE_EQ(1007.5, w1);
  EXPECT_DOUBLE_EQ(200.0, w2);
  EXPECT_EQ("getFromW2(52,105,106)", fed().pullLog().front());
  // The sums follow a changed mark, amount or copy.
  fed().getFormOrCreate(kFedW2, 4)->setXNo(Id(1));  // now the spouse's
  fed().getFormOrCreate(kFedW2, 2)->assignIR(Id(106), 100);
  fed().getFormOrCreate(kFedW2, 5)->assignIR(Id(105), 1000);
  state_.getFromW2(kFedW2, Id(105), Id(106), false, w1, w2);
  EXPECT_DOUBLE_EQ(1013.5, w1);
  EXPECT_DOUBLE_EQ(205.0, w2);
  fed().setStateWages(10, 20);
  EXPECT_EQ(30, state_.getStateWages(0));
  for (std::size_t i = 0; i <= StandIn::kMaxRecordedCalls; ++i) state_.getStateWages(0);  // a bounded log
  EXPECT_EQ(fed().pullLog().size(), StandIn::kMaxRecordedCalls);
  EXPECT_EQ(StandIn::diagnostics().unrecordedCalls, 4);
}

// textString follows a federal form id to the federal return, formString
// stays on its side; dates and the refund code are read within bounds.
TEST_F(StateReturnTest, TextsAcrossTheSidesAndBoundedResults) {
  fed().getFormOrCreate(kFedW2, 1)->assignIR(Id(105), 1250);
  TaxFormPtr info = state_.getFormOrCreate(kPAReturnInfo, 1);
  info->assignText(Id(1), "01/15/2018");
  char buf[128];
  EXPECT_STREQ("12.50", state_.textString(buf, kFedW2, 1, Id(105)));
  EXPECT_STREQ("01/15/2018", state_.textString(buf, kPAReturnInfo, 1, Id(1)));
  EXPECT_STREQ("", state_.formString(buf, kFedW2, 1, Id(105)));
  state_.formatFieldString(buf, -120, kFedW2, 1, Id(105));
  EXPECT_STREQ("-1.20", buf);
  EXPECT_EQ(15, state_.dateParse(info, Id(1), Utils::kDateDay));
  EXPECT_EQ(0, state_.dateParse(TaxFormPtr(), Id(1), Utils::kDateYear));

  char code[32];
  std::memset(code, 'z', sizeof code);
  state_.setRefundCode(std::string(40, 'R'));
  state_.getRefundCode(code);
  EXPECT_EQ(15u, std::strlen(code));
  EXPECT_EQ('z', code[16]);
}

TEST(StateReturnSharesTest, KeepsOneShareOfEachArgumentAndReleasesIt) {
  TaxReturnPtr federal(new USTaxReturn());
  DataMgmt::TaxReturnDescPtr desc = TaxReturnDesc::pennsylvania();
  Utils::StringPoolPtr pool = Utils::StringPool::shared();
  const long fed0 = federal.useCount(), desc0 = desc.useCount(), pool0 = pool.useCount();
  {
    TestStateReturn state(federal);
    EXPECT_EQ(fed0 + 1, federal.useCount());
    EXPECT_EQ(desc0 + 1, desc.useCount());
    EXPECT_EQ(pool0 + 1, pool.useCount());
  }
  EXPECT_EQ(fed0, federal.useCount());
  EXPECT_EQ(desc0, desc.useCount());
  EXPECT_EQ(pool0, pool.useCount());
}

}  // namespace
