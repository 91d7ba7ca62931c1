// The interview tree and its topic descriptors: the tree's shape, each
// topic's class, layer and handler, what every topic passes alike, and the
// set-up that titles the shared topics.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <typeinfo>

#include "interview/pa_topics.h"
#include "interview/state_script_query_handler.h"
#include "interview/tests/interview_fixture.h"
#include "interview/topic_ids.h"
#include "interview/topic_table.h"
#include "interview/xs_topics.h"

namespace {

TEST_F(InterviewTest, TreeHoldsSevenTopLevelTopicsWithTheirChildren) {
  tree = buildInterviewHierarchy(store);
  const char* const tops[] = {"pags", "paincome", "credits", "TaxPayPen", "pamisc", "Endgrp", "PASecondaryNavs"};
  const std::size_t childCounts[] = {2, 12, 4, 5, 6, 0, 0};
  ASSERT_EQ(tree->size(), 7u);
  for (std::size_t i = 0; i < 7; ++i) {
    EXPECT_EQ((*tree)[i]->getIdText(), tops[i]);
    EXPECT_EQ((*tree)[i]->getChildren().size(), childCounts[i]) << tops[i];
  }
  EXPECT_EQ((*tree)[0]->getChildren()[0]->getIdText(), "UpdateState");
  EXPECT_EQ((*tree)[1]->getChildren()[3]->getIdText(), "paintdiv");
}

TEST_F(InterviewTest, EveryTopicIsItsOwnClassInItsLayerWithAHandler) {
  std::set<std::string> classes;
  std::set<std::pair<int, int>> identifiers;
  for (int row = 0; row < StateTopicMgmt::kTopicRowCount; ++row) {
    const std::string id = StateTopicMgmt::topicRowAt(row).idText;
    TopicMgmt::TopicDesc* t = topic(id);
    ASSERT_NE(t, nullptr);
    const bool pa = dynamic_cast<PATopicMgmt::PATopicDesc*>(t) != nullptr;
    const std::string name = typeid(*t).name();
    EXPECT_NE(name.find(id + "TopicDesc"), std::string::npos) << name;
    EXPECT_NE(name.find(pa ? "PATopicMgmt" : "XSTopicMgmt"), std::string::npos) << name;
    EXPECT_EQ(pa, t->getTopicID().getLocality() == 41) << id;
    classes.insert(name);
    identifiers.insert({t->getTopicID().getNumber(), t->getTopicID().getLocality()});
    auto* handler = dynamic_cast<StateTopicMgmt::StateScriptQueryHandler*>(t->getScriptQueryHandler());
    ASSERT_NE(handler, nullptr);
    EXPECT_TRUE(&handler->getDataStore() == &store && handler->getReturnType() == 40);
    // What every topic passes alike.
    EXPECT_TRUE(t->getReturnType() == 40 && t->getPlatform() == TopicMgmt::kPlatform2) << id;
    EXPECT_TRUE(t->getExtraField1().getNumber() == 0 && t->getExtraField2().getNumber() == 0) << id;
    EXPECT_TRUE(t->getLongNumber() == 0 && !t->getFlag3() && !t->getFlag4()) << id;
    EXPECT_EQ(t->getShortNumber(), id == "UpdateState" ? 33 : 5);
    EXPECT_EQ(t->getFlag6(), id == "PASecondaryNavs");
  }
  EXPECT_EQ(classes.size(), 36u);
  EXPECT_EQ(identifiers.size(), 36u);
}

TEST_F(InterviewTest, TopicsPointAtTheirFields) {
  EXPECT_EQ(topic("pags")->getFirstField().getNumber(), 18);
  EXPECT_TRUE(topic("pawages")->getFirstField() == topic("padeduct")->getFirstField());
  EXPECT_EQ(topic("padeduct")->getFirstField().getNumber(), 36868);
  TopicMgmt::TopicDesc* funds = topic("pacontributions");
  EXPECT_TRUE(funds->getSecondForm() == kFormID_PAReturnInfo);
  EXPECT_EQ(funds->getSecondField().getNumber(), 42788);
  EXPECT_TRUE(topic("parefund")->getSecondForm() == kFormID_PA40);
  EXPECT_EQ(topic("parefund")->getSecondField().getNumber(), 0);
  EXPECT_EQ(topic("PASecondaryNavs")->getFirstForm().getNumber(), 0);
}

TEST_F(InterviewTest, SharedTopicsAreTitledAfterTheReturn) {
  EXPECT_EQ(topic("Endgrp")->getTitle(), "Finished Pennsylvania Interview");
  EXPECT_EQ(topic("TaxPayPen")->getTitle(), "Pennsylvania Taxes, Payments and Penalties");
  EXPECT_EQ(topic("pags")->getTitle(), "Welcome to Your Pennsylvania Return");
  // An empty display name, or no return at all, leaves the blanks.
  DataMgmt::TaxDataStore unnamed, empty;
  unnamed.addReturn(40, DataMgmt::TaxReturnPtr(new DataMgmt::USTaxReturn(
                            DataMgmt::TaxReturnDescPtr(new DataMgmt::TaxReturnDesc(40, "PA", "", "", "")))));
  for (DataMgmt::TaxDataStore* s : {&unnamed, &empty}) {
    EXPECT_EQ(XSTopicMgmt::EndgrpTopicDesc(*s, 40).getTitle(), "Finished  Interview");
    XSTopicMgmt::TaxPayPenTopicDesc taxes(*s, 40);
    EXPECT_EQ(taxes.getTitle(), " Taxes, Payments and Penalties");
    EXPECT_EQ(taxes.getTopicStatus(), 0);
  }
}

TEST_F(InterviewTest, SetUpAgainReplacesTheHandler) {
  PATopicMgmt::pagsTopicDesc welcome(store);
  ASSERT_NE(welcome.getScriptQueryHandler(), nullptr);
  welcome.setupTopic();  // the first handler is destroyed (the leak check would see it)
  ASSERT_NE(welcome.getScriptQueryHandler(), nullptr);
  EXPECT_EQ(welcome.getScriptQueryHandler()->registrationOrder(), (std::vector<long>{2, 1}));
  EXPECT_EQ(kTopicID_XS32456.getLocality(), Primitives::kLocalitySharedState);
  EXPECT_FALSE(kTopicID_painfo == kTopicID_XS18);  // 18 of PA is not 18 of the shared layer
}

}  // namespace
