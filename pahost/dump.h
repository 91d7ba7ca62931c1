// The test-data text format on the host's side: one field a line,
// "DEVNAME:copy:FIELDNAME:value", where FIELDNAME is the field's symbolic
// name without its "k" + DEVNAME + "_" head. The module's engine reads it
// (loadInputTextFile); pahost writes a return in it and checks a file's
// lines against the returns' descriptions.
#ifndef PAHOST_DUMP_H_
#define PAHOST_DUMP_H_

#include <cstdio>
#include <string>
#include <vector>

#include "host/identifier.h"
#include "host/pointers.h"

// Writes every non-null field of every copy of every form of the return,
// in ascending form number, copy number and the form's field order. Values
// are written so that loading the lines gives the same values again:
//   - a number in the unit the loader reads (its edit-code scaling
//     reversed), as the shortest text that loads back to the stored number
//     (see loaderNumberText);
//   - a marked box as "X", an explicit No as "[NO]" (TestDataFormat::
//     kExplicitNo);
//   - a text as it stands, colons included; an empty text as an empty
//     value, which loads as an emptied field.
// Fields whose symbolic name does not start with the form's head cannot be
// addressed in the format and are left out. A text that starts with a
// colon or holds a line end or a NUL byte cannot be read back whole: it is
// left out too, and counted. The count of such fields.
int dumpReturn(std::FILE* out, const DataMgmt::TaxReturn& taxReturn);

// The text of a stored number in the unit the loader reads for a field of
// that edit code: the fewest decimals that load back to exactly the stored
// number within the 15 significant digits a double holds; past those, the
// digits are binary noise of the arithmetic and the number is written to
// 15 significant digits (0.1 + 0.2 as "0.3"). Loading the text and writing
// the loaded number again gives the same text.
std::string loaderNumberText(double stored, unsigned char editCode);

// The FIELDNAME of the field `id` of `form` in the format: its symbolic
// name without the form's "k" + DEVNAME + "_" head. Empty where the form
// has no such field, or its name has nothing past that head, as the format
// cannot address it.
std::string testDataFieldName(const DataMgmt::TaxFormDesc& form, const Primitives::OVImmutableIdentifier& id);

#endif  // PAHOST_DUMP_H_
