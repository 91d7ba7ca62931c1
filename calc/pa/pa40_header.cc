// The PA-40's header: filing status letter, deceased and residency codes
// with their dates, the yes/no texts of three questions, names and social
// security numbers, the address, the full name line, the federal text items,
// the telephone number and the school district code; and the two no-entry
// items at the end of the PA-40 calculation.
//
// Everything comes from copy 1 of the information form, copy 1 of the
// federal filer form and the federal return form in use. A missing copy
// reads as empty texts and unmarked boxes; fields a step leaves unchanged
// keep what an earlier calculation or the user put there.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/catalogs.h"
#include "host/string_utils.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"
#include "identifiers/tax_year_constants.h"

namespace PACalculationMgmt {

using DataMgmt::TaxFormPtr;
using Primitives::OVImmutableIdentifier;

namespace {

// Field texts are read into buffers of this size (127 characters and NUL).
const int kTextSize = 128;
// Texts joined from several field texts.
const int kJoinedSize = 3 * kTextSize;

// PA-40 members (host field numbers in the comments).
const OVImmutableIdentifier& pa40(int member) { return kPA40FieldIds[member]; }
const int kFilingLetter = 127;       // 272
const int kDeceased = 129;           // 147014
const int kTPDeceased = 131;         // 147100
const int kTPDeathDate = 132;        // 118
const int kSPDeceased = 133;         // 147101
const int kSPDeathDate = 134;        // 147015
const int kResidencyLetter = 116;    // 271
const int kPartYearFirst = 123;      // 103
const int kPartYearSecond = 124;     // 104
const int kQuestion102Text = 112;    // 270
const int kAmendedText = 115;        // 36
const int kQuestion106Text = 138;    // 273
const int kTPNumber = 110;           // 83
const int kTPLastName = 113;         // 87
const int kTPSuffix = 114;           // 88
const int kTPFirstName = 117;        // 94
const int kTPInitial = 118;          // 95
const int kSPNumber = 111;           // 84
const int kSPLastName = 125;         // 101
const int kSPSuffix = 126;           // 102
const int kSPFirstName = 120;        // 97
const int kSPInitial = 121;          // 98
const int kTPFederalText = 119;      // 345
const int kSPFederalText = 122;      // 346
const int kAddressLineOne = 130;     // 105
const int kAddressLineTwo = 128;     // 107
const int kAddressPartOne = 135;     // 110
const int kAddressPartTwo = 136;     // 111
const int kAddressPartThree = 137;   // 112
const int kTPNumberSecond = 205;     // 175
const int kFullNameLine = 206;       // 399
const int kTelephone = 139;          // 116
const int kNoTelephoneBox = 34;      // 23
const int kSchoolDistrict = 140;     // 115
const int kInfo92Copy = 141;         // 46815
const int kNoEntryFirst = 286;       // 263
const int kNoEntrySecond = 287;      // 265

// Information form members.
const OVImmutableIdentifier& info(int member) { return kPAReturnInfoFieldIds[member]; }
const int kInfoSingle = 115;           // 55
const int kInfoSeparate = 116;         // 56
const int kInfoJoint = 117;            // 57
const int kInfoF = 120;                // 60
const int kInfoTPDeceased = 118;       // 58
const int kInfoSPDeceased = 119;       // 59
const int kInfoSPDeceasedConfirm = 22; // 112
const int kInfoNonresident = 102;      // 47
const int kInfoPartYear = 103;         // 48
const int kInfoPartYearFrom = 104;     // 49
const int kInfoPartYearTo = 105;       // 50
const int kInfoQuestion102 = 152;      // 102
const int kInfoAmended = 155;          // 104
const int kInfoQuestion106 = 157;      // 106
const int kInfoTPFirst = 86;           // 31
const int kInfoTPInitial = 87;         // 32
const int kInfoTPLast = 88;            // 33
const int kInfoTPSuffix = 89;          // 34
const int kInfoTPNumber = 90;          // 35
const int kInfoSPFirst = 91;           // 36
const int kInfoSPInitial = 92;         // 37
const int kInfoSPLast = 93;            // 38
const int kInfoSPSuffix = 94;          // 39
const int kInfoSPNumber = 95;          // 40
const int kInfoSPNumberSecond = 124;   // 185897
const int kInfo61 = 122;               // 61
const int kInfoStreet = 96;            // 41
const int kInfoApartment = 97;         // 42
const int kInfoAddressMark1 = 161;     // 14563
const int kInfoAddressText1 = 163;     // 14565
const int kInfoAddressMark2 = 164;     // 74118
const int kInfoAddressText2 = 166;     // 74120
const int kInfoCity = 98;              // 43
const int kInfoState = 99;             // 44
const int kInfoZip = 100;              // 45
const int kInfoSchoolDistrict = 174;   // 91
const int kInfo92 = 173;               // 92

// Federal filer form members.
const OVImmutableIdentifier& filer(int member) { return kFedFilerInfoFieldIds[member]; }
const int kFilerTPDeathDate = 1638;  // 557
const int kFilerSPDeathDate = 1639;  // 558
const int kFiler494 = 1644;          // 494
const int kFiler495 = 1645;          // 495
const int kFilerForeign = 1604;      // 545
const int kFilerStreet = 1607;       // 22
const int kFilerCity = 1610;         // 81523
const int kFilerPart2 = 1612;        // 81524
const int kFilerPart3 = 1613;        // 81525

// Pull codes of the common text pull.
const int kPullTPFederalText = 129;
const int kPullSPFederalText = 130;
const int kPullTelephone = 141;
const int kPullNoEntryFirst = 133;
const int kPullNoEntrySecond = 135;

const char* yesNo(bool yes) { return yes ? "Y" : "N"; }

// The last two characters of `text` ("0" stays "0").
std::string lastTwo(const std::string& text) {
  char out[3];
  Utils::strsub(out, text.c_str(), static_cast<int>(text.size()) - 1, 2);
  return out;
}

// Month or day as two digits: "00" and the number, cut to its last two.
std::string twoDigits(int value) {
  char padded[32];
  std::snprintf(padded, sizeof(padded), "00%s", Utils::xstr(value).c_str());
  return lastTwo(padded);
}

}  // namespace

void PATaxReturnCalcEngine::computePA40Header(TaxFormPtr form, uint16_t copy) {
  if (paReturn == nullptr || form.isNull()) return;
  DataMgmt::TaxForm& pa = *form;
  const DataMgmt::FormId& kInfo = kFormID_PAReturnInfo;
  auto infoYes = [&](int member) { return paReturn->formYes(kInfo, 1, info(member)); };
  auto filerYes = [&](int member) {
    return federalReturn != nullptr && federalReturn->formYes(kFormID_FedFilerInfo, 1, filer(member));
  };
  auto infoText = [&](char* buf, int member) { return paReturn->formString(buf, kInfo, 1, info(member)); };
  auto filerText = [&](char* buf, int member) {
    return paReturn->textString(buf, kFormID_FedFilerInfo, 1, filer(member));
  };
  auto copyInfo = [&](int infoMember, int pa40Member) {
    paReturn->getII(kInfo, info(infoMember), form, pa40(pa40Member));
  };
  // "MM/DD/YY" of a date field of the copy in hand.
  auto dateText = [&](TaxFormPtr source, const OVImmutableIdentifier& field, const char* yearTail) {
    const std::string month = twoDigits(paReturn->dateParse(source, field, Utils::kDateMonth));
    const std::string day = twoDigits(paReturn->dateParse(source, field, Utils::kDateDay));
    std::string year = yearTail != nullptr
                           ? std::string(yearTail)
                           : lastTwo(Utils::xstr(paReturn->dateParse(source, field, Utils::kDateYear)));
    char text[32];
    std::snprintf(text, sizeof(text), "%s/%s/%s", month.c_str(), day.c_str(), year.c_str());
    return std::string(text);
  };

  // Filing status letter; none marked leaves it as it is.
  if (infoYes(kInfoF)) {
    pa.assignText(pa40(kFilingLetter), "F");
  } else if (infoYes(kInfoSingle)) {
    pa.assignText(pa40(kFilingLetter), "S");
  } else if (infoYes(kInfoSeparate)) {
    pa.assignText(pa40(kFilingLetter), "M");
  } else if (infoYes(kInfoJoint)) {
    pa.assignText(pa40(kFilingLetter), "J");
  }

  // Deceased codes and dates of death; a filer no longer marked deceased
  // keeps no date or "Y" from before.
  pa.assignText(pa40(kDeceased), infoYes(kInfoTPDeceased) || infoYes(kInfoSPDeceased) ? "Y" : "N");
  TaxFormPtr filerCopy;
  if (federalReturn != nullptr) filerCopy = federalReturn->getFormUVPtr(kFormID_FedFilerInfo, 1, false);
  if (infoYes(kInfoTPDeceased)) {
    pa.assignText(pa40(kTPDeceased), "Y");
    if (!filerCopy.isNull()) {
      pa.assignText(pa40(kTPDeathDate), dateText(filerCopy, filer(kFilerTPDeathDate), nullptr).c_str());
    }
  } else {
    pa.setNull(pa40(kTPDeathDate));
    pa.assignText(pa40(kTPDeceased), "N");
  }
  if (infoYes(kInfoSPDeceased) && infoYes(kInfoSPDeceasedConfirm)) {
    pa.assignText(pa40(kSPDeceased), "Y");
    if (!filerCopy.isNull()) {
      pa.assignText(pa40(kSPDeathDate), dateText(filerCopy, filer(kFilerSPDeathDate), nullptr).c_str());
    }
  } else {
    pa.setNull(pa40(kSPDeathDate));
    pa.assignText(pa40(kSPDeceased), "N");
  }

  // Residency letter; a part-year resident's dates carry this tax year.
  if (infoYes(kInfoNonresident)) {
    pa.assignText(pa40(kResidencyLetter), "N");
    pa.setNull(pa40(kPartYearFirst));
    pa.setNull(pa40(kPartYearSecond));
  } else if (infoYes(kInfoPartYear)) {
    pa.assignText(pa40(kResidencyLetter), "P");
    TaxFormPtr infoCopy = paReturn->getFormUVPtr(kInfo, 1, false);
    if (!infoCopy.isNull()) {
      const std::string from = dateText(infoCopy, info(kInfoPartYearFrom), kYearShort2018);
      const std::string to = dateText(infoCopy, info(kInfoPartYearTo), kYearShort2018);
      pa.assignText(pa40(kPartYearFirst), from.c_str());
      pa.assignText(pa40(kPartYearSecond), to.c_str());
    }
  } else {
    pa.assignText(pa40(kResidencyLetter), "R");
    pa.setNull(pa40(kPartYearFirst));
    pa.setNull(pa40(kPartYearSecond));
  }

  pa.assignText(pa40(kQuestion102Text), yesNo(infoYes(kInfoQuestion102)));
  pa.assignText(pa40(kAmendedText), yesNo(infoYes(kInfoAmended)));
  pa.assignText(pa40(kQuestion106Text), yesNo(infoYes(kInfoQuestion106)));

  // Taxpayer.
  char text[kTextSize];
  copyInfo(kInfoTPNumber, kTPNumber);
  copyInfo(kInfoTPSuffix, kTPSuffix);
  copyInfo(kInfoTPFirst, kTPFirstName);
  copyInfo(kInfoTPInitial, kTPInitial);
  pa.assignText(pa40(kTPLastName), infoText(text, kInfoTPLast));

  // Spouse: the last name only when it differs from the taxpayer's.
  const bool joint = getFilingStatus() == 2;
  if (joint) {
    char tpLast[kTextSize];
    infoText(tpLast, kInfoTPLast);
    infoText(text, kInfoSPLast);
    if (std::strcmp(text, tpLast) != 0) {
      pa.assignText(pa40(kSPLastName), text);
    } else {
      pa.setNull(pa40(kSPLastName));
    }
    copyInfo(kInfoSPSuffix, kSPSuffix);
    copyInfo(kInfoSPFirst, kSPFirstName);
    copyInfo(kInfoSPInitial, kSPInitial);
    copyInfo(kInfoSPNumber, kSPNumber);
  } else {
    if (filerYes(kFiler494)) {
      copyInfo(kInfoSPNumber, kSPNumber);
    } else if (filerYes(kFiler495) && infoYes(kInfo61)) {
      copyInfo(kInfoSPNumberSecond, kSPNumber);
    } else {
      pa.setNull(pa40(kSPNumber));
    }
    pa.setNull(pa40(kSPLastName));
    pa.setNull(pa40(kSPFirstName));
    pa.setNull(pa40(kSPInitial));
  }

  const DataMgmt::FormId federalForm = getFederalReturnFormId();
  pullCommonText(federalForm, kFormID_PA40, copy, pa40(kTPFederalText), kPullTPFederalText);
  if (joint) {
    pullCommonText(federalForm, kFormID_PA40, copy, pa40(kSPFederalText), kPullSPFederalText);
  } else {
    pa.setNull(pa40(kSPFederalText));
  }

  // Address.
  char street[kTextSize], address1[kTextSize], address2[kTextSize];
  char city[kTextSize], state[kTextSize], zip[kTextSize];
  char filerStreet[kTextSize], filerCity[kTextSize], filerPart2[kTextSize], filerPart3[kTextSize];
  infoText(street, kInfoStreet);
  infoText(address1, kInfoAddressText1);
  infoText(address2, kInfoAddressText2);
  infoText(city, kInfoCity);
  infoText(state, kInfoState);
  infoText(zip, kInfoZip);
  filerText(filerStreet, kFilerStreet);
  filerText(filerCity, kFilerCity);
  filerText(filerPart2, kFilerPart2);
  filerText(filerPart3, kFilerPart3);
  const bool foreign = filerYes(kFilerForeign);

  if (infoYes(kInfoAddressMark1)) {
    pa.assignText(pa40(kAddressLineTwo), street);
  } else if (infoYes(kInfoAddressMark2)) {
    pa.assignText(pa40(kAddressLineTwo), address2);
  } else if (foreign) {
    pa.assignText(pa40(kAddressLineTwo), street);
  } else {
    char apartment[kTextSize];
    paReturn->textString(apartment, kInfo, 1, info(kInfoApartment));
    if (apartment[0] != '\0') {
      char line[kJoinedSize];
      std::snprintf(line, sizeof(line), "APT. %s", apartment);
      pa.assignText(pa40(kAddressLineTwo), line);
    } else {
      pa.setNull(pa40(kAddressLineTwo));
    }
  }

  if (infoYes(kInfoAddressMark1)) {
    pa.assignText(pa40(kAddressLineOne), address1);
  } else if (infoYes(kInfoAddressMark2) || !foreign) {
    pa.assignText(pa40(kAddressLineOne), street);
  } else {
    std::string line = filerStreet;
    for (const char* part : {filerPart2, filerPart3}) {
      if (part[0] != '\0') line = line + " " + part;
    }
    pa.assignText(pa40(kAddressLineOne), line.c_str());
  }

  if (foreign) {
    pa.assignText(pa40(kAddressPartOne), filerCity);
    pa.assignText(pa40(kAddressPartTwo), "OC");
    pa.makeProtectedAndSetNull(pa40(kAddressPartThree));
  } else {
    pa.assignText(pa40(kAddressPartOne), city);
    pa.assignText(pa40(kAddressPartTwo), state);
    pa.assignText(pa40(kAddressPartThree), zip);
  }

  copyInfo(kInfoTPNumber, kTPNumberSecond);

  // Full name line: "first initial last suffix", the initial and suffix
  // only when given.
  auto namePart = [&](char* out, std::size_t size, int firstMember, int secondMember) {
    char first[kTextSize], second[kTextSize];
    infoText(first, firstMember);
    infoText(second, secondMember);
    if (second[0] != '\0') {
      std::snprintf(out, size, "%s %s", first, second);
    } else {
      std::snprintf(out, size, "%s", first);
    }
  };
  char firstPart[2 * kTextSize], lastPart[2 * kTextSize], fullName[4 * kTextSize];
  namePart(firstPart, sizeof(firstPart), kInfoTPFirst, kInfoTPInitial);
  namePart(lastPart, sizeof(lastPart), kInfoTPLast, kInfoTPSuffix);
  std::snprintf(fullName, sizeof(fullName), "%s %s", firstPart, lastPart);
  pa.assignText(pa40(kFullNameLine), fullName);

  // Daytime telephone and the no-telephone box.
  pullCommonText(federalForm, kFormID_PA40, copy, pa40(kTelephone), kPullTelephone);
  if (paReturn->hasSigValue(kFormID_PA40, 1, pa40(kTelephone))) {
    pa.setXNo(pa40(kNoTelephoneBox));
  } else {
    pa.setX(pa40(kNoTelephoneBox));
  }

  // School district code: the leading number of the entry, five digits.
  // strtol clamps a number too long for a long instead of overflowing.
  infoText(text, kInfoSchoolDistrict);
  char code[32];
  std::snprintf(code, sizeof(code), "%05ld", std::strtol(text, nullptr, 10));
  pa.assignText(pa40(kSchoolDistrict), code);

  copyInfo(kInfo92, kInfo92Copy);
}

void PATaxReturnCalcEngine::computePA40NoEntryItems(TaxFormPtr form, uint16_t copy) {
  if (form.isNull()) return;
  const DataMgmt::FormId federalForm = getFederalReturnFormId();
  pullCommonText(federalForm, kFormID_PA40, copy, pa40(kNoEntryFirst), kPullNoEntryFirst);
  pullCommonText(federalForm, kFormID_PA40, copy, pa40(kNoEntrySecond), kPullNoEntrySecond);
}

}  // namespace PACalculationMgmt
