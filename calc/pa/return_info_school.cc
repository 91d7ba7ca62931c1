// The information form's county, school district and school code: taken
// from the host's state summary for a full-year resident (or a part-year
// resident who stayed to the end of the year), looked up in the school
// district table, and "99999" for everyone who did not.
#include <cstdio>
#include <cstring>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "calc/pa/return_info_view.h"
#include "catalogs/fields/fields.h"
#include "host/dates.h"
#include "host/orvane_exception.h"
#include "host/string_utils.h"

namespace PACalculationMgmt {

namespace {

using Utils::OVStringUtils;

const char kOutOfStateCode[] = "99999";

// One summary value: the information form's field, the summary field whose
// "X" says the summary has the value, and the summary field holding it.
struct SummaryPull {
  InfoField target;
  NamedField<PAReturnInfoAltFieldIds> given;
  NamedField<PAReturnInfoAltFieldIds> value;
};

const SummaryPull kSummaryPulls[] = {
    {PAReturnInfo::kCounty, PAReturnInfoAlt::kCountyGivenBox, PAReturnInfoAlt::kCounty},
    {PAReturnInfo::kSchoolDistrict, PAReturnInfoAlt::kSchoolDistrictGivenBox,
     PAReturnInfoAlt::kSchoolDistrict},
};

// Rule 20: an empty county or district takes the summary's value when the
// summary marks it. A host failure in one lookup skips only that lookup.
void pullFromStateSummary(PATaxReturnCalcEngine& engine, const InfoFormView& info) {
  for (const SummaryPull& pull : kSummaryPulls) {
    try {
      char current[PATaxReturnCalcEngine::kSummaryTextSize];
      info.form().valueString(current, pull.target, kFormID_PAReturnInfo);
      if (current[0] != '\0') continue;
      char flag[PATaxReturnCalcEngine::kSummaryTextSize];
      char value[PATaxReturnCalcEngine::kSummaryTextSize];
      if (OVStringUtils::stricmp(engine.findFormByAbbreviation(flag, pull.given), "X") == 0 &&
          engine.findFormByAbbreviation(value, pull.value)[0] != '\0') {
        info.form().assignText(pull.target, value);
      }
    } catch (const Exceptions::OrvaneException&) {
      // The summary is optional: go on without it.
    }
  }
}

// A school code of "99999" (out of state) is cleared before the lookup.
void clearOutOfStateCode(const InfoFormView& info, uint16_t copy) {
  char code[PATaxReturnCalcEngine::kSummaryTextSize];
  info.pa().textString(code, kFormID_PAReturnInfo, copy, PAReturnInfo::kSchoolCode);
  if (std::strcmp(code, kOutOfStateCode) == 0) info.setNull(PAReturnInfo::kSchoolCode);
}

// The school code from the county and district names of copy 1. A code
// the lookup changes is the calculation's and closed; a code the user
// typed that the lookup agrees with stays the user's. When the names match
// no row (emptied, or a district the table writes otherwise) a code the
// user typed stays, and the calculation's code goes: it named a district
// the return no longer names.
void lookUpSchoolCode(const InfoFormView& info) {
  char county[PATaxReturnCalcEngine::kSummaryTextSize];
  char district[PATaxReturnCalcEngine::kSummaryTextSize];
  info.text(county, sizeof county, PAReturnInfo::kCounty);
  info.text(district, sizeof district, PAReturnInfo::kSchoolDistrict);
  char code[16];
  if (!lookupSchoolCode(info.pa(), county, district, code, sizeof code)) {
    info.form().unprotectAndMaybeSetNull(PAReturnInfo::kSchoolCode);
    return;
  }
  char held[PATaxReturnCalcEngine::kSummaryTextSize];
  info.form().valueString(held, PAReturnInfo::kSchoolCode, kFormID_PAReturnInfo);
  if (std::strcmp(held, code) == 0) return;
  info.form().assignText(PAReturnInfo::kSchoolCode, code);
  info.protect({PAReturnInfo::kSchoolCode});
}

}  // namespace

bool lookupSchoolCode(const PADataMgmt::PATaxReturn& pa, const char* county, const char* district, char* code,
                      std::size_t size) {
  for (int16_t row = 0; row < PADataMgmt::kSchoolDistrictTableRows; ++row) {
    const PADataMgmt::SchoolDistrictEntry entry = pa.getSchoolDistrictEntry(row);
    if (entry.countyIndex == PADataMgmt::kCountyCount) break;  // the end row
    const PADataMgmt::CountyEntry countyRow = pa.getCountyEntry(static_cast<int16_t>(entry.countyIndex));
    if (OVStringUtils::stricmp(countyRow.name, county) == 0 &&
        OVStringUtils::stricmp(entry.name, district) == 0) {
      std::snprintf(code, size, "%05d", static_cast<int>(entry.code));
      return true;
    }
  }
  return false;
}

void applyCountyAndSchoolCode(PATaxReturnCalcEngine& engine, const InfoFormView& info) {
  const uint16_t copy = info.form().getCopyNumber();

  // Rule 19: a part-year resident who left on the last day of the year, or
  // on the day of death, counts as living in the state for the school code.
  // A missing leaving date never matches a missing date of death.
  char deathText[PATaxReturnCalcEngine::kSummaryTextSize];
  char leaveText[PATaxReturnCalcEngine::kSummaryTextSize];
  const long deathDay =
      Utils::strDateToNumber(info.text(deathText, sizeof deathText, PAReturnInfo::kTaxpayerDateOfDeath));
  const long leaveDay =
      Utils::strDateToNumber(info.text(leaveText, sizeof leaveText, PAReturnInfo::kPartYearToDate));
  const long yearEnd = Utils::dateToNumber(12, 31, 2018);
  const bool stayedToYearEnd = leaveDay != 0 && (leaveDay == yearEnd || leaveDay == deathDay);

  const bool fullYear = info.marked(PAReturnInfo::kFullYearResidentBox);
  const bool partYear = info.marked(PAReturnInfo::kPartYearResidentBox);

  // Rule 20.
  if (fullYear || (partYear && stayedToYearEnd)) {
    pullFromStateSummary(engine, info);
  } else if (partYear) {
    info.setNull(PAReturnInfo::kCounty);
    info.setNull(PAReturnInfo::kSchoolDistrict);
    info.setNull(PAReturnInfo::kSchoolCode);
  }

  // Rule 21.
  if (fullYear) {
    info.mark(PAReturnInfo::kSchoolDistrictBox);
    clearOutOfStateCode(info, copy);
    info.unprotect({PAReturnInfo::kCounty, PAReturnInfo::kSchoolDistrict});
    lookUpSchoolCode(info);
  } else if (partYear && stayedToYearEnd) {
    info.unprotect({PAReturnInfo::kCounty});
    info.mark(PAReturnInfo::kSchoolDistrictBox);
    clearOutOfStateCode(info, copy);
    info.unprotect({PAReturnInfo::kSchoolDistrict});
    lookUpSchoolCode(info);
    if (!info.pa().hasSigValue(kFormID_PAReturnInfo, 1, PAReturnInfo::kSchoolDistrict))
      info.setNull(PAReturnInfo::kSchoolCode);
  } else if (info.marked(PAReturnInfo::kNonresidentBox) || partYear) {
    info.setNull(PAReturnInfo::kSchoolDistrictBox);
    info.form().assignText(PAReturnInfo::kSchoolCode, kOutOfStateCode);
    info.setNull(PAReturnInfo::kSchoolDistrict);
    info.setNull(PAReturnInfo::kCounty);
  }
}

}  // namespace PACalculationMgmt
