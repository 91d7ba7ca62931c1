#include "pahost/audit_view.h"

#include <map>
#include <string>

#include "pahost/message_copies.h"

namespace {

const char kBarsEFilingMark[] = "[bars e-filing] ";

const char* plural(std::size_t count) { return count == 1 ? "" : "s"; }

// The form the message is about and, when known, its copy.
std::string headingOf(const HostSession::AuditMessage& m) {
  return m.copy == kCopyNotKnown ? m.form : m.form + ", copy " + std::to_string(m.copy);
}

// The line of a message as it would read without being told apart.
std::string plainLine(const HostSession::AuditMessage& m) {
  return std::string(m.barsEFiling ? kBarsEFilingMark : "") + headingOf(m) + ": " + m.text;
}

}  // namespace

void printAudit(std::FILE* out, bool eFile, const std::vector<HostSession::AuditMessage>& messages) {
  std::fprintf(out, "%s audit: %zu message%s\n", eFile ? "E-file" : "Ordinary", messages.size(),
               plural(messages.size()));
  // Lines alike (the same rule on copies the host cannot name, or on two
  // rows of one copy) are numbered among themselves.
  std::map<std::string, std::size_t> alike;
  for (const HostSession::AuditMessage& m : messages) ++alike[plainLine(m)];
  std::map<std::string, std::size_t> place;
  for (const HostSession::AuditMessage& m : messages) {
    const std::size_t count = alike[plainLine(m)];
    std::string heading = headingOf(m);
    if (count > 1) {
      heading += " (" + std::to_string(++place[plainLine(m)]) + " of " + std::to_string(count) + " alike)";
    }
    std::fprintf(out, "  %s%s: %s\n", m.barsEFiling ? kBarsEFilingMark : "", heading.c_str(), m.text.c_str());
  }
}

EFileVerdict printEFileVerdict(std::FILE* out, const HostSession::EFileOutcome& outcome,
                               const std::vector<HostSession::AuditMessage>& messages, std::size_t skippedLines,
                               bool settled) {
  std::size_t barring = 0;
  for (const HostSession::AuditMessage& m : messages) barring += m.barsEFiling ? 1 : 0;
  EFileVerdict verdict = EFileVerdict::kCanBeFiled;
  if (!settled) {
    // Its figures are those of a calculation that still changed them.
    std::fprintf(out, "E-filing: not ready: the return does not settle (the fields that still change are listed "
                      "on standard error).\n");
    verdict = EFileVerdict::kNotReady;
  } else if (skippedLines > 0) {
    // The audit saw the return without those lines: its verdict is not the
    // verdict on the return as written.
    std::fprintf(out,
                 "E-filing: not ready: %zu line%s of the return %s skipped (listed on standard error); "
                 "correct %s and audit the return again.\n",
                 skippedLines, plural(skippedLines), skippedLines == 1 ? "was" : "were",
                 skippedLines == 1 ? "it" : "them");
    verdict = EFileVerdict::kNotReady;
  } else if (barring > 0 || !outcome.refusal.empty()) {
    // Some refusals are mended by correcting the return, others only by
    // filing on paper: the message itself says which.
    std::fprintf(out, "E-filing: refused (%zu message%s bar%s it): correct what %s, or file the return on paper.\n",
                 barring, plural(barring), barring == 1 ? "s" : "", barring == 1 ? "it names" : "they name");
    verdict = EFileVerdict::kRefused;
  } else if (outcome.problem) {
    std::fprintf(out, "E-filing: the return can be e-filed once the messages above are dealt with.\n");
    verdict = EFileVerdict::kOnceDealtWith;
  } else {
    std::fprintf(out, "E-filing: the return can be e-filed.\n");
  }
  if (!outcome.refusal.empty()) std::fprintf(out, "  Refusal recorded: %s\n", outcome.refusal.c_str());
  return verdict;
}
