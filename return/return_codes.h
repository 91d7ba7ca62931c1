// The codes the PA return answers about itself: filing status
// (readFilingStatus) and residency (readResidencyStatus). Code compares
// against these names, never against bare numbers.
#ifndef RETURN_RETURN_CODES_H_
#define RETURN_RETURN_CODES_H_

#include <cstdint>

namespace PADataMgmt {

// Filing status of the information form; only a joint return carries the
// spouse's amounts.
enum FilingStatus : uint8_t {
  kFilingSingle = 1,
  kFilingJoint = 2,
  kFilingSeparate = 3,
};

// Residency of the information form's three residency boxes (none marked
// reads as a full-year resident).
enum Residency : int32_t {
  kFullYearResident = 0,
  kPartYearResident = 1,
  kNonresident = 2,
};

}  // namespace PADataMgmt

#endif  // RETURN_RETURN_CODES_H_
