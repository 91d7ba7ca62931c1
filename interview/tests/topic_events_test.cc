// The events of the shared topics: the end of the interview and the
// program-update choice on state form 14, with the data manager's calls
// in order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/data_manager.h"
#include "interview/tests/interview_fixture.h"
#include "interview/xs_topics.h"

namespace {

typedef std::vector<std::string> Calls;
using TopicMgmt::kUserEvent_BACK;
using TopicMgmt::kUserEvent_NEXT;
using TopicMgmt::kUserEvent_UPDATE_NOW;

class TopicEventsTest : public InterviewTest {
 protected:
  // The data manager's recorded calls, by name.
  static Calls calls() {
    Calls names;
    for (const auto& call : DataMgmt::TaxDataMgr::getInstance().calls()) names.push_back(call.call);
    return names;
  }
  static const DataMgmt::TaxDataMgr::Call& last() { return DataMgmt::TaxDataMgr::getInstance().calls().back(); }
  bool event(const char* id, const FieldId& e, bool gateway = true) {
    return topic(id)->handleUserEvent(e, TopicMgmt::TopicPath(gateway));
  }
  bool box(const FieldId& field) { return state->formYes(kFormID_State14, 1, field); }
};

TEST_F(TopicEventsTest, EndOfInterviewAnswersNextOnItsGatewayOnly) {
  EXPECT_FALSE(event("Endgrp", kUserEvent_NEXT, false));
  EXPECT_FALSE(event("Endgrp", kUserEvent_BACK));
  EXPECT_FALSE(event("Endgrp", kUserEvent_UPDATE_NOW));
  EXPECT_TRUE(calls().empty());
  EXPECT_TRUE(event("Endgrp", kUserEvent_NEXT));
  EXPECT_EQ(calls(), Calls{"notifyInterviewFinished"});
  EXPECT_TRUE(last().a == 0 && last().b == 0);
}

TEST_F(TopicEventsTest, UpdateChoiceOnStateForm14) {
  // Next with the box clear: false, nothing written.
  state->setSaveNeeded(false);
  EXPECT_FALSE(event("UpdateState", kUserEvent_NEXT));
  EXPECT_FALSE(state->formExists(kFormID_State14, 1) || state->isSaveNeeded());
  // Back marks the update box, clears the second box, requests nothing.
  put(kFormID_State14, State14::kUpdateSecondBox, DataMgmt::FieldValue::mark());
  EXPECT_FALSE(event("UpdateState", kUserEvent_BACK));
  EXPECT_TRUE(box(State14::kUpdateOnNextBox) && state->formNo(kFormID_State14, 1, State14::kUpdateSecondBox));
  EXPECT_EQ(calls(), (Calls{"getStoreHandle", "getStoreHandle"}));
  // Next with the box marked, on any page: the request, the box stays.
  EXPECT_TRUE(event("UpdateState", kUserEvent_NEXT, false));
  EXPECT_TRUE(last().call == "handleUpdateRequest" && last().store == &store && last().returnType == 40);
  EXPECT_TRUE(box(State14::kUpdateOnNextBox));
  // Update Now clears the box, then requests.
  EXPECT_TRUE(event("UpdateState", kUserEvent_UPDATE_NOW));
  EXPECT_TRUE(state->formNo(kFormID_State14, 1, State14::kUpdateOnNextBox));
  EXPECT_EQ(calls().size(), 6u);
  EXPECT_EQ(last().call, "handleUpdateRequest");
  // Other events and other topics answer false and call nothing more.
  EXPECT_FALSE(event("UpdateState", Primitives::OVImmutableIdentifier(4)));
  EXPECT_FALSE(event("pags", kUserEvent_NEXT) || event("TaxPayPen", kUserEvent_NEXT));
  EXPECT_EQ(calls().size(), 7u);
}

// Without the PA return the box reads as clear and nothing is written;
// Update Now still hands the request on, with an empty return handle.
TEST_F(TopicEventsTest, UpdateStateWithoutItsReturn) {
  DataMgmt::TaxDataStore federalOnly;
  federalOnly.addReturn(1, federal);
  XSTopicMgmt::UpdateStateTopicDesc updates(federalOnly, 40);
  const TopicMgmt::TopicPath path(true);
  EXPECT_FALSE(updates.handleUserEvent(kUserEvent_NEXT, path));
  EXPECT_FALSE(updates.handleUserEvent(kUserEvent_BACK, path));
  EXPECT_TRUE(updates.handleUserEvent(kUserEvent_UPDATE_NOW, path));
  EXPECT_TRUE(last().call == "handleUpdateRequest" && last().store == &federalOnly && last().returnType == 0);
  EXPECT_FALSE(federal->formExists(kFormID_State14, 1));
}

}  // namespace
