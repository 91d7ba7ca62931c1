#include "pahost/line_check.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "host/descriptors.h"
#include "host/io.h"
#include "host/string_utils.h"
#include "pahost/federal_items.h"
#include "testing/test_data_format.h"

namespace {

using TestDataFormat::LineProblem;

// The reasons a line is skipped, as listed; the part shown follows.
struct ProblemText {
  LineProblem problem;
  const char* text;
};

const ProblemText kLineProblemTexts[] = {
    {LineProblem::kNulByte, "holds a NUL byte"},
    {LineProblem::kBadCopy, "the copy is not a copy number:"},
    {LineProblem::kCopyOutOfRange, "the copy is outside the form's copies:"},
    {LineProblem::kNotANumber, "the amount is not a plain number:"},
    {LineProblem::kAmountOutOfRange, "the amount is beyond ten billion:"},
};
const char kTooFewParts[] = "fewer than four parts (FORM:copy:FIELD:value)";
const char kUnknownForm[] = "no such form:";
const char kUnknownField[] = "no such field of the form:";
const char kBadFederalFigure[] = "not a well-formed federal figure";

// Why a return file cannot be read, by the system's error.
const char kNoSuchFile[] = "no such file";
const char kAFolder[] = "it is a folder";
const char kNoPermission[] = "no permission to read it";
const char kNotOpened[] = "it cannot be opened";

// The longest part shown in a reason; control bytes show as "?".
const std::size_t kShownPartLength = 40;

std::string shown(const std::string& part, std::size_t length = kShownPartLength) {
  std::string text = part.substr(0, length);
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  }
  return part.size() > length ? text + "..." : text;
}

std::string reasonOf(LineProblem problem, const std::vector<std::string>& parts) {
  for (const ProblemText& p : kLineProblemTexts) {
    if (p.problem != problem) continue;
    if (problem == LineProblem::kNulByte) return p.text;
    const std::string& part = problem == LineProblem::kBadCopy || problem == LineProblem::kCopyOutOfRange
                                  ? parts[1]
                                  : parts[3];
    return std::string(p.text) + " " + shown(part);
  }
  return "";
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

// Why the line is not stored; "" when it is.
std::string reasonFor(const std::string& line, const FormLookups& lookups) {
  if (line.find('\0') != std::string::npos) return reasonOf(LineProblem::kNulByte, {});
  const std::vector<std::string> parts = TestDataFormat::splitLine(line);
  if (parts.size() < TestDataFormat::kLineParts) return kTooFewParts;
  if (isFederalItemLine(parts)) return "";
  const std::string formName = Utils::OVStringUtils::toUpperCase(parts[0]);
  if (formName == kFederalItemsForm) return kBadFederalFigure;
  const std::vector<DataMgmt::TaxFormDescPtr> forms = lookups.find(formName);
  if (forms.empty()) return std::string(kUnknownForm) + " " + shown(parts[0]);
  std::string reason = std::string(kUnknownField) + " " + shown(parts[2]);
  const std::string symbolicName = "k" + formName + "_" + parts[2];
  for (const DataMgmt::TaxFormDescPtr& form : forms) {
    const Primitives::OVImmutableIdentifier field = form->findFieldNamed(symbolicName);
    if (!field.isValid()) continue;
    const LineProblem problem = problemOf(*form, field, parts);
    if (problem == LineProblem::kStored) return "";
    reason = reasonOf(problem, parts);
  }
  return reason;
}

// The cause of the system's error `error`.
std::string causeOf(int error) {
  if (error == ENOENT) return kNoSuchFile;
  if (error == EACCES) return kNoPermission;
  if (error == EISDIR) return kAFolder;
  return std::strerror(error);
}

}  // namespace

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
  long bytes = 0;
  while (!reader.eof() && !check.tooLarge) {
    reader.readPCLine(line);
    ++check.lines;
    bytes += static_cast<long>(line.size()) + 1;
    check.tooLarge = bytes > kMaxReturnBytes || check.lines > kMaxReturnLines;
    if (!isComment(line)) {
      std::string reason = reasonFor(line, lookups);
      if (!reason.empty()) {
        check.skipped.push_back(SkippedLine{check.lines, shown(line, kShownLineLength), std::move(reason)});
      }
    }
    check.texts.push_back(std::move(line));
    line.clear();
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
