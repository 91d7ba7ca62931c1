#include "pahost/line_check.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#include "host/descriptors.h"
#include "host/io.h"
#include "host/string_utils.h"
#include "pahost/federal_items.h"
#include "testing/test_data_format.h"

namespace {

using TestDataFormat::LineProblem;

// The reasons a line is skipped, as listed; the part shown follows those
// that end in a space.
struct ReasonText {
  SkipReason reason;
  const char* text;
};

const ReasonText kReasonTexts[] = {
    {SkipReason::kTooFewParts, "fewer than four parts (FORM:copy:FIELD:value)"},
    {SkipReason::kUnknownForm, "no such form: "},
    {SkipReason::kUnknownField, "no such field of the form: "},
    {SkipReason::kBadFederalFigure, "not a well-formed federal figure"},
    {SkipReason::kNulByte, "holds a NUL byte"},
    {SkipReason::kBadCopy, "the copy is not a copy number: "},
    {SkipReason::kCopyOutOfRange, "the copy is outside the form's copies: "},
    {SkipReason::kNotANumber, "the amount is not a plain number: "},
    {SkipReason::kAmountOutOfRange, "the amount is beyond ten billion: "},
};

// The loader's problems among the reasons, with the part of the line
// (by its place) shown with each; -1 for none.
struct ProblemReason {
  LineProblem problem;
  SkipReason reason;
  int part;
};

const ProblemReason kProblemReasons[] = {
    {LineProblem::kNulByte, SkipReason::kNulByte, -1},
    {LineProblem::kBadCopy, SkipReason::kBadCopy, 1},
    {LineProblem::kCopyOutOfRange, SkipReason::kCopyOutOfRange, 1},
    {LineProblem::kNotANumber, SkipReason::kNotANumber, 3},
    {LineProblem::kAmountOutOfRange, SkipReason::kAmountOutOfRange, 3},
};

// A UTF-8 byte-order mark.
const char kByteOrderMark[] = "\xEF\xBB\xBF";
const std::size_t kMarkLength = sizeof kByteOrderMark - 1;

// Why a return file cannot be read, by the system's error.
const char kNoSuchFile[] = "no such file";
const char kAFolder[] = "it is a folder";
const char kNoPermission[] = "no permission to read it";
const char kNotOpened[] = "it cannot be opened";

// The longest part shown in a reason; control bytes show as "?".
const std::size_t kShownPartLength = 40;
static_assert(kShownPartLength + 3 <= 255 && kShownLineLength + 3 <= 255,
              "a skipped line keeps the lengths of its parts shown in a byte each");

std::string shown(const std::string& part, std::size_t length = kShownPartLength) {
  std::string text = part.substr(0, length);
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  }
  return part.size() > length ? text + "..." : text;
}

const char* textOf(SkipReason reason) {
  for (const ReasonText& r : kReasonTexts) {
    if (r.reason == reason) return r.text;
  }
  return "";
}

// Why a line is not stored: the reason and the part of the line shown
// with it ("" for none).
struct Skip {
  SkipReason reason;
  std::string part;
};

// Why the loader's `problem` (not kStored) leaves out the line of `parts`.
Skip skipOf(LineProblem problem, const std::vector<std::string>& parts) {
  for (const ProblemReason& p : kProblemReasons) {
    if (p.problem == problem) return {p.reason, p.part < 0 ? "" : shown(parts[p.part])};
  }
  return {SkipReason::kNulByte, ""};  // not reached: each problem has its reason
}

bool isComment(const std::string& line) {
  const size_t first = line.find_first_not_of(" \t");
  return first == std::string::npos || line[first] == '#';
}

// The forms of every return of a name, found by the host's descriptions;
// a form's field is found by its symbolic name (the first field of a name
// counts, as in the loader), and whether it holds a number by its traits,
// so that no field descriptor is made for the check.
class FormLookups {
 public:
  explicit FormLookups(const std::vector<DataMgmt::TaxReturnDescPtr>& descriptions)
      : descriptions_(descriptions) {}

  // The forms of that upper-cased developer name, at most one a return.
  std::vector<DataMgmt::TaxFormDescPtr> find(const std::string& formName) const {
    std::vector<DataMgmt::TaxFormDescPtr> forms;
    for (const DataMgmt::TaxReturnDescPtr& desc : descriptions_) {
      if (desc.isNull()) continue;
      const Primitives::OVImmutableFormIdentifier form = desc->findFormNamed(formName);
      if (form.isValid()) forms.push_back(desc->getTaxFormDescriptor(form));
    }
    return forms;
  }

 private:
  const std::vector<DataMgmt::TaxReturnDescPtr>& descriptions_;
};

// What stops a line naming `field` of `form` from being stored as written.
LineProblem problemOf(const DataMgmt::TaxFormDesc& form, const Primitives::OVImmutableIdentifier& field,
                      const std::vector<std::string>& parts) {
  TestDataFormat::CopyRange copies{0, 0};
  const LineProblem copy = TestDataFormat::readCopyPart(parts[1], form.getMaxCopies(), &copies);
  if (copy != LineProblem::kStored) return copy;
  const DataMgmt::FieldTraits traits = form.traitsOf(field);
  if (traits.isText() || traits.isBoolean()) return LineProblem::kStored;
  return TestDataFormat::checkAmountText(parts[3]);
}

// Why the line is not stored; none when it is.
std::optional<Skip> skipFor(const std::string& line, const FormLookups& lookups) {
  if (line.find('\0') != std::string::npos) return skipOf(LineProblem::kNulByte, {});
  const std::vector<std::string> parts = TestDataFormat::splitLine(line);
  if (parts.size() < TestDataFormat::kLineParts) return Skip{SkipReason::kTooFewParts, ""};
  if (isFederalItemLine(parts)) return std::nullopt;
  const std::string formName = Utils::OVStringUtils::toUpperCase(parts[0]);
  if (formName == kFederalItemsForm) return Skip{SkipReason::kBadFederalFigure, ""};
  const std::vector<DataMgmt::TaxFormDescPtr> forms = lookups.find(formName);
  if (forms.empty()) return Skip{SkipReason::kUnknownForm, shown(parts[0])};
  Skip skip{SkipReason::kUnknownField, shown(parts[2])};
  const std::string symbolicName = "k" + formName + "_" + parts[2];
  for (const DataMgmt::TaxFormDescPtr& form : forms) {
    const Primitives::OVImmutableIdentifier field = form->findFieldNamed(symbolicName);
    if (!field.isValid()) continue;
    const LineProblem problem = problemOf(*form, field, parts);
    if (problem == LineProblem::kStored) return std::nullopt;
    skip = skipOf(problem, parts);
  }
  return skip;
}

// The cause of the system's error `error`.
std::string causeOf(int error) {
  if (error == ENOENT) return kNoSuchFile;
  if (error == EACCES) return kNoPermission;
  if (error == EISDIR) return kAFolder;
  return std::strerror(error);
}

}  // namespace

void TextBlocks::append(const std::string& first, const std::string& second) {
  if (blocks_.empty() || blocks_.back().size() + first.size() + second.size() > kTextBlockSize) {
    blocks_.emplace_back();
    blocks_.back().reserve(kTextBlockSize);
  }
  blocks_.back().append(first).append(second);
}

void SkippedLines::add(long number, SkipReason reason, const std::string& part, const std::string& text) {
  shown_.append(part, text);
  lines_.push_back(Kept{number, reason, static_cast<unsigned char>(part.size()),
                        static_cast<unsigned char>(text.size())});
}

void SkippedLines::forEach(const std::function<void(const SkippedLine&)>& use) const {
  const std::vector<std::string>& blocks = shown_.blocks();
  std::size_t block = 0, at = 0;
  for (const Kept& kept : lines_) {
    // A line's parts that did not fit in a block start the next.
    if (at + kept.partLength + kept.textLength > blocks[block].size()) {
      ++block;
      at = 0;
    }
    const std::string& shown = blocks[block];
    use(SkippedLine{kept.number, textOf(kept.reason) + shown.substr(at, kept.partLength),
                    shown.substr(at + kept.partLength, kept.textLength)});
    at += kept.partLength + kept.textLength;
  }
}

void StoredLines::forEachPart(const std::function<void(const std::vector<std::string>&)>& use) const {
  for (const std::string& block : blocks_.blocks()) {
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; at < block.size(); at = end + 1) {
      end = block.find('\n', at);
      lines.push_back(block.substr(at, end - at));
    }
    use(lines);
  }
}

std::string unreadableCause(const std::string& path) {
  struct stat status;
  if (::stat(path.c_str(), &status) != 0) return causeOf(errno);
  if (S_ISDIR(status.st_mode)) return kAFolder;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return causeOf(errno);
  std::fclose(file);
  return "";
}

LineCheck checkReturnLines(const std::string& path,
                           const std::vector<DataMgmt::TaxReturnDescPtr>& descriptions) {
  LineCheck check;
  const IOMgmt::FileNamePtr name(new IOMgmt::FileName(path));
  IOMgmt::FileReader reader;
  if (!name->fileExist() || !reader.open(name)) {
    check.cause = unreadableCause(path);
    if (check.cause.empty()) check.cause = kNotOpened;
    return check;
  }
  check.readable = true;
  FormLookups lookups(descriptions);
  std::string line;
  while (!reader.eof() && check.pastBound == ReturnBound::kNone) {
    reader.readPCLine(line);
    ++check.lines;
    if (check.lines > kMaxReturnLines) check.pastBound = ReturnBound::kLines;
    if (reader.bytesGiven() > kMaxReturnBytes) check.pastBound = ReturnBound::kBytes;
    if (check.lines == 1 && line.compare(0, kMarkLength, kByteOrderMark) == 0) line.erase(0, kMarkLength);
    if (isComment(line)) continue;
    const std::optional<Skip> skip = skipFor(line, lookups);
    if (skip) {
      check.skipped.add(check.lines, skip->reason, skip->part, shown(line, kShownLineLength));
    } else {
      check.stored.add(line);
    }
  }
  check.cutAt = reader.cutAt();
  if (reader.readError() != 0) {
    check.readable = false;
    check.cause = std::string("a read failed after line ") + std::to_string(check.lines) + ": " +
                  std::strerror(reader.readError());
  }
  reader.close();
  return check;
}
