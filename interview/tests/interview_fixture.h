// A store holding a federal return (type 1) and a PA return (type 40), as
// the host builds them, the PA interview tree over it (built on first use)
// and helpers that write fixture values on copy 1 of a PA form.
#ifndef INTERVIEW_TESTS_INTERVIEW_FIXTURE_H_
#define INTERVIEW_TESTS_INTERVIEW_FIXTURE_H_

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogs/fields/fields.h"
#include "host/data_store.h"
#include "host/field_value.h"
#include "host/stand_in.h"
#include "host/string_pool.h"
#include "host/tax_form.h"
#include "host/us_tax_return.h"
#include "identifiers/form_ids.h"
#include "interview/interview_hierarchy.h"
#include "return/pa_tax_return.h"

class InterviewTest : public ::testing::Test {
 public:  // table-driven cases reach the helpers from lambdas
  typedef Primitives::OVImmutableFormIdentifier FormId;
  typedef Primitives::OVImmutableIdentifier FieldId;

  void SetUp() override {
    StandIn::resetAll();
    federal = DataMgmt::TaxReturnPtr(new DataMgmt::USTaxReturn());
    state = DataMgmt::TaxReturnPtr(new PADataMgmt::PATaxReturn(
        federal, DataMgmt::TaxReturnDesc::pennsylvania(), Utils::StringPool::shared()));
    store.addReturn(1, federal);
    store.addReturn(40, state);
  }
  // Every field a topic or a fixture wrote belongs to its form.
  void TearDown() override {
    deleteTree();
    EXPECT_EQ(StandIn::diagnostics().unknownFieldWrites, 0);
  }

  void put(const FormId& form, const FieldId& field, const DataMgmt::FieldValue& value) {
    state->getFormOrCreate(form, 1)->store(field, value);
  }

  std::vector<TopicMgmt::TopicDesc*>& topics() {
    if (tree == nullptr) tree = buildInterviewHierarchy(store);
    return *tree;
  }
  // The topic of `idText` in the tree.
  TopicMgmt::TopicDesc* topic(const std::string& idText) {
    for (TopicMgmt::TopicDesc* top : topics()) {
      if (top->getIdText() == idText) return top;
      for (TopicMgmt::TopicDesc* child : top->getChildren()) {
        if (child->getIdText() == idText) return child;
      }
    }
    ADD_FAILURE() << "no topic " << idText;
    return nullptr;
  }
  void deleteTree() {
    if (tree == nullptr) return;
    for (TopicMgmt::TopicDesc* top : *tree) delete top;  // each deletes its children
    delete tree;
    tree = nullptr;
  }

  DataMgmt::TaxReturnPtr federal;
  DataMgmt::TaxReturnPtr state;
  DataMgmt::TaxDataStore store;
  std::vector<TopicMgmt::TopicDesc*>* tree = nullptr;
};

#endif  // INTERVIEW_TESTS_INTERVIEW_FIXTURE_H_
