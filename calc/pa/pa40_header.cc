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
#include "calc/state/joined_text.h"
#include "catalogs/fields/fields.h"
#include "host/string_utils.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"
#include "identifiers/tax_year_constants.h"
#include "return/return_codes.h"

namespace PACalculationMgmt {

using DataMgmt::TaxFormPtr;
using Primitives::OVImmutableIdentifier;

namespace {

// Field texts are read into buffers of this size (127 characters and NUL).
const int kTextSize = 128;
// Texts joined from several field texts.
const int kJoinedSize = 3 * kTextSize;

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

// Copy 1 of the information form and of the federal filer form, read for
// the header; a missing copy (or federal return) reads as empty texts and
// unmarked boxes. Borrows both returns.
class HeaderSource {
 public:
  HeaderSource(PADataMgmt::PATaxReturn& paReturn, DataMgmt::USTaxReturn* federalReturn)
      : paReturn(paReturn), federalReturn(federalReturn) {}

  bool infoYes(const OVImmutableIdentifier& box) const { return paReturn.formYes(kFormID_PAReturnInfo, 1, box); }
  bool filerYes(const OVImmutableIdentifier& box) const {
    return federalReturn != nullptr && federalReturn->formYes(kFormID_FedFilerInfo, 1, box);
  }
  char* infoText(char* buf, const OVImmutableIdentifier& field) const {
    return paReturn.formString(buf, kFormID_PAReturnInfo, 1, field);
  }
  char* filerText(char* buf, const OVImmutableIdentifier& field) const {
    return paReturn.textString(buf, kFormID_FedFilerInfo, 1, field);
  }
  char* infoPlainText(char* buf, const OVImmutableIdentifier& field) const {
    return paReturn.textString(buf, kFormID_PAReturnInfo, 1, field);
  }
  void copyInfo(const OVImmutableIdentifier& infoField, TaxFormPtr form,
                const OVImmutableIdentifier& pa40Field) const {
    paReturn.getII(kFormID_PAReturnInfo, infoField, form, pa40Field);
  }
  TaxFormPtr infoCopy() const { return paReturn.getFormUVPtr(kFormID_PAReturnInfo, 1, false); }
  TaxFormPtr filerCopy() const {
    return federalReturn != nullptr ? federalReturn->getFormUVPtr(kFormID_FedFilerInfo, 1, false) : TaxFormPtr();
  }
  // "MM/DD/YY" of a date field of `source`; `yearTail` replaces the year
  // when given.
  std::string dateText(TaxFormPtr source, const OVImmutableIdentifier& field, const char* yearTail) const {
    const std::string month = twoDigits(paReturn.dateParse(source, field, Utils::kDateMonth));
    const std::string day = twoDigits(paReturn.dateParse(source, field, Utils::kDateDay));
    std::string year = yearTail != nullptr
                           ? std::string(yearTail)
                           : lastTwo(Utils::xstr(paReturn.dateParse(source, field, Utils::kDateYear)));
    char text[32];
    std::snprintf(text, sizeof(text), "%s/%s/%s", month.c_str(), day.c_str(), year.c_str());
    return text;
  }

 private:
  PADataMgmt::PATaxReturn& paReturn;
  DataMgmt::USTaxReturn* federalReturn;
};

// Filing status letter; none marked leaves it as it is.
void fillFilingStatus(const HeaderSource& in, DataMgmt::TaxForm& pa) {
  if (in.infoYes(PAReturnInfo::kFilingStatusFBox)) {
    pa.assignText(PA40::kFilingStatusCode, "F");
  } else if (in.infoYes(PAReturnInfo::kSingleBox)) {
    pa.assignText(PA40::kFilingStatusCode, "S");
  } else if (in.infoYes(PAReturnInfo::kSeparateBox)) {
    pa.assignText(PA40::kFilingStatusCode, "M");
  } else if (in.infoYes(PAReturnInfo::kJointBox)) {
    pa.assignText(PA40::kFilingStatusCode, "J");
  }
}

// Deceased codes and dates of death; a filer no longer marked deceased
// keeps no date or "Y" from before.
void fillDeceased(const HeaderSource& in, DataMgmt::TaxForm& pa) {
  const bool taxpayerDeceased = in.infoYes(PAReturnInfo::kTaxpayerDeceasedBox);
  const bool spouseDeceased = in.infoYes(PAReturnInfo::kSpouseDeceasedBox);
  pa.assignText(PA40::kDeceasedText, taxpayerDeceased || spouseDeceased ? "Y" : "N");
  TaxFormPtr filerCopy = in.filerCopy();
  const struct {
    bool deceased;
    const NamedField<PA40FieldIds>& text;
    const NamedField<PA40FieldIds>& date;
    const NamedField<FedFilerInfoFieldIds>& filerDate;
  } deceasedRows[] = {
      {taxpayerDeceased, PA40::kTaxpayerDeceasedText, PA40::kTaxpayerDateOfDeath,
       FedFilerInfo::kTaxpayerDeathDate},
      {spouseDeceased && in.infoYes(PAReturnInfo::kSpouseDiedInYearBox), PA40::kSpouseDeceasedText,
       PA40::kSpouseDateOfDeath, FedFilerInfo::kSpouseDeathDate},
  };
  for (const auto& row : deceasedRows) {
    if (row.deceased) {
      pa.assignText(row.text, "Y");
      if (!filerCopy.isNull()) pa.assignText(row.date, in.dateText(filerCopy, row.filerDate, nullptr).c_str());
    } else {
      pa.setNull(row.date);
      pa.assignText(row.text, "N");
    }
  }
}

// Residency letter; a part-year resident's dates carry this tax year.
void fillResidency(const HeaderSource& in, DataMgmt::TaxForm& pa) {
  if (in.infoYes(PAReturnInfo::kNonresidentBox)) {
    pa.assignText(PA40::kResidencyCode, "N");
    pa.setNull(PA40::kPartYearFromDate);
    pa.setNull(PA40::kPartYearToDate);
  } else if (in.infoYes(PAReturnInfo::kPartYearResidentBox)) {
    pa.assignText(PA40::kResidencyCode, "P");
    TaxFormPtr infoCopy = in.infoCopy();
    if (!infoCopy.isNull()) {
      const std::string from = in.dateText(infoCopy, PAReturnInfo::kPartYearFromDate, kYearShort2018);
      const std::string to = in.dateText(infoCopy, PAReturnInfo::kPartYearToDate, kYearShort2018);
      pa.assignText(PA40::kPartYearFromDate, from.c_str());
      pa.assignText(PA40::kPartYearToDate, to.c_str());
    }
  } else {
    pa.assignText(PA40::kResidencyCode, "R");
    pa.setNull(PA40::kPartYearFromDate);
    pa.setNull(PA40::kPartYearToDate);
  }
}

// The taxpayer's name and number.
void fillTaxpayer(const HeaderSource& in, TaxFormPtr form) {
  char text[kTextSize];
  in.copyInfo(PAReturnInfo::kTaxpayerSSN, form, PA40::kTaxpayerSSN);
  in.copyInfo(PAReturnInfo::kTaxpayerNameSuffix, form, PA40::kTaxpayerNameSuffix);
  in.copyInfo(PAReturnInfo::kTaxpayerFirstName, form, PA40::kTaxpayerFirstName);
  in.copyInfo(PAReturnInfo::kTaxpayerMiddleInitial, form, PA40::kTaxpayerMiddleInitial);
  form->assignText(PA40::kTaxpayerLastName, in.infoText(text, PAReturnInfo::kTaxpayerLastName));
}

// On a joint return the spouse's name and number, the last name only when
// it differs from the taxpayer's. Otherwise only the spouse's number, from
// the entry the federal answers point to.
void fillSpouse(const HeaderSource& in, TaxFormPtr form, bool joint) {
  DataMgmt::TaxForm& pa = *form;
  char text[kTextSize];
  if (joint) {
    char tpLast[kTextSize];
    in.infoText(tpLast, PAReturnInfo::kTaxpayerLastName);
    in.infoText(text, PAReturnInfo::kSpouseLastName);
    if (std::strcmp(text, tpLast) != 0) {
      pa.assignText(PA40::kSpouseLastName, text);
    } else {
      pa.setNull(PA40::kSpouseLastName);
    }
    in.copyInfo(PAReturnInfo::kSpouseNameSuffix, form, PA40::kSpouseNameSuffix);
    in.copyInfo(PAReturnInfo::kSpouseFirstName, form, PA40::kSpouseFirstName);
    in.copyInfo(PAReturnInfo::kSpouseMiddleInitial, form, PA40::kSpouseMiddleInitial);
    in.copyInfo(PAReturnInfo::kSpouseSSN, form, PA40::kSpouseSSN);
  } else {
    if (in.filerYes(FedFilerInfo::kMarriedFilingSeparatelyBox)) {
      in.copyInfo(PAReturnInfo::kSpouseSSN, form, PA40::kSpouseSSN);
    } else if (in.filerYes(FedFilerInfo::kSpouseAnswerBox) && in.infoYes(PAReturnInfo::kSpouseNumberYesBox)) {
      in.copyInfo(PAReturnInfo::kSpouseSSNSecondEntry, form, PA40::kSpouseSSN);
    } else {
      pa.setNull(PA40::kSpouseSSN);
    }
    pa.setNull(PA40::kSpouseLastName);
    pa.setNull(PA40::kSpouseFirstName);
    pa.setNull(PA40::kSpouseMiddleInitial);
  }
}

// Address lines, city, state and ZIP code. A foreign address: the filer
// form's city with province and postal code make line one, and its country
// takes the place of the city.
void fillAddress(const HeaderSource& in, DataMgmt::TaxForm& pa) {
  char street[kTextSize], poBox[kTextSize], secondLine[kTextSize];
  char city[kTextSize], state[kTextSize], zip[kTextSize];
  char foreignCity[kTextSize], foreignCountry[kTextSize];
  char foreignProvince[kTextSize], foreignPostalCode[kTextSize];
  in.infoText(street, PAReturnInfo::kStreet);
  in.infoText(poBox, PAReturnInfo::kPOBoxStreet);
  in.infoText(secondLine, PAReturnInfo::kAddressSecondLine);
  in.infoText(city, PAReturnInfo::kCity);
  in.infoText(state, PAReturnInfo::kStateCode);
  in.infoText(zip, PAReturnInfo::kZipCode);
  in.filerText(foreignCity, FedFilerInfo::kCity);
  in.filerText(foreignCountry, FedFilerInfo::kForeignCountry);
  in.filerText(foreignProvince, FedFilerInfo::kForeignProvince);
  in.filerText(foreignPostalCode, FedFilerInfo::kForeignPostalCode);
  const bool foreign = in.filerYes(FedFilerInfo::kForeignAddressBox);
  const bool poBoxMarked = in.infoYes(PAReturnInfo::kPOBoxBox);
  const bool secondLineMarked = in.infoYes(PAReturnInfo::kAddressSecondLineBox);

  if (poBoxMarked) {
    pa.assignText(PA40::kAddressLineTwo, street);
  } else if (secondLineMarked) {
    pa.assignText(PA40::kAddressLineTwo, secondLine);
  } else if (foreign) {
    pa.assignText(PA40::kAddressLineTwo, street);
  } else {
    char apartment[kTextSize];
    in.infoPlainText(apartment, PAReturnInfo::kApartment);
    if (apartment[0] != '\0') {
      char line[kJoinedSize];
      std::snprintf(line, sizeof(line), "APT. %s", apartment);
      pa.assignText(PA40::kAddressLineTwo, line);
    } else {
      pa.setNull(PA40::kAddressLineTwo);
    }
  }

  if (poBoxMarked) {
    pa.assignText(PA40::kAddressLineOne, poBox);
  } else if (secondLineMarked || !foreign) {
    pa.assignText(PA40::kAddressLineOne, street);
  } else {
    std::string line = foreignCity;
    for (const char* part : {foreignProvince, foreignPostalCode}) {
      if (part[0] != '\0') line = line + " " + part;
    }
    pa.assignText(PA40::kAddressLineOne, line.c_str());
  }

  if (foreign) {
    pa.assignText(PA40::kCity, foreignCountry);
    pa.assignText(PA40::kStateCode, "OC");
    pa.makeProtectedAndSetNull(PA40::kZipCode);
  } else {
    pa.assignText(PA40::kCity, city);
    pa.assignText(PA40::kStateCode, state);
    pa.assignText(PA40::kZipCode, zip);
  }
}

// Full name line: "first initial last suffix", the initial and suffix only
// when given.
void fillFullName(const HeaderSource& in, DataMgmt::TaxForm& pa) {
  auto namePart = [&](char* out, std::size_t size, const OVImmutableIdentifier& firstField,
                      const OVImmutableIdentifier& secondField) {
    char first[kTextSize], second[kTextSize];
    in.infoText(first, firstField);
    in.infoText(second, secondField);
    if (second[0] != '\0') {
      StateCalculationMgmt::joinWithBlank(out, size, first, second);
    } else {
      Utils::safestrncpy(out, first, size);
    }
  };
  char firstPart[2 * kTextSize], lastPart[2 * kTextSize], fullName[4 * kTextSize];
  namePart(firstPart, sizeof(firstPart), PAReturnInfo::kTaxpayerFirstName,
           PAReturnInfo::kTaxpayerMiddleInitial);
  namePart(lastPart, sizeof(lastPart), PAReturnInfo::kTaxpayerLastName, PAReturnInfo::kTaxpayerNameSuffix);
  StateCalculationMgmt::joinWithBlank(fullName, sizeof(fullName), firstPart, lastPart);
  pa.assignText(PA40::kFullNameLine, fullName);
}

// School district code: the leading number of the entry, five digits
// (strtol clamps a number too long for a long instead of overflowing); and
// the district's name.
void fillSchoolDistrict(const HeaderSource& in, TaxFormPtr form) {
  char text[kTextSize];
  in.infoText(text, PAReturnInfo::kSchoolCode);
  char code[32];
  std::snprintf(code, sizeof(code), "%05ld", std::strtol(text, nullptr, 10));
  form->assignText(PA40::kSchoolDistrictCode, code);
  in.copyInfo(PAReturnInfo::kSchoolDistrict, form, PA40::kSchoolDistrictName);
}

}  // namespace

void PATaxReturnCalcEngine::computePA40Header(TaxFormPtr form, uint16_t copy) {
  if (paReturn == nullptr || form.isNull()) return;
  DataMgmt::TaxForm& pa = *form;
  const HeaderSource in(*paReturn, federalReturn);

  fillFilingStatus(in, pa);
  fillDeceased(in, pa);
  fillResidency(in, pa);
  pa.assignText(PA40::kExtensionText, yesNo(in.infoYes(PAReturnInfo::kExtensionYesBox)));
  pa.assignText(PA40::kAmendedReturnText, yesNo(in.infoYes(PAReturnInfo::kAmendedReturnYesBox)));
  pa.assignText(PA40::kFarmerText, yesNo(in.infoYes(PAReturnInfo::kFarmerYesBox)));

  fillTaxpayer(in, form);
  const bool joint = getFilingStatus() == PADataMgmt::kFilingJoint;
  fillSpouse(in, form, joint);
  const DataMgmt::FormId federalForm = getFederalReturnFormId();
  pullCommonText(federalForm, kFormID_PA40, copy, PA40::kTaxpayerFederalText, kPullTPFederalText);
  if (joint) {
    pullCommonText(federalForm, kFormID_PA40, copy, PA40::kSpouseFederalText, kPullSPFederalText);
  } else {
    pa.setNull(PA40::kSpouseFederalText);
  }

  fillAddress(in, pa);
  in.copyInfo(PAReturnInfo::kTaxpayerSSN, form, PA40::kTaxpayerSSNSecond);
  fillFullName(in, pa);

  // Daytime telephone and the no-telephone box.
  pullCommonText(federalForm, kFormID_PA40, copy, PA40::kDaytimePhone, kPullTelephone);
  if (paReturn->hasSigValue(kFormID_PA40, 1, PA40::kDaytimePhone)) {
    pa.setXNo(PA40::kNoTelephoneBox);
  } else {
    pa.setX(PA40::kNoTelephoneBox);
  }

  fillSchoolDistrict(in, form);
}

void PATaxReturnCalcEngine::computePA40NoEntryItems(TaxFormPtr form, uint16_t copy) {
  if (form.isNull()) return;
  const DataMgmt::FormId federalForm = getFederalReturnFormId();
  pullCommonText(federalForm, kFormID_PA40, copy, PA40::kNoEntryItemOne, kPullNoEntryFirst);
  pullCommonText(federalForm, kFormID_PA40, copy, PA40::kNoEntryItemTwo, kPullNoEntrySecond);
}

}  // namespace PACalculationMgmt
