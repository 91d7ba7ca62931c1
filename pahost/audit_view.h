// The audit of a return as a preparer reads it: how many messages the host
// shows, then each one headed by the printed title and copy of the form it
// is about ("PA Schedule E, copy 2: ..."), those that restrict electronic
// filing marked "[bars e-filing]"; after an e-file audit, the verdict:
// whether the return can be e-filed, and the refusal the audit recorded
// for the host's e-filing.
#ifndef PAHOST_AUDIT_VIEW_H_
#define PAHOST_AUDIT_VIEW_H_

#include <cstdio>
#include <vector>

#include "pahost/session.h"

// Writes the messages of an audit, an e-file audit when `eFile`.
void printAudit(std::FILE* out, bool eFile, const std::vector<HostSession::AuditMessage>& messages);

// Writes the verdict of an e-file audit that gave `messages` and left
// `outcome`.
void printEFileVerdict(std::FILE* out, const HostSession::EFileOutcome& outcome,
                       const std::vector<HostSession::AuditMessage>& messages);

#endif  // PAHOST_AUDIT_VIEW_H_
