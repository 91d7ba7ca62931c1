// The events of the shared topics: the end of the interview and the
// program-update choice on state form 14.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/data_manager.h"
#include "host/topics.h"
#include "interview/tests/interview_fixture.h"

namespace {

class TopicEventsTest : public InterviewTest {
 protected:
  const FieldId& updateBox() { return kState14FieldIds.byNumber(9015); }
  const FieldId& secondBox() { return kState14FieldIds.byNumber(9016); }

  // The data manager's recorded calls, by name.
  std::vector<std::string> calls() {
    std::vector<std::string> names;
    for (const auto& call : DataMgmt::TaxDataMgr::getInstance().calls()) names.push_back(call.call);
    return names;
  }
  const DataMgmt::TaxDataMgr::Call& lastCall() {
    return DataMgmt::TaxDataMgr::getInstance().calls().back();
  }
  bool event(const char* id, const FieldId& e, bool gateway = true) {
    return topic(id)->handleUserEvent(e, TopicMgmt::TopicPath(gateway));
  }
};

typedef std::vector<std::string> Calls;

TEST_F(TopicEventsTest, EndOfInterviewAnswersNextOnItsGatewayOnly) {
  EXPECT_FALSE(event("Endgrp", TopicMgmt::kUserEvent_NEXT, false));
  EXPECT_FALSE(event("Endgrp", TopicMgmt::kUserEvent_BACK));
  EXPECT_FALSE(event("Endgrp", TopicMgmt::kUserEvent_UPDATE_NOW));
  EXPECT_TRUE(calls().empty());

  EXPECT_TRUE(event("Endgrp", TopicMgmt::kUserEvent_NEXT));
  EXPECT_EQ(calls(), Calls{"notifyInterviewFinished"});
  EXPECT_EQ(lastCall().a, 0);
  EXPECT_EQ(lastCall().b, 0);
}

TEST_F(TopicEventsTest, NextWithTheUpdateBoxClearDoesNothing) {
  state->setSaveNeeded(false);
  EXPECT_FALSE(event("UpdateState", TopicMgmt::kUserEvent_NEXT));
  EXPECT_EQ(calls(), Calls{"getStoreHandle"});
  EXPECT_FALSE(state->formExists(kFormID_State14, 1));
  EXPECT_FALSE(state->isSaveNeeded());
}

TEST_F(TopicEventsTest, NextWithTheUpdateBoxMarkedRequestsTheUpdate) {
  mark(kFormID_State14, updateBox());
  EXPECT_TRUE(event("UpdateState", TopicMgmt::kUserEvent_NEXT, false));  // the page does not matter
  EXPECT_EQ(calls(), (Calls{"getStoreHandle", "handleUpdateRequest"}));
  EXPECT_EQ(lastCall().store, &store);
  EXPECT_EQ(lastCall().returnType, 40);
  EXPECT_TRUE(state->formYes(kFormID_State14, 1, updateBox()));
}

TEST_F(TopicEventsTest, BackMarksTheUpdateBoxAndClearsTheSecond) {
  mark(kFormID_State14, secondBox());
  EXPECT_FALSE(event("UpdateState", TopicMgmt::kUserEvent_BACK));
  EXPECT_TRUE(state->formYes(kFormID_State14, 1, updateBox()));
  EXPECT_TRUE(state->formNo(kFormID_State14, 1, secondBox()));
  EXPECT_EQ(calls(), Calls{"getStoreHandle"});
}

TEST_F(TopicEventsTest, UpdateNowClearsTheUpdateBoxThenRequestsTheUpdate) {
  mark(kFormID_State14, updateBox());
  EXPECT_TRUE(event("UpdateState", TopicMgmt::kUserEvent_UPDATE_NOW));
  EXPECT_TRUE(state->formNo(kFormID_State14, 1, updateBox()));
  EXPECT_EQ(calls(), (Calls{"getStoreHandle", "handleUpdateRequest"}));
}

TEST_F(TopicEventsTest, OtherEventsAndOtherTopicsAnswerFalse) {
  mark(kFormID_State14, updateBox());
  EXPECT_FALSE(event("UpdateState", Primitives::OVImmutableIdentifier(4)));
  EXPECT_FALSE(event("pags", TopicMgmt::kUserEvent_NEXT));
  EXPECT_FALSE(event("TaxPayPen", TopicMgmt::kUserEvent_NEXT));
  EXPECT_EQ(calls(), Calls{"getStoreHandle"});
}

}  // namespace
