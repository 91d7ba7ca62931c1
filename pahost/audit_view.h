// The audit of a return as a preparer reads it: how many messages the host
// shows, then each one headed by the printed title of the form it is about
// and the copy when the host can tell it ("PA Schedule E, copy 2: ...";
// only the form when the copy is not known), those that restrict
// electronic filing marked "[bars e-filing]". Messages that would read
// alike are told apart by their place among them ("PA Schedule C (2 of 2
// alike): ..."). After an e-file audit, the verdict: whether the return
// can be e-filed, and the refusal the audit recorded for the host's
// e-filing.
#ifndef PAHOST_AUDIT_VIEW_H_
#define PAHOST_AUDIT_VIEW_H_

#include <cstddef>
#include <cstdio>
#include <vector>

#include "pahost/session.h"

// Writes the messages of an audit, an e-file audit when `eFile`.
void printAudit(std::FILE* out, bool eFile, const std::vector<HostSession::AuditMessage>& messages);

// The verdicts of an e-file audit.
enum class EFileVerdict {
  kCanBeFiled,     // nothing in the way
  kOnceDealtWith,  // messages ask for entries, none bars e-filing
  kRefused,        // a message bars e-filing, or a refusal was recorded
  kNotReady,       // not settled, or lines of the return skipped: not the return to file
};

// Writes the verdict of an e-file audit that gave `messages` and left
// `outcome`, on a return of which `skippedLines` lines were not stored and
// that `settled` or not: a return that does not settle, or that is not the
// return as written, is not ready to e-file. The verdict written.
EFileVerdict printEFileVerdict(std::FILE* out, const HostSession::EFileOutcome& outcome,
                               const std::vector<HostSession::AuditMessage>& messages, std::size_t skippedLines,
                               bool settled);

#endif  // PAHOST_AUDIT_VIEW_H_
