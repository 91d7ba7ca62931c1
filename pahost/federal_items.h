// Federal common items in a return file.
//
// The state layer pulls common federal items (the federal filing status is
// item 1) from the host's federal return, not from form fields, so the
// test-data format has no line for them. pahost adds one: a line
//   FEDCOMMON:form:Ccode:value
// sets item `code` of federal form `form` (0: of any form) to the whole
// number `value`. The module's loader skips such lines, as it skips every
// line whose form it does not know; pahost applies them itself before the
// module loads the file, and writes them first when it dumps a return.
#ifndef PAHOST_FEDERAL_ITEMS_H_
#define PAHOST_FEDERAL_ITEMS_H_

#include <cstdio>
#include <string>
#include <vector>

namespace DataMgmt {
class USTaxReturn;
}

// The developer name of the pseudo-form that carries the items.
extern const char kFederalItemsForm[];

// True when `parts` (a split line) is a well-formed item line.
bool isFederalItemLine(const std::vector<std::string>& parts);

// Applies every item line of the file at `path` to `federal`; returns the
// number applied, or -1 when the file cannot be read.
int applyFederalItems(const std::string& path, DataMgmt::USTaxReturn& federal);

// Writes the federal return's items as item lines.
void dumpFederalItems(std::FILE* out, const DataMgmt::USTaxReturn& federal);

#endif  // PAHOST_FEDERAL_ITEMS_H_
