// The county and school-district tables behind the option lists of the PA
// return information form's county and school-district fields.
//
// kCountyTable holds the 67 counties in list order (index 0 to 66) and an
// end row {67, ""}. kSchoolDistrictTable holds one row per district and
// county it serves, grouped by county, then an end row {67, "", 0, ""}.
// A walk over the county table stops at the first empty name, one over the
// district table at the first countyIndex of 67. The tables are constant
// data (county_districts.def), built before any code runs.
#ifndef RETURN_COUNTY_DISTRICTS_H_
#define RETURN_COUNTY_DISTRICTS_H_

#include <cstdint>

namespace PADataMgmt {

// One county row.
struct CountyEntry {
  int32_t index;     // the row's own position; 67 in the end row
  const char* name;  // mixed case, as listed; "" in the end row
};

// One school-district row: a district as listed under one county.
struct SchoolDistrictEntry {
  int32_t countyIndex;     // the county row it is listed under; 67 in the end row
  const char* countyName;  // that county's name; "" in the end row
  int32_t code;            // 1110..67940, shown "%05d"; 0 in the end row
  const char* name;        // "" in the end row
};

constexpr int kCountyCount = 67;
constexpr int kCountyTableRows = kCountyCount + 1;      // with the end row
constexpr int kSchoolDistrictRows = 597;
constexpr int kSchoolDistrictTableRows = kSchoolDistrictRows + 1;

extern const CountyEntry kCountyTable[kCountyTableRows];
extern const SchoolDistrictEntry kSchoolDistrictTable[kSchoolDistrictTableRows];

// Row `index` of each table; an index outside the table gives the end row.
CountyEntry countyRow(int index);
SchoolDistrictEntry schoolDistrictRow(int index);

}  // namespace PADataMgmt

#endif  // RETURN_COUNTY_DISTRICTS_H_
