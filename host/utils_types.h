// Small value types of the host's Utils namespace that several host
// classes take. The module passes plain ints cast to these enums, so each
// has a fixed underlying type: every int value is a valid value.
#ifndef HOST_UTILS_TYPES_H_
#define HOST_UTILS_TYPES_H_

namespace Utils {

// Code of a common federal item, read with StateTaxReturn::pullCommon.
enum PCTypes : int { kPCTypeNone = 0 };

// Which part of a date dateParse answers.
enum DATEPARSE_TYPE : int { kDateYear = 0, kDateMonth = 1, kDateDay = 2 };

// How buildNameS joins name parts.
enum DISPLAY_NAME : int { kDisplayNameDefault = 0 };

}  // namespace Utils

#endif  // HOST_UTILS_TYPES_H_
