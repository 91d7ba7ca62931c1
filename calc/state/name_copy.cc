// copyNameText: the filer's (and the spouse's) name and number at the head
// of a form copy, from the lines of federalLineTable on copy 1 of the
// source form.
#include <algorithm>
#include <utility>

#include "calc/state/federal_line_table.h"
#include "calc/state/state_tax_return_calc_engine.h"
#include "host/form_field.h"
#include "host/string_utils.h"
#include "host/tax_form.h"

namespace StateCalculationMgmt {

namespace {

// Width at which a number is read.
const int kNumberWidth = 11;

// Writes `text` into `field` and mirrors it into `second`: a copy of the
// field just written, or the text itself when there is no first field.
void assignPair(DataMgmt::TaxForm& target, const FieldId& field, const FieldId& second, const char* text) {
  if (field.isValid()) target.assignText(field, text);
  if (second.isValid()) {
    if (field.isValid()) {
      target.assignII(second, field);
    } else {
      target.assignText(second, text);
    }
  }
}

}  // namespace

void StateTaxReturnCalcEngine::filerName(char* out, FormId formId, short whose, Utils::DISPLAY_NAME mode) {
  auto kept = std::find_if(builtNames.begin(), builtNames.end(), [&](const BuiltName& built) {
    return built.form == formId.getNumber() && built.stateForm == formId.isStateForm() && built.whose == whose &&
           built.mode == mode;
  });
  if (kept != builtNames.end() && kept->version == stateReturn->formVersion(formId)) {
    Utils::safestrncpy(out, kept->name, Utils::kNameBufferSize);
    return;
  }
  buildFilerName(out, formId, whose, mode);
  // Its version after the build, which may have made the form's first copy.
  BuiltName built{formId.getNumber(), formId.isStateForm(), whose, mode, stateReturn->formVersion(formId), out};
  if (kept != builtNames.end()) {
    *kept = std::move(built);
  } else {
    builtNames.push_back(std::move(built));
  }
}

void StateTaxReturnCalcEngine::copyNameText(TaxFormPtr target, FormId source, uint16_t filingChoice,
                                            int displayMode, FieldId name1, FieldId number1,
                                            FieldId secondName1, FieldId secondNumber1, FieldId name2,
                                            FieldId number2, FieldId secondName2, FieldId secondNumber2,
                                            FieldId valueTarget, int upper) {
  if (stateReturn == nullptr || target.isNull()) return;
  TaxFormPtr sourceCopy = stateReturn->getFormUVPtr(source, 1, true);
  const Utils::DISPLAY_NAME mode = static_cast<Utils::DISPLAY_NAME>(displayMode);

  struct Person {
    short whose;
    short numberLine;
    const FieldId& name;
    const FieldId& number;
    const FieldId& secondName;
    const FieldId& secondNumber;
  };
  const Person people[2] = {
      {kNameOfTaxpayer, kTaxpayerNumberLine, name1, number1, secondName1, secondNumber1},
      {kNameOfSpouse, kSpouseNumberLine, name2, number2, secondName2, secondNumber2},
  };
  const bool joint = isJointOrNone(filingChoice);

  for (const Person& person : people) {
    if (person.whose == kNameOfSpouse && !joint) {
      for (const FieldId* field : {&person.name, &person.secondName, &person.number, &person.secondNumber}) {
        if (field->isValid()) target->setNull(*field);
      }
      continue;
    }
    char name[Utils::kNameBufferSize];
    filerName(name, source, person.whose, mode);
    if (upper == 1) Utils::OVStringUtils::toUpperCase(name);
    assignPair(*target, person.name, person.secondName, name);

    // Numbers are never upper-cased.
    char number[kNumberWidth + 1] = "";
    if (!sourceCopy.isNull()) {
      DataMgmt::FormFieldPtr field = sourceCopy->getField(federalLineStateField(person.numberLine));
      stateReturn->getText(number, field.isNull() ? 0 : field->getValue(), kNumberWidth, 0);
    }
    assignPair(*target, person.number, person.secondNumber, number);
  }

  const FieldId& valueLine = federalLineStateField(kNoFieldLine);
  if (valueTarget.isValid() && valueLine.isValid()) stateReturn->getII(source, valueLine, target, valueTarget);
}

}  // namespace StateCalculationMgmt
