// The exported factories: what each one casts, keeps and releases.
//
// Share counts are checked against the host's own holders: after a factory
// returns, a holder's count is what it was before the call plus the shares
// the host base classes keep; the module's own layers keep none.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <new>
#include <typeinfo>
#include <vector>

#include "audit/pa_tax_form_auditor.h"
#include "calc/pa/pa_tax_return_calc_engine.h"
#include "entry/module_entry.h"
#include "entry/pa_tax_return.h"
#include "host/descriptors.h"
#include "host/stand_in.h"
#include "host/string_pool.h"
#include "host/us_tax_return.h"
#include "identifiers/form_ids.h"
#include "interview/interview_hierarchy.h"
#include "interview/state_macro_expander.h"
#include "output/pa_tax_form_printer.h"
#include "output/pa_tax_summary_report.h"
#include "output/pa_tif_file_writer.h"

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

using DataMgmt::TaxReturn;
using DataMgmt::TaxReturnPtr;
using CalculationMgmt::TaxReturnCalcEnginePtr;
using TaxFormPrintMgmt::TaxFormPrinterPtr;
using AuditMgmt::TaxFormAuditorPtr;

struct NoMemory {
  NoMemory() { gNoMemory = true; }
  ~NoMemory() { gNoMemory = false; }
};

class FactoriesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StandIn::resetAll();
    federal = TaxReturnPtr(new DataMgmt::USTaxReturn());
    TaxReturn* made = nullptr;
    createTaxReturnInstance(federal, DataMgmt::TaxReturnDesc::pennsylvania(),
                            Utils::StringPool::shared(), made);
    state = TaxReturnPtr(made);
    ASSERT_NE(pa(), nullptr);
    printer = TaxFormPrinterPtr(createTaxFormPrinterInstance(federal, state));
    ASSERT_FALSE(printer.isNull());
    engine = TaxReturnCalcEnginePtr(createCalcEngineInstance(federal, state, printer));
    ASSERT_FALSE(engine.isNull());
  }

  PADataMgmt::PATaxReturn* pa() const {
    return dynamic_cast<PADataMgmt::PATaxReturn*>(state.get());
  }
  DataMgmt::USTaxReturn* us() const { return dynamic_cast<DataMgmt::USTaxReturn*>(federal.get()); }

  // Released in reverse order: the engine, then the printer it shares,
  // then the PA return, then the federal return the PA return shares.
  TaxReturnPtr federal;
  TaxReturnPtr state;
  TaxFormPrinterPtr printer;
  TaxReturnCalcEnginePtr engine;
  DataMgmt::OrvaneConfiguration* configuration = &DataMgmt::OrvaneConfiguration::getInstance();
};

// The share counts of a set of holders, taken at one moment.
struct Counts {
  long federal, state, printer, engine;
  bool operator==(const Counts& o) const {
    return federal == o.federal && state == o.state && printer == o.printer && engine == o.engine;
  }
};

Counts countsOf(const TaxReturnPtr& f, const TaxReturnPtr& s, const TaxFormPrinterPtr& p,
                const TaxReturnCalcEnginePtr& e) {
  return {f.useCount(), s.useCount(), p.useCount(), e.useCount()};
}

// --- createTaxReturnInstance ---------------------------------------------

TEST_F(FactoriesTest, TaxReturnKeepsItsBaseSharesAndAnswersZero) {
  DataMgmt::TaxReturnDescPtr desc = DataMgmt::TaxReturnDesc::pennsylvania();
  Utils::StringPoolPtr pool = Utils::StringPool::shared();
  const long federalBefore = federal.useCount();
  const long descBefore = desc.useCount();
  const long poolBefore = pool.useCount();

  TaxReturn* made = nullptr;
  EXPECT_EQ(createTaxReturnInstance(federal, desc, pool, made), 0);
  ASSERT_NE(made, nullptr);
  auto* paReturn = dynamic_cast<PADataMgmt::PATaxReturn*>(made);
  ASSERT_NE(paReturn, nullptr);
  EXPECT_EQ(paReturn->getFederalReturn(), federal.get());
  // The state base keeps one share of each.
  EXPECT_EQ(federal.useCount(), federalBefore + 1);
  EXPECT_EQ(desc.useCount(), descBefore + 1);
  EXPECT_EQ(pool.useCount(), poolBefore + 1);

  delete made;
  EXPECT_EQ(federal.useCount(), federalBefore);
  EXPECT_EQ(desc.useCount(), descBefore);
  EXPECT_EQ(pool.useCount(), poolBefore);
}

TEST_F(FactoriesTest, TaxReturnWithoutMemoryStoresNullAndStillAnswersZero) {
  DataMgmt::TaxReturnDescPtr desc = DataMgmt::TaxReturnDesc::pennsylvania();
  const long federalBefore = federal.useCount();
  const long descBefore = desc.useCount();
  TaxReturn* made = state.get();  // overwritten with null
  int32_t result;
  {
    NoMemory noMemory;
    result = createTaxReturnInstance(federal, desc, Utils::StringPool::shared(), made);
  }
  EXPECT_EQ(result, 0);
  EXPECT_EQ(made, nullptr);
  EXPECT_EQ(federal.useCount(), federalBefore);
  EXPECT_EQ(desc.useCount(), descBefore);
}

// --- createCalcEngineInstance --------------------------------------------

TEST_F(FactoriesTest, EngineBorrowsBothReturnsAndItsBaseKeepsThePrinter) {
  const Counts before = countsOf(federal, state, printer, engine);
  auto* made = createCalcEngineInstance(federal, state, printer);
  auto* paEngine = dynamic_cast<PACalculationMgmt::PATaxReturnCalcEngine*>(made);
  ASSERT_NE(paEngine, nullptr);
  EXPECT_EQ(paEngine->getFederalReturn(), us());
  EXPECT_EQ(paEngine->getStateReturn(), pa());
  EXPECT_EQ(paEngine->getPAReturn(), pa());
  Counts expected = before;
  expected.printer += 1;
  EXPECT_TRUE(countsOf(federal, state, printer, engine) == expected);
  EXPECT_EQ(made->getPrinter().get(), printer.get());

  delete made;
  EXPECT_TRUE(countsOf(federal, state, printer, engine) == before);
}

TEST_F(FactoriesTest, EngineHoldsNullForReturnsOfAnotherClass) {
  // The PA return as the federal return, the federal return as the state.
  std::unique_ptr<CalculationMgmt::TaxReturnCalcEngine> made(
      createCalcEngineInstance(state, federal, printer));
  auto* paEngine = dynamic_cast<PACalculationMgmt::PATaxReturnCalcEngine*>(made.get());
  ASSERT_NE(paEngine, nullptr);
  EXPECT_EQ(paEngine->getFederalReturn(), nullptr);
  EXPECT_EQ(paEngine->getStateReturn(), nullptr);
  EXPECT_EQ(paEngine->getPAReturn(), nullptr);

  std::unique_ptr<CalculationMgmt::TaxReturnCalcEngine> empty(
      createCalcEngineInstance(TaxReturnPtr(), TaxReturnPtr(), TaxFormPrinterPtr()));
  auto* emptyEngine = dynamic_cast<PACalculationMgmt::PATaxReturnCalcEngine*>(empty.get());
  ASSERT_NE(emptyEngine, nullptr);
  EXPECT_EQ(emptyEngine->getFederalReturn(), nullptr);
  EXPECT_EQ(emptyEngine->getPAReturn(), nullptr);
}

// Exposes the engine's form-identifier members.
struct EngineProbe : PACalculationMgmt::PATaxReturnCalcEngine {
  using PACalculationMgmt::PATaxReturnCalcEngine::PATaxReturnCalcEngine;
  using PACalculationMgmt::PATaxReturnCalcEngine::stateForm2;
  using PACalculationMgmt::PATaxReturnCalcEngine::stateForm3;
  using PACalculationMgmt::PATaxReturnCalcEngine::stateForm4;
};

TEST_F(FactoriesTest, EngineSetsItsStateFormIdentifiers) {
  EngineProbe probe(us(), pa(), printer);
  EXPECT_EQ(probe.stateForm2, kFormID_State2);
  EXPECT_EQ(probe.stateForm3, kFormID_State3);
  EXPECT_EQ(probe.stateForm4, kFormID_State4);
  EXPECT_TRUE(probe.stateForm2.isStateForm());
}

// --- createAuditorInstance -----------------------------------------------

TEST_F(FactoriesTest, AuditorBorrowsReturnsAndPrinterAndItsBaseKeepsTheEngine) {
  const Counts before = countsOf(federal, state, printer, engine);
  auto* made = createAuditorInstance(federal, state, configuration, engine, printer);
  auto* auditor = dynamic_cast<PAAuditMgmt::PATaxFormAuditor*>(made);
  ASSERT_NE(auditor, nullptr);
  EXPECT_EQ(auditor->getFederalReturn(), us());
  EXPECT_EQ(auditor->getStateReturn(), pa());
  EXPECT_EQ(auditor->getPAReturn(), pa());
  EXPECT_EQ(auditor->getStatePrinter(), printer.get());
  Counts expected = before;
  expected.engine += 1;
  EXPECT_TRUE(countsOf(federal, state, printer, engine) == expected);

  delete made;
  EXPECT_TRUE(countsOf(federal, state, printer, engine) == before);
}

TEST_F(FactoriesTest, AuditorHoldsNullForAFederalReturnOrPrinterOfAnotherClass) {
  // The host's own printer is not a state printer.
  TaxFormPrinterPtr hostPrinter(new TaxFormPrintMgmt::TaxFormPrinter(*state));
  std::unique_ptr<AuditMgmt::TaxFormAuditor> made(
      createAuditorInstance(state, state, configuration, engine, hostPrinter));
  auto* auditor = dynamic_cast<PAAuditMgmt::PATaxFormAuditor*>(made.get());
  ASSERT_NE(auditor, nullptr);
  EXPECT_EQ(auditor->getFederalReturn(), nullptr);
  EXPECT_EQ(auditor->getStatePrinter(), nullptr);
  EXPECT_EQ(auditor->getPAReturn(), pa());
  EXPECT_EQ(hostPrinter.useCount(), 1);
}

TEST_F(FactoriesTest, AuditorOfAReturnThatIsNotPAIsNotBuilt) {
  const Counts before = countsOf(federal, state, printer, engine);
  EXPECT_EQ(createAuditorInstance(federal, federal, configuration, engine, printer), nullptr);
  EXPECT_EQ(createAuditorInstance(federal, TaxReturnPtr(), configuration, engine, printer),
            nullptr);
  EXPECT_TRUE(countsOf(federal, state, printer, engine) == before);
}

// --- createTaxFormPrinterInstance ----------------------------------------

TEST_F(FactoriesTest, PrinterSeesThePAReturnTwiceAndKeepsNoShare) {
  const Counts before = countsOf(federal, state, printer, engine);
  std::unique_ptr<TaxFormPrintMgmt::TaxFormPrinter> made(
      createTaxFormPrinterInstance(federal, state));
  auto* paPrinter = dynamic_cast<PATaxFormPrintMgmt::PATaxFormPrinter*>(made.get());
  ASSERT_NE(paPrinter, nullptr);
  EXPECT_EQ(&paPrinter->getTaxReturn(), state.get());
  EXPECT_EQ(paPrinter->getStateReturn(), pa());
  EXPECT_EQ(paPrinter->getPAReturn(), pa());
  EXPECT_TRUE(countsOf(federal, state, printer, engine) == before);
}

TEST_F(FactoriesTest, PrinterIgnoresItsFederalArgument) {
  std::unique_ptr<TaxFormPrintMgmt::TaxFormPrinter> made(
      createTaxFormPrinterInstance(TaxReturnPtr(), state));
  auto* paPrinter = dynamic_cast<PATaxFormPrintMgmt::PATaxFormPrinter*>(made.get());
  ASSERT_NE(paPrinter, nullptr);
  EXPECT_EQ(paPrinter->getPAReturn(), pa());
  EXPECT_EQ(paPrinter->getStateReturn(), pa());
}

TEST_F(FactoriesTest, PrinterOfAReturnThatIsNotPAIsNotBuilt) {
  const long federalBefore = federal.useCount();
  EXPECT_EQ(createTaxFormPrinterInstance(federal, federal), nullptr);
  EXPECT_EQ(createTaxFormPrinterInstance(federal, TaxReturnPtr()), nullptr);
  EXPECT_EQ(federal.useCount(), federalBefore);
}

// --- createTifFileWriterInstance -----------------------------------------

TEST_F(FactoriesTest, WriterBaseKeepsOneShareOfEachOfItsFive) {
  TaxFormAuditorPtr auditor(createAuditorInstance(federal, state, configuration, engine, printer));
  ASSERT_FALSE(auditor.isNull());
  const Counts before = countsOf(federal, state, printer, engine);
  const long auditorBefore = auditor.useCount();

  auto* made =
      createTifFileWriterInstance(federal, state, engine, printer, auditor, configuration);
  auto* writer = dynamic_cast<PATifWriteMgmt::PATifFileWriter*>(made);
  ASSERT_NE(writer, nullptr);
  EXPECT_EQ(writer->getPAReturn(), pa());
  const Counts expected{before.federal + 1, before.state + 1, before.printer + 1,
                        before.engine + 1};
  EXPECT_TRUE(countsOf(federal, state, printer, engine) == expected);
  EXPECT_EQ(auditor.useCount(), auditorBefore + 1);

  delete made;
  EXPECT_TRUE(countsOf(federal, state, printer, engine) == before);
  EXPECT_EQ(auditor.useCount(), auditorBefore);
}

TEST_F(FactoriesTest, WriterHoldsNullForAStateReturnThatIsNotPA) {
  std::unique_ptr<TifWriteMgmt::TifFileWriter> made(createTifFileWriterInstance(
      federal, federal, engine, printer, TaxFormAuditorPtr(), configuration));
  auto* writer = dynamic_cast<PATifWriteMgmt::PATifFileWriter*>(made.get());
  ASSERT_NE(writer, nullptr);
  EXPECT_EQ(writer->getPAReturn(), nullptr);
}

// --- createMacroExpanderInstance -----------------------------------------

TEST_F(FactoriesTest, MacroExpanderBaseKeepsBothReturns) {
  const Counts before = countsOf(federal, state, printer, engine);
  auto* made = createMacroExpanderInstance(federal, state);
  auto* expander = dynamic_cast<StateMacroExpansionMgmt::StateMacroExpander*>(made);
  ASSERT_NE(expander, nullptr);
  EXPECT_EQ(&expander->getStateTaxReturn(), pa());
  Counts expected = before;
  expected.federal += 1;
  expected.state += 1;
  EXPECT_TRUE(countsOf(federal, state, printer, engine) == expected);

  delete made;
  EXPECT_TRUE(countsOf(federal, state, printer, engine) == before);
}

TEST_F(FactoriesTest, MacroExpanderOfAReturnThatIsNotAStateReturnThrowsBadCast) {
  const Counts before = countsOf(federal, state, printer, engine);
  EXPECT_THROW(createMacroExpanderInstance(state, federal), std::bad_cast);
  EXPECT_THROW(createMacroExpanderInstance(federal, TaxReturnPtr()), std::bad_cast);
  // Nothing kept and nothing leaked on the way out.
  EXPECT_TRUE(countsOf(federal, state, printer, engine) == before);
}

// --- createTaxSummaryReport ----------------------------------------------

TEST_F(FactoriesTest, SummaryReportBaseKeepsTheReturn) {
  const long stateBefore = state.useCount();
  auto* made = createTaxSummaryReport(state);
  auto* report = dynamic_cast<PAReportMgmt::PATaxSummaryReport*>(made);
  ASSERT_NE(report, nullptr);
  EXPECT_EQ(report->getPAReturn(), pa());
  EXPECT_EQ(state.useCount(), stateBefore + 1);
  delete made;
  EXPECT_EQ(state.useCount(), stateBefore);

  std::unique_ptr<ReportMgmt::TaxSummaryReport> other(createTaxSummaryReport(federal));
  auto* otherReport = dynamic_cast<PAReportMgmt::PATaxSummaryReport*>(other.get());
  ASSERT_NE(otherReport, nullptr);
  EXPECT_EQ(otherReport->getPAReturn(), nullptr);
}

// --- createInterviewHierarchy --------------------------------------------

TEST_F(FactoriesTest, InterviewHierarchyIsTheBuildersResult) {
  DataMgmt::TaxDataStore store;
  store.addReturn(1, federal);
  store.addReturn(40, state);
  std::unique_ptr<std::vector<TopicMgmt::TopicDesc*>> built(buildInterviewHierarchy(store));
  std::unique_ptr<std::vector<TopicMgmt::TopicDesc*>> made(createInterviewHierarchy(store));
  ASSERT_NE(made, nullptr);
  ASSERT_EQ(made->size(), 7u);  // the top-level topics; the others are their children
  ASSERT_EQ(made->size(), built->size());
  for (std::size_t i = 0; i < made->size(); ++i) {
    EXPECT_EQ(typeid(*(*made)[i]), typeid(*(*built)[i]));
    EXPECT_EQ((*made)[i]->getTopicID(), (*built)[i]->getTopicID());
  }
  for (auto* topics : {made.get(), built.get()}) {
    for (TopicMgmt::TopicDesc* topic : *topics) delete topic;
  }
}

// --- No memory ------------------------------------------------------------

TEST_F(FactoriesTest, EveryFactoryAnswersNullWithoutMemoryAndReleasesItsArguments) {
  TaxFormAuditorPtr auditor(createAuditorInstance(federal, state, configuration, engine, printer));
  ASSERT_FALSE(auditor.isNull());
  const Counts before = countsOf(federal, state, printer, engine);
  const long auditorBefore = auditor.useCount();

  struct Case {
    const char* name;
    std::function<const void*()> make;
  };
  const Case cases[] = {
      {"engine", [&] { return createCalcEngineInstance(federal, state, printer); }},
      {"auditor",
       [&] { return createAuditorInstance(federal, state, configuration, engine, printer); }},
      {"printer", [&] { return createTaxFormPrinterInstance(federal, state); }},
      {"writer",
       [&] {
         return createTifFileWriterInstance(federal, state, engine, printer, auditor,
                                            configuration);
       }},
      {"macro expander", [&] { return createMacroExpanderInstance(federal, state); }},
      {"summary report", [&] { return createTaxSummaryReport(state); }},
  };
  for (const Case& c : cases) {
    const void* made;
    {
      NoMemory noMemory;
      made = c.make();
    }
    EXPECT_EQ(made, nullptr) << c.name;
    EXPECT_TRUE(countsOf(federal, state, printer, engine) == before) << c.name;
    EXPECT_EQ(auditor.useCount(), auditorBefore) << c.name;
  }
}

}  // namespace
