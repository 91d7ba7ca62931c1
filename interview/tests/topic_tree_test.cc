// The interview tree and its descriptors: shape, classes, identifiers,
// what every topic passes alike, titles and set-up, and the rendered tree
// (titles and statuses) of a return in each residency.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <typeinfo>

#include "interview/interview_outline.h"
#include "interview/pa_topics.h"
#include "interview/state_script_query_handler.h"
#include "interview/tests/interview_fixture.h"
#include "interview/topic_ids.h"
#include "interview/xs_topics.h"

namespace {

TEST_F(InterviewTest, TreeHoldsSevenTopLevelTopicsOf36Classes) {
  const char* const tops[] = {"pags", "paincome", "credits", "TaxPayPen", "pamisc", "Endgrp", "PASecondaryNavs"};
  const std::size_t childCounts[] = {2, 12, 4, 5, 6, 0, 0};
  ASSERT_EQ(topics().size(), 7u);
  std::set<std::string> classes;
  std::set<std::pair<int, int>> identifiers;
  for (std::size_t i = 0; i < 7; ++i) {
    EXPECT_EQ(topics()[i]->getIdText(), tops[i]);
    EXPECT_EQ(topics()[i]->getChildren().size(), childCounts[i]) << tops[i];
    std::vector<TopicMgmt::TopicDesc*> family = topics()[i]->getChildren();
    family.push_back(topics()[i]);
    for (TopicMgmt::TopicDesc* t : family) {
      const std::string id = t->getIdText(), name = typeid(*t).name();
      const bool pa = dynamic_cast<PATopicMgmt::PATopicDesc*>(t) != nullptr;
      EXPECT_NE(name.find(std::string(pa ? "PATopicMgmt" : "XSTopicMgmt") + std::to_string(id.size() + 9) + id +
                          "TopicDesc"), std::string::npos) << name;
      EXPECT_EQ(pa, t->getTopicID().getLocality() == 41) << id;
      classes.insert(name);
      identifiers.insert({t->getTopicID().getNumber(), t->getTopicID().getLocality()});
      auto* handler = dynamic_cast<StateTopicMgmt::StateScriptQueryHandler*>(t->getScriptQueryHandler());
      ASSERT_NE(handler, nullptr) << id;
      EXPECT_TRUE(&handler->getDataStore() == &store && handler->getReturnType() == 40);
      // What every topic passes alike.
      EXPECT_TRUE(t->getReturnType() == 40 && t->getPlatform() == TopicMgmt::kPlatform2) << id;
      EXPECT_TRUE(t->getExtraField1().getNumber() == 0 && t->getExtraField2().getNumber() == 0) << id;
      EXPECT_TRUE(t->getLongNumber() == 0 && !t->getFlag3() && !t->getFlag4()) << id;
      EXPECT_EQ(t->getFlag5(), t == topics()[i] && id != "PASecondaryNavs") << id;
      EXPECT_EQ(t->getShortNumber(), id == "UpdateState" ? 33 : 5) << id;
      EXPECT_EQ(t->getFlag6(), id == "PASecondaryNavs") << id;
    }
  }
  EXPECT_EQ(topics()[0]->getChildren()[0]->getIdText(), "UpdateState");
  EXPECT_EQ(classes.size(), 36u);
  EXPECT_EQ(identifiers.size(), 36u);
}

TEST_F(InterviewTest, IdentifiersFieldsAndTitlesOfTheSharedTopics) {
  const struct {
    const char* id;
    int number, locality;
  } ids[] = {{"pags", 35417, 41}, {"pa40c", 56125, 41}, {"LocalIncTxRet", 144307, 41},
             {"Endgrp", 5, 2},    {"TaxPayPen", 20, 2},  {"UpdateState", 23, 2}, {"painfo", 18, 41}};
  for (const auto& c : ids) {
    const Primitives::OVImmutableTopicIdentifier expected(c.number, Primitives::OVTaxLocality(c.locality));
    EXPECT_TRUE(topic(c.id)->getTopicID() == expected) << c.id;
  }
  EXPECT_FALSE(kTopicID_painfo == kTopicID_XS18);  // 18 of PA is not 18 of the shared layer
  EXPECT_EQ(topic("pags")->getFirstField().getNumber(), 18);
  EXPECT_TRUE(topic("pawages")->getFirstField() == topic("padeduct")->getFirstField());
  EXPECT_TRUE(topic("pacontributions")->getSecondForm() == kFormID_PAReturnInfo);
  EXPECT_EQ(topic("pacontributions")->getSecondField().getNumber(), 42788);
  EXPECT_TRUE(topic("parefund")->getSecondForm() == kFormID_PA40 && topic("parefund")->getSecondField().getNumber() == 0);
  // Titles: the return's names; an empty display name, or no return at all,
  // leaves the blanks. Set-up run again keeps one handler.
  DataMgmt::TaxDataStore unnamed, empty;
  unnamed.addReturn(40, DataMgmt::TaxReturnPtr(new DataMgmt::USTaxReturn(
                            DataMgmt::TaxReturnDescPtr(new DataMgmt::TaxReturnDesc(40, "PA", "", "", "")))));
  for (DataMgmt::TaxDataStore* s : {&unnamed, &empty}) {
    EXPECT_EQ(XSTopicMgmt::EndgrpTopicDesc(*s, 40).getTitle(), "Finished  Interview");
    EXPECT_EQ(XSTopicMgmt::TaxPayPenTopicDesc(*s, 40).getTitle(), " Taxes, Payments and Penalties");
  }
  PATopicMgmt::pagsTopicDesc welcome(store);
  welcome.setupTopic();  // the first handler is destroyed (the leak check would see it)
  ASSERT_NE(welcome.getScriptQueryHandler(), nullptr);
  EXPECT_EQ(welcome.getScriptQueryHandler()->registrationOrder(), (std::vector<long>{2, 1}));
}

// The tree as the host program prints it, for a return that is only
// marked full-year, part-year or nonresident: every title ("Sale, Exchange,
// Disposition of Property", "Finished Pennsylvania Interview") and the
// status of every topic (interview_tree.txt holds the three renderings).
TEST_F(InterviewTest, RenderedTreeOfEachResidency) {
  std::string rendered;
  for (const FieldId* box : {&PAReturnInfo::kFullYearResidentBox.id(), &PAReturnInfo::kPartYearResidentBox.id(),
                             &PAReturnInfo::kNonresidentBox.id()}) {
    SetUp();
    put(kFormID_PAReturnInfo, *box, DataMgmt::FieldValue::mark());
    rendered += "== residency box " + std::to_string(box->getNumber()) + "\n" +
                InterviewOutline::renderInterviewTree(topics());
    deleteTree();
  }
  const char* const path = INTERVIEW_TEST_DIR "/interview_tree.txt";
  if (std::getenv("PA_UPDATE_GOLDEN") != nullptr) std::ofstream(path) << rendered;  // remade on purpose
  std::stringstream golden;
  golden << std::ifstream(path).rdbuf();
  EXPECT_EQ(rendered, golden.str());
  // Every title starts in one column, whatever the length of its id.
  std::istringstream lines(rendered);
  std::set<std::size_t> titleColumns;
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("==", 0) == 0) continue;  // a residency's heading
    const std::size_t idEnd = line.find(' ', line.find_first_not_of(' '));
    titleColumns.insert(line.find_first_not_of(' ', idEnd));
  }
  EXPECT_EQ(titleColumns.size(), 1u);
  std::vector<TopicMgmt::TopicDesc*> none = {nullptr};
  EXPECT_EQ(InterviewOutline::renderInterviewTree(none), "");
}

}  // namespace
