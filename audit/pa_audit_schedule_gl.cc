// Audit rules of PA Schedule G-L, the credit for taxes paid to other states
// (one copy per other state): the other state's name, the six states that
// do not tax Pennsylvania residents' compensation, the source entities and
// the commercial-domicile attachment.
#include <cstdio>
#include <string>
#include <vector>

#include "audit/pa_tax_form_auditor.h"
#include "audit/schedule_rule_reporter.h"
#include "catalogs/fields/fields.h"
#include "host/string_utils.h"
#include "identifiers/form_ids.h"

namespace PAAuditMgmt {

namespace {

using Primitives::OVImmutableIdentifier;

// Source entities 1 to 4: the name, and the column of its eight income
// amounts.
struct SourceEntity {
  NamedField<PAScheduleGLFieldIds> name;
  NamedColumn<PAScheduleGLFieldIds> income;
};
constexpr SourceEntity kSourceEntities[] = {
    {PAScheduleGL::kFirstEntityName, PAScheduleGL::kFirstEntityIncome},
    {PAScheduleGL::kSecondEntityName, PAScheduleGL::kSecondEntityIncome},
    {PAScheduleGL::kThirdEntityName, PAScheduleGL::kThirdEntityIncome},
    {PAScheduleGL::kFourthEntityName, PAScheduleGL::kFourthEntityIncome},
};
const int kEntityCount = 4;

struct ReciprocalState {
  const char* code;
  const char* name;
};
const ReciprocalState kReciprocalStates[] = {
    {"IN", "Indiana"}, {"MD", "Maryland"}, {"NJ", "New Jersey"},
    {"OH", "Ohio"},    {"VA", "Virginia"}, {"WV", "West Virginia"},
};

const std::size_t kStateCodeLength = 2;
const int kMessageSize = 512;

// Message texts, in report order; the reciprocal-state text takes the
// state's name twice.
const char kOtherStateText[] = "Schedule G, name of other state";
const char kReciprocalStateFormat[] =
    "Because %s does not tax compensation earned by Pennsylvania residents in %s, you may not "
    "include any such income in determining your Credit for Taxes Paid by PA Residents. If you "
    "included any such compensation in determining this credit, subtract this amount from the "
    "amount you entered on line 2.";
const char kEntityNameText[] = "You must supply a Source Entity Name";
const char kEntityIncomeText[] =
    "You have no income listed for this Source Entity Name.  Please enter at least one income or "
    "delete this name";
const char kDomicileRulesText[] =
    "Attach a copy of the state's commercial domicile rules for any Pennsylvania credit you "
    "claimed for taxes paid to another state for interest or dividend income.";

}  // namespace

void PATaxFormAuditor::auditScheduleGL(DataMgmt::TaxFormPtr formCopy, unsigned short copy) {
  if (formCopy.isNull()) return;
  const Primitives::OVImmutableFormIdentifier& form = kFormID_PAScheduleGL;
  const ScheduleRuleReporter report(*this, form, copy);
  PADataMgmt::PATaxReturn& pa = *paReturn;

  const FieldId& otherState = PAScheduleGL::kOtherState;
  const bool nameMissing =
      pa.getIN(form, copy, PAScheduleGL::kCredit) > 0 && !pa.hasSigValue(form, copy, otherState);
  report.issue(kClassOrdinary, nameMissing, kCodeMissing, otherState, kOtherStateText);
  report.efile(kClassEFile, nameMissing, kCodeMissing, otherState, kOtherStateText);

  // The state code: blanks are stripped from the whole entry before the
  // code is cut to its two letters, so that a code entered after blanks
  // still matches.
  const std::string entry = pa.getFieldAsString(form, copy, otherState);
  std::vector<char> stripped(entry.size() + 1);
  Utils::strip(stripped.data(), entry.c_str());
  const std::string code = std::string(stripped.data()).substr(0, kStateCodeLength);
  for (const ReciprocalState& state : kReciprocalStates) {
    char message[kMessageSize];
    std::snprintf(message, sizeof message, kReciprocalStateFormat, state.name, state.name);
    report.issue(kClassOrdinary, code == state.code, kCodeNotice, otherState,
                 message);
  }

  bool hasIncome[kEntityCount] = {false, false, false, false};
  for (int entity = 0; entity < kEntityCount; ++entity) {
    const SourceEntity& source = kSourceEntities[entity];
    const OVImmutableIdentifier& name = source.name;
    for (int j = 0; j < source.income.rows(); ++j) {
      if (!formCopy->gtZero(source.income.at(j))) continue;
      hasIncome[entity] = true;
      report.issue(kClassEFile, formCopy->isNull(name), kCodeNoEFile, name, kEntityNameText);
    }
  }
  for (int entity = 0; entity < kEntityCount; ++entity) {
    const OVImmutableIdentifier& name = kSourceEntities[entity].name;
    report.issue(kClassEFile, !hasIncome[entity] && formCopy->nonNull(name), kCodeNoEFile, name,
                 kEntityIncomeText);
  }

  report.issue(kClassAttachment,
               !eFileAudit && pa.getAllCopies(form, PAScheduleGL::kInterestDividendsFlag) > 0,
               kCodeNotice, Primitives::kNullFieldID, kDomicileRulesText);
}

}  // namespace PAAuditMgmt
