// The county and school-district tables and the option lists built on them.
#include "entry/county_districts.h"

#include <cctype>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "entry/tests/pa_return_fixture.h"
#include "host/display_value_pairs.h"
#include "host/form_field.h"

namespace {

using PADataMgmt::kCountyTable;
using PADataMgmt::kSchoolDistrictTable;

TEST(CountyTable, SixtySevenCountiesInOrderThenTheEndRow) {
  for (int i = 0; i < PADataMgmt::kCountyTableRows; ++i) EXPECT_EQ(kCountyTable[i].index, i);
  EXPECT_STREQ(kCountyTable[0].name, "Adams");
  EXPECT_STREQ(kCountyTable[20].name, "Cumberland");
  EXPECT_STREQ(kCountyTable[50].name, "Philadelphia");
  EXPECT_STREQ(kCountyTable[66].name, "York");
  EXPECT_STREQ(kCountyTable[67].name, "");
}

TEST(SchoolDistrictTable, TellingRowsAndTheEndRow) {
  struct Telling {
    int row, county, code;
    const char* name;
  };
  const Telling rows[] = {{0, 0, 1110, "Bermudian Springs"},
                          {6, 1, 2060, "Allegheny Valley"},
                          {50, 1, 2990, "Woodland Hills"},
                          {596, 66, 67940, "York Suburban"},
                          {597, 67, 0, ""}};
  for (const Telling& t : rows) {
    EXPECT_EQ(kSchoolDistrictTable[t.row].countyIndex, t.county) << t.row;
    EXPECT_EQ(kSchoolDistrictTable[t.row].code, t.code) << t.row;
    EXPECT_STREQ(kSchoolDistrictTable[t.row].name, t.name) << t.row;
  }
  EXPECT_STREQ(kSchoolDistrictTable[597].countyName, "");
}

TEST(SchoolDistrictTable, Invariants) {
  std::map<std::string, int> codeOf;
  std::map<int, std::string> nameOf;
  std::map<std::string, std::set<int>> countiesOf;
  std::map<std::string, int> homeRows;
  std::vector<int> rowsPerCounty(PADataMgmt::kCountyCount, 0);
  int previousCounty = 0;
  for (int r = 0; r < PADataMgmt::kSchoolDistrictRows; ++r) {
    const PADataMgmt::SchoolDistrictEntry& d = kSchoolDistrictTable[r];
    ASSERT_GE(d.countyIndex, previousCounty) << "grouped by county, row " << r;
    ASSERT_LT(d.countyIndex, PADataMgmt::kCountyCount);
    previousCounty = d.countyIndex;
    ++rowsPerCounty[d.countyIndex];
    EXPECT_STREQ(d.countyName, kCountyTable[d.countyIndex].name);
    EXPECT_GE(d.code, 1110);
    EXPECT_LE(d.code, 67940);
    const std::string name = d.name;
    EXPECT_LE(name.size(), 26u);
    for (char c : name) EXPECT_TRUE(std::isalpha(c) || c == ' ' || c == '-' || c == '.') << name;
    // One code per name and one name per code.
    EXPECT_EQ(codeOf.emplace(name, d.code).first->second, d.code) << name;
    EXPECT_EQ(nameOf.emplace(d.code, name).first->second, name) << d.code;
    EXPECT_TRUE(countiesOf[name].insert(d.countyIndex).second) << name << " twice in a county";
    if (d.code / 1000 == d.countyIndex + 1) ++homeRows[name];
  }
  for (int count : rowsPerCounty) EXPECT_GE(count, 1);
  EXPECT_EQ(rowsPerCounty[1], 45);
  EXPECT_EQ(codeOf.size(), 500u);
  int shared = 0;
  for (const auto& c : countiesOf) shared += c.second.size() > 1;
  EXPECT_EQ(shared, 85);
  EXPECT_EQ(countiesOf["Allegheny Clarion Valley"], (std::set<int>{2, 9, 15, 60}));
  // Each district has exactly one row under its home county, and within a
  // home county the codes ascend with the names.
  std::map<int, std::vector<std::string>> byHome;
  for (const auto& c : codeOf) {
    EXPECT_EQ(homeRows[c.first], 1) << c.first;
    byHome[c.second / 1000].push_back(c.first);  // names arrive sorted
  }
  for (const auto& home : byHome) {
    for (size_t i = 1; i < home.second.size(); ++i) {
      EXPECT_LT(codeOf[home.second[i - 1]], codeOf[home.second[i]]) << home.second[i];
    }
  }
  const std::map<std::string, int> fixed = {
      {"Bermudian Springs", 1110},         {"Allegheny Valley", 2060}, {"Woodland Hills", 2990},
      {"Allegheny Clarion Valley", 16030}, {"West Shore", 21900},      {"Philadelphia City", 51500},
      {"York Suburban", 67940}};
  for (const auto& f : fixed) EXPECT_EQ(codeOf[f.first], f.second) << f.first;
}

TEST_F(PAReturnTest, RowReadersAnswerTheEndRowOutOfRange) {
  for (int16_t i : {-1, 67, 68, 32767}) {
    EXPECT_EQ(pa->getCountyEntry(i).index, 67) << i;
    EXPECT_STREQ(pa->getCountyEntry(i).name, "");
  }
  EXPECT_STREQ(pa->getCountyEntry(1).name, "Allegheny");
  for (int16_t i : {-1, 597, 598, 32767}) {
    const PADataMgmt::SchoolDistrictEntry d = pa->getSchoolDistrictEntry(i);
    EXPECT_EQ(d.countyIndex, 67) << i;
    EXPECT_EQ(d.code, 0);
    EXPECT_STREQ(d.name, "");
  }
}

class OptionListTest : public PAReturnTest {
 protected:
  // The list the host gets for (form, field) on `copy`, starting from a
  // list that holds a stale pair.
  Properties::DisplayValuePairs options(const FormId& form, const FieldId& field,
                                        uint16_t copy = 1) {
    Properties::DisplayValuePairs pairs;
    pairs.addPair("stale");
    DataMgmt::TaxFormPtr copyPtr = pa->getFormOrCreate(form, copy);
    DataMgmt::FormFieldPtr fieldPtr = copyPtr->getField(field);
    pa->getFieldDisplayValuePairs(copyPtr, fieldPtr, pairs);
    return pairs;
  }
  Properties::DisplayValuePairs districtsOf(const std::string& county) {
    text(kFormID_PAReturnInfo, kPAReturnInfoFieldIds[172], county);
    return options(kFormID_PAReturnInfo, kPAReturnInfoFieldIds[173]);
  }
  static bool contains(const Properties::DisplayValuePairs& pairs, const std::string& display) {
    for (size_t i = 0; i < pairs.size(); ++i) {
      if (pairs.at(i).first == display) return true;
    }
    return false;
  }
};

TEST_F(OptionListTest, CountyListIsBlankThenEveryCounty) {
  const auto pairs = options(kFormID_PAReturnInfo, kPAReturnInfoFieldIds[172]);
  ASSERT_EQ(pairs.size(), 68u);
  EXPECT_EQ(pairs.at(0), std::make_pair(std::string(), std::string()));
  EXPECT_EQ(pairs.at(1), std::make_pair(std::string("Adams"), std::string("Adams")));
  EXPECT_EQ(pairs.at(67).first, "York");
}

TEST_F(OptionListTest, AlleghenyDistrictsWhateverTheCase) {
  for (const char* county : {"Allegheny", "allegheny", "ALLEGHENY"}) {
    const auto pairs = districtsOf(county);
    ASSERT_EQ(pairs.size(), 46u) << county;
    EXPECT_EQ(pairs.at(1), std::make_pair(std::string("Allegheny Valley - 02060"),
                                          std::string("Allegheny Valley")));
    EXPECT_EQ(pairs.at(25).second, "Northgate");
    EXPECT_EQ(pairs.at(26).second, "North Hills");
    EXPECT_EQ(pairs.at(45),
              std::make_pair(std::string("Woodland Hills - 02990"), std::string("Woodland Hills")));
  }
}

TEST_F(OptionListTest, SingleAndSharedDistricts) {
  const auto philadelphia = districtsOf("Philadelphia");
  ASSERT_EQ(philadelphia.size(), 2u);
  EXPECT_EQ(philadelphia.at(1).first, "Philadelphia City - 51500");
  for (const char* county : {"Cameron", "Forest", "Sullivan"}) {
    EXPECT_EQ(districtsOf(county).size(), 2u) << county;
  }
  for (const char* county : {"Cumberland", "York"}) {
    EXPECT_TRUE(contains(districtsOf(county), "West Shore - 21900")) << county;
  }
  for (const char* county : {"Armstrong", "Butler", "Clarion", "Venango"}) {
    EXPECT_TRUE(contains(districtsOf(county), "Allegheny Clarion Valley - 16030")) << county;
  }
  EXPECT_TRUE(contains(districtsOf("Adams"), "Bermudian Springs - 01110"));
}

TEST_F(OptionListTest, UnknownCountyGivesTheBlankChoiceAlone) {
  const std::vector<std::string> counties = {"", " Allegheny", "Allegheny ", "Allegheny County",
                                             std::string(300, 'A')};
  for (const std::string& county : counties) {
    const auto pairs = districtsOf(county);
    ASSERT_EQ(pairs.size(), 1u) << county;
    EXPECT_EQ(pairs.at(0).first, "");
  }
}

TEST_F(OptionListTest, DistrictListReadsTheCountyOfCopyOne) {
  text(kFormID_PAReturnInfo, kPAReturnInfoFieldIds[172], "Philadelphia");
  text(kFormID_PAReturnInfo, kPAReturnInfoFieldIds[172], "York", 2);
  const auto pairs = options(kFormID_PAReturnInfo, kPAReturnInfoFieldIds[173], 2);
  ASSERT_EQ(pairs.size(), 2u);
  EXPECT_EQ(pairs.at(1).second, "Philadelphia City");
}

TEST_F(OptionListTest, OtherFieldsGetTheHostsListAndNoStalePairs) {
  Properties::DisplayValuePairs hostList;
  hostList.addPair("Host choice");
  pa->setFieldOptions(kFormID_PAReturnInfo, kPAReturnInfoFieldIds[174], hostList);
  pa->setFieldOptions(kFormID_PA40, kPA40FieldIds[172], hostList);

  for (const auto& request : {std::make_pair(kFormID_PAReturnInfo, kPAReturnInfoFieldIds[174]),
                              std::make_pair(kFormID_PA40, kPA40FieldIds[172])}) {
    const auto pairs = options(request.first, request.second);
    ASSERT_EQ(pairs.size(), 1u);
    EXPECT_EQ(pairs.at(0).first, "Host choice");
  }
  EXPECT_EQ(options(kFormID_PAReturnInfo, kPAReturnInfoFieldIds[175]).size(), 0u);
}

}  // namespace
