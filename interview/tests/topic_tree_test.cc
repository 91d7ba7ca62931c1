// The topic descriptors and the interview tree: every topic's constructor
// arguments, its class and layer, its place in the tree, and the set-up
// that titles the shared topics and gives each topic its query handler.
#include <gtest/gtest.h>

#include <iterator>
#include <set>
#include <string>
#include <typeinfo>

#include "interview/pa_topic_desc.h"
#include "interview/pa_topics.h"
#include "interview/state_script_query_handler.h"
#include "interview/tests/interview_fixture.h"
#include "interview/topic_ids.h"
#include "interview/xs_topic_desc.h"
#include "interview/xs_topics.h"

namespace {

// One topic as the interview defines it. Fields are host field numbers
// (0: the empty identifier); forms are constants (null: form 0).
struct ExpectedTopic {
  const char* id;
  bool pa;  // false: a shared-layer topic
  const char* parent;  // null: a top-level topic
  int number;
  int locality;
  const char* title;
  bool flag1;
  int strategy;
  bool flag2;
  const Primitives::OVImmutableFormIdentifier* firstForm;
  int firstField;
  int status;
  const Primitives::OVImmutableFormIdentifier* secondForm;
  int secondField;
};

const Primitives::OVImmutableFormIdentifier* const kNone = nullptr;

const ExpectedTopic kExpected[] = {
    {"pags", true, nullptr, 35417, 41, "Welcome to Your Pennsylvania Return", 0, 0, 0, &kFormID_State14, 18, 0, kNone, 0},
    {"UpdateState", false, "pags", 23, 2, "Program Updates", 0, 0, 0, &kFormID_State14, 9012, 0, kNone, 0},
    {"painfo", true, "pags", 18, 41, "Personal Information", 1, 1, 0, &kFormID_PAReturnInfo, 4, 0, kNone, 0},
    {"paincome", true, nullptr, 19, 41, "Pennsylvania Income", 0, 0, 0, &kFormID_PA40, 42780, 0, kNone, 0},
    {"pawages", true, "paincome", 47, 41, "Compensation", 1, 0, 1, &kFormID_PA40, 36868, 1, kNone, 0},
    {"paue1", true, "paincome", 21, 41, "Employee Business Expenses", 1, 2, 1, &kFormID_PAScheduleUE, 11, 1, kNone, 0},
    {"busMFJ", true, "paincome", 59, 41, "Adjustments to Employee Business Expenses", 1, 0, 0, &kFormID_PA40, 391, 1, kNone, 0},
    {"paintdiv", true, "paincome", 37, 41, "Interest and Dividend Income", 1, 0, 0, &kFormID_PA40, 318, 1, kNone, 0},
    {"pa40c", true, "paincome", 56125, 41, "Business or Profession Income", 1, 2, 0, &kFormID_PAScheduleC, 56132, 1, kNone, 0},
    {"paothbus", true, "paincome", 25, 41, "Farm and Other Business Income", 1, 0, 0, &kFormID_PA40, 283, 1, kNone, 0},
    {"paschd", true, "paincome", 26, 41, "Sale, Exchange, Disposition of Property", 1, 0, 0, &kFormID_PAReturnInfo, 143, 1, kNone, 0},
    {"paschewk", true, "paincome", 27, 41, "Rent and Royalty Income", 1, 2, 0, &kFormID_PAScheduleE, 206, 0, kNone, 0},
    {"JtVentureRent", true, "paincome", 52349, 41, "Qualified Joint Venture Rental Real Estate Income", 1, 0, 0, &kFormID_PA40, 52350, 2, kNone, 0},
    {"miscinc", true, "paincome", 48, 41, "Other Income", 1, 0, 1, &kFormID_PA40, 323, 1, kNone, 0},
    {"padeduct", true, "paincome", 36896, 41, "Deductions", 1, 0, 0, &kFormID_PA40, 36868, 1, kNone, 0},
    {"paincsum", true, "paincome", 36897, 41, "Income Summary", 0, 0, 0, &kFormID_PA40, 324, 1, kNone, 0},
    {"credits", true, nullptr, 60, 41, "Pennsylvania Credits", 0, 0, 0, &kFormID_PA40, 390, 0, kNone, 0},
    {"paschsp", true, "credits", 30, 41, "Special Tax Forgiveness", 1, 0, 1, &kFormID_PAScheduleSP, 1, 1, kNone, 0},
    {"paschg", true, "credits", 31, 41, "Credit for Taxes Paid to Another State", 1, 2, 0, &kFormID_PAScheduleGL, 1, 1, kNone, 0},
    {"paothcr", true, "credits", 37057, 41, "Other Pennsylvania Credits", 1, 0, 0, &kFormID_PAScheduleOC, 19, 1, kNone, 0},
    {"pacrsum", true, "credits", 51, 41, "Credits Summary", 0, 0, 0, &kFormID_PA40, 326, 1, kNone, 0},
    {"TaxPayPen", false, nullptr, 20, 2, "Taxes, Payments and Penalties", 0, 1, 0, &kFormID_State14, 40, 0, kNone, 0},
    {"paextpmt", true, "TaxPayPen", 53, 41, "Amount Paid with Extension to File", 1, 0, 0, &kFormID_PAReturnInfo, 132, 1, kNone, 0},
    {"papwh", true, "TaxPayPen", 54, 41, "Taxes Withheld by Partnership/S Corporation", 1, 0, 0, &kFormID_PA40, 340, 1, kNone, 0},
    {"pauppen", true, "TaxPayPen", 55, 41, "Underpayment Penalty", 1, 0, 0, &kFormID_PA40, 341, 1, kNone, 0},
    {"pausetax", true, "TaxPayPen", 69545, 41, "Pennsylvania Use Tax", 0, 0, 0, &kFormID_PA40, 69546, 1, kNone, 0},
    {"papmtsum", true, "TaxPayPen", 58, 41, "Taxes, Payments, and Penalties Summary", 0, 0, 0, &kFormID_PA40, 342, 1, kNone, 0},
    {"pamisc", true, nullptr, 56, 41, "Pennsylvania Miscellaneous", 0, 0, 0, &kFormID_PAReturnInfo, 134, 0, kNone, 0},
    {"LocalIncTxRet", true, "pamisc", 144307, 41, "Local Income Tax Return", 1, 2, 0, &kFormID_PALocalIncomeTaxReturn, 144159, 1, kNone, 0},
    {"parefund", true, "pamisc", 57, 41, "Apply Your Refund", 1, 0, 0, &kFormID_PA40, 343, 1, &kFormID_PA40, 0},
    {"pacontributions", true, "pamisc", 42774, 41, "Pennsylvania Charitable Funds", 1, 0, 0, &kFormID_PA40, 42779, 2, &kFormID_PAReturnInfo, 42788},
    {"paamend", true, "pamisc", 52, 41, "Amended Return", 1, 0, 0, &kFormID_PAReturnInfo, 136, 1, kNone, 0},
    {"paext", true, "pamisc", 34, 41, "Extensions", 1, 0, 0, &kFormID_PA40, 11, 2, &kFormID_PAReturnInfo, 42789},
    {"paeswks", true, "pamisc", 35, 41, "Estimated Income Tax", 1, 0, 0, &kFormID_PAEstimatedTaxWorksheet, 5, 2, &kFormID_PAReturnInfo, 42791},
    {"Endgrp", false, nullptr, 5, 2, "Finished State Interview", 0, 1, 0, &kFormID_State14, 19, 0, kNone, 0},
    {"PASecondaryNavs", true, nullptr, 43831, 41, "PA Secondary Navigation Tables", 0, 2, 0, kNone, 0, 0, kNone, 0},
};

Primitives::OVImmutableFormIdentifier formOf(const Primitives::OVImmutableFormIdentifier* form) {
  return form != nullptr ? *form : Primitives::OVImmutableFormIdentifier(0);
}

// --- The tree -------------------------------------------------------------

TEST_F(InterviewTest, TreeHoldsSevenTopLevelTopicsWithTheirChildrenInOrder) {
  std::vector<TopicMgmt::TopicDesc*>* built = buildInterviewHierarchy(store);
  tree = built;
  ASSERT_NE(built, nullptr);
  const char* const tops[] = {"pags", "paincome", "credits", "TaxPayPen", "pamisc", "Endgrp", "PASecondaryNavs"};
  const std::size_t childCounts[] = {2, 12, 4, 5, 6, 0, 0};
  ASSERT_EQ(built->size(), 7u);
  for (std::size_t i = 0; i < 7; ++i) {
    EXPECT_EQ((*built)[i]->getIdText(), tops[i]);
    EXPECT_EQ((*built)[i]->getChildren().size(), childCounts[i]) << tops[i];
  }
  EXPECT_EQ((*built)[0]->getChildren()[0]->getIdText(), "UpdateState");

  // The table's order is the interview's: walking the tree depth first
  // gives every topic once, with its parent.
  std::size_t row = 0;
  for (TopicMgmt::TopicDesc* top : *built) {
    ASSERT_LT(row, std::size(kExpected));
    EXPECT_EQ(top->getIdText(), kExpected[row].id);
    EXPECT_EQ(kExpected[row++].parent, nullptr);
    for (TopicMgmt::TopicDesc* child : top->getChildren()) {
      ASSERT_LT(row, std::size(kExpected));
      EXPECT_EQ(child->getIdText(), kExpected[row].id);
      ASSERT_NE(kExpected[row].parent, nullptr);
      EXPECT_EQ(top->getIdText(), kExpected[row++].parent);
      EXPECT_TRUE(child->getChildren().empty());
    }
  }
  EXPECT_EQ(row, 36u);
}

TEST_F(InterviewTest, EveryTopicPassesItsRowToTheHost) {
  for (const ExpectedTopic& e : kExpected) {
    SCOPED_TRACE(e.id);
    TopicMgmt::TopicDesc* t = topic(e.id);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->getTopicID().getNumber(), e.number);
    EXPECT_EQ(t->getTopicID().getLocality(), e.locality);
    EXPECT_EQ(t->getInitialTitle(), e.title);
    EXPECT_EQ(t->getFlag1(), e.flag1);
    EXPECT_EQ(t->getGatewayStrategy(), e.strategy);
    EXPECT_EQ(t->getFlag2(), e.flag2);
    EXPECT_TRUE(t->getFirstForm() == formOf(e.firstForm));
    EXPECT_EQ(t->getFirstField().getNumber(), e.firstField);
    EXPECT_EQ(t->getInitialStatus(), e.status);
    EXPECT_TRUE(t->getSecondForm() == formOf(e.secondForm));
    EXPECT_EQ(t->getSecondField().getNumber(), e.secondField);
    // What every topic passes alike.
    EXPECT_EQ(t->getReturnType(), 40);
    EXPECT_EQ(t->getPlatform(), TopicMgmt::kPlatform2);
    EXPECT_EQ(t->getShortNumber(), std::string(e.id) == "UpdateState" ? 33 : 5);
    EXPECT_EQ(t->getExtraField1().getNumber(), 0);
    EXPECT_EQ(t->getExtraField2().getNumber(), 0);
    EXPECT_EQ(t->getLongNumber(), 0);
    EXPECT_FALSE(t->getFlag3());
    EXPECT_FALSE(t->getFlag4());
    const std::string id = e.id;
    EXPECT_EQ(t->getFlag5(), e.parent == nullptr && id != "PASecondaryNavs");
    EXPECT_EQ(t->getFlag6(), id == "PASecondaryNavs");
  }
}

TEST_F(InterviewTest, EveryTopicIsItsOwnClassInItsLayerWithAHandler) {
  std::set<std::string> classes;
  std::set<std::pair<int, int>> identifiers;
  for (const ExpectedTopic& e : kExpected) {
    SCOPED_TRACE(e.id);
    TopicMgmt::TopicDesc* t = topic(e.id);
    ASSERT_NE(t, nullptr);
    const std::string name = typeid(*t).name();
    EXPECT_NE(name.find(std::string(e.id) + "TopicDesc"), std::string::npos) << name;
    EXPECT_NE(name.find(e.pa ? "PATopicMgmt" : "XSTopicMgmt"), std::string::npos) << name;
    EXPECT_EQ(dynamic_cast<PATopicMgmt::PATopicDesc*>(t) != nullptr, e.pa);
    EXPECT_EQ(dynamic_cast<XSTopicMgmt::XSTopicDesc*>(t) != nullptr, !e.pa);
    classes.insert(name);
    identifiers.insert({t->getTopicID().getNumber(), t->getTopicID().getLocality()});

    auto* handler =
        dynamic_cast<StateTopicMgmt::StateScriptQueryHandler*>(t->getScriptQueryHandler());
    ASSERT_NE(handler, nullptr);
    EXPECT_EQ(&handler->getDataStore(), &store);
    EXPECT_EQ(handler->getReturnType(), 40);
  }
  EXPECT_EQ(classes.size(), 36u);
  EXPECT_EQ(identifiers.size(), 36u);
}

TEST_F(InterviewTest, WagesAndDeductionsShareTheirFirstField) {
  EXPECT_TRUE(topic("pawages")->getFirstField() == topic("padeduct")->getFirstField());
  EXPECT_EQ(topic("padeduct")->getFirstField().getNumber(), 36868);
}

// --- Set-up ---------------------------------------------------------------

TEST_F(InterviewTest, SharedTopicsAreTitledAfterTheReturn) {
  EXPECT_EQ(topic("Endgrp")->getTitle(), "Finished Pennsylvania Interview");
  EXPECT_EQ(topic("TaxPayPen")->getTitle(), "Pennsylvania Taxes, Payments and Penalties");
  EXPECT_EQ(topic("pags")->getTitle(), "Welcome to Your Pennsylvania Return");
}

TEST_F(InterviewTest, AnEmptyDisplayNameLeavesTwoBlanksInTheEndTitle) {
  DataMgmt::TaxDataStore unnamed;
  unnamed.addReturn(40, DataMgmt::TaxReturnPtr(new DataMgmt::USTaxReturn(
                            DataMgmt::TaxReturnDescPtr(new DataMgmt::TaxReturnDesc(40, "PA", "", "", "")))));
  XSTopicMgmt::EndgrpTopicDesc end(unnamed, 40);
  EXPECT_EQ(end.getTitle(), "Finished  Interview");
  XSTopicMgmt::TaxPayPenTopicDesc taxes(unnamed, 40);
  EXPECT_EQ(taxes.getTitle(), " Taxes, Payments and Penalties");
}

TEST_F(InterviewTest, SharedTopicsOfAStoreWithoutTheirReturnAreStillBuilt) {
  DataMgmt::TaxDataStore empty;
  XSTopicMgmt::EndgrpTopicDesc end(empty, 40);
  EXPECT_EQ(end.getTitle(), "Finished  Interview");
  XSTopicMgmt::TaxPayPenTopicDesc taxes(empty, 40);
  EXPECT_EQ(taxes.getTitle(), " Taxes, Payments and Penalties");
  EXPECT_EQ(taxes.getTopicStatus(), 0);
}

TEST_F(InterviewTest, SetUpAgainReplacesTheHandler) {
  PATopicMgmt::pagsTopicDesc welcome(store);
  const TopicMgmt::ScriptQueryHandler* first = welcome.getScriptQueryHandler();
  ASSERT_NE(first, nullptr);
  welcome.setupTopic();  // the first handler is destroyed (the leak check would see it)
  const TopicMgmt::ScriptQueryHandler* second = welcome.getScriptQueryHandler();
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->registrationOrder(), (std::vector<long>{2, 1}));
}

TEST(TopicIdentifiers, SharedSetHoldsItsUnreadConstants) {
  EXPECT_EQ(kTopicID_gs.getNumber(), 15);
  EXPECT_EQ(kTopicID_gs.getLocality(), Primitives::kLocalitySharedState);
  EXPECT_EQ(kTopicID_XS32456.getNumber(), 32456);
  EXPECT_FALSE(kTopicID_painfo == kTopicID_XS18);  // 18 of PA is not 18 of the shared layer
}

}  // namespace
