// Runs one PA schedule rule routine on a fixture copy in a chosen kind of
// audit and collects what reached the host, so that a test can read each
// message's answer, code, form, copy, field and text.
//
// The message path shows a message only in the kind of audit its class
// names: an ordinary audit shows classes with bit 0x01, an electronic-
// filing audit those with bit 0x02, and listing mode (class filter 8) the
// attachment reminders of class 8, which reach only the report. Listing
// runs install a recording user interface so that answers of false are
// listed too.
#ifndef AUDIT_TESTS_SCHEDULE_AUDIT_FIXTURE_H_
#define AUDIT_TESTS_SCHEDULE_AUDIT_FIXTURE_H_

#include <string>
#include <vector>

#include "audit/tests/state_auditor_fixture.h"
#include "host/data_manager.h"
#include "host/user_interface.h"

namespace schedule_audit_test {

enum class Kind {
  kOrdinary,        // an ordinary audit
  kEFile,           // an electronic-filing audit
  kListing,         // listing mode, ordinary audit: class 8 only
  kListingInEFile,  // listing mode during an electronic-filing audit
};

// One message as the host received it. Listing lines carry no code, form
// or field (-1).
struct Seen {
  bool answer = false;
  int code = -1;
  int form = -1;
  int copy = -1;
  int field = -1;
  std::string text;  // as shown: final period and notes included

  bool startsWith(const std::string& prefix) const {
    return text.compare(0, prefix.size(), prefix) == 0;
  }
};

class ScheduleAuditTest : public StateAuditorTest {
 protected:
  typedef void (PAAuditMgmt::PATaxFormAuditor::*Rule)(DataMgmt::TaxFormPtr, unsigned short);

  void TearDown() override {
    DataMgmt::TaxDataMgrHandle::setUserInterface(nullptr);
    StateAuditorTest::TearDown();
  }

  // Runs `rule` on copy `copy` of `form` (created when missing).
  std::vector<Seen> run(Rule rule, const FormId& form, uint16_t copy, Kind kind) {
    const bool listing = kind == Kind::kListing || kind == Kind::kListingInEFile;
    const bool eFile = kind == Kind::kEFile || kind == Kind::kListingInEFile;
    DataMgmt::TaxDataMgrHandle::setUserInterface(listing ? &recorder_ : nullptr);
    startAudit(eFile ? AuditMgmt::kAuditEFile : AuditMgmt::kAuditStandard, listing ? 8 : 0);
    const std::size_t before = calls().size();
    (auditor.get()->*rule)(holder(form, copy), copy);

    std::vector<Seen> seen;
    if (listing) {
      // "Y    - text." or "N    - text."
      for (const std::string& line : reportLines()) {
        Seen s;
        s.answer = !line.empty() && line[0] == 'Y';
        s.text = line.size() > 7 ? line.substr(7) : std::string();
        seen.push_back(s);
      }
      return seen;
    }
    for (std::size_t i = before; i < calls().size(); ++i) {
      const MessageCall& call = calls()[i];
      if (call.call != "showAuditMsg") continue;
      Seen s;
      s.answer = call.answer;
      s.code = call.code;
      s.form = call.form.getNumber();
      s.copy = call.copy;
      s.field = call.field.getNumber();
      s.text = call.text;
      seen.push_back(s);
    }
    return seen;
  }

  // The messages whose text starts with `prefix` (in listing mode the
  // first letter is lower case).
  static std::vector<Seen> with(const std::vector<Seen>& seen, const std::string& prefix) {
    std::vector<Seen> found;
    for (const Seen& s : seen) {
      if (s.startsWith(prefix)) found.push_back(s);
    }
    return found;
  }
  // The single message starting with `prefix`; a failed expectation and an
  // empty message when there is not exactly one.
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

  void setResidency(int code) {  // 0 full-year, 1 part-year, 2 nonresident
    if (code == 1) mark(kFormID_PAReturnInfo, kPAReturnInfoFieldIds.byNumber(48));
    if (code == 2) mark(kFormID_PAReturnInfo, kPAReturnInfoFieldIds.byNumber(47));
  }

 private:
  UIBridgeMgmt::UserInterface recorder_{true};
};

}  // namespace schedule_audit_test

#endif  // AUDIT_TESTS_SCHEDULE_AUDIT_FIXTURE_H_
