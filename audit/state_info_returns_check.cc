// auditStateInfoReturns: the generic check of the state information on
// the federal wage and income statements (W-2, W-2G, 1099-G, 1099-R,
// 1099-MISC) and of the filers' name suffixes. The caller picks the rules
// with option bits; a few rules depend on the state's postal abbreviation.
// It reads the federal return only.
//
// Messages go out in one of two forms: the electronic-filing form (a
// restriction of the whole return, reportEFileIssue) or, when the caller
// asks for it, the form-bound form (reportAuditIssue on the federal form,
// copy and field). Rules marked "always electronic-filing" ignore the
// caller's choice.
#include <cstdio>
#include <string>

#include "audit/message_kinds.h"
#include "audit/state_info_statements.h"
#include "audit/state_tax_form_auditor.h"
#include "catalogs/fields/fields.h"
#include "host/string_utils.h"
#include "identifiers/form_ids.h"
#include "return/return_codes.h"

namespace StateAuditMgmt {

using namespace MessageKinds;

namespace {

using StateInfoStatements::StatementForm;
using StateInfoStatements::StatementKind;
using StateInfoStatements::StatementLine;

const std::size_t kTextSize = 1024;

// Option bits.
const int kOptionWithholding = 0x0001;
const int kOptionMissingState = 0x0010;
const int kOptionDuplicateState = 0x0020;
const int kOptionNewYorkLocality = 0x0040;
const int kOptionSuffix = 0x0080;
const int kOption1099GWithholding = 0x0100;
const int kOption1099GUnemployment = 0x0200;
const int kOptionEmployerStateId = 0x0400;
const int kOption1099MiscWithholding = 0x0800;
const int kOptionW2Wages = 0x1000;

const char* const kAcceptedSuffixes[] = {"JR", "SR", "II", "III", "IV", "V", "VI"};
const char* const kOrdinals[] = {"first", "second", "third", "fourth"};
const char* const kMiscOrdinals[] = {"1st", "2nd"};
// States whose 1099-G lines are checked for payer and state entries.
const char* const kStateListA[] = {"CT", "ME", "MD", "MA", "OR", "SC", "IL", "CA",
                                   "IA", "NE", "MI", "MT", "CO", "KS", "AR", "ID",
                                   "IN", "KY", "NC", "PA", "UT", "WV"};
// States that compare 1099-G withholding with the amount.
const char* const kStateListB[] = {"CA", "IA", "NE", "MI", "MT", "CO", "KS", "AR",
                                   "ID", "IN", "KY", "NC", "OR", "PA", "UT", "WV"};
const char* const kNewYorkLocalities[] = {"NYC", "NYC RES", "YONKERS"};

// The two state lines of a 1099-MISC.
struct MiscStateLine {
  NamedField<Fed1099MiscFieldIds> withheld;
  NamedField<Fed1099MiscFieldIds> state;
};
constexpr MiscStateLine kMiscLines[] = {
    {Fed1099Misc::kStateTaxWithheld, Fed1099Misc::kState},
    {Fed1099Misc::kSecondStateTaxWithheld, Fed1099Misc::kSecondState},
};

template <std::size_t N>
bool inList(const char* const (&list)[N], const std::string& text) {
  for (const char* entry : list) {
    if (Utils::OVStringUtils::stricmp(entry, text.c_str()) == 0) return true;
  }
  return false;
}

// Whole texts alike, case ignored.
bool sameText(const std::string& a, const std::string& b) {
  return Utils::OVStringUtils::stricmp(a.c_str(), b.c_str()) == 0;
}

// The end shared by the texts of the state-line rules: the state name and
// the form's short name follow.
#define STATEMENT_TAIL                                                                       \
  ". If this is correct, you must file your return on paper. To e-file your %s return, you " \
  "will need to go back to the federal interview to form %s and correct your state information"
#define NYC_HINT \
  "Please open your Federal %s form and use \"NYC\" for New York City and \"Yonkers\" for Yonkers"

// Message texts, in the order of the rules below.
// The state's name, "Taxpayer" or "Spouse", the state's name.
const char kSuffixBarredFormat[] =
    "%s does not allow returns with a suffix or title in %s name to be filed electronically. "
    "To e-file your %s return, you will need to go back to the federal interview and remove "
    "your suffix or title";
// "Taxpayer" or "Spouse", the state's name.
const char kSuffixListFormat[] =
    "%s suffix must only be one of the following: JR, SR, II, III, IV, V, VI. To e-file your "
    "%s return, you will need to go back to the federal interview and remove your suffix";
// The W-2 copy.
const char kEmployerStateIdFormat[] =
    "The \"Employer State Tax ID #\" is missing from Box 15 on copy %d of your Form W-2. If "
    "this is correct, you must file on paper. Otherwise, to e-file your state return, you will "
    "need to go back to the federal interview to the Form W-2  and correct your state W-2 "
    "information.";
// The state's name, the 1099-MISC copy, the line ("1st", "2nd").
const char kMiscWithholdingFormat[] =
    "You are not eligible to electronically file your %s return because you have reported "
    "state tax withheld on copy %d on your form 1099-MISC on the %s line.";
// The state's name, the W-2 copy, the state's name.
const char kW2WagesFormat[] =
    "%s does not allow electronic filing if the amount of federal wages in box 1 of your Form "
    "W-2 is less than $1. See federal Form W-2, copy %d.To e-file your %s return, you will "
    "need to go back to the federal interview to the Form W-2 and correct your state W-2 "
    "information.";
// The line ("first" ...), the copy, the form's short name; the tail.
const char kDistributionStateFormat[] =
    "You have entered state distribution, but did not enter the state name on the %s line on "
    "copy %d of your form (%s)" STATEMENT_TAIL;
// The copy, the form's short name; the tail.
const char kWithheldStateFormat[] =
    "You have entered state taxes withheld, but did not enter a state name on copy %d of your "
    "form (%s)" STATEMENT_TAIL;
// What is missing, the copy, the form's short name; the tail.
const char kMissingOneFormat[] =
    "You are missing %s on copy %d of your form (%s)" STATEMENT_TAIL;
// The two things missing, the copy, the form's short name; the tail.
const char kMissingTwoFormat[] =
    "You are missing %s and %s on copy %d of your form (%s)" STATEMENT_TAIL;
// The form's short name and copy; the tail.
const char kW2DuplicateFormat[] =
    "There are two or more state tax withholdings in Box 16 for the same state postal "
    "abbreviation on a single Form (%s Copy %d)" STATEMENT_TAIL;
// The form's short name and copy; the tail.
const char kDuplicateFormat[] =
    "You may not enter two state withholdings for the same state postal abbreviation on a "
    "single form (%s Copy %d)" STATEMENT_TAIL;
// The copy and the form's short name; the hint.
const char kW2NoLocalityFormat[] =
    "You have entered local tax withholding in Box 19 but did not enter the locality name in "
    "Box 20 of your state data on copy %d of your form (%s). " NYC_HINT;
// The line, the copy and the form's short name; the hint.
const char kNoLocalityFormat[] =
    "You have entered local tax withholding, but did not enter the locality name on the %s "
    "line of your state data on copy %d of your form (%s). " NYC_HINT;
// The copy and the form's short name twice.
const char kW2NotNewYorkFormat[] =
    "The state name on your W-2 copy %d, Box 15, must be \"NY\" when the locality name is "
    "\"NYC\" or \"Yonkers\". To fix this, go back to the Federal %s topic. You can open your "
    "Federal %s form and enter \"NY\" for State.";
// The form's short name, the copy, the short name.
const char kNotNewYorkFormat[] =
    "The state name on your Form %s copy %d, state data line, must be \"NY\" when the locality "
    "name is \"NYC\" or \"Yonkers\". To fix this, open your Federal %s form and enter \"NY\" "
    "for State.";
// The copy and the form's short name; the hint.
const char kW2InvalidLocalityFormat[] =
    "The locality name in Box 20 of your W-2, copy %d, is invalid. To correct this entry, "
    "you'll need to go back to the %s topic in the federal interview.  " NYC_HINT;
// The line, the copy and the form's short name; the hint.
const char kInvalidLocalityFormat[] =
    "You have entered an invalid locality name on the %s line of your state data on copy %d of "
    "your form (%s). " NYC_HINT;
// Withheld, the amount's label, the amount, the copy, the short name, the
// state's name, the short name twice.
const char kW2QuarterFormat[] =
    "Your state tax withholding amount (%.2f) in Box 17 equals or exceeds twenty-five percent "
    "of your %s amount (%.2f) in Box 16 on copy %d of your form (%s). If this is correct, you "
    "must file your return on paper. To e-file your %s return, you will need to go back to the "
    "federal interview to form %s and correct your state %s information.";
// The line, withheld, the amount's label, the amount, the copy, the short
// name, the state's name, the short name twice.
const char kQuarterFormat[] =
    "Your %s state withholding amount (%.2f) equals or exceeds twenty-five percent of your %s "
    "amount (%.2f) on copy %d of your form (%s). If this is correct, you must file your return "
    "on paper. To e-file your %s return, you will need to go back to the federal interview to "
    "form %s and correct your state %s information.";
// Withheld, the amount, the copy, the short name; the tail.
const char kW2ExceedsFormat[] =
    "Your state tax withholding amount (%.2f) in box 17 equals or exceeds your state wage "
    "amount (%.2f) on copy %d in box 16 of your form (%s)" STATEMENT_TAIL;
// The line, withheld, the amount's label, the amount, the copy, the short name; the tail.
const char kExceedsFormat[] =
    "Your %s state withholding amount (%.2f) equals or exceeds your %s amount (%.2f) on copy "
    "%d of your form (%s)" STATEMENT_TAIL;
// The state's name.
const char k1099GWithholdingFormat[] =
    "You're not eligible to e-file your %s return if you have state withholdings on a 1099-G.";
// The state's name.
const char k1099GUnemploymentFormat[] =
    "You're not eligible to e-file your %s return if you are reporting Unemployment "
    "Compensation on a 1099-G.";
// The words of the suffix texts for each person, and what a 1099-G may
// lack.
const char* const kPersonWords[] = {"Taxpayer", "Spouse"};
const char kPayerMissing[] = "Payer Name and/or Payer ID";
const char kStateNameMissing[] = "state name";
const char kStateWageMissing[] = "state wage";
// The states some rules single out.
const char kNewYork[] = "NY";
const char kVirginia[] = "VA";

// The rules of one call, with the state's names and the caller's
// reporting choices. Every text is built in message_.
class StateInfoRules {
 public:
  typedef DataMgmt::FieldId FieldId;
  typedef DataMgmt::FormId FormId;

  StateInfoRules(StateTaxFormAuditor& auditor, DataMgmt::TaxReturn& federal,
                 const std::string& helpId, Primitives::OVImmutableTopicIdentifier topic, bool flag,
                 bool reportOnForms, const char* stateName, const std::string& abbreviation)
      : auditor_(auditor),
        federal_(federal),
        helpId_(helpId),
        topic_(topic),
        flag_(flag),
        reportOnForms_(reportOnForms) {
    std::snprintf(stateName_, sizeof(stateName_), "%s", stateName);
    std::snprintf(abbreviation_, sizeof(abbreviation_), "%s", abbreviation.c_str());
  }

  const char* abbreviation() const { return abbreviation_; }
  const char* stateName() const { return stateName_; }

  void suffixes();
  void federalTotal(const FieldId& field, const char* text);
  void employerStateIds();
  void miscWithholding();
  void w2Wages();
  void missingState(const StatementForm& f, uint16_t copy, const DataMgmt::TaxForm& form);
  void duplicateState(const StatementForm& f, uint16_t copy);
  void newYorkLocality(const StatementForm& f, uint16_t copy, const DataMgmt::TaxForm& form);
  void withholding(const StatementForm& f, uint16_t copy, const DataMgmt::TaxForm& form);

 private:
  // The electronic-filing form: a restriction of the whole return.
  void efile(const std::string& helpId, uint8_t messageClass, bool answer, int noteKind,
             bool flag = false) {
    auditor_.reportEFileIssue(helpId, topic_, flag, messageClass, answer, kCodeNoEFile, FormId(), 0,
                              FieldId(), message_, noteKind);
  }
  // A statement-line rule: form-bound on (form, copy, field) when the
  // caller asks for it, else the electronic-filing form with the help
  // topic on going back to the federal interview.
  void onLine(bool answer, const FormId& form, uint16_t copy, const FieldId& field) {
    if (reportOnForms_) {
      auditor_.reportAuditIssue(helpId_, topic_, false, kClassEFile, answer, kCodeNotice, form,
                                copy, field, message_, kNoNote);
    } else {
      efile(AuditMgmt::kStateAudit_HowToGoBackToFedInterview, kClassRefusal, answer, kNoNote);
    }
  }
  // The whole text of a field of the federal return.
  std::string text(const FormId& form, uint16_t copy, const FieldId& field) const {
    return federal_.getFieldAsString(form, copy, field);
  }

  StateTaxFormAuditor& auditor_;
  DataMgmt::TaxReturn& federal_;
  const std::string& helpId_;
  const Primitives::OVImmutableTopicIdentifier topic_;
  const bool flag_;
  const bool reportOnForms_;
  // The message buffer comes before the names: the compiler bounds a text
  // read from a member array by the end of the object, so with the names
  // last it sees them end within the object's last 80 bytes, and every
  // message built from them fit its kTextSize.
  char message_[kTextSize] = "";
  char stateName_[64] = "";
  char abbreviation_[16] = "";
};

// Name suffixes of the taxpayer and, on a joint or separate federal
// return, the spouse; reported only when refused.
void StateInfoRules::suffixes() {
  const uint8_t status = federal_.getFilingStatus();
  const int people =
      (status == PADataMgmt::kFilingJoint || status == PADataMgmt::kFilingSeparate) ? 2 : 1;
  const FieldId* const suffixFields[2] = {&FedFilerInfo::kTaxpayerSuffix.id(),
                                          &FedFilerInfo::kSpouseSuffix.id()};
  for (int k = 0; k < people; ++k) {
    const FieldId& field = *suffixFields[k];
    const std::string suffix = text(kFormID_FedFilerInfo, 1, field);
    if (suffix.empty()) continue;
    if (sameText(abbreviation_, "MD") || sameText(abbreviation_, "SC")) {
      std::snprintf(message_, sizeof(message_), kSuffixBarredFormat, stateName_, kPersonWords[k],
                    stateName_);
    } else if (!inList(kAcceptedSuffixes, suffix)) {
      std::snprintf(message_, sizeof(message_), kSuffixListFormat, kPersonWords[k], stateName_);
    } else {
      continue;
    }
    if (reportOnForms_) {
      auditor_.reportAuditIssue(helpId_, topic_, false, kClassEFile, true, kCodeNotice,
                                kFormID_FedFilerInfo, 1, field, message_, kNoNote);
    } else {
      efile(helpId_, kClassEFile, true, kInterviewHint, flag_);
    }
  }
}

// A bar on electronic filing when a 1099-G field totals more than 0 over
// all copies.
void StateInfoRules::federalTotal(const FieldId& field, const char* text) {
  const bool answer = federal_.getAllCopies(kFormID_Fed1099G, field) > 0;
  std::snprintf(message_, sizeof(message_), "%s", text);
  efile(helpId_, kClassEFile, answer, kInterviewHint);
}

void StateInfoRules::employerStateIds() {
  const StatementForm& w2 = StateInfoStatements::statementForms()[0];
  for (uint16_t c = 1; c <= federal_.numFormCopies(kFormID_FedW2); ++c) {
    const DataMgmt::TaxFormPtr form = federal_.getFormUVPtr(kFormID_FedW2, c, false);
    if (form.isNull()) continue;
    for (int k = 0; k < w2.lineCount; ++k) {
      const StatementLine& line = w2.lines[k];
      const std::string state = text(kFormID_FedW2, c, line.state);
      const bool answer = sameText(state, abbreviation_) && form->gtZero(line.withholding) &&
                          form->isNull(line.employerId);
      std::snprintf(message_, sizeof(message_), kEmployerStateIdFormat, c);
      efile(AuditMgmt::kStateAudit_HowToGoBackToFedInterview, kClassRefusal, answer, kNoNote);
    }
  }
}

void StateInfoRules::miscWithholding() {
  for (uint16_t c = 1; c <= federal_.numFormCopies(kFormID_Fed1099Misc); ++c) {
    const DataMgmt::TaxFormPtr form = federal_.getFormUVPtr(kFormID_Fed1099Misc, c, false);
    if (form.isNull()) continue;
    for (int k = 0; k < 2; ++k) {
      const std::string state = text(kFormID_Fed1099Misc, c, kMiscLines[k].state);
      const bool answer = sameText(state, abbreviation_) && form->gtZero(kMiscLines[k].withheld);
      std::snprintf(message_, sizeof(message_), kMiscWithholdingFormat, stateName_, c,
                    kMiscOrdinals[k]);
      efile(helpId_, kClassRefusal, answer, kNoNote);
    }
  }
}

void StateInfoRules::w2Wages() {
  for (uint16_t c = 1; c <= federal_.numFormCopies(kFormID_FedW2); ++c) {
    const DataMgmt::TaxFormPtr form = federal_.getFormUVPtr(kFormID_FedW2, c, false);
    if (form.isNull()) continue;
    // The wages are compared as stored, unlike the amounts of the
    // withholding rule: the W-2 holds hundredths, so the bar is one cent,
    // not the dollar the text names. Every state that asks for this rule
    // relies on that bar; PA does not ask for it.
    const bool answer = form->getIR(FedW2::kWages) < 1.0;
    std::snprintf(message_, sizeof(message_), kW2WagesFormat, stateName_, c, stateName_);
    efile(AuditMgmt::kStateAudit_HowToGoBackToFedInterview, kClassRefusal, answer, kNoNote);
  }
}

// State amounts without a state name (and 1099-G payer entries); reported
// only when something is missing. W-2 lines are not checked.
void StateInfoRules::missingState(const StatementForm& f, uint16_t copy,
                                  const DataMgmt::TaxForm& form) {
  const char* shortName = f.shortName;
  for (int k = 0; k < f.lineCount; ++k) {
    const StatementLine& line = f.lines[k];
    const bool noState = !line.state.isSet() || text(*f.form, copy, line.state).empty();
    const FieldId& amountField = line.amount;
    bool answer = false;
    switch (f.kind) {
      case StatementKind::kW2:
        break;
      case StatementKind::k1099R:
        answer = form.gtZero(amountField) && noState;
        std::snprintf(message_, sizeof(message_), kDistributionStateFormat, kOrdinals[k], copy,
                      shortName, stateName_, shortName);
        break;
      case StatementKind::kW2G:
        answer = form.gtZero(line.withholding) && noState;
        std::snprintf(message_, sizeof(message_), kWithheldStateFormat, copy, shortName, stateName_,
                      shortName);
        break;
      case StatementKind::k1099G: {
        if (k != 0 || !inList(kStateListA, abbreviation_)) break;
        const char* first = nullptr;
        const char* second = nullptr;
        if (form.isNull(Fed1099G::kPayerName) || form.isNull(Fed1099G::kPayerId)) {
          first = kPayerMissing;
        }
        const char* stateItem = nullptr;
        if (form.gtZero(amountField) && noState) {
          stateItem = kStateNameMissing;
        } else if (!form.gtZero(amountField) && form.gtZero(line.withholding)) {
          stateItem = kStateWageMissing;
        }
        if (first == nullptr) {
          first = stateItem;
        } else {
          second = stateItem;
        }
        if (first == nullptr) break;
        answer = true;
        if (second == nullptr) {
          std::snprintf(message_, sizeof(message_), kMissingOneFormat, first, copy, shortName,
                        stateName_, shortName);
        } else {
          std::snprintf(message_, sizeof(message_), kMissingTwoFormat, first, second, copy,
                        shortName, stateName_, shortName);
        }
        break;
      }
    }
    if (answer) onLine(true, *f.form, copy, amountField);
  }
}

// Two lines of one statement for the same state; reported only when found.
void StateInfoRules::duplicateState(const StatementForm& f, uint16_t copy) {
  const bool isW2 = f.kind == StatementKind::kW2;
  const char* shortName = f.shortName;
  if (isW2) {
    std::snprintf(message_, sizeof(message_), kW2DuplicateFormat, shortName, copy, stateName_,
                  shortName);
  } else {
    std::snprintf(message_, sizeof(message_), kDuplicateFormat, shortName, copy, stateName_,
                  shortName);
  }
  std::string first = text(*f.form, copy, f.lines[0].state);
  if (f.lineCount < 2) return;
  const FieldId& secondField = f.lines[1].state;
  std::string second = text(*f.form, copy, secondField);
  if (!first.empty() && sameText(first, second)) {
    onLine(true, *f.form, copy, secondField);
    return;
  }
  // Lines 3 and 4 count only when they name this state.
  for (int k = 2; k < f.lineCount && !sameText(first, second); ++k) {
    const std::string state = text(*f.form, copy, f.lines[k].state);
    if (!sameText(state, abbreviation_)) continue;
    (sameText(state, first) ? second : first) = state;
    if (sameText(first, second)) {
      efile(AuditMgmt::kStateAudit_HowToGoBackToFedInterview, kClassRefusal, true, kNoNote);
    }
  }
}

// New York locality names, once per line that has a locality field.
void StateInfoRules::newYorkLocality(const StatementForm& f, uint16_t copy,
                                     const DataMgmt::TaxForm& form) {
  const bool isW2 = f.kind == StatementKind::kW2;
  const char* shortName = f.shortName;
  for (int k = 0; k < f.lineCount; ++k) {
    const StatementLine& line = f.lines[k];
    if (!line.locality.isSet()) continue;
    const std::string state = text(*f.form, copy, line.state);
    const std::string locality =
        Utils::OVStringUtils::toUpperCase(text(*f.form, copy, line.locality));
    const bool newYork = state == kNewYork;
    const bool known = inList(kNewYorkLocalities, locality);
    bool answer = true;
    if (newYork && locality.empty() && form.gtZero(line.localWithholding)) {
      if (isW2) {
        std::snprintf(message_, sizeof(message_), kW2NoLocalityFormat, copy, shortName, shortName);
      } else {
        std::snprintf(message_, sizeof(message_), kNoLocalityFormat, kOrdinals[k], copy, shortName,
                      shortName);
      }
    } else if (!newYork && known) {
      if (isW2) {
        std::snprintf(message_, sizeof(message_), kW2NotNewYorkFormat, copy, shortName, shortName);
      } else {
        std::snprintf(message_, sizeof(message_), kNotNewYorkFormat, shortName, copy, shortName);
      }
    } else {
      // An invalid name; with none of the three cases the same text goes
      // out with the answer false.
      answer = newYork && !locality.empty() && !known;
      if (isW2) {
        std::snprintf(message_, sizeof(message_), kW2InvalidLocalityFormat, copy, shortName,
                      shortName);
      } else {
        std::snprintf(message_, sizeof(message_), kInvalidLocalityFormat, kOrdinals[k], copy,
                      shortName, shortName);
      }
    }
    onLine(answer, *f.form, copy, line.locality);
  }
}

// Withholding out of proportion to the amount; reported only when found.
void StateInfoRules::withholding(const StatementForm& f, uint16_t copy,
                                 const DataMgmt::TaxForm& form) {
  const bool isW2 = f.kind == StatementKind::kW2;
  const char* shortName = f.shortName;
  for (int k = 0; k < f.lineCount; ++k) {
    const StatementLine& line = f.lines[k];
    if (!line.amount.isSet() || !line.withholding.isSet()) continue;
    const bool qualifies = f.kind != StatementKind::k1099G || inList(kStateListA, abbreviation_);
    const FieldId& amountField = line.amount;
    const double amount =
        (f.kind == StatementKind::k1099R ? form.getIR(Fed1099R::kGrossDistribution)
                                         : form.getIR(amountField)) /
        100.0;
    const double withheld = form.getIR(line.withholding) / 100.0;
    if (amount == 0 && withheld == 0) continue;

    bool answer = false;
    if (sameText(abbreviation_, kVirginia)) {
      answer = qualifies && withheld >= 0.25 * amount;
      if (isW2) {
        std::snprintf(message_, sizeof(message_), kW2QuarterFormat, withheld, f.amountLabel, amount,
                      copy, shortName, stateName_, shortName, shortName);
      } else {
        std::snprintf(message_, sizeof(message_), kQuarterFormat, kOrdinals[k], withheld,
                      f.amountLabel, amount, copy, shortName, stateName_, shortName, shortName);
      }
    } else {
      answer = qualifies && withheld >= amount;
      if (f.kind == StatementKind::k1099R) {
        answer = answer && (sameText(abbreviation_, "IL") || sameText(abbreviation_, "CT"));
      } else if (f.kind == StatementKind::k1099G) {
        answer = answer && inList(kStateListB, abbreviation_) &&
                 form.xMarked(Fed1099G::kUnemploymentBox);
      }
      if (isW2) {
        std::snprintf(message_, sizeof(message_), kW2ExceedsFormat, withheld, amount, copy,
                      shortName, stateName_, shortName);
      } else {
        std::snprintf(message_, sizeof(message_), kExceedsFormat, kOrdinals[k], withheld,
                      f.amountLabel, amount, copy, shortName, stateName_, shortName);
      }
    }
    if (answer) onLine(true, *f.form, copy, amountField);
  }
}

// Calls fn(copy number, copy) for every existing copy of a federal form.
template <class Fn>
void forEachCopy(DataMgmt::TaxReturn& federal, const DataMgmt::FormId& formId, Fn fn) {
  for (uint16_t c = 1; c <= federal.numFormCopies(formId); ++c) {
    const DataMgmt::TaxFormPtr form = federal.getFormUVPtr(formId, c, false);
    if (!form.isNull()) fn(c, *form);
  }
}

}  // namespace

void StateTaxFormAuditor::auditStateInfoReturns(const std::string& helpId, TopicId topic, bool flag,
                                                const FormId& /*form*/, int options,
                                                bool reportOnForms) {
  if (federalReturn == nullptr || stateReturn == nullptr) return;
  char stateName[64] = "";
  stateReturn->getStateName(stateName);
  stateName[sizeof(stateName) - 1] = '\0';
  StateInfoRules rules(*this, *federalReturn, helpId, topic, flag, reportOnForms, stateName,
                       stateReturn->getAbbreviation());
  char text[kTextSize];

  if (options & kOptionSuffix) rules.suffixes();
  if (options & kOption1099GWithholding) {
    std::snprintf(text, sizeof(text), k1099GWithholdingFormat, stateName);
    rules.federalTotal(Fed1099G::kStateTaxWithheld, text);
  }
  if (options & kOption1099GUnemployment) {
    std::snprintf(text, sizeof(text), k1099GUnemploymentFormat, stateName);
    rules.federalTotal(Fed1099G::kUnemploymentCompensation, text);
  }
  if (options & kOptionEmployerStateId) rules.employerStateIds();
  if (options & kOption1099MiscWithholding) rules.miscWithholding();
  if (options & kOptionW2Wages) rules.w2Wages();

  const std::string abbreviation = rules.abbreviation();
  for (std::size_t i = 0; i < StateInfoStatements::kStatementFormCount; ++i) {
    const StatementForm& f = StateInfoStatements::statementForms()[i];
    DataMgmt::TaxReturn& federal = *federalReturn;
    if (options & kOptionMissingState) {
      forEachCopy(federal, *f.form, [&](uint16_t c, const DataMgmt::TaxForm& copy) {
        rules.missingState(f, c, copy);
      });
    }
    if (options & kOptionDuplicateState) {
      bool runs = true;
      if (f.kind == StatementKind::kW2)
        runs = sameText(abbreviation, "IL") || sameText(abbreviation, "MD");
      if (f.kind == StatementKind::k1099R)
        runs = sameText(abbreviation, "IL") || sameText(abbreviation, "MA");
      if (runs) {
        forEachCopy(federal, *f.form,
                    [&](uint16_t c, const DataMgmt::TaxForm&) { rules.duplicateState(f, c); });
      }
    }
    if ((options & kOptionNewYorkLocality) && f.kind != StatementKind::k1099G) {
      forEachCopy(federal, *f.form, [&](uint16_t c, const DataMgmt::TaxForm& copy) {
        rules.newYorkLocality(f, c, copy);
      });
    }
    if (options & kOptionWithholding) {
      forEachCopy(federal, *f.form, [&](uint16_t c, const DataMgmt::TaxForm& copy) {
        rules.withholding(f, c, copy);
      });
    }
  }
}

}  // namespace StateAuditMgmt

#undef NYC_HINT
#undef STATEMENT_TAIL
