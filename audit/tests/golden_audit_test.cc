// Whole-return audits pinned by golden files. Each return is loaded the
// way the host loads it (return, printer and engine from the module's
// factories; the PA printer's audit list) and audited three times: as an
// ordinary audit, as the listing of paper-return instructions (class filter
// 0x18, the session recorded, so that both answers are listed) and as the
// e-file audit of a return being filed electronically. Every call the
// auditor makes to the host's display and report is one line
// (TaxFormAuditor::describe); then the refusal stored on federal form 183
// and the e-file problem flag. The lines must equal audit/tests/golden/
// NAME.txt byte for byte; PA_UPDATE_GOLDEN=1 rewrites them (see
// golden/README.md).
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "audit/pa_tax_form_auditor.h"
#include "calc/state/state_tax_return_calc_engine.h"
#include "catalogs/fields/fields.h"
#include "entry/module_entry.h"
#include "host/data_manager.h"
#include "host/dates.h"
#include "host/stand_in.h"
#include "host/string_pool.h"
#include "host/user_interface.h"
#include "identifiers/form_ids.h"
#include "pahost/federal_items.h"

namespace {

// Example returns (examples/NAME.txt) are calculated before the audit;
// returns made for the audit (audit/tests/returns/NAME.txt) are audited as
// they stand, but for complete returns, calculated first, on which no rule
// may answer true. To pin another, add it here and regenerate.
enum class Source { kExample, kMadeForAudit, kComplete };
struct AuditedReturn {
  const char* name;
  Source source;
};
const AuditedReturn kReturns[] = {
    {"nonresident", Source::kExample},         {"forgiveness_partial", Source::kExample},
    {"joint_spouse_loss", Source::kExample},   {"self_employed_529", Source::kExample},
    {"joint_part_year_rich", Source::kExample}, {"rule_triggers", Source::kMadeForAudit},
    {"rule_boundaries", Source::kMadeForAudit}, {"complete_w2g_ue", Source::kComplete}};

// The PA auditor with the host's class filter settable.
class ListingAuditor : public PAAuditMgmt::PATaxFormAuditor {
 public:
  using PATaxFormAuditor::PATaxFormAuditor;
  void setClassFilter(uint16_t filter) { classFilter = filter; }
};

class GoldenAuditTest : public ::testing::TestWithParam<AuditedReturn> {
 protected:
  void SetUp() override {
    StandIn::resetAll();
    Utils::setCurrentDate(4, 15, 2019);  // "today" of the driver's licence rules
  }
  void TearDown() override {
    DataMgmt::TaxDataMgrHandle::setUserInterface(nullptr);
    StandIn::resetAll();
  }

  std::string auditLines(const std::string& path, bool calculate) {
    DataMgmt::TaxReturnPtr federal(new DataMgmt::USTaxReturn());
    DataMgmt::TaxReturn* made = nullptr;
    createTaxReturnInstance(federal, DataMgmt::TaxReturnDesc::pennsylvania(),
                            Utils::StringPool::shared(), made);
    DataMgmt::TaxReturnPtr pa(made);
    TaxFormPrintMgmt::TaxFormPrinterPtr printer(createTaxFormPrinterInstance(federal, pa));
    CalculationMgmt::TaxReturnCalcEnginePtr engine(createCalcEngineInstance(federal, pa, printer));
    auto* us = static_cast<DataMgmt::USTaxReturn*>(federal.get());
    auto* state = static_cast<PADataMgmt::PATaxReturn*>(pa.get());
    ListingAuditor auditor(us, state, &DataMgmt::OrvaneConfiguration::getInstance(), engine,
                           printer);
    applyFederalItems(path, *us);
    auto* loader = dynamic_cast<StateCalculationMgmt::StateTaxReturnCalcEngine*>(engine.get());
    loader->loadInputTextFile(path, us);
    loader->loadInputTextFile(path, state);
    if (calculate) engine->calcReturn(0);

    std::ostringstream out;
    out << "# ordinary audit\n";
    writeCalls(out, auditor, [&] { auditor.auditReturn(AuditMgmt::kAuditStandard); });
    out << "# listing, class filter 0x18, session recorded\n";
    UIBridgeMgmt::UserInterface recorder(true);
    DataMgmt::TaxDataMgrHandle::setUserInterface(&recorder);
    auditor.setClassFilter(0x18);
    writeCalls(out, auditor, [&] { auditor.auditReturn(AuditMgmt::kAuditStandard); });
    auditor.setClassFilter(0);
    DataMgmt::TaxDataMgrHandle::setUserInterface(nullptr);
    state->setInElf(true);  // and no refusal stored yet
    us->getFormOrCreate(kFormID_Fed183, 1)->assignIR(Fed183::kRefusalStatus, 1);
    out << "# e-file audit\n";
    writeCalls(out, auditor, [&] { auditor.auditReturn(AuditMgmt::kAuditEFile); });
    out << "# federal form 183: status " << us->getIR(kFormID_Fed183, 1, Fed183::kRefusalStatus)
        << ", refusal \"" << us->getFieldAsString(kFormID_Fed183, 1, Fed183::kRefusalText)
        << "\"\n# e-file problem flag " << state->eFileAuditProblem << "\n";
    return out.str();
  }

  template <class Audit>
  static void writeCalls(std::ostringstream& out, const AuditMgmt::TaxFormAuditor& auditor,
                         const Audit& audit) {
    audit();  // the auditor's record restarts with each audit
    for (const auto& call : auditor.messageCalls()) {
      out << AuditMgmt::TaxFormAuditor::describe(call) << "\n";
    }
  }
};

// A field number in place of a line label ("line F56298"): the text from
// such a word to the end of its line, or "" when the text has none.
std::string fieldNumberIn(const std::string& text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    const bool wordStart = i == 0 || !std::isalnum(static_cast<unsigned char>(text[i - 1]));
    if (wordStart && text[i] == 'F' && std::isdigit(static_cast<unsigned char>(text[i + 1]))) {
      return text.substr(i, text.find('\n', i) - i);
    }
  }
  return "";
}

TEST_P(GoldenAuditTest, MessagesMatchTheGoldenFile) {
  const AuditedReturn& audited = GetParam();
  const bool example = audited.source == Source::kExample;
  const std::string dir = example ? PA_EXAMPLES_DIR : PA_AUDIT_RETURNS_DIR;
  const std::string actual =
      auditLines(dir + "/" + audited.name + ".txt", audited.source != Source::kMadeForAudit);
  // Every message names lines by their labels, whatever its rule and answer.
  EXPECT_EQ(fieldNumberIn(actual), "") << "a message names a field by its number";
  if (audited.source == Source::kComplete) {
    EXPECT_EQ(actual.find("| answer 1 |"), std::string::npos) << "a rule answers true";
    EXPECT_NE(actual.find("federal form 183: status 1, refusal \"\""), std::string::npos);
  }
  const std::string path = std::string(PA_AUDIT_GOLDEN_DIR) + "/" + audited.name + ".txt";
  const char* update = std::getenv("PA_UPDATE_GOLDEN");
  if (update != nullptr && std::string(update) == "1") {
    std::ofstream(path, std::ios::binary) << actual;
    GTEST_SKIP() << "wrote " << path;
  }
  std::ifstream in(path, std::ios::binary);
  ASSERT_TRUE(in.good()) << "no golden file " << path << " (run with PA_UPDATE_GOLDEN=1)";
  std::ostringstream golden;
  golden << in.rdbuf();
  if (golden.str() == actual) return;
  // Name the first line that differs rather than print both whole.
  std::istringstream want(golden.str()), got(actual);
  std::string wanted, made;
  for (int line = 1;; ++line) {
    const bool hasWanted = static_cast<bool>(std::getline(want, wanted));
    const bool hasMade = static_cast<bool>(std::getline(got, made));
    if (hasWanted && hasMade && wanted == made) continue;
    ADD_FAILURE() << path << ":" << line << "\n  golden: " << (hasWanted ? wanted : "(end)")
                  << "\n  audit:  " << (hasMade ? made : "(end)");
    return;
  }
}

INSTANTIATE_TEST_SUITE_P(Returns, GoldenAuditTest, ::testing::ValuesIn(kReturns),
                         [](const ::testing::TestParamInfo<AuditedReturn>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
