// Federal figures in a return file.
//
// The state layer pulls some federal figures from the host's federal
// return rather than from form fields: common items (item 1 is the federal
// filing status), the state wages and the state tax withheld. The
// test-data format has no line for them, so pahost adds lines of a
// pseudo-form the module does not know:
//   FEDCOMMON:form:Ccode:value   common item `code` of federal form `form`
//                                (0: of any form), a whole number
//   FEDCOMMON:who:WAGES:value    state wages of the taxpayer (who 1) or the
//   FEDCOMMON:who:ALLWAGES:value spouse (who 10); all state wages likewise
//   FEDCOMMON:0:WITHHELD:value   state tax withheld, without local tax
// Like the loader, pahost refuses a figure beyond TestDataFormat::kMaxAmount
// (ten billion) in magnitude; such a line counts as skipped.
// The module's loader skips such lines, as it skips every line whose form
// it does not know; pahost applies them itself before the module loads the
// file, and writes them first when it dumps a return.
#ifndef PAHOST_FEDERAL_ITEMS_H_
#define PAHOST_FEDERAL_ITEMS_H_

#include <cstdio>
#include <string>
#include <vector>

namespace DataMgmt {
class USTaxReturn;
}

// The developer name of the pseudo-form that carries the figures.
extern const char kFederalItemsForm[];

// True when `parts` (a split line) is a well-formed figure line.
bool isFederalItemLine(const std::vector<std::string>& parts);

// Applies every figure line of the file at `path` to `federal`; returns the
// number applied, or -1 when the file cannot be read.
int applyFederalItems(const std::string& path, DataMgmt::USTaxReturn& federal);
// The same for the lines of a file read already (without their ends).
int applyFederalItems(const std::vector<std::string>& lines, DataMgmt::USTaxReturn& federal);

// Writes the federal return's figures as figure lines (zero figures other
// than common items are not written).
void dumpFederalItems(std::FILE* out, const DataMgmt::USTaxReturn& federal);

#endif  // PAHOST_FEDERAL_ITEMS_H_
