// Runs one audit rule (of the information form, the local return,
// Schedule O, or a shared state check) in a chosen kind of audit and
// collects what reached the host: the messages shown (answer, code, form,
// copy, field, text, help id) or, in listing mode, the report lines.
#ifndef AUDIT_TESTS_INFO_RULES_FIXTURE_H_
#define AUDIT_TESTS_INFO_RULES_FIXTURE_H_

#include <functional>
#include <string>
#include <vector>

#include "audit/tests/state_auditor_fixture.h"
#include "host/data_manager.h"
#include "host/user_interface.h"

namespace info_rules_test {

// One message as the host's display received it (final period and notes
// included).
struct Shown {
  bool answer = false;
  int code = -1;
  int form = -1;
  int copy = -1;
  int field = -1;
  std::string text;
  std::string helpId;

  bool startsWith(const std::string& prefix) const {
    return text.compare(0, prefix.size(), prefix) == 0;
  }
};

class InfoRulesTest : public StateAuditorTest {
 protected:
  void TearDown() override {
    DataMgmt::TaxDataMgrHandle::setUserInterface(nullptr);
    StateAuditorTest::TearDown();
  }

  // The messages `body` shows in an ordinary or electronic-filing audit.
  std::vector<Shown> shown(AuditMgmt::AuditType type, const std::function<void()>& body) {
    startAudit(type);
    const std::size_t before = calls().size();
    body();
    std::vector<Shown> seen;
    for (std::size_t i = before; i < calls().size(); ++i) {
      const MessageCall& call = calls()[i];
      if (call.call != "showAuditMsg") continue;
      Shown s;
      s.answer = call.answer;
      s.code = call.code;
      s.form = call.form.getNumber();
      s.copy = call.copy;
      s.field = call.field.getNumber();
      s.text = call.text;
      s.helpId = call.helpId;
      seen.push_back(s);
    }
    return seen;
  }
  std::vector<Shown> eFile(const std::function<void()>& body) {
    return shown(AuditMgmt::kAuditEFile, body);
  }
  std::vector<Shown> ordinary(const std::function<void()>& body) {
    return shown(AuditMgmt::kAuditStandard, body);
  }

  // The report lines `body` adds in listing mode with class filter
  // `filter`, while the user records the session (answers of false are
  // listed too, as "N    - text.").
  std::vector<std::string> listed(AuditMgmt::AuditType type, uint16_t filter,
                                  const std::function<void()>& body) {
    DataMgmt::TaxDataMgrHandle::setUserInterface(&recorder_);
    startAudit(type, filter);
    body();
    DataMgmt::TaxDataMgrHandle::setUserInterface(nullptr);
    return reportLines();
  }

  static std::vector<Shown> with(const std::vector<Shown>& seen, const std::string& prefix) {
    std::vector<Shown> found;
    for (const Shown& s : seen) {
      if (s.startsWith(prefix)) found.push_back(s);
    }
    return found;
  }
  // The single message starting with `prefix`; a failed expectation and
  // an empty message when there is not exactly one.
  static Shown one(const std::vector<Shown>& seen, const std::string& prefix) {
    const std::vector<Shown> found = with(seen, prefix);
    EXPECT_EQ(found.size(), 1u) << "messages starting with \"" << prefix << "\"";
    return found.empty() ? Shown() : found[0];
  }
  static int trueCount(const std::vector<Shown>& seen) {
    int count = 0;
    for (const Shown& s : seen) count += s.answer ? 1 : 0;
    return count;
  }

  // Rebuilds the state return as another state's (host return type and
  // postal abbreviation) holding only the PA information form, so that
  // the shared checks' rules for other states can be run. The state block
  // (name, number) stays Pennsylvania's.
  void useOtherState(DataMgmt::TaxReturnType type, const std::string& abbreviation) {
    auditor.reset();
    printerShare = TaxFormPrintMgmt::TaxFormPrinterPtr();
    pa.reset();
    DataMgmt::TaxReturnDescPtr desc(
        new DataMgmt::TaxReturnDesc(type, abbreviation, "Other", "Other", "Other state"));
    desc->registerForm(
        DataMgmt::TaxReturnDesc::pennsylvania()->getTaxFormDescriptor(kFormID_PAReturnInfo));
    pa.reset(new PADataMgmt::PATaxReturn(federalPtr, desc, Utils::StringPool::shared()));
    printer = new ListPrinter(*pa);
    printerShare = TaxFormPrintMgmt::TaxFormPrinterPtr(printer);
    auditor.reset(new ProbeAuditor(federal(), pa.get(),
                                   &DataMgmt::OrvaneConfiguration::getInstance(),
                                   CalculationMgmt::TaxReturnCalcEnginePtr(), printerShare));
  }

  // Fields by host number.
  static const FieldId& info(int number) { return kPAReturnInfoFieldIds.byNumber(number); }
  static const FieldId& filer(int number) { return kFedFilerInfoFieldIds.byNumber(number); }

 private:
  UIBridgeMgmt::UserInterface recorder_{true};
};

}  // namespace info_rules_test

#endif  // AUDIT_TESTS_INFO_RULES_FIXTURE_H_
