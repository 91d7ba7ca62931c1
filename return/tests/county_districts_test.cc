// The county and school-district tables and the option lists built on them.
#include "return/county_districts.h"

#include <map>
#include <set>
#include <string>

#include "host/display_value_pairs.h"
#include "host/form_field.h"
#include "return/tests/pa_return_fixture.h"

namespace {

using PADataMgmt::kCountyTable;
using PADataMgmt::kSchoolDistrictTable;

// Grouped by county, one code per name and one name per code, a district
// at most once per county; the stated counts.
TEST(CountyDistrictTables, Invariants) {
  for (int i = 0; i < PADataMgmt::kCountyTableRows; ++i) EXPECT_EQ(kCountyTable[i].index, i);
  EXPECT_EQ(std::string(kCountyTable[0].name) + kCountyTable[50].name + kCountyTable[66].name +
                kCountyTable[67].name,
            "AdamsPhiladelphiaYork");
  std::map<std::string, int> codeOf;
  std::map<int, std::string> nameOf;
  std::map<std::string, std::set<int>> countiesOf;
  int previousCounty = 0;
  for (int r = 0; r < PADataMgmt::kSchoolDistrictRows; ++r) {
    const PADataMgmt::SchoolDistrictEntry& d = kSchoolDistrictTable[r];
    ASSERT_TRUE(d.countyIndex >= previousCounty && d.countyIndex < PADataMgmt::kCountyCount) << r;
    previousCounty = d.countyIndex;
    EXPECT_STREQ(d.countyName, kCountyTable[d.countyIndex].name);
    EXPECT_TRUE(d.code >= 1110 && d.code <= 67940 && std::string(d.name).size() <= 26u) << d.name;
    EXPECT_EQ(codeOf.emplace(d.name, d.code).first->second, d.code) << d.name;
    EXPECT_EQ(nameOf.emplace(d.code, d.name).first->second, d.name) << d.code;
    EXPECT_TRUE(countiesOf[d.name].insert(d.countyIndex).second) << d.name << " twice in a county";
  }
  EXPECT_EQ(kSchoolDistrictTable[PADataMgmt::kSchoolDistrictRows].countyIndex, PADataMgmt::kCountyCount);
  EXPECT_EQ(codeOf.size(), 500u);
}

class OptionListTest : public PAReturnTest {
 protected:
  // "count:displays" (joined by "/") of the list the host gets for (form,
  // field) on `copy`, starting from a list that holds a stale pair.
  std::string options(const FormId& form, const FieldId& field, uint16_t copy = 1) {
    Properties::DisplayValuePairs pairs;
    pairs.addPair("stale");
    DataMgmt::TaxFormPtr copyPtr = pa->getFormOrCreate(form, copy);
    DataMgmt::FormFieldPtr fieldPtr = copyPtr->getField(field);
    pa->getFieldDisplayValuePairs(copyPtr, fieldPtr, pairs);
    std::string all = std::to_string(pairs.size()) + ":";
    for (size_t i = 0; i < pairs.size(); ++i) all += (i > 0 ? "/" : "") + pairs.at(i).first;
    lastValue = pairs.size() > 1 ? pairs.at(1).second : "";
    return all;
  }
  std::string districtsOf(const std::string& county) {
    text(kFormID_PAReturnInfo, PAReturnInfo::kCounty, county);
    return options(kFormID_PAReturnInfo, PAReturnInfo::kSchoolDistrict);
  }
  std::string lastValue;  // the value of the first choice after the blank one
};

TEST_F(OptionListTest, CountiesAndTheirDistricts) {
  EXPECT_EQ(options(kFormID_PAReturnInfo, PAReturnInfo::kCounty).substr(0, 20), "68:/Adams/Allegheny/");
  for (const char* county : {"Allegheny", "allegheny", "ALLEGHENY"}) {
    const std::string districts = districtsOf(county);
    EXPECT_EQ(districts.substr(0, 29), "46:/Allegheny Valley - 02060/");
    EXPECT_LT(districts.find("/Northgate - "), districts.find("/North Hills - "));
    EXPECT_EQ(districts.substr(districts.size() - 23), "/Woodland Hills - 02990");
    EXPECT_EQ(lastValue, "Allegheny Valley");
  }
  EXPECT_EQ(districtsOf("Philadelphia"), "2:/Philadelphia City - 51500");
  for (const char* county : {"Cameron", "Forest", "Sullivan"}) EXPECT_EQ(districtsOf(county).substr(0, 3), "2:/");
  for (const char* county : {"Cumberland", "York"})
    EXPECT_NE(districtsOf(county).find("West Shore - 21900"), std::string::npos) << county;
  for (const char* county : {"Armstrong", "Butler", "Clarion", "Venango"})
    EXPECT_NE(districtsOf(county).find("Allegheny Clarion Valley - 16030"), std::string::npos) << county;
  for (const std::string& county :
       {std::string(""), std::string(" Allegheny"), std::string("Allegheny County"), std::string(300, 'A')})
    EXPECT_EQ(districtsOf(county), "1:") << "only the blank choice";
  text(kFormID_PAReturnInfo, PAReturnInfo::kCounty, "Philadelphia");
  pa->getFormOrCreate(kFormID_PAReturnInfo, 2)->store(PAReturnInfo::kCounty, DataMgmt::FieldValue::ofText("York"));
  EXPECT_EQ(options(kFormID_PAReturnInfo, PAReturnInfo::kSchoolDistrict, 2), "2:/Philadelphia City - 51500")
      << "the county of copy 1";
}

TEST_F(OptionListTest, OtherFieldsGetTheHostsListAndRowsOutOfRangeTheEndRow) {
  Properties::DisplayValuePairs hostList;
  hostList.addPair("Host choice");
  pa->setFieldOptions(kFormID_PAReturnInfo, PAReturnInfo::kSchoolCode, hostList);
  pa->setFieldOptions(kFormID_PA40, PA40::kNetCompensation, hostList);
  EXPECT_EQ(options(kFormID_PAReturnInfo, PAReturnInfo::kSchoolCode), "1:Host choice");
  EXPECT_EQ(options(kFormID_PA40, PA40::kNetCompensation), "1:Host choice");
  EXPECT_EQ(options(kFormID_PAReturnInfo, PAReturnInfo::kTaxWithheldNoLocal), "0:");
  for (int16_t i : {-1, 67, 32767}) EXPECT_EQ(pa->getCountyEntry(i).index, 67);
  for (int16_t i : {-1, 597, 32767}) {
    const PADataMgmt::SchoolDistrictEntry d = pa->getSchoolDistrictEntry(i);
    EXPECT_TRUE(d.countyIndex == 67 && d.code == 0 && d.name[0] == '\0' && d.countyName[0] == '\0') << i;
  }
}

}  // namespace
