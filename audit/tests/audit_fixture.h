// A federal return, a PA return, a print order and a PA auditor over them,
// built the way the host builds them; helpers write fixture values, run a
// rule in a chosen kind of audit and read what reached the host. Listing
// runs record the session, so that answers of false are listed too.
#ifndef AUDIT_TESTS_AUDIT_FIXTURE_H_
#define AUDIT_TESTS_AUDIT_FIXTURE_H_

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "audit/pa_tax_form_auditor.h"
#include "catalogs/any_named_field.h"
#include "catalogs/fields/fields.h"
#include "host/configuration.h"
#include "host/data_manager.h"
#include "host/field_value.h"
#include "host/stand_in.h"
#include "host/string_pool.h"
#include "host/tax_form.h"
#include "host/user_interface.h"
#include "identifiers/form_ids.h"
#include "return/pa_tax_return.h"

namespace audit_test {

// The note an electronic-filing audit appends to a problem of the state
// return only.
const char kStateOnlyText[] =
    "  This issue only affects your state return. You can still e-file your federal return and "
    "file your state return on paper. We'll guide you step-by-step through the process when you "
    "finish checking your return.";

// The note that tells how to go back to an interview topic.
const char kHintText[] =
    "  For instructions on how to make this change, click the FAQ \"How can I go back to an "
    "Interview topic?\"";

// A state printer whose mode-1 print order is a fixed list of forms; with
// `forceCounts`, the audit list's counts are countA and countB whatever
// the list holds.
class ListPrinter : public StateTaxFormPrintMgmt::StateTaxFormPrinter {
 public:
  explicit ListPrinter(DataMgmt::TaxReturn& taxReturn) : StateTaxFormPrinter(taxReturn) {}
  bool nextFormToPrintMode1(DataMgmt::FormId& form) override {
    std::size_t next = 0;
    while (form.getNumber() != 0 && next < order.size() && order[next++] != form) {
    }
    if (next >= order.size()) return false;
    form = order[next];
    return true;
  }
  void formsToAudit(std::vector<DataMgmt::FormId>& list, char& a, char& b) override {
    StateTaxFormPrinter::formsToAudit(list, a, b);
    if (forceCounts) a = countA, b = countB;
  }
  std::vector<DataMgmt::FormId> order;
  bool forceCounts = false;
  char countA = 0, countB = 0;
};

// The PA auditor with its audit state open to the tests. With
// `probeDispatch` set, checkOneForm only records its calls (form, copy,
// whether the copy handed over is that copy); `limit` of 0 or more
// replaces the e-file copy limit.
class ProbeAuditor : public PAAuditMgmt::PATaxFormAuditor {
 public:
  using AuditMgmt::TaxFormAuditor::classFilter;
  using AuditMgmt::TaxFormAuditor::eFileAudit;
  using AuditMgmt::TaxFormAuditor::lastClass;
  using AuditMgmt::TaxFormAuditor::listingCount;
  using PAAuditMgmt::PATaxFormAuditor::PATaxFormAuditor;

  void checkOneForm(const std::string& helpId, TopicId topic, bool flag, const FormId& form,
                    DataMgmt::TaxFormPtr formCopy, unsigned short copy) override {
    if (!probeDispatch) {
      PAAuditMgmt::PATaxFormAuditor::checkOneForm(helpId, topic, flag, form, formCopy, copy);
      return;
    }
    checked.push_back({form.getNumber(), copy, formCopy->getCopyNumber() == copy});
  }
  unsigned short getMaxEFileCopies(const FormId& form) override {
    return limit >= 0 ? static_cast<unsigned short>(limit)
                      : PAAuditMgmt::PATaxFormAuditor::getMaxEFileCopies(form);
  }

  bool probeDispatch = false;
  int limit = -1;
  std::vector<std::vector<int>> checked;
};

// kAll: listing mode with every class bit in the filter and the session
// recorded, so that every report of a rule gives one line, whatever its
// class and answer.
enum class Kind { kOrdinary, kEFile, kListing, kListingInEFile, kAll };
const Kind kOrd = Kind::kOrdinary;
const Kind kEF = Kind::kEFile;
const Kind kList = Kind::kListing;
const Kind kEList = Kind::kListingInEFile;
const Kind kAll = Kind::kAll;
using P = PAAuditMgmt::PATaxFormAuditor;

// One message as the host received it; listing lines carry no code, form
// or field (-1).
struct Seen {
  bool answer = false;
  int code = -1, form = -1, copy = -1, field = -1;
  std::string text;  // as shown: final period and notes included
  std::string helpId;
  bool startsWith(const std::string& prefix) const { return text.rfind(prefix, 0) == 0; }
};

class AuditTest : public ::testing::Test {
 protected:
  typedef Primitives::OVImmutableFormIdentifier FormId;
  typedef Primitives::OVImmutableIdentifier FieldId;
  typedef AuditMgmt::TaxFormAuditor::MessageCall MessageCall;
  typedef void (PAAuditMgmt::PATaxFormAuditor::*Rule)(DataMgmt::TaxFormPtr, unsigned short);

  // Also rebuilds everything when a table-driven test needs a fresh return.
  void SetUp() override {
    auditor.reset();
    printerShare = TaxFormPrintMgmt::TaxFormPrinterPtr();
    pa.reset();
    StandIn::resetAll();
    federalPtr = DataMgmt::TaxReturnPtr(new DataMgmt::USTaxReturn());
    pa.reset(new PADataMgmt::PATaxReturn(federalPtr, DataMgmt::TaxReturnDesc::pennsylvania(),
                                         Utils::StringPool::shared()));
    printer = new ListPrinter(*pa);
    printerShare = TaxFormPrintMgmt::TaxFormPrinterPtr(printer);
    auditor.reset(new ProbeAuditor(federal(), pa.get(),
                                   &DataMgmt::OrvaneConfiguration::getInstance(),
                                   CalculationMgmt::TaxReturnCalcEnginePtr(), printerShare));
  }
  void TearDown() override {
    DataMgmt::TaxDataMgrHandle::setUserInterface(nullptr);
    auditor.reset();
    EXPECT_EQ(StandIn::diagnostics().unknownFieldWrites, 0);
  }

  DataMgmt::USTaxReturn* federal() { return static_cast<DataMgmt::USTaxReturn*>(federalPtr.get()); }
  DataMgmt::TaxFormPtr holder(const FormId& form, uint16_t copy = 1) {
    DataMgmt::TaxReturn& owner =
        form.isStateForm() ? static_cast<DataMgmt::TaxReturn&>(*pa) : *federalPtr;
    return owner.getFormOrCreate(form, copy);
  }
  void put(const FormId& form, const FieldId& field, const DataMgmt::FieldValue& value,
           uint16_t copy = 1) {
    holder(form, copy)->store(field, value);
  }
  void mark(const FormId& form, const FieldId& field, uint16_t copy = 1) {
    put(form, field, DataMgmt::FieldValue::mark(), copy);
  }
  void number(const FormId& form, const FieldId& field, double value, uint16_t copy = 1) {
    put(form, field, DataMgmt::FieldValue::of(value), copy);
  }
  void text(const FormId& form, const FieldId& field, const std::string& value, uint16_t copy = 1) {
    put(form, field, DataMgmt::FieldValue::ofText(value), copy);
  }

  // Federal form 183 ready to store the first e-file refusal, and what it
  // stored.
  void armRefusalRecord() { number(kFormID_Fed183, Fed183::kRefusalStatus, 1); }
  std::string refusalText() const {
    return federalPtr->getFieldAsString(kFormID_Fed183, 1, Fed183::kRefusalText);
  }

  // Starts an audit of the given kind without walking any form.
  void startAudit(AuditMgmt::AuditType type, uint16_t filter = 0) {
    auditor->createNewReport(type);
    auditor->classFilter = filter;
  }
  // The calls of the host's display (report lines left out).
  std::vector<MessageCall> calls() const {
    std::vector<MessageCall> shown;
    for (const MessageCall& call : auditor->messageCalls()) {
      if (call.call != "addMessageToReport") shown.push_back(call);
    }
    return shown;
  }
  std::vector<std::string> reportLines() const {
    std::vector<std::string> lines;
    for (const auto& line : auditor->getAuditReport()->lines()) lines.push_back(line.second);
    return lines;
  }

  // The messages `body` shows in a fresh audit of the given kind; in
  // listing mode (class filter `filter`) the report lines.
  std::vector<Seen> seenIn(Kind kind, const std::function<void()>& body, uint16_t filter = 8) {
    const bool listing = kind >= Kind::kListing;
    const bool eFile = kind == Kind::kEFile || kind == Kind::kListingInEFile;
    if (kind == Kind::kAll) filter = 0xFF;
    DataMgmt::TaxDataMgrHandle::setUserInterface(listing ? &recorder_ : nullptr);
    startAudit(eFile ? AuditMgmt::kAuditEFile : AuditMgmt::kAuditStandard, listing ? filter : 0);
    const std::vector<MessageCall>& all = auditor->messageCalls();
    const std::size_t before = all.size();
    body();
    DataMgmt::TaxDataMgrHandle::setUserInterface(nullptr);
    std::vector<Seen> seen;
    for (const std::string& line : listing ? reportLines() : std::vector<std::string>()) {
      Seen s;
      s.answer = line.rfind("Y", 0) == 0;
      s.text = line.size() > 7 ? line.substr(7) : std::string();
      seen.push_back(s);
    }
    for (std::size_t i = before; i < all.size() && !listing; ++i) {
      const MessageCall& call = all[i];
      if (call.call != "showAuditMsg") continue;
      seen.push_back({call.answer, call.code, call.form.getNumber(), call.copy,
                      call.field.getNumber(), call.text, call.helpId});
    }
    return seen;
  }
  // Runs `rule` on copy `copy` of `form` (created when missing).
  std::vector<Seen> run(Rule rule, const FormId& form, uint16_t copy, Kind kind) {
    return seenIn(kind, [&] { (auditor.get()->*rule)(holder(form, copy), copy); });
  }

  // The messages whose text starts with `prefix`.
  static std::vector<Seen> with(const std::vector<Seen>& seen, const std::string& prefix) {
    std::vector<Seen> found;
    for (const Seen& s : seen) {
      if (s.startsWith(prefix)) found.push_back(s);
    }
    return found;
  }
  // The single message starting with `prefix` (a failure when not one).
  static Seen one(const std::vector<Seen>& seen, const std::string& prefix) {
    const std::vector<Seen> found = with(seen, prefix);
    EXPECT_EQ(found.size(), 1u) << "messages starting with \"" << prefix << "\"";
    return found.empty() ? Seen() : found[0];
  }
  static int trueCount(const std::vector<Seen>& seen) {
    int count = 0;
    for (const Seen& s : seen) count += s.answer ? 1 : 0;
    return count;
  }

  DataMgmt::TaxReturnPtr federalPtr;
  std::unique_ptr<PADataMgmt::PATaxReturn> pa;
  TaxFormPrintMgmt::TaxFormPrinterPtr printerShare;  // the host keeps the printer alive
  ListPrinter* printer = nullptr;                    // owned by printerShare
  std::unique_ptr<ProbeAuditor> auditor;

 private:
  UIBridgeMgmt::UserInterface recorder_{true};
};

// A rule-routine case: entries written into a fresh return, the routine
// run on one copy in one kind of audit, and what is expected of the
// messages whose texts start with the checks' beginnings.
struct Entry {
  const Primitives::OVImmutableFormIdentifier* form;  // null: the audited form
  AnyNamedField field;
  DataMgmt::FieldValue value;
  uint16_t copy;
};
inline Entry e(AnyNamedField field, DataMgmt::FieldValue value, uint16_t copy = 1) {
  return {nullptr, field, value, copy};
}
inline Entry on(const Primitives::OVImmutableFormIdentifier& form, AnyNamedField field,
                DataMgmt::FieldValue value, uint16_t copy = 1) {
  return {&form, field, value, copy};
}
// A box of the PA information form, marked.
inline Entry infoBox(const NamedField<PAReturnInfoFieldIds>& box, uint16_t copy = 1) {
  return {&kFormID_PAReturnInfo, box, DataMgmt::FieldValue::mark(), copy};
}
const DataMgmt::FieldValue kEmpty = DataMgmt::FieldValue::null();
inline DataMgmt::FieldValue amount(double value) { return DataMgmt::FieldValue::of(value); }
inline DataMgmt::FieldValue marked() { return DataMgmt::FieldValue::mark(); }
inline DataMgmt::FieldValue textOf(const char* value) {
  return DataMgmt::FieldValue::ofText(value);
}

enum Answer { kNo, kYes, kNone };  // kNone: no message starts so
struct Check {
  const char* start;
  Answer answer;
  int code = -1;   // -1: not checked
  int field = -1;  // host field number pointed at, 0 for none; -1: not checked
};
struct Case {
  const char* name;
  uint16_t copy;
  Kind kind;
  std::vector<Entry> entries;
  std::vector<Check> checks;
  int count = -1;  // messages expected; -1: not checked
  int trues = -1;  // answers of true expected; -1: not checked
};

class RuleTest : public AuditTest {
 protected:
  void runCases(Rule rule, const FormId& form, const std::vector<Case>& cases) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      SetUp();
      for (const Entry& entry : c.entries) {
        put(entry.form != nullptr ? *entry.form : form, entry.field, entry.value, entry.copy);
      }
      const std::vector<Seen> seen = run(rule, form, c.copy, c.kind);
      EXPECT_TRUE(c.count < 0 || static_cast<int>(seen.size()) == c.count) << seen.size();
      EXPECT_TRUE(c.trues < 0 || trueCount(seen) == c.trues) << trueCount(seen);
      for (const Check& check : c.checks) {
        if (check.answer == kNone) {
          EXPECT_TRUE(with(seen, check.start).empty()) << check.start;
          continue;
        }
        const Seen s = one(seen, check.start);
        EXPECT_EQ(s.answer, check.answer == kYes) << check.start;
        EXPECT_TRUE(check.code < 0 || s.code == check.code) << check.start << ": " << s.code;
        EXPECT_TRUE(check.field < 0 || s.field == check.field) << check.start << ": " << s.field;
      }
    }
  }
};

}  // namespace audit_test

#endif  // AUDIT_TESTS_AUDIT_FIXTURE_H_
