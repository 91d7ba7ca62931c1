// Conversion of the fields of the two federal forms that open every state
// data file: the filer information form (92) and the electronic-filing
// information form (131). Several rules apply only while the header flag
// is set, that is while the state's own form-131 record is converted.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "catalogs/catalogs.h"
#include "host/orvane_exception.h"
#include "host/state_tax_return.h"
#include "host/string_utils.h"
#include "identifiers/form_ids.h"
#include "output/state_tif_file_writer.h"

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

// Field-code rewrites of the header record: the characters put at
// positions 5 and 9 (counted from 1); 0 keeps the character.
struct CodeRewriteRow {
  int fieldIndex;  // member index in Fed131FieldIds
  char position5;
  char position9;
};

const CodeRewriteRow kCodeRewriteRows[] = {
    {22, '9', 0},    // 152846
    {23, '7', '1'},  // 152847
    {24, '8', '2'},  // 152848
    {25, 0, '1'},    // 152849
    {26, '8', '3'},  // 152850
    {27, '0', 0},    // 152851
};

// Fields of form 131 cleared in the header record.
const int kClearedEFileIndexes[] = {
    97,  // 370
    36,  // 371
    37,  // 372
    90,  // 140456
    94,  // 72480
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

  if (number == kFedFilerInfoFieldIds[1593].getNumber()) {  // 20: street
    federal->tifAppendAPTtoStreet(value, filer, 1, kFedFilerInfoFieldIds[899]);  // 21
  } else if (number == kFedFilerInfoFieldIds[1667].getNumber() ||  // 789
             number == kFedFilerInfoFieldIds[972].getNumber()) {   // 790
    if (federal->noSigValue(filer, 1, kFedFilerInfoFieldIds[563])) clear(value);  // 711
  } else if (number == kFedFilerInfoFieldIds[490].getNumber() ||  // 791
             number == kFedFilerInfoFieldIds[884].getNumber()) {  // 792
    if (!(federal->getFilingStatus() == 2 &&
          federal->hasSigValue(filer, 1, kFedFilerInfoFieldIds[486]))) {  // 712
      clear(value);
    }
  }
  if (!headerFlag) return;

  if (number == kFedFilerInfoFieldIds[944].getNumber()) {  // 17994: refund
    const long long owed = stateTextAmount(kAmountOwedItem);
    if (owed < 0) {
      std::snprintf(value, kTifValueSize, "%lld", -owed);
    } else {
      clear(value);
    }
  } else if (number == kFedFilerInfoFieldIds[1694].getNumber()) {  // 17995: balance due
    const long long owed = stateTextAmount(kAmountOwedItem);
    if (owed > 0) {
      std::snprintf(value, kTifValueSize, "%lld", owed);
    } else {
      clear(value);
    }
  } else if (number == kFedFilerInfoFieldIds[462].getNumber()) {  // 25
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
  } else if (number == kFedFilerInfoFieldIds[489].getNumber()) {  // 715
    clear(value);
  }
}

void StateTifFileWriter::convertEFileInfoField(DataMgmt::TaxFormPtr, uint16_t, const FieldId& field,
                                               const FieldId&, int, char* code, int, char* value,
                                               bool&, bool&) {
  const int number = field.getNumber();
  if (number == kFed131FieldIds[3].getNumber()) {  // 126
    tifGetDistrictNum(value);
  } else if (number == kFed131FieldIds[4].getNumber()) {  // 127
    tifGetOfficeNum(value);
  } else if (number == kFed131FieldIds[85].getNumber()) {  // 336
    tifGetServiceCenter(value);
  }

  if (!headerFlag) {
    if (number == kFed131FieldIds[35].getNumber() && !federalReturn.isNull() &&  // 80
        federalReturn->hasSigValue(kFormID_FedFilerInfo, 1, kFedFilerInfoFieldIds[1322])) {  // 158035
      // The code carries a blank before its occurrence digits.
      outputTifLine("01115.000 001", kFormID_Fed183, 1, kFed183FieldIds[385], false);  // 158073
    }
    return;
  }

  if (number == kFed131FieldIds[31].getNumber()) {  // 328
    std::snprintf(value, kTifValueSize, "%s", stateAbbreviation().c_str());
  } else if (number == kFed131FieldIds[72].getNumber()) {  // 111
    fetchRefundCode(value);
  } else if (number == kFed131FieldIds[48].getNumber()) {  // 333
    FormId unusedForm;
    FieldId stateField;
    mapFederalField(kFormID_FedFilerInfo, kFedFilerInfoFieldIds[563], unusedForm, stateField);  // 711
    const bool marked = stateTaxReturn != nullptr && stateField.isValid() &&
                        stateReturn->hasSigValue(stateTaxReturn->getInfoFormId(), 1, stateField);
    std::snprintf(value, kTifValueSize, "%s", marked ? "Y" : "N");
  } else if (number == kFed131FieldIds[5].getNumber()) {  // 325
    if (checkEFileInfoValue() && std::strncmp(code, "00070.000 001", 13) == 0) clear(value);
  } else if (number == kFed131FieldIds[89].getNumber()) {  // 334
    const bool debit = stateTextAmount(kDirectDebitItem) != 0 &&
                       stateTextAmount(kAmountOwedItem) > 0 &&
                       mappedFieldHasValue(kFormID_Fed183, kFed183FieldIds[184]);  // 155
    std::snprintf(value, kTifValueSize, "%s", debit ? "Y" : "N");
  } else if (number == kFed131FieldIds[105].getNumber()) {  // 72481
    if (sameText(value, "1") && !mappedFieldHasValue(kFormID_Fed131, field)) {
      std::snprintf(value, kTifValueSize, "2");
    }
  } else {
    for (int index : kClearedEFileIndexes) {
      if (number == kFed131FieldIds[index].getNumber()) clear(value);
    }
    for (const CodeRewriteRow& row : kCodeRewriteRows) {
      if (number != kFed131FieldIds[row.fieldIndex].getNumber()) continue;
      if (std::strlen(code) > 12) {
        if (row.position5 != 0) code[4] = row.position5;
        if (row.position9 != 0) code[8] = row.position9;
      }
    }
  }
}

bool StateTifFileWriter::checkEFileInfoValue() {
  const FieldId& choice = kFed131FieldIds[105];  // 72481
  if (!federalReturn.isNull() &&
      sameText(federalReturn->getFieldAsString(kFormID_Fed131, 1, choice).c_str(), "2")) {
    return false;
  }
  return mappedFieldHasValue(kFormID_Fed131, choice);
}

}  // namespace StateTifWriteMgmt
