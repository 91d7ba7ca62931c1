// The engine, auditor, summary report and macro expander bases: the shares
// they keep, the return name, the audit report and the message recorders.
#include <gtest/gtest.h>

#include <string>

#include "host/auditor.h"
#include "host/calc_engine.h"
#include "host/configuration.h"
#include "host/macro_expander.h"
#include "host/printer.h"
#include "host/stand_in.h"
#include "host/string_pool.h"
#include "host/summary_report.h"
#include "host/tax_form.h"
#include "host/us_tax_return.h"

namespace {

using DataMgmt::FieldId;
using DataMgmt::FormId;

class BaseClassesTest : public ::testing::Test {
 protected:
  void SetUp() override { StandIn::resetAll(); }

  DataMgmt::TaxReturnPtr pa_{
      new DataMgmt::TaxReturn(DataMgmt::TaxReturnDesc::pennsylvania(), Utils::StringPool::shared())};
  TaxFormPrintMgmt::TaxFormPrinterPtr printer_{new TaxFormPrintMgmt::TaxFormPrinter(*pa_)};
};

TEST_F(BaseClassesTest, EngineKeepsAPrinterShare) {
  {
    CalculationMgmt::TaxReturnCalcEngine engine(printer_);
    EXPECT_EQ(2, printer_.useCount());
    EXPECT_EQ(printer_.get(), engine.getPrinter().get());
    EXPECT_EQ(0, engine.getSummaryAmount());
  }
  EXPECT_EQ(1, printer_.useCount());
}

TEST_F(BaseClassesTest, ReturnNameIsCleanedOfPathPieces) {
  CalculationMgmt::TaxReturnCalcEngine engine(printer_);
  EXPECT_EQ("PAReturn", engine.getReturnName());
  const struct {
    const char* set;
    const char* expected;
  } cases[] = {
      {"Smith2018", "Smith2018"},
      {"../etc/passwd", "etcpasswd"},
      {"a\\b/c", "abc"},
      {"..\\..\\x", "x"},
      {"...", "."},         // one harmless dot is left
      {".../.", "PAReturn"},
      {"./.", "PAReturn"},  // the separator hid a "..": nothing is left
      {"", "PAReturn"},
      {"J. Doe", "J. Doe"},
  };
  for (const auto& c : cases) {
    engine.setReturnName(c.set);
    EXPECT_EQ(c.expected, engine.getReturnName()) << c.set;
  }
}

// Exposes the protected audit state, as a state auditor sees it.
class OpenAuditor : public AuditMgmt::TaxFormAuditor {
 public:
  using TaxFormAuditor::TaxFormAuditor;
  bool isEFileAudit() const { return eFileAudit; }
  DataMgmt::TaxReturn* audited() const { return &taxReturn; }
  DataMgmt::OrvaneConfiguration* config() const { return configuration; }
};

TEST_F(BaseClassesTest, AuditorKeepsAnEngineShareAndTheConfiguration) {
  CalculationMgmt::TaxReturnCalcEnginePtr engine(new CalculationMgmt::TaxReturnCalcEngine(printer_));
  DataMgmt::OrvaneConfiguration* config = &DataMgmt::OrvaneConfiguration::getInstance();
  {
    OpenAuditor auditor(*pa_, config, engine);
    EXPECT_EQ(2, engine.useCount());
    EXPECT_EQ(pa_.get(), auditor.audited());
    EXPECT_EQ(config, auditor.config());
  }
  EXPECT_EQ(1, engine.useCount());
}

TEST_F(BaseClassesTest, CreateNewReportStartsAFreshReportOfItsKind) {
  CalculationMgmt::TaxReturnCalcEnginePtr engine(new CalculationMgmt::TaxReturnCalcEngine(printer_));
  DataMgmt::OrvaneConfiguration* config = &DataMgmt::OrvaneConfiguration::getInstance();
  OpenAuditor auditor(*pa_, config, engine);
  ASSERT_FALSE(auditor.getAuditReport().isNull());

  auditor.addMessageToReport(AuditMgmt::kNoAuditHelpID, 0, false, 0, FormId(), 1, FieldId(), "",
                             "    - first.", true);
  AuditMgmt::AuditReportPtr old = auditor.getAuditReport();
  ASSERT_EQ(1u, old->size());
  EXPECT_EQ("    - first.", old->lines()[0].second);
  EXPECT_EQ(1, old->lines()[0].copy);

  auditor.createNewReport(AuditMgmt::kAuditEFile);
  EXPECT_TRUE(auditor.isEFileAudit());
  EXPECT_EQ(0u, auditor.getAuditReport()->size());
  EXPECT_EQ(1u, old->size());  // the earlier report is kept by its holder

  AuditMgmt::AuditReportPtr report = auditor.auditReturn(AuditMgmt::kAuditStandard);
  EXPECT_FALSE(auditor.isEFileAudit());
  EXPECT_EQ(report.get(), auditor.getAuditReport().get());
  EXPECT_NE(AuditMgmt::kNoAuditHelpID, AuditMgmt::kStateAudit_HowToGoBackToFedInterview);
  EXPECT_FALSE(AuditMgmt::kNoAuditHelpID.empty());
  EXPECT_FALSE(AuditMgmt::kStateAudit_HowToGoBackToFedInterview.empty());
}

TEST_F(BaseClassesTest, AuditorRecordsMessagesInOrder) {
  CalculationMgmt::TaxReturnCalcEnginePtr engine(new CalculationMgmt::TaxReturnCalcEngine(printer_));
  DataMgmt::OrvaneConfiguration* config = &DataMgmt::OrvaneConfiguration::getInstance();
  OpenAuditor auditor(*pa_, config, engine);
  const FormId pa40(169, true);
  auditor.showAuditMsg("help", Primitives::OVImmutableTopicIdentifier(18, Primitives::kLocalityPA),
                       false, true, 4, 1, pa40, 2, FieldId(139), "Enter the amount.");
  auditor.epFailMsg(AuditMgmt::kNoAuditHelpID, 0, true, true, 12, 0, pa40, 1, FieldId(1),
                    "PA-40 may not be filed electronically.");
  auditor.overrideCheckOneForm("h", 0, false, DataMgmt::TaxFormPtr(), pa40, 3, FormId(183));

  const auto& calls = auditor.messageCalls();
  ASSERT_EQ(3u, calls.size());
  EXPECT_EQ("showAuditMsg", calls[0].call);
  EXPECT_EQ("help", calls[0].helpId);
  EXPECT_TRUE(calls[0].topic == Primitives::OVImmutableTopicIdentifier(18, Primitives::kLocalityPA));
  EXPECT_TRUE(calls[0].answer);
  EXPECT_EQ(4, calls[0].code);
  EXPECT_EQ(1, calls[0].secondCode);
  EXPECT_TRUE(calls[0].form == pa40);
  EXPECT_EQ(2, calls[0].copy);
  EXPECT_EQ(139, calls[0].field.getNumber());
  EXPECT_EQ("Enter the amount.", calls[0].text);
  EXPECT_EQ("epFailMsg", calls[1].call);
  EXPECT_TRUE(calls[1].flag);
  EXPECT_EQ(12, calls[1].code);
  EXPECT_EQ("overrideCheckOneForm", calls[2].call);
  EXPECT_EQ(3, calls[2].copy);
  EXPECT_TRUE(calls[2].federalForm == FormId(183));
  EXPECT_EQ(0u, auditor.getAuditReport()->size());  // recording reports nothing
}

TEST_F(BaseClassesTest, SummaryReportKeepsAReturnShareAndItsLines) {
  {
    ReportMgmt::TaxSummaryReport report(pa_);
    EXPECT_EQ(2, pa_.useCount());
    report.addField("PA Tax", 307);
    report.addField("Amount You Owe ", 0);
    report.addSummaryFields();  // the base adds nothing
    ASSERT_EQ(2u, report.getFields().size());
    EXPECT_EQ("PA Tax", report.getFields()[0].first);
    EXPECT_EQ(307, report.getFields()[0].second);
    EXPECT_EQ("Amount You Owe ", report.getFields()[1].first);
  }
  EXPECT_EQ(1, pa_.useCount());
}

// Expands two macros of its own and leaves the rest to the base.
class WordExpander : public MacroExpansionMgmt::MacroExpander {
 public:
  using MacroExpander::MacroExpander;
  std::string expandStateWord() override { return "state"; }
  std::string expandOfficeLocatorNoScheme() override { return "office"; }
};

TEST_F(BaseClassesTest, MacroExpanderKeepsSharesAndLooksUpNames) {
  DataMgmt::TaxReturnPtr federal(new DataMgmt::USTaxReturn());
  {
    WordExpander expander(federal, pa_);
    EXPECT_EQ(2, federal.useCount());
    EXPECT_EQ(2, pa_.useCount());
    EXPECT_EQ("state", expander.expand("StateWord"));
    EXPECT_EQ("state", expander.expand("expandStateWord"));
    EXPECT_EQ("office", expander.expand("OfficeLocatorNoScheme"));
    EXPECT_EQ("", expander.expand("StateReturnName"));
    EXPECT_EQ("", expander.expand("NoSuchMacro"));
    EXPECT_EQ("", expander.expand(""));
  }
  EXPECT_EQ(1, federal.useCount());
  EXPECT_EQ(1, pa_.useCount());
}

}  // namespace

namespace {

// Every expansion answers its own operation's name, so the name table can
// be checked entry by entry.
#define NAMED(op) \
  std::string op() override { return #op; }
class NamingExpander : public MacroExpansionMgmt::MacroExpander {
 public:
  using MacroExpander::MacroExpander;
  NAMED(expandTPNameOrYouIC)
  NAMED(expandTPNameOrYou)
  NAMED(expandSpNameOrSpouseIC)
  NAMED(expandSpNameOrYourSpouse)
  NAMED(expandSpNameOrMySpouseIC)
  NAMED(expandSpNameOrYourSpouseIC)
  NAMED(expandSpNameOrYourSpouseTitle)
  NAMED(expandStateReturnName)
  NAMED(expandStateReturnSecondName)
  NAMED(expandStateMailingAddress)
  NAMED(expandPrintExtraPageCount)
  NAMED(expandEFileCost1a)
  NAMED(expandStateTaxAmount)
  NAMED(expandStateReturnTitle)
  NAMED(expandStateWord)
  NAMED(expandTransmitStatusInfo)
  NAMED(expandOfficeLocatorNoScheme)
};
#undef NAMED

TEST(MacroExpanderTest, EveryMacroNameReachesItsOperation) {
  DataMgmt::TaxReturnPtr federal(new DataMgmt::USTaxReturn());
  DataMgmt::TaxReturnPtr state;
  NamingExpander expander(federal, state);
  const char* names[] = {
      "TPNameOrYouIC",        "TPNameOrYou",           "SpNameOrSpouseIC",
      "SpNameOrYourSpouse",   "SpNameOrMySpouseIC",    "SpNameOrYourSpouseIC",
      "SpNameOrYourSpouseTitle", "StateReturnName",    "StateReturnSecondName",
      "StateMailingAddress",  "PrintExtraPageCount",   "EFileCost1a",
      "StateTaxAmount",       "StateReturnTitle",      "StateWord",
      "TransmitStatusInfo",   "OfficeLocatorNoScheme",
  };
  for (const char* name : names) {
    EXPECT_EQ(std::string("expand") + name, expander.expand(name));
  }
}

}  // namespace
