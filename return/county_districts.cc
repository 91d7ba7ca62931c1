#include "return/county_districts.h"

namespace PADataMgmt {

namespace {

// County positions, named so the district rows read by county name.
enum CountyIndex : int32_t {
#define COUNTY(name) k##name,
#include "return/county_districts.def"
#undef COUNTY
  kEndCounty
};
static_assert(kEndCounty == kCountyCount, "the county list holds 67 counties");

constexpr int kListedDistrictRows = 0
#define SCHOOL_DISTRICT(county, code, name) +1
#include "return/county_districts.def"
#undef SCHOOL_DISTRICT
    ;
static_assert(kListedDistrictRows == kSchoolDistrictRows, "the district list holds 597 rows");

}  // namespace

const CountyEntry kCountyTable[kCountyTableRows] = {
#define COUNTY(name) {k##name, #name},
#include "return/county_districts.def"
#undef COUNTY
    {kEndCounty, ""},
};

const SchoolDistrictEntry kSchoolDistrictTable[kSchoolDistrictTableRows] = {
#define SCHOOL_DISTRICT(county, code, name) {k##county, #county, code, name},
#include "return/county_districts.def"
#undef SCHOOL_DISTRICT
    {kEndCounty, "", 0, ""},
};

CountyEntry countyRow(int index) {
  if (index < 0 || index >= kCountyTableRows) index = kCountyTableRows - 1;
  return kCountyTable[index];
}

SchoolDistrictEntry schoolDistrictRow(int index) {
  if (index < 0 || index >= kSchoolDistrictTableRows) index = kSchoolDistrictTableRows - 1;
  return kSchoolDistrictTable[index];
}

}  // namespace PADataMgmt
