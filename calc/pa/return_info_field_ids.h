// The fields of the PA information form (state form 168) that its
// calculation touches, named by host field number: kInfoF<number> is the
// member of PAReturnInfoFieldIds that holds host field <number>, and
// infoField turns it into the field identifier.
#ifndef CALC_PA_RETURN_INFO_FIELD_IDS_H_
#define CALC_PA_RETURN_INFO_FIELD_IDS_H_

#include "catalogs/catalogs.h"
#include "host/identifier.h"

namespace PACalculationMgmt {

enum InfoMember : int {
  kInfoF1 = 0,   kInfoF2 = 1,   kInfoF10 = 16,  kInfoF13 = 23,  kInfoF14 = 24,  kInfoF15 = 25,
  kInfoF16 = 26, kInfoF17 = 27, kInfoF18 = 28,  kInfoF19 = 29,  kInfoF20 = 30,  kInfoF21 = 31,
  kInfoF26 = 38, kInfoF27 = 39,
  // Copies of the federal name and address lines (line codes 1-15).
  kInfoF31 = 86, kInfoF45 = 100,
  // Residency boxes (full-year, nonresident, part-year) and the part-year dates.
  kInfoF46 = 101, kInfoF47 = 102, kInfoF48 = 103, kInfoF49 = 104, kInfoF50 = 105,
  // Federal-return-type boxes (federal forms 1, 55, 87).
  kInfoF52 = 112, kInfoF53 = 113, kInfoF54 = 114,
  // Filing-status boxes (status 1, 3, 2) and the deceased-filer boxes.
  kInfoF55 = 115, kInfoF56 = 116, kInfoF57 = 117, kInfoF58 = 118, kInfoF59 = 119,
  kInfoF60 = 120, kInfoF61 = 122, kInfoF62 = 123,
  // Withholding summary: first-block total, the twelve slot amounts, totals.
  kInfoF63 = 125, kInfoF65 = 127, kInfoF67 = 129, kInfoF69 = 131, kInfoF71 = 133,
  kInfoF73 = 135, kInfoF75 = 137, kInfoF77 = 139, kInfoF79 = 141, kInfoF81 = 143,
  kInfoF83 = 145, kInfoF85 = 147, kInfoF87 = 149, kInfoF88 = 150, kInfoF89 = 151,
  // School code, school district, county.
  kInfoF90 = 154, kInfoF91 = 174, kInfoF92 = 173, kInfoF94 = 172,
  // Option check boxes and the texts that follow them.
  kInfoF95 = 177, kInfoF96 = 178, kInfoF97 = 179, kInfoF98 = 180, kInfoF99 = 181,
  kInfoF100 = 182,
  kInfoF102 = 152, kInfoF103 = 153, kInfoF104 = 155, kInfoF105 = 156, kInfoF106 = 157,
  kInfoF107 = 158, kInfoF108 = 159,
  // Dates of death and their year boxes.
  kInfoF109 = 19, kInfoF110 = 20, kInfoF111 = 21, kInfoF112 = 22,
  kInfoF113 = 106, kInfoF114 = 107,
  // Fields kept in step with federal form 183 and state form 14.
  kInfoF115 = 44, kInfoF116 = 45, kInfoF117 = 46, kInfoF118 = 47, kInfoF119 = 48,
  kInfoF120 = 49,
  // Marked text (121-126); PA-40 line 17 (127).
  kInfoF121 = 51, kInfoF122 = 52, kInfoF123 = 53, kInfoF124 = 54, kInfoF125 = 55,
  kInfoF126 = 56, kInfoF127 = 57,
  kInfoF130 = 121, kInfoF131 = 160, kInfoF137 = 36, kInfoF138 = 37, kInfoF139 = 40,
  kInfoF140 = 41, kInfoF141 = 108, kInfoF142 = 109,
  kInfoF14563 = 161, kInfoF14564 = 162, kInfoF14565 = 163, kInfoF23876 = 110,
  kInfoF23877 = 111, kInfoF50936 = 168, kInfoF50937 = 169, kInfoF50938 = 170,
  kInfoF50939 = 171, kInfoF74118 = 164, kInfoF74119 = 165, kInfoF74120 = 166,
  // State tax withheld.
  kInfoF142112 = 175, kInfoF142114 = 176,
  kInfoF144157 = 63, kInfoF144158 = 64,
  // Boxes set from the federal forms present.
  kInfoF150684 = 79, kInfoF150685 = 80, kInfoF150687 = 82, kInfoF150738 = 85,
  kInfoF185897 = 124, kInfoF189150 = 50,
  // Option groups: the taxpayer's, then the spouse's.
  kInfoF199150 = 187, kInfoF192411 = 186, kInfoF192412 = 188, kInfoF192413 = 189,
  kInfoF192414 = 190, kInfoF192415 = 191, kInfoF192416 = 192, kInfoF192417 = 184,
  kInfoF192418 = 185,
  kInfoF199151 = 196, kInfoF192419 = 195, kInfoF192420 = 197, kInfoF192421 = 198,
  kInfoF192422 = 199, kInfoF192423 = 200, kInfoF192424 = 201, kInfoF192425 = 193,
  kInfoF192426 = 194,
};

inline const Primitives::OVImmutableIdentifier& infoField(InfoMember member) {
  return kPAReturnInfoFieldIds[member];
}

}  // namespace PACalculationMgmt

#endif  // CALC_PA_RETURN_INFO_FIELD_IDS_H_
