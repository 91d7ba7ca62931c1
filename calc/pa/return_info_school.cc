// The information form's county, school district and school code: taken
// from the host's state summary for a full-year resident (or a part-year
// resident who stayed to the end of the year), looked up in the school
// district table, and "99999" for everyone who did not.
#include <cstdio>
#include <cstring>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "calc/pa/return_info_view.h"
#include "catalogs/catalogs.h"
#include "host/dates.h"
#include "host/orvane_exception.h"
#include "host/string_utils.h"

namespace PACalculationMgmt {

namespace {

using Utils::OVStringUtils;

const char kOutOfStateCode[] = "99999";

// One summary value: the information form's field, the summary field whose
// "X" says the summary has the value, and the summary field holding it
// (PAReturnInfoAltFieldIds members; host fields in the comments).
struct SummaryPull {
  InfoMember target;
  int flagMember;
  int valueMember;
};

const SummaryPull kSummaryPulls[] = {
    {kInfoF94, 11, 10},  // county: 133721, 81494
    {kInfoF92, 13, 12},  // school district: 133722, 81495
};

// Rule 20: an empty county or district takes the summary's value when the
// summary marks it. A host failure in one lookup skips only that lookup.
void pullFromStateSummary(PATaxReturnCalcEngine& engine, const InfoFormView& info) {
  for (const SummaryPull& pull : kSummaryPulls) {
    try {
      char current[PATaxReturnCalcEngine::kSummaryTextSize];
      info.form().valueString(current, infoField(pull.target), kFormID_PAReturnInfo);
      if (current[0] != '\0') continue;
      char flag[PATaxReturnCalcEngine::kSummaryTextSize];
      char value[PATaxReturnCalcEngine::kSummaryTextSize];
      if (OVStringUtils::stricmp(
              engine.findFormByAbbreviation(flag, kPAReturnInfoAltFieldIds[pull.flagMember]), "X") == 0 &&
          engine.findFormByAbbreviation(value, kPAReturnInfoAltFieldIds[pull.valueMember])[0] != '\0') {
        info.form().assignText(infoField(pull.target), value);
      }
    } catch (const Exceptions::OrvaneException&) {
      // The summary is optional: go on without it.
    }
  }
}

// A school code of "99999" (out of state) is cleared before the lookup.
void clearOutOfStateCode(const InfoFormView& info, uint16_t copy) {
  char code[PATaxReturnCalcEngine::kSummaryTextSize];
  info.pa().textString(code, kFormID_PAReturnInfo, copy, infoField(kInfoF91));
  if (std::strcmp(code, kOutOfStateCode) == 0) info.setNull(kInfoF91);
}

// Field 91 from the county (94) and district (92) names of copy 1.
void lookUpSchoolCode(const InfoFormView& info) {
  char county[PATaxReturnCalcEngine::kSummaryTextSize];
  char district[PATaxReturnCalcEngine::kSummaryTextSize];
  info.text(county, sizeof county, kInfoF94);
  info.text(district, sizeof district, kInfoF92);
  char code[16];
  if (lookupSchoolCode(info.pa(), county, district, code, sizeof code)) {
    info.form().assignText(infoField(kInfoF91), code);
  }
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
  const long deathDay = Utils::strDateToNumber(info.text(deathText, sizeof deathText, kInfoF109));
  const long leaveDay = Utils::strDateToNumber(info.text(leaveText, sizeof leaveText, kInfoF50));
  const long yearEnd = Utils::dateToNumber(12, 31, 2018);
  const bool stayedToYearEnd = leaveDay != 0 && (leaveDay == yearEnd || leaveDay == deathDay);

  const bool fullYear = info.marked(kInfoF46);
  const bool partYear = info.marked(kInfoF48);

  // Rule 20.
  if (fullYear || (partYear && stayedToYearEnd)) {
    pullFromStateSummary(engine, info);
  } else if (partYear) {
    info.setNull(kInfoF94);
    info.setNull(kInfoF92);
    info.setNull(kInfoF91);
  }

  // Rule 21.
  if (fullYear) {
    info.mark(kInfoF14);
    clearOutOfStateCode(info, copy);
    info.unprotect({kInfoF94, kInfoF92});
    lookUpSchoolCode(info);
  } else if (partYear && stayedToYearEnd) {
    info.unprotect({kInfoF94});
    info.mark(kInfoF14);
    clearOutOfStateCode(info, copy);
    info.unprotect({kInfoF92});
    lookUpSchoolCode(info);
    if (!info.pa().hasSigValue(kFormID_PAReturnInfo, 1, infoField(kInfoF92))) info.setNull(kInfoF91);
  } else if (info.marked(kInfoF47) || partYear) {
    info.setNull(kInfoF14);
    info.form().assignText(infoField(kInfoF91), kOutOfStateCode);
    info.setNull(kInfoF92);
    info.setNull(kInfoF94);
  }
}

}  // namespace PACalculationMgmt
