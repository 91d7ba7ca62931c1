// Edits of a return as a preparer makes them, for the edited-return test.
//
// A return is its lines in the test-data format. An edit step deletes
// copies and sets fields (an empty value empties a field); an edit is one
// step or a sequence of them, the return calculated once after each. The
// edits of a return are made from its lines and from the session that
// holds it calculated: every amount raised, lowered and zeroed, every
// copy deleted and one added after the last of each form, every filing
// status, every residency, each G-L copy's state set to "PA", each PA
// schedule copy's entries emptied, and sequences of two of them.
#ifndef PAHOST_TESTS_RETURN_EDITS_H_
#define PAHOST_TESTS_RETURN_EDITS_H_

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

class HostSession;

// A field line of the test-data format, FORM:copy:FIELD:value, FIELD being
// F and the host field number (or, on the federal figures' pseudo-form, the
// figure's name: C1, WAGES).
struct FieldLine {
  std::string form;
  int copy = 0;
  std::string field;
  std::string value;
  std::string key() const { return form + ":" + std::to_string(copy) + ":" + field; }
  std::string text() const { return key() + ":" + value; }
  // The host field number; 0 for a federal figure.
  int number() const;
};

// False for a line that is no field line (a comment, a blank line).
bool parseFieldLine(const std::string& line, FieldLine* out);

// The lines with every line for copies 1 to N ("FORM:N+:...") written
// out, one per copy, so that an edit can name each copy.
std::vector<std::string> copiesWrittenOut(const std::vector<std::string>& lines);

// One step of an edit: copies deleted, then fields set.
struct EditStep {
  std::string name;
  std::vector<std::pair<std::string, int>> deleted;
  std::vector<FieldLine> set;
};

// An edit: its steps in order, the return calculated once after each but
// the last (the data file's writer calculates after the last).
struct ReturnEdit {
  std::string name;
  std::vector<EditStep> steps;
};

// The lines with a step in them: a deleted copy's lines left out, a field
// set in place of its line, or added after the others.
std::vector<std::string> editedLines(const std::vector<std::string>& lines, const EditStep& step);

// The edits of the return of `lines`, held calculated by `session`, each
// step once (a one-step edit each) and then the sequences of two steps
// (every pair, in order of the steps), as many as `mostSequences`.
std::vector<ReturnEdit> editsOf(const HostSession& session, const std::vector<std::string>& lines,
                                std::size_t mostSequences);

// `count` of `all`, taken evenly from its start to its end (all of them
// when count is at least their number).
std::vector<ReturnEdit> takenEvenly(const std::vector<ReturnEdit>& all, std::size_t count);

#endif  // PAHOST_TESTS_RETURN_EDITS_H_
