// The filer's display name, built from the name lines of federalLineTable
// as the information form holds them.
#include <cstdio>
#include <string>

#include "calc/state/federal_line_table.h"
#include "calc/state/state_tax_return_calc_engine.h"
#include "host/form_field.h"
#include "host/string_utils.h"
#include "host/tax_form.h"
#include "return/release_share.h"

namespace StateCalculationMgmt {

namespace {

// Size of the buffer each name part is read into.
const int kNamePartSize = 128;
// Width at which the family names are read for the joint-name comparison.
const unsigned short kFamilyNameWidth = 20;

// The name parts of each person, and of the shared joint names (a shared
// family name is written once, from the spouse's line).
struct NameLines {
  short a, b, c, d;
};
constexpr NameLines kTaxpayerName = {kTaxpayerFirstNameLine, kTaxpayerMiddleInitialLine, kTaxpayerLastNameLine,
                                     kTaxpayerSuffixLine};
constexpr NameLines kSpouseName = {kSpouseFirstNameLine, kSpouseMiddleInitialLine, kSpouseLastNameLine,
                                   kSpouseSuffixLine};
// Display mode 1: the given names, the family name after the spouse's.
constexpr NameLines kTaxpayerGivenNames = {kTaxpayerFirstNameLine, kTaxpayerMiddleInitialLine, 0, 0};
constexpr NameLines kSpouseNamesWithFamily = {kSpouseFirstNameLine, kSpouseMiddleInitialLine,
                                              kSpouseLastNameLine, 0};
// Other modes: the shared family name in the taxpayer's name.
constexpr NameLines kTaxpayerWithSharedFamily = {kTaxpayerFirstNameLine, kTaxpayerMiddleInitialLine,
                                                 kSpouseLastNameLine, kTaxpayerSuffixLine};
constexpr NameLines kSpouseWithoutFamily = {kSpouseFirstNameLine, kSpouseMiddleInitialLine, 0,
                                            kSpouseSuffixLine};

}  // namespace

char* StateTaxReturnCalcEngine::buildNameFromFields(char* out, FormId formId, FieldId a, FieldId b,
                                                    FieldId c, FieldId d, Utils::DISPLAY_NAME mode) {
  char parts[4][kNamePartSize] = {"", "", "", ""};
  const FieldId* fields[4] = {&a, &b, &c, &d};
  for (int i = 0; i < 4; ++i) {
    if (fields[i]->getNumber() > 0 && stateReturn != nullptr) {
      stateReturn->formString(parts[i], sizeof parts[i], formId, 1, *fields[i]);
    }
  }
  return Utils::buildNameS(out, parts[0], parts[1], parts[2], parts[3], mode);
}

char* StateTaxReturnCalcEngine::getFederalLineFieldID(char* out, FormId formId, short codeA, short codeB,
                                                      short codeC, short codeD, Utils::DISPLAY_NAME mode) {
  // Code 0, and any code outside the table, contributes the empty part.
  return buildNameFromFields(out, formId, federalLineStateField(codeA), federalLineStateField(codeB),
                             federalLineStateField(codeC), federalLineStateField(codeD), mode);
}

char* StateTaxReturnCalcEngine::getFederalLineText(char* out, TaxFormPtr form, short code,
                                                   unsigned short width) {
  char text[kNamePartSize] = "";
  const FieldId& field = federalLineStateField(code);
  if (!form.isNull() && stateReturn != nullptr) {
    DataMgmt::FormFieldPtr formField = form->getField(field);
    const long value = formField.isNull() ? 0 : formField->getValue();
    stateReturn->getText(text, value, width < kNamePartSize ? width : kNamePartSize - 1, 0);
  }
  releaseShare(form);
  return Utils::strip(out, text);
}

char* StateTaxReturnCalcEngine::buildFilerName(char* out, FormId formId, short whose,
                                               Utils::DISPLAY_NAME mode) {
  out[0] = '\0';
  if (stateReturn == nullptr) return out;
  TaxFormPtr first = stateReturn->getFormUVPtr(formId, 1, true);
  if (first.isNull()) return out;

  auto nameFrom = [&](char* name, const NameLines& lines) {
    return getFederalLineFieldID(name, formId, lines.a, lines.b, lines.c, lines.d, mode);
  };
  if (whose == kNameOfSpouse) return nameFrom(out, kSpouseName);
  if (whose != kNameOfBoth && whose != kNameOfCouple) return nameFrom(out, kTaxpayerName);

  // The joint name. Different family names give both full names; a shared
  // one (or none for the spouse) is written once, from the spouse's line.
  char taxpayerFamily[kNamePartSize];
  char spouseFamily[kNamePartSize];
  getFederalLineText(taxpayerFamily, first, kTaxpayerLastNameLine, kFamilyNameWidth);
  getFederalLineText(spouseFamily, first, kSpouseLastNameLine, kFamilyNameWidth);

  char taxpayer[Utils::kNameBufferSize];
  char spouse[Utils::kNameBufferSize];
  if (Utils::OVStringUtils::stricmp(taxpayerFamily, spouseFamily) != 0 && spouseFamily[0] != '\0') {
    nameFrom(taxpayer, kTaxpayerName);
    nameFrom(spouse, kSpouseName);
    if (spouse[0] == '\0') {
      std::snprintf(out, Utils::kNameBufferSize, "%s", taxpayer);
      return out;
    }
  } else if (mode == 1) {
    nameFrom(taxpayer, kTaxpayerGivenNames);
    nameFrom(spouse, kSpouseNamesWithFamily);
  } else {
    nameFrom(taxpayer, kTaxpayerWithSharedFamily);
    nameFrom(spouse, kSpouseWithoutFamily);
  }
  // Two full names may exceed the name buffer: the joined name is cut.
  const std::string joined = std::string(taxpayer) + " & " + spouse;
  return Utils::safestrncpy(out, joined.c_str(), Utils::kNameBufferSize);
}

}  // namespace StateCalculationMgmt
