// The filer's display name, built from the name lines of federalLineTable
// as the information form holds them.
#include <cstdio>
#include <string>

#include "calc/state/federal_line_table.h"
#include "calc/state/state_tax_return_calc_engine.h"
#include "entry/release_share.h"
#include "host/form_field.h"
#include "host/string_utils.h"
#include "host/tax_form.h"

namespace StateCalculationMgmt {

namespace {

// Size of the buffer each name part is read into.
const int kNamePartSize = 128;
// Width at which the family names are read for the joint-name comparison.
const unsigned short kFamilyNameWidth = 20;

// Line codes of the name parts: taxpayer 1-4, spouse 6-9; 3 and 8 are the
// family names.
const short kTaxpayerFamilyName = 3;
const short kSpouseFamilyName = 8;

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

  if (whose == 10) return getFederalLineFieldID(out, formId, 6, 7, 8, 9, mode);
  if (whose != 0 && whose != 2) return getFederalLineFieldID(out, formId, 1, 2, 3, 4, mode);

  // The joint name. Different family names give both full names; a shared
  // one (or none for the spouse) is written once, from the spouse's line.
  char taxpayerFamily[kNamePartSize];
  char spouseFamily[kNamePartSize];
  getFederalLineText(taxpayerFamily, first, kTaxpayerFamilyName, kFamilyNameWidth);
  getFederalLineText(spouseFamily, first, kSpouseFamilyName, kFamilyNameWidth);

  char taxpayer[Utils::kNameBufferSize];
  char spouse[Utils::kNameBufferSize];
  if (Utils::OVStringUtils::stricmp(taxpayerFamily, spouseFamily) != 0 && spouseFamily[0] != '\0') {
    getFederalLineFieldID(taxpayer, formId, 1, 2, 3, 4, mode);
    getFederalLineFieldID(spouse, formId, 6, 7, 8, 9, mode);
    if (spouse[0] == '\0') {
      std::snprintf(out, Utils::kNameBufferSize, "%s", taxpayer);
      return out;
    }
  } else if (mode == 1) {
    getFederalLineFieldID(taxpayer, formId, 1, 2, 0, 0, mode);
    getFederalLineFieldID(spouse, formId, 6, 7, 8, 0, mode);
  } else {
    getFederalLineFieldID(taxpayer, formId, 1, 2, 8, 4, mode);
    getFederalLineFieldID(spouse, formId, 6, 7, 0, 9, mode);
  }
  // Two full names may exceed the name buffer: the joined name is cut.
  const std::string joined = std::string(taxpayer) + " & " + spouse;
  return Utils::safestrncpy(out, joined.c_str(), Utils::kNameBufferSize);
}

}  // namespace StateCalculationMgmt
