#include "pahost/audit_view.h"

#include <cstddef>

namespace {

const char kBarsEFilingMark[] = "[bars e-filing] ";

const char* plural(std::size_t count) { return count == 1 ? "" : "s"; }

}  // namespace

void printAudit(std::FILE* out, bool eFile, const std::vector<HostSession::AuditMessage>& messages) {
  std::fprintf(out, "%s audit: %zu message%s\n", eFile ? "E-file" : "Ordinary", messages.size(),
               plural(messages.size()));
  for (const HostSession::AuditMessage& m : messages) {
    std::fprintf(out, "  %s%s: %s\n", m.barsEFiling ? kBarsEFilingMark : "", m.form.c_str(), m.text.c_str());
  }
}

void printEFileVerdict(std::FILE* out, const HostSession::EFileOutcome& outcome,
                       const std::vector<HostSession::AuditMessage>& messages) {
  std::size_t barring = 0;
  for (const HostSession::AuditMessage& m : messages) barring += m.barsEFiling ? 1 : 0;
  if (barring > 0 || !outcome.refusal.empty()) {
    // Some refusals are mended by correcting the return, others only by
    // filing on paper: the message itself says which.
    std::fprintf(out, "E-filing: refused (%zu message%s bar%s it): correct what %s, or file the return on paper.\n",
                 barring, plural(barring), barring == 1 ? "s" : "", barring == 1 ? "it names" : "they name");
    if (!outcome.refusal.empty()) std::fprintf(out, "  Refusal recorded: %s\n", outcome.refusal.c_str());
  } else if (outcome.problem) {
    std::fprintf(out, "E-filing: the return can be e-filed once the messages above are dealt with.\n");
  } else {
    std::fprintf(out, "E-filing: the return can be e-filed.\n");
  }
}
