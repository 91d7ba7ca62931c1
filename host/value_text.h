// The value text of a field: the one text form of a stored value, used by
// every host read that answers text (formString, getFieldAsString,
// valueString, textString, FormField::getValueText, formatFieldString and
// the data-file writer).
//
// - A text reads as itself; null reads as "".
// - A box depends on the field's edit code: a yes/no field (code 1) reads
//   "Y" for the mark and "N" for an explicit No; any other field reads
//   "X" for the mark and "" for No.
// - A number has no thousands separators and a leading "-". Its scale and
//   decimals follow the edit code: 'H', 'M' hundredths with 2 decimals;
//   'J', 'N', 'O' /10^4 with 4; 'G' /10 with 1; 'I' /10^3 with 3; 'K'
//   /10^5 with 5; 'L' /10^6 with 6; 'F', 170 and 172 hundredths rounded to
//   a whole number; any other code the whole number (roundR).
#ifndef HOST_VALUE_TEXT_H_
#define HOST_VALUE_TEXT_H_

#include <cstddef>
#include <string>

#include "host/field_value.h"
#include "host/host_api.h"

namespace DataMgmt {

// Edit codes the stand-in's descriptors give (see FormFieldDesc).
constexpr unsigned char kEditNone = 0;
constexpr unsigned char kEditYesNo = 1;
constexpr unsigned char kEditHundredths = 'H';

HOST_API std::string numberText(double value, unsigned char editCode);
HOST_API std::string valueText(const FieldValue& value, unsigned char editCode);
// The same text into `buf` of `size` bytes (size > 0): at most size - 1
// characters, a text up to its first NUL, then a NUL.
HOST_API char* copyValueText(const FieldValue& value, unsigned char editCode, char* buf,
                             std::size_t size);

}  // namespace DataMgmt

#endif  // HOST_VALUE_TEXT_H_
