// Utils::printFormInfo: one row of a state printer's print-order table.
//
// A table is an array of rows in print order; the row after the last form
// holds the empty form identifier and ends the table. The kind and value
// of a row belong to the state's table; the host's walk does not read them.
#ifndef HOST_PRINT_FORM_INFO_H_
#define HOST_PRINT_FORM_INFO_H_

#include <cstdint>

#include "host/form_identifier.h"

namespace Utils {

struct printFormInfo {
  Primitives::OVImmutableFormIdentifier form;
  char kind = 0;
  uint16_t value = 0;
};

}  // namespace Utils

#endif  // HOST_PRINT_FORM_INFO_H_
