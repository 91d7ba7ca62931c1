// Conversion of the fields of the two federal forms that open every state
// data file: the filer information form (92) and the electronic-filing
// information form (131). Several rules apply only while the header flag
// is set, that is while the state's own form-131 record is converted.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "catalogs/fields/fields.h"
#include "host/orvane_exception.h"
#include "host/state_tax_return.h"
#include "host/string_utils.h"
#include "identifiers/form_ids.h"
#include "output/state_tif_file_writer.h"
#include "return/return_codes.h"

namespace StateTifWriteMgmt {

namespace {

using TifWriteMgmt::kTifValueSize;
using Utils::OVStringUtils;

// Text items of the state return.
const int kAmountOwedItem = 0;  // positive when owed, negative for a refund
const int kDirectDebitItem = 9;

// Filing-status code of the state's field-25 value for some states; the
// value is a one-character code and only "5" is rewritten.
struct FilingCodeRow {
  const char* state;
  const char* replacement;
};

const FilingCodeRow kFilingCodeRows[] = {
    {"WI", "3"}, {"MA", "4"}, {"KS", "4"}, {"MI", "1"}, {"VA", "1"},
};

// Field-code rewrites of the header record, one per row of the rewritten
// column of form 131: the characters put at positions 5 and 9 (counted
// from 1); 0 keeps the character.
struct CodeRewrite {
  char position5;
  char position9;
};

constexpr CodeRewrite kCodeRewrites[] = {
    {'9', 0}, {'7', '1'}, {'8', '2'}, {0, '1'}, {'8', '3'}, {'0', 0},
};
static_assert(sizeof kCodeRewrites / sizeof kCodeRewrites[0] == Fed131::kRewrittenCodeItem.rows(),
              "one rewrite per row of the column");

// Fields of form 131 cleared in the header record.
constexpr NamedField<Fed131FieldIds> kClearedEFileItems[] = {
    Fed131::kFirstClearedItem,  Fed131::kSecondClearedItem, Fed131::kThirdClearedItem,
    Fed131::kFourthClearedItem, Fed131::kFifthClearedItem,
};

bool sameText(const char* a, const char* b) { return OVStringUtils::stricmp(a, b) == 0; }

void clear(char* value) { value[0] = '\0'; }

}  // namespace

// The state form and field that stand for a federal field; either is empty
// when there is none. A mapping exception counts as no field.
void StateTifFileWriter::mapFederalField(const FormId& federalForm, const FieldId& federalField,
                                         FormId& stateForm, FieldId& stateField) {
  stateForm = FormId();
  stateField = FieldId();
  if (stateTaxReturn == nullptr) return;
  FieldId unused;
  try {
    stateTaxReturn->mapStateField(federalForm, Primitives::kNullFieldID, stateForm, unused);
    FormId unusedForm;
    stateTaxReturn->mapStateField(federalForm, federalField, unusedForm, stateField);
  } catch (const Exceptions::OrvaneException&) {
    stateForm = FormId();
    stateField = FieldId();
  }
}

bool StateTifFileWriter::mappedFieldHasValue(const FormId& federalForm,
                                             const FieldId& federalField) {
  FormId stateForm;
  FieldId stateField;
  mapFederalField(federalForm, federalField, stateForm, stateField);
  return stateForm.isValid() && stateField.isValid() &&
         stateReturn->hasSigValue(stateForm, 1, stateField);
}

int32_t StateTifFileWriter::stateTextAmount(int item) {
  int32_t amount = 0;
  if (stateTaxReturn != nullptr) {
    char text[kTifValueSize] = {0};
    stateTaxReturn->getStateTextItem(text, &amount, item);
  }
  return amount;
}

void StateTifFileWriter::convertFilerInfoField(DataMgmt::TaxFormPtr, uint16_t, const FieldId& field,
                                               const FieldId&, int, char*, int, char* value, bool&,
                                               bool&) {
  const FormId& filer = kFormID_FedFilerInfo;
  DataMgmt::TaxReturn* federal = federalReturn.get();
  if (federal == nullptr) return;
  const int number = field.getNumber();

  if (number == FedFilerInfo::kStreet.number()) {
    federal->tifAppendAPTtoStreet(value, filer, 1, FedFilerInfo::kApartment);
  } else if (number == FedFilerInfo::kTaxpayerPriorYearAgi.number() ||
             number == FedFilerInfo::kTaxpayerPriorYearPin.number()) {
    if (federal->noSigValue(filer, 1, FedFilerInfo::kTaxpayerPin)) clear(value);
  } else if (number == FedFilerInfo::kSpousePriorYearAgi.number() ||
             number == FedFilerInfo::kSpousePriorYearPin.number()) {
    if (!(federal->getFilingStatus() == PADataMgmt::kFilingJoint &&
          federal->hasSigValue(filer, 1, FedFilerInfo::kSpousePin))) {
      clear(value);
    }
  }
  if (!headerFlag) return;

  if (number == FedFilerInfo::kRefundAmount.number()) {
    const long long owed = stateTextAmount(kAmountOwedItem);
    if (owed < 0) {
      std::snprintf(value, kTifValueSize, "%lld", -owed);
    } else {
      clear(value);
    }
  } else if (number == FedFilerInfo::kBalanceDueAmount.number()) {
    const long long owed = stateTextAmount(kAmountOwedItem);
    if (owed > 0) {
      std::snprintf(value, kTifValueSize, "%lld", owed);
    } else {
      clear(value);
    }
  } else if (number == FedFilerInfo::kFilingStatusCode.number()) {
    const std::string state = stateAbbreviation();
    if (sameText(state.c_str(), "AR")) {
      FormId stateForm;
      FieldId stateField;
      mapFederalField(filer, field, stateForm, stateField);
      if (stateForm.isValid() && stateField.isValid()) {
        stateReturn->formString(value, kTifValueSize, stateForm, 1, stateField);
      }
    } else if (sameText(value, "5")) {
      for (const FilingCodeRow& row : kFilingCodeRows) {
        if (sameText(state.c_str(), row.state)) {
          std::snprintf(value, kTifValueSize, "%s", row.replacement);
          break;
        }
      }
    }
  } else if (number == FedFilerInfo::kSuppressedHeaderItem.number()) {
    clear(value);
  }
}

void StateTifFileWriter::convertEFileInfoField(DataMgmt::TaxFormPtr, uint16_t, const FieldId& field,
                                               const FieldId&, int, char* code, int, char* value,
                                               bool&, bool&) {
  const int number = field.getNumber();
  if (number == Fed131::kDistrictNumber.number()) {
    tifGetDistrictNum(value);
  } else if (number == Fed131::kOfficeNumber.number()) {
    tifGetOfficeNum(value);
  } else if (number == Fed131::kServiceCenter.number()) {
    tifGetServiceCenter(value);
  }

  if (!headerFlag) {
    if (number == Fed131::kExtraLineTrigger.number() && !federalReturn.isNull() &&
        federalReturn->hasSigValue(kFormID_FedFilerInfo, 1, FedFilerInfo::kExtraEfileLineGate)) {
      // The code carries a blank before its occurrence digits.
      outputTifLine("01115.000 001", kFormID_Fed183, 1, Fed183::kExtraEfileLineText, false);
    }
    return;
  }

  if (number == Fed131::kStateAbbreviation.number()) {
    std::snprintf(value, kTifValueSize, "%s", stateAbbreviation().c_str());
  } else if (number == Fed131::kRefundCode.number()) {
    fetchRefundCode(value);
  } else if (number == Fed131::kStateInfoAnswer.number()) {
    FormId unusedForm;
    FieldId stateField;
    mapFederalField(kFormID_FedFilerInfo, FedFilerInfo::kTaxpayerPin, unusedForm, stateField);
    const bool marked = stateTaxReturn != nullptr && stateField.isValid() &&
                        stateReturn->hasSigValue(stateTaxReturn->getInfoFormId(), 1, stateField);
    std::snprintf(value, kTifValueSize, "%s", marked ? "Y" : "N");
  } else if (number == Fed131::kClearedCodeItem.number()) {
    if (checkEFileInfoValue() && std::strncmp(code, "00070.000 001", 13) == 0) clear(value);
  } else if (number == Fed131::kDirectDebitAnswer.number()) {
    const bool debit = stateTextAmount(kDirectDebitItem) != 0 &&
                       stateTextAmount(kAmountOwedItem) > 0 &&
                       mappedFieldHasValue(kFormID_Fed183, Fed183::kDirectDebitBox);
    std::snprintf(value, kTifValueSize, "%s", debit ? "Y" : "N");
  } else if (number == Fed131::kStateReturnChoice.number()) {
    if (sameText(value, "1") && !mappedFieldHasValue(kFormID_Fed131, field)) {
      std::snprintf(value, kTifValueSize, "2");
    }
  } else {
    for (const NamedField<Fed131FieldIds>& cleared : kClearedEFileItems) {
      if (number == cleared.number()) clear(value);
    }
    for (int row = 0; row < Fed131::kRewrittenCodeItem.rows(); ++row) {
      if (number != Fed131::kRewrittenCodeItem.at(row).getNumber()) continue;
      if (std::strlen(code) > 12) {
        if (kCodeRewrites[row].position5 != 0) code[4] = kCodeRewrites[row].position5;
        if (kCodeRewrites[row].position9 != 0) code[8] = kCodeRewrites[row].position9;
      }
    }
  }
}

bool StateTifFileWriter::checkEFileInfoValue() {
  const FieldId& choice = Fed131::kStateReturnChoice;
  if (!federalReturn.isNull() &&
      sameText(federalReturn->getFieldAsString(kFormID_Fed131, 1, choice).c_str(), "2")) {
    return false;
  }
  return mappedFieldHasValue(kFormID_Fed131, choice);
}

}  // namespace StateTifWriteMgmt
