// The update of an existing data file: its header gets this state's version
// and section line, this state's section gives way to the new one, and every
// other line before the federal data is kept as it is.
//
// A data file's records belong to sections, which its header lists ("S SY",
// "S PA", "S FD"): a record's name begins with the code of its section. A
// state's section is its records and its return record, the "SYSTRTN" record
// whose state line names the state (each state's update writes one).
#include <algorithm>
#include <string>
#include <vector>

#include "catalogs/fields/fields.h"
#include "host/descriptors.h"
#include "identifiers/form_ids.h"
#include "output/state_tif_file_writer.h"

namespace StateTifWriteMgmt {

namespace {

const char kRecordHead[] = "D ";
const char kVersionHead[] = "V ";
const char kSectionHead[] = "S ";
const char kFederalSection[] = "S FD";
const char kReturnRecordName[] = "SYSTRTN";

bool beginsWith(const std::string& line, const std::string& prefix) {
  return line.compare(0, prefix.size(), prefix) == 0;
}

// The name of the record a head line opens ("D NAME   001 X T 1").
std::string recordName(const std::string& head) {
  const std::size_t start = sizeof kRecordHead - 1;
  return head.substr(start, head.find(' ', start) - start);
}

// The line's words between single blanks (an empty word for each further
// blank), so that joining them again gives the line back.
std::vector<std::string> wordsOf(const std::string& line) {
  std::vector<std::string> words;
  std::size_t start = 0;
  for (std::size_t blank; (blank = line.find(' ', start)) != std::string::npos; start = blank + 1) {
    words.push_back(line.substr(start, blank - start));
  }
  words.push_back(line.substr(start));
  return words;
}

}  // namespace

void StateTifFileWriter::copyOldLines(IOMgmt::FileReader& reader, const std::string& oldName) {
  std::vector<std::string> header;
  std::string line;
  bool atRecord = false;
  while (!reader.eof()) {
    reader.readPCLine(line);
    if (beginsWith(line, kRecordHead)) {
      atRecord = !opensFederalData(line);
      break;
    }
    header.push_back(line);
  }
  copyTifHeader(header);
  if (atRecord) copyOtherSections(reader, line);
  failAtCutLine(reader, oldName);
}

void StateTifFileWriter::copyTifHeader(const std::vector<std::string>& oldHeader) {
  const std::string ownSection = kSectionHead + stateAbbreviation();
  const bool hasVersion = std::any_of(oldHeader.begin(), oldHeader.end(),
                                      [](const std::string& line) { return beginsWith(line, kVersionHead); });
  std::vector<std::string> header = hasVersion ? oldHeader : freshHeaderLines();
  if (!hasVersion) {
    // The sections an old headerless file lists come before this state's.
    header.erase(std::find(header.begin(), header.end(), ownSection));
    for (const std::string& line : oldHeader) {
      const bool listed = std::find(header.begin(), header.end(), line) != header.end();
      if (!beginsWith(line, kSectionHead) || listed) continue;
      header.insert(std::find(header.begin(), header.end(), kFederalSection), line);
    }
  }
  bool versioned = false;
  bool listed = false;
  bool federalListed = false;
  for (const std::string& line : header) {
    if (!versioned && beginsWith(line, kVersionHead)) {
      putTifLine(withStateVersion(line));
      versioned = true;
    } else if (line == ownSection) {
      if (!listed) putTifLine(line);
      listed = true;
    } else {
      if (line == kFederalSection && !listed) {
        putTifLine(ownSection);
        listed = true;
      }
      federalListed = federalListed || line == kFederalSection;
      putTifLine(line);
    }
  }
  if (!listed) putTifLine(ownSection);
  if (!federalListed) putTifLine(kFederalSection);
}

std::string StateTifFileWriter::withStateVersion(const std::string& line) {
  const std::string tail = versionLineTail();  // " PA: 1.0"
  const std::string key = stateAbbreviation() + ":";
  const std::vector<std::string> words = wordsOf(line);
  std::string result;
  bool placed = false;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (words[i] != key) {
      result += (i == 0 ? "" : " ") + words[i];
      continue;
    }
    // An older version of this state (the word after its key) gives way;
    // a repeated key is dropped with its version.
    if (i + 1 < words.size() && (words[i + 1].empty() || words[i + 1].back() != ':')) ++i;
    if (!placed) result += tail;
    placed = true;
  }
  return placed ? result : result + tail;
}

void StateTifFileWriter::copyOtherSections(IOMgmt::FileReader& reader, std::string line) {
  const std::string abbreviation = stateAbbreviation();
  const std::string ownStateLine = stateLineText();
  std::vector<std::string> returnRecord;  // a return record until its state is known
  bool own = false;                       // the current record is this state's
  auto settleReturnRecord = [&] {
    if (returnRecord.empty()) return;
    own = !ownStateLine.empty() &&
          std::find(returnRecord.begin(), returnRecord.end(), ownStateLine) != returnRecord.end();
    if (!own) {
      for (const std::string& held : returnRecord) putTifLine(held);
    }
    returnRecord.clear();
  };
  while (!opensFederalData(line)) {
    if (beginsWith(line, kRecordHead)) {
      settleReturnRecord();
      const std::string name = recordName(line);
      own = !abbreviation.empty() && beginsWith(name, abbreviation);
      if (name == kReturnRecordName) returnRecord.push_back(line);
      if (returnRecord.empty() && !own) putTifLine(line);
    } else if (!returnRecord.empty()) {
      returnRecord.push_back(line);
    } else if (!own) {
      putTifLine(line);
    }
    if (reader.eof()) break;
    reader.readPCLine(line);
  }
  settleReturnRecord();
}

std::string StateTifFileWriter::stateLineText() {
  if (federalReturn.isNull() || federalReturn->getTaxReturnDesc().isNull()) return "";
  const DataMgmt::TifFieldDescriptorListPtr list =
      federalReturn->getTaxReturnDesc()->getTifFieldDescriptors(kFormID_Fed131);
  if (list.isNull()) return "";
  for (const auto& descriptor : *list) {
    if (!descriptor.isNull() && descriptor->getField() == Fed131::kStateAbbreviation.id()) {
      return descriptor->getFieldCode() + " " + stateAbbreviation();
    }
  }
  return "";
}

}  // namespace StateTifWriteMgmt
