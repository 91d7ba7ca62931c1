// The exported factories: what each one casts, keeps and releases.
//
// Share counts are checked against the host's own holders: after a factory
// returns, a holder's count is what it was before the call plus the shares
// the host base classes keep; the module's own layers keep none.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <new>
#include <string>
#include <typeinfo>
#include <vector>

#include "audit/pa_tax_form_auditor.h"
#include "calc/pa/pa_tax_return_calc_engine.h"
#include "entry/module_entry.h"
#include "host/descriptors.h"
#include "host/stand_in.h"
#include "host/string_pool.h"
#include "host/us_tax_return.h"
#include "interview/interview_hierarchy.h"
#include "interview/state_macro_expander.h"
#include "output/pa_tax_form_printer.h"
#include "output/pa_tax_summary_report.h"
#include "output/pa_tif_file_writer.h"
#include "return/pa_tax_return.h"

// While set, the non-throwing operator new of this test program reports no
// memory, so the factories' null paths can be reached.
static bool gNoMemory = false;

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  if (gNoMemory) return nullptr;
  try {
    return ::operator new(size);
  } catch (...) {
    return nullptr;
  }
}

namespace {

using DataMgmt::TaxReturnPtr;

class FactoriesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StandIn::resetAll();
    federal = TaxReturnPtr(new DataMgmt::USTaxReturn());
    DataMgmt::TaxReturn* made = nullptr;
    EXPECT_EQ(createTaxReturnInstance(federal, DataMgmt::TaxReturnDesc::pennsylvania(),
                                      Utils::StringPool::shared(), made),
              0);
    state = TaxReturnPtr(made);
    pa = dynamic_cast<PADataMgmt::PATaxReturn*>(made);
    ASSERT_NE(pa, nullptr);
    EXPECT_EQ(pa->getFederalReturn(), federal.get());
    printer = TaxFormPrintMgmt::TaxFormPrinterPtr(createTaxFormPrinterInstance(federal, state));
    engine = CalculationMgmt::TaxReturnCalcEnginePtr(createCalcEngineInstance(federal, state, printer));
    auditor =
        AuditMgmt::TaxFormAuditorPtr(createAuditorInstance(federal, state, configuration, engine, printer));
    ASSERT_FALSE(printer.isNull() || engine.isNull() || auditor.isNull());
  }
  // The share counts of the host's holders: federal, state, printer,
  // engine, auditor.
  std::vector<long> counts() const {
    return {federal.useCount(), state.useCount(), printer.useCount(), engine.useCount(), auditor.useCount()};
  }

  // Builds an object through `make`, checks the PA return it sees and the
  // shares it keeps (of federal, state, printer, engine, auditor), deletes
  // it and checks that every share came back.
  template <class T, class Make, class Seen>
  void expectKeeps(Make make, Seen seen, std::vector<long> kept) {
    const std::vector<long> before = counts();
    std::unique_ptr<T> made(dynamic_cast<T*>(make()));
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(seen(*made), pa);
    for (size_t i = 0; i < kept.size(); ++i) kept[i] += before[i];
    EXPECT_EQ(counts(), kept) << typeid(T).name();
    made.reset();
    EXPECT_EQ(counts(), before) << typeid(T).name();
  }

  // Released in reverse order: the objects before the returns they use.
  TaxReturnPtr federal;
  TaxReturnPtr state;
  PADataMgmt::PATaxReturn* pa = nullptr;
  TaxFormPrintMgmt::TaxFormPrinterPtr printer;
  CalculationMgmt::TaxReturnCalcEnginePtr engine;
  AuditMgmt::TaxFormAuditorPtr auditor;
  DataMgmt::OrvaneConfiguration* configuration = &DataMgmt::OrvaneConfiguration::getInstance();
};

// Each object sees the PA return and keeps only the shares its host base
// keeps; deleting it gives every share back. The printer ignores its
// federal argument.
TEST_F(FactoriesTest, EachObjectKeepsOnlyItsBaseShares) {
  auto paReturn = [](auto& made) { return made.getPAReturn(); };
  expectKeeps<PACalculationMgmt::PATaxReturnCalcEngine>(
      [&] { return createCalcEngineInstance(federal, state, printer); }, paReturn, {0, 0, 1, 0, 0});
  expectKeeps<PAAuditMgmt::PATaxFormAuditor>(
      [&] { return createAuditorInstance(federal, state, configuration, engine, printer); }, paReturn,
      {0, 0, 0, 1, 0});
  expectKeeps<PATaxFormPrintMgmt::PATaxFormPrinter>(
      [&] { return createTaxFormPrinterInstance(TaxReturnPtr(), state); }, paReturn, {0, 0, 0, 0, 0});
  expectKeeps<PATifWriteMgmt::PATifFileWriter>(
      [&] { return createTifFileWriterInstance(federal, state, engine, printer, auditor, configuration); },
      paReturn, {1, 1, 1, 1, 1});
  expectKeeps<StateMacroExpansionMgmt::StateMacroExpander>(
      [&] { return createMacroExpanderInstance(federal, state); },
      [](auto& made) { return &made.getStateTaxReturn(); }, {1, 1, 0, 0, 0});
  expectKeeps<PAReportMgmt::PATaxSummaryReport>([&] { return createTaxSummaryReport(state); }, paReturn,
                                                {0, 1, 0, 0, 0});
}

// Returns of another class: the engine holds null, the auditor and the
// printer of a return that is not PA are not built, the macro expander
// throws, all without keeping a share.
TEST_F(FactoriesTest, ReturnsOfAnotherClass) {
  const std::vector<long> before = counts();
  std::unique_ptr<CalculationMgmt::TaxReturnCalcEngine> made(
      createCalcEngineInstance(state, federal, printer));
  auto* paEngine = dynamic_cast<PACalculationMgmt::PATaxReturnCalcEngine*>(made.get());
  ASSERT_NE(paEngine, nullptr);
  EXPECT_TRUE(paEngine->getFederalReturn() == nullptr && paEngine->getPAReturn() == nullptr);
  EXPECT_EQ(createAuditorInstance(federal, federal, configuration, engine, printer), nullptr);
  EXPECT_EQ(createTaxFormPrinterInstance(federal, TaxReturnPtr()), nullptr);
  EXPECT_THROW(createMacroExpanderInstance(state, federal), std::bad_cast);
  made.reset();
  EXPECT_EQ(counts(), before);
}

TEST_F(FactoriesTest, EveryFactoryAnswersNullWithoutMemoryAndReleasesItsArguments) {
  const std::vector<long> before = counts();
  const std::function<const void*()> factories[] = {
      [&] { return createCalcEngineInstance(federal, state, printer); },
      [&] { return createAuditorInstance(federal, state, configuration, engine, printer); },
      [&] { return createTaxFormPrinterInstance(federal, state); },
      [&] { return createTifFileWriterInstance(federal, state, engine, printer, auditor, configuration); },
      [&] { return createMacroExpanderInstance(federal, state); },
      [&] { return createTaxSummaryReport(state); },
      [&] {
        DataMgmt::TaxReturn* made = state.get();  // overwritten with null; the answer is still 0
        return createTaxReturnInstance(federal, DataMgmt::TaxReturnDesc::pennsylvania(),
                                       Utils::StringPool::shared(), made) == 0
                   ? static_cast<const void*>(made)
                   : state.get();
      }};
  for (const auto& make : factories) {
    gNoMemory = true;
    const void* made = make();
    gNoMemory = false;
    EXPECT_EQ(made, nullptr);
    EXPECT_EQ(counts(), before);
  }
}

TEST_F(FactoriesTest, InterviewHierarchyIsTheBuildersResult) {
  DataMgmt::TaxDataStore store;
  store.addReturn(1, federal);
  store.addReturn(40, state);
  std::unique_ptr<std::vector<TopicMgmt::TopicDesc*>> lists[] = {
      std::unique_ptr<std::vector<TopicMgmt::TopicDesc*>>(buildInterviewHierarchy(store)),
      std::unique_ptr<std::vector<TopicMgmt::TopicDesc*>>(createInterviewHierarchy(store))};
  std::vector<std::string> topics[2];
  for (int i = 0; i < 2; ++i) {
    for (TopicMgmt::TopicDesc* topic : *lists[i]) {
      topics[i].push_back(std::string(typeid(*topic).name()) +
                          std::to_string(topic->getTopicID().getNumber()));
      delete topic;
    }
  }
  EXPECT_EQ(topics[1].size(), 7u);  // the top-level topics
  EXPECT_EQ(topics[1], topics[0]);
}

}  // namespace
