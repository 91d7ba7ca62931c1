// The events of the shared topics: the end of the interview and the
// program-update choice on state form 14.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/data_manager.h"
#include "host/topics.h"
#include "interview/tests/interview_fixture.h"

namespace {

typedef std::vector<std::string> Calls;

class TopicEventsTest : public InterviewTest {
 protected:
  // The data manager's recorded calls, by name.
  Calls calls() {
    Calls names;
    for (const auto& call : DataMgmt::TaxDataMgr::getInstance().calls()) names.push_back(call.call);
    return names;
  }
  bool event(const char* id, const FieldId& e, bool gateway = true) {
    return topic(id)->handleUserEvent(e, TopicMgmt::TopicPath(gateway));
  }
  bool box(const FieldId& field) { return state->formYes(kFormID_State14, 1, field); }
};

TEST_F(TopicEventsTest, EndOfInterviewAnswersNextOnItsGatewayOnly) {
  EXPECT_FALSE(event("Endgrp", TopicMgmt::kUserEvent_NEXT, false));
  EXPECT_FALSE(event("Endgrp", TopicMgmt::kUserEvent_BACK));
  EXPECT_FALSE(event("Endgrp", TopicMgmt::kUserEvent_UPDATE_NOW));
  EXPECT_TRUE(calls().empty());
  EXPECT_TRUE(event("Endgrp", TopicMgmt::kUserEvent_NEXT));
  EXPECT_EQ(calls(), Calls{"notifyInterviewFinished"});
  EXPECT_EQ(DataMgmt::TaxDataMgr::getInstance().calls().back().a, 0);
  EXPECT_EQ(DataMgmt::TaxDataMgr::getInstance().calls().back().b, 0);
}

TEST_F(TopicEventsTest, NextRequestsTheUpdateOnlyWithTheUpdateBoxMarked) {
  state->setSaveNeeded(false);
  EXPECT_FALSE(event("UpdateState", TopicMgmt::kUserEvent_NEXT));
  EXPECT_EQ(calls(), Calls{"getStoreHandle"});
  EXPECT_FALSE(state->formExists(kFormID_State14, 1) || state->isSaveNeeded());

  mark(kFormID_State14, State14::kUpdateOnNextBox);
  EXPECT_TRUE(event("UpdateState", TopicMgmt::kUserEvent_NEXT, false));  // the page does not matter
  EXPECT_EQ(calls(), (Calls{"getStoreHandle", "getStoreHandle", "handleUpdateRequest"}));
  EXPECT_EQ(DataMgmt::TaxDataMgr::getInstance().calls().back().store, &store);
  EXPECT_EQ(DataMgmt::TaxDataMgr::getInstance().calls().back().returnType, 40);
  EXPECT_TRUE(box(State14::kUpdateOnNextBox));
}

TEST_F(TopicEventsTest, BackAndUpdateNowSetTheTwoBoxes) {
  mark(kFormID_State14, State14::kUpdateSecondBox);
  EXPECT_FALSE(event("UpdateState", TopicMgmt::kUserEvent_BACK));
  EXPECT_TRUE(box(State14::kUpdateOnNextBox));
  EXPECT_TRUE(state->formNo(kFormID_State14, 1, State14::kUpdateSecondBox));
  EXPECT_EQ(calls(), Calls{"getStoreHandle"});

  EXPECT_TRUE(event("UpdateState", TopicMgmt::kUserEvent_UPDATE_NOW));
  EXPECT_TRUE(state->formNo(kFormID_State14, 1, State14::kUpdateOnNextBox));
  EXPECT_EQ(calls(), (Calls{"getStoreHandle", "getStoreHandle", "handleUpdateRequest"}));

  // Other events and other topics answer false.
  EXPECT_FALSE(event("UpdateState", Primitives::OVImmutableIdentifier(4)));
  EXPECT_FALSE(event("pags", TopicMgmt::kUserEvent_NEXT));
  EXPECT_FALSE(event("TaxPayPen", TopicMgmt::kUserEvent_NEXT));
  EXPECT_EQ(calls().size(), 4u);
}

}  // namespace
