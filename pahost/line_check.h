// The check of a return file's lines on the host's side: which lines the
// module's text loader leaves out, and why.
//
// A line is stored exactly as written or not at all. Every line that is
// not stored is listed with its number (from 1), its text and the reason,
// in the words of kReasonTexts: fewer than four parts, a form or field that
// none of the returns knows, a NUL byte, a copy part that is no copy
// number the form can hold, a number field's value that is not a plain
// number or lies beyond TestDataFormat::kMaxAmount, a federal figure line
// (federal_items.h) that is not well formed. Blank lines and lines
// starting with "#" are comments. Lines end at LF, CRLF or a lone CR; a
// UTF-8 byte-order mark at the very start of the file, which some editors
// write, is not part of the first line. A line longer than
// IOMgmt::kMaxLineLength ends the reading (`cutAt`), and so does a file
// past kMaxReturnBytes or kMaxReturnLines (`pastBound`): no return a
// preparer makes comes near them, and an endless input (a device) must not
// fill the memory. A read that fails makes the file unreadable. The file
// is read once: each line is checked as it is read, and only the lines a
// loader stores are kept, for the loaders; of a skipped line only what is
// listed is kept, so that a file at the bounds takes little more memory
// than its stored lines.
#ifndef PAHOST_LINE_CHECK_H_
#define PAHOST_LINE_CHECK_H_

#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "host/pointers.h"

// The most a return file may hold. The largest return a preparer can make,
// every form at its 999 copies, is about 1.5 MB in some 66,000 lines.
const long kMaxReturnBytes = 64L << 20;
const long kMaxReturnLines = 1000000;

// The longest part of a skipped line that is shown; control bytes show as
// "?".
const std::size_t kShownLineLength = 60;

// Why a line is not stored.
enum class SkipReason : unsigned char {
  kTooFewParts,
  kUnknownForm,
  kUnknownField,
  kBadFederalFigure,
  kNulByte,
  kBadCopy,
  kCopyOutOfRange,
  kNotANumber,
  kAmountOutOfRange,
};

// A skipped line as it is listed.
struct SkippedLine {
  long number;
  std::string reason;  // in words, with the part of the line it is about
  std::string text;    // the line as written, cut to kShownLineLength ("...")
};

// The size of a block of texts.
const std::size_t kTextBlockSize = 1 << 20;

// Texts kept one after another in blocks of kTextBlockSize bytes: a
// million of them take a few dozen allocations, which give their memory
// back whole.
class TextBlocks {
 public:
  // Appends `first` and `second`, together at most kTextBlockSize bytes,
  // to the last block, or to a new one when they do not fit there.
  void append(const std::string& first, const std::string& second);
  const std::vector<std::string>& blocks() const { return blocks_; }

 private:
  std::vector<std::string> blocks_;
};

// The skipped lines of a file, in file order, kept compactly: each keeps
// its number, its reason's code and the parts shown, in blocks.
class SkippedLines {
 public:
  // Keeps line `number`, skipped for `reason`, about the shown `part` of
  // it ("" for none) and shown as `text`.
  void add(long number, SkipReason reason, const std::string& part, const std::string& text);
  std::size_t size() const { return lines_.size(); }
  bool empty() const { return lines_.empty(); }
  // Gives each line, as listed, to `use`, in file order.
  void forEach(const std::function<void(const SkippedLine&)>& use) const;

 private:
  struct Kept {
    long number;
    SkipReason reason;
    unsigned char partLength, textLength;
  };
  std::deque<Kept> lines_;
  TextBlocks shown_;
};

// The lines a loader stores, in file order, kept in blocks, each line
// ended by "\n" (a line holds none).
class StoredLines {
 public:
  void add(const std::string& line) { blocks_.append(line, "\n"); }
  // Gives the lines to `use` in order, those of a block at a time.
  void forEachPart(const std::function<void(const std::vector<std::string>&)>& use) const;

 private:
  TextBlocks blocks_;
};

// The bound of a return file that a file passed.
enum class ReturnBound { kNone, kBytes, kLines };

struct LineCheck {
  bool readable = false;  // false: missing, a directory, not readable or a read failed
  std::string cause;      // why it cannot be read ("no such file", ...); "" when readable
  long lines = 0;         // lines read
  long cutAt = 0;         // the line, too long, that ended the reading; 0 if none
  ReturnBound pastBound = ReturnBound::kNone;  // the bound that ended the reading
  SkippedLines skipped;
  StoredLines stored;
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
