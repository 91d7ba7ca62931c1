// How pahost shows an audit: the copy each message is about when the host
// can tell it (the copy under check, a copy other than 1, a form of one
// copy), only the form otherwise; lines alike told apart; and the e-file
// verdict, which a return with skipped lines never passes.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "pahost/audit_view.h"
#include "pahost/message_copies.h"

namespace {

using Call = AuditMgmt::TaxFormAuditor::MessageCall;

const DataMgmt::FormId kScheduleC(56126, true);
const DataMgmt::FormId kScheduleE(174, true);
const DataMgmt::FormId kPA40(169, true);

Call call(const char* name, const DataMgmt::FormId& form, unsigned short copy) {
  Call c;
  c.call = name;
  c.form = form;
  c.copy = copy;
  return c;
}

// Two copies of Schedule C and of Schedule E, one PA-40.
int copiesOf(const DataMgmt::FormId& form) { return form == kPA40 ? 1 : 2; }

TEST(MessageCopiesTest, NamesTheCopyOnlyWhereTheHostCanTellIt) {
  const struct {
    const char* what;
    std::vector<Call> calls;
    std::vector<unsigned short> want;
  } kCases[] = {
      {"copy 1 of a form of two copies, nothing checked: not known",
       {call("showAuditMsg", kScheduleC, 1)}, {kCopyNotKnown}},
      {"another copy than 1 is the copy named",
       {call("showAuditMsg", kScheduleE, 2)}, {2}},
      {"a form of one copy has copy 1", {call("showAuditMsg", kPA40, 1)}, {1}},
      {"the whole return has no copy", {call("epFailMsg", DataMgmt::FormId(), 1)}, {kCopyNotKnown}},
      {"while copy 2 is checked, copy 1 of its form means copy 2",
       {call("overrideCheckOneForm", kScheduleC, 2), call("showAuditMsg", kScheduleC, 1)},
       {kCopyNotKnown, 2}},
      {"the check of one form says nothing of another",
       {call("overrideCheckOneForm", kScheduleC, 2), call("showAuditMsg", kScheduleE, 1)},
       {kCopyNotKnown, kCopyNotKnown}},
      {"a copy named other than 1 stands while another is checked",
       {call("overrideCheckOneForm", kScheduleE, 2), call("showAuditMsg", kScheduleE, 3)},
       {kCopyNotKnown, 3}},
      {"the latest check counts",
       {call("overrideCheckOneForm", kScheduleC, 1), call("showAuditMsg", kScheduleC, 1),
        call("overrideCheckOneForm", kScheduleC, 2), call("showAuditMsg", kScheduleC, 1)},
       {kCopyNotKnown, 1, kCopyNotKnown, 2}},
  };
  for (const auto& c : kCases) EXPECT_EQ(c.want, messageCopies(c.calls, copiesOf)) << c.what;
}

// What a print function writes.
template <class Print>
std::string printed(Print print) {
  char* text = nullptr;
  std::size_t size = 0;
  std::FILE* out = open_memstream(&text, &size);
  print(out);
  std::fclose(out);
  std::string result(text, size);
  std::free(text);
  return result;
}

TEST(AuditViewTest, LinesAlikeAreToldApart) {
  const std::vector<HostSession::AuditMessage> messages = {
      {"PA Schedule C", kCopyNotKnown, "Line A.", true},
      {"PA Schedule E", 2, "Enter description.", false},
      {"PA Schedule C", kCopyNotKnown, "Line A.", true},
      {"PA return", kCopyNotKnown, "State information.", false},
  };
  EXPECT_EQ("Ordinary audit: 4 messages\n"
            "  [bars e-filing] PA Schedule C (1 of 2 alike): Line A.\n"
            "  PA Schedule E, copy 2: Enter description.\n"
            "  [bars e-filing] PA Schedule C (2 of 2 alike): Line A.\n"
            "  PA return: State information.\n",
            printed([&](std::FILE* out) { printAudit(out, false, messages); }));
}

// A return with skipped lines, or one that does not settle, is not ready.
TEST(AuditViewTest, VerdictOfAReturnWithSkippedLinesIsNotReady) {
  const HostSession::EFileOutcome clean{"", false};
  const HostSession::EFileOutcome asksForEntries{"", true};
  const HostSession::EFileOutcome refused{"You are missing Payer Name.", true};
  const std::vector<HostSession::AuditMessage> barring = {{"PA return", 0, "You are missing Payer Name.", true}};
  const struct {
    HostSession::EFileOutcome outcome;
    std::vector<HostSession::AuditMessage> messages;
    std::size_t skipped;
    const char* want;
    EFileVerdict verdict;
    bool settled = true;
  } kCases[] = {
      {clean, {}, 0, "E-filing: the return can be e-filed.\n", EFileVerdict::kCanBeFiled},
      {asksForEntries, {}, 0, "E-filing: the return can be e-filed once the messages above are dealt with.\n",
       EFileVerdict::kOnceDealtWith},
      {clean, {}, 14,
       "E-filing: not ready: 14 lines of the return were skipped (listed on standard error); correct them and "
       "audit the return again.\n", EFileVerdict::kNotReady},
      {clean, {}, 1,
       "E-filing: not ready: 1 line of the return was skipped (listed on standard error); correct it and audit "
       "the return again.\n", EFileVerdict::kNotReady},
      {refused, barring, 2,
       "E-filing: not ready: 2 lines of the return were skipped (listed on standard error); correct them and "
       "audit the return again.\n  Refusal recorded: You are missing Payer Name.\n", EFileVerdict::kNotReady},
      {refused, barring, 0,
       "E-filing: refused (1 message bars it): correct what it names, or file the return on paper.\n"
       "  Refusal recorded: You are missing Payer Name.\n", EFileVerdict::kRefused},
      {clean, {}, 3,
       "E-filing: not ready: the return does not settle (the fields that still change are listed on standard "
       "error).\n", EFileVerdict::kNotReady, false},
  };
  for (const auto& c : kCases) {
    EFileVerdict verdict = EFileVerdict::kCanBeFiled;
    EXPECT_EQ(c.want, printed([&](std::FILE* out) { verdict = printEFileVerdict(out, c.outcome, c.messages, c.skipped, c.settled); }));
    EXPECT_EQ(c.verdict, verdict) << c.want;
  }
}

}  // namespace
