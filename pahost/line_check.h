// The check of a return file's lines on the host's side: which lines the
// module's text loader leaves out, and why.
//
// A line is stored exactly as written or not at all. Every line that is
// not stored is listed with its number (from 1), its text and the
// reason, in the words of kLineProblemTexts: fewer than four parts, a form or field that
// none of the returns knows, a NUL byte, a copy part that is no copy
// number the form can hold, a number field's value that is not a plain
// number or lies beyond TestDataFormat::kMaxAmount, a federal figure line
// (federal_items.h) that is not well formed. Blank lines and lines
// starting with "#" are comments. Lines end at LF, CRLF or a lone CR; a
// line longer than IOMgmt::kMaxLineLength ends the reading (`cutAt`), and
// so does a file past kMaxReturnBytes or kMaxReturnLines (`tooLarge`): no
// return a preparer makes comes near them, and an endless input (a
// device) must not fill the memory. A read that fails makes the file
// unreadable. The file is read once: each line is checked as it is read and kept, so
// that the loaders take the lines the check saw.
#ifndef PAHOST_LINE_CHECK_H_
#define PAHOST_LINE_CHECK_H_

#include <cstddef>
#include <string>
#include <vector>

#include "host/pointers.h"

struct SkippedLine {
  long number;
  std::string text;    // the line as written, cut to kShownLineLength ("...")
  std::string reason;
};

// The most a return file may hold. The largest return a preparer can make,
// every form at its 999 copies, is about 1.5 MB in some 60,000 lines.
const long kMaxReturnBytes = 64L << 20;
const long kMaxReturnLines = 1000000;

// The longest part of a skipped line that is shown; control bytes show as
// "?".
const std::size_t kShownLineLength = 60;

struct LineCheck {
  bool readable = false;  // false: missing, a directory, not readable or a read failed
  std::string cause;      // why it cannot be read ("no such file", ...); "" when readable
  long lines = 0;         // lines read
  long cutAt = 0;         // the line, too long, that ended the reading; 0 if none
  bool tooLarge = false;  // the reading ended past kMaxReturnBytes or kMaxReturnLines
  std::vector<SkippedLine> skipped;
  std::vector<std::string> texts;  // every line read, in file order
};

// Why the file at `path` cannot be read as a return: "no such file", "it
// is a folder", "no permission to read it" or the system's words; "" when
// it can be opened.
std::string unreadableCause(const std::string& path);

// Reads the file at `path` and checks it against the returns of
// `descriptions` (a line is taken when any of them takes it).
LineCheck checkReturnLines(const std::string& path,
                           const std::vector<DataMgmt::TaxReturnDescPtr>& descriptions);

#endif  // PAHOST_LINE_CHECK_H_
