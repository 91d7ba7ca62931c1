// Generated form descriptors and the field-position iterator.
#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "catalogs/run_notation.h"
#include "gtest/gtest.h"
#include "host/descriptors.h"
#include "host/value_text.h"

namespace {

using DataMgmt::OVFieldIDIter;
using DataMgmt::TaxFormDescPtr;
using DataMgmt::TaxReturnDesc;
using Primitives::OVImmutableFormIdentifier;
typedef Primitives::OVImmutableIdentifier Id;

struct FormRow {
  std::string name;
  int number;
  bool isState;
};

const std::vector<FormRow>& forms() {
  static const std::vector<FormRow> rows = {
#define FORM_ID(name, number, isState) {#name, number, isState},
#include "identifiers/form_ids.def"
#undef FORM_ID
  };
  return rows;
}

// Catalog name -> its host field numbers in member order, read
// independently of the host's generator.
const std::map<std::string, std::vector<int>>& catalogs() {
  static const std::map<std::string, std::vector<int>> all = [] {
    std::map<std::string, std::vector<int>> m;
    struct Row {
      const char* name;
      const char* runs;
    } rows[] = {
#define FIELD_CATALOG(name, members, runs) {#name, runs},
#include "catalogs/federal/main_return.def"
#include "catalogs/federal/schedule_e.def"
#include "catalogs/federal/second_group.def"
#include "catalogs/federal/w2_1099.def"
#include "catalogs/federal/w2g_dependents.def"
#include "catalogs/state/local_tax.def"
#include "catalogs/state/pa_forms.def"
#include "catalogs/state/return_info.def"
#include "catalogs/state/shared.def"
#include "catalogs/state/ue_w2.def"
#undef FIELD_CATALOG
    };
    for (const Row& row : rows) {
      RunNotation::RunReader reader(row.runs);
      for (int n = reader.next(); n > 0; n = reader.next()) m[row.name].push_back(n);
    }
    return m;
  }();
  return all;
}

std::vector<int> fieldsOf(const TaxFormDescPtr& form) {
  std::vector<int> numbers;
  for (OVFieldIDIter it = form->getFieldIDs(); !it.atEOL(); it.next()) {
    numbers.push_back(it.getID().getNumber());
  }
  return numbers;
}

TaxFormDescPtr descOf(const std::string& name) {
  for (const FormRow& row : forms()) {
    if (row.name != name) continue;
    TaxReturnDesc& side = row.isState ? *TaxReturnDesc::pennsylvania() : *TaxReturnDesc::federal();
    return side.getTaxFormDescriptor(OVImmutableFormIdentifier(row.number, row.isState));
  }
  return TaxFormDescPtr();
}

TEST(DescriptorTest, EveryFormConstantHasADescriptorOnItsSide) {
  std::size_t state = 0, federal = 0;
  for (const FormRow& row : forms()) {
    (row.isState ? state : federal)++;
    const OVImmutableFormIdentifier id(row.number, row.isState);
    TaxReturnDesc& own = row.isState ? *TaxReturnDesc::pennsylvania() : *TaxReturnDesc::federal();
    TaxReturnDesc& other = row.isState ? *TaxReturnDesc::federal() : *TaxReturnDesc::pennsylvania();
    ASSERT_FALSE(own.getTaxFormDescriptor(id).isNull()) << row.name;
    EXPECT_TRUE(other.getTaxFormDescriptor(id).isNull()) << row.name;
    EXPECT_EQ(999, own.getTaxFormDescriptor(id)->getMaxCopies());
  }
  EXPECT_EQ(state, TaxReturnDesc::pennsylvania()->getTaxFormDescriptors().size());
  EXPECT_EQ(federal, TaxReturnDesc::federal()->getTaxFormDescriptors().size());
  EXPECT_TRUE(TaxReturnDesc::pennsylvania()->getTaxFormDescriptor(OVImmutableFormIdentifier()).isNull());
  EXPECT_EQ(TaxReturnDesc::pennsylvania().get(), TaxReturnDesc::pennsylvania().get());
  EXPECT_EQ(40, TaxReturnDesc::pennsylvania()->getReturnType());
  EXPECT_EQ(1, TaxReturnDesc::federal()->getReturnType());
}

TEST(DescriptorTest, FieldsFollowThePairedCatalogInMemberOrder) {
  const std::map<std::string, std::string> special = {
      {"Fed32783", "PAReturnInfoAltFieldIds"},
      {"Fed43", "PADirectDepositDebitAltFieldIds"},
      {"Fed155", "PADirectDepositDebitAltFieldIds"},
      {"State15", "FederalReturnTypeFieldIds"},
      {"State18", "State16To18FieldIds"},
  };
  std::set<std::string> used;
  for (const FormRow& row : forms()) {
    auto pair = special.find(row.name);
    const std::string catalog = pair != special.end() ? pair->second : row.name + "FieldIds";
    if (catalogs().count(catalog) == 0) continue;
    used.insert(catalog);
    std::vector<int> expected = catalogs().at(catalog);
    if (row.name == "State16" || row.name == "State17") {
      used.insert("State16To18FieldIds");
      for (int n : catalogs().at("State16To18FieldIds")) {
        if (std::find(expected.begin(), expected.end(), n) == expected.end()) expected.push_back(n);
      }
      EXPECT_GT(expected.size(), catalogs().at(catalog).size()) << row.name;
    }
    EXPECT_EQ(expected, fieldsOf(descOf(row.name))) << row.name;
  }
  // Every catalog pairs with a form, except the ones that pair with none.
  for (const auto& entry : catalogs()) {
    const std::string& name = entry.first;
    const bool unpaired = name == "IncomeKindTableFieldIds" || name.rfind("UnreadCatalog", 0) == 0;
    EXPECT_NE(unpaired, used.count(name) == 1) << name;
  }
}

TEST(DescriptorTest, FormsWithoutACatalogListTheirFieldsAscending) {
  for (const char* name : {"State171", "State2", "Fed8", "Fed184"}) {
    std::vector<int> fields = fieldsOf(descOf(name));
    EXPECT_TRUE(std::is_sorted(fields.begin(), fields.end())) << name;
  }
}

TEST(DescriptorTest, NamesAndLabels) {
  const std::pair<const char*, const char*> devNames[] = {
      {"PA40", "PA40"},       {"PAScheduleA", "PASCHEDULEA"},   {"State16", "STATE16"},
      {"FedW2", "FEDW2"},     {"StateSummary", "STATESUMMARY"}, {"Fed32783", "FED32783"},
  };
  for (const auto& n : devNames) EXPECT_EQ(n.second, descOf(n.first)->getDevName());
  TaxFormDescPtr pa40 = descOf("PA40");
  EXPECT_EQ("PA-40", pa40->getBusName());
  EXPECT_EQ("PA-40", pa40->getNameText());
  EXPECT_EQ("STATE16", descOf("State16")->getBusName());
  DataMgmt::FormFieldDescPtr f139 = pa40->getFieldDesc(Id(139));
  ASSERT_FALSE(f139.isNull());
  EXPECT_EQ("kPA40_F139", f139->getSymbolicName());
  EXPECT_EQ("F139", f139->getLineLabel());
  EXPECT_FALSE(f139->isCalculated());
  EXPECT_TRUE(pa40->getFieldDesc(Id(999999)).isNull());
  EXPECT_TRUE(pa40->getFieldDesc(Id(0)).isNull());
}

TEST(DescriptorTest, KindsLengthsAndEditCodes) {
  struct Case {
    const char* form;
    int field;
    bool text, boolean;
    int length, editCode;
  } cases[] = {
      {"PAReturnInfo", 55, false, true, 1, DataMgmt::kEditNone},
      {"PAReturnInfo", 94, true, false, 80, DataMgmt::kEditNone},
      {"State14", 9016, false, true, 1, DataMgmt::kEditNone},
      {"PA40", 139, false, false, 15, DataMgmt::kEditNone},
      {"FedW2", 105, false, false, 15, 'H'},
      {"Fed164", 40, false, false, 15, 'H'},
      {"FedReturn", 524, false, false, 15, DataMgmt::kEditNone},
      // Names and numbers typed into Schedule O, G-L and the Care Of copy.
      {"PADeductions", 46489, true, false, 80, DataMgmt::kEditNone},
      {"PADeductions", 199802, true, false, 80, DataMgmt::kEditNone},
      {"PAScheduleGL", 158234, true, false, 80, DataMgmt::kEditNone},
      {"PAReturnInfo", 13, true, false, 80, DataMgmt::kEditNone},
  };
  for (const Case& c : cases) {
    DataMgmt::FormFieldDescPtr field = descOf(c.form)->getFieldDesc(Id(c.field));
    ASSERT_FALSE(field.isNull()) << c.form << " " << c.field;
    EXPECT_EQ(c.text, field->isText()) << c.form << " " << c.field;
    EXPECT_EQ(c.boolean, field->isBoolean()) << c.form << " " << c.field;
    EXPECT_EQ(c.length, field->getLength()) << c.form << " " << c.field;
    EXPECT_EQ(c.editCode, field->getValidator().getEditCode()) << c.form << " " << c.field;
  }
}

TEST(DescriptorTest, EveryKindRowNamesAFieldOfItsForm) {
  struct Row {
    const char* form;
    int field;
  } rows[] = {
#define FIELD_KIND(form, field, kind) {#form, field},
#define FIELD_KIND_LEN(form, field, kind, length) {#form, field},
#define FIELD_KIND_CALC(form, field, kind) {#form, field},
#include "host/field_kinds.def"
#undef FIELD_KIND
#undef FIELD_KIND_LEN
#undef FIELD_KIND_CALC
  };
  for (const Row& row : rows) {
    DataMgmt::FormFieldDescPtr field = descOf(row.form)->getFieldDesc(Id(row.field));
    ASSERT_FALSE(field.isNull()) << row.form << " " << row.field;
    EXPECT_TRUE(field->isText() || field->isBoolean()) << row.form << " " << row.field;
  }
}

TEST(DescriptorTest, DisplayOrderPutsThePrintTableFirst) {
  const std::vector<std::string> printTable = {
      "PAESTIMATEDVOUCHERS", "PA40", "PASCHEDULEW2S", "PASCHEDULEOC", "PASCHEDULEGL",
      "PASCHEDULEA", "PASCHEDULEB", "PASCHEDULEUE", "PASCHEDULEC", "PASCHEDULED",
      "PASCHEDULEE", "PASCHEDULEJ", "PADEDUCTIONS", "PASCHEDULESP", "PAW2GINCOME",
      "PAW2", "PAMISCCOMPWORKSHEET", "PASCHEDULEDWORKSHEET", "STATE16", "STATE17",
      "PAINTERESTDIVIDENDWORKSHEET", "PARETURNINFO", "PAESTIMATEDTAXWORKSHEET",
      "PADIRECTDEPOSITDEBIT", "PALOCALINCOMETAXRETURN"};
  const std::vector<TaxFormDescPtr> shown =
      TaxReturnDesc::pennsylvania()->getTaxFormDescriptorsInDisplayOrder();
  ASSERT_EQ(TaxReturnDesc::pennsylvania()->getTaxFormDescriptors().size(), shown.size());
  for (std::size_t i = 0; i < printTable.size(); ++i) EXPECT_EQ(printTable[i], shown[i]->getDevName());
  for (std::size_t i = printTable.size() + 1; i < shown.size(); ++i) {
    EXPECT_LT(shown[i - 1]->getTypeID().getNumber(), shown[i]->getTypeID().getNumber());
  }
  const std::vector<TaxFormDescPtr> byId = TaxReturnDesc::pennsylvania()->getTaxFormDescriptors();
  for (std::size_t i = 1; i < byId.size(); ++i) {
    EXPECT_TRUE(byId[i - 1]->getTypeID() < byId[i]->getTypeID());
  }
}

TEST(DescriptorTest, FormsWithoutDataFileListsAnswerTheKeptEmptyList) {
  TaxReturnDesc& pa = *TaxReturnDesc::pennsylvania();
  const OVImmutableFormIdentifier state2(2, true);  // a form the data file never lists
  DataMgmt::TifFieldDescriptorListPtr& list = pa.getTifFieldDescriptors(state2);
  ASSERT_FALSE(list.isNull());
  EXPECT_TRUE(list->empty());
  list->push_back(SmartPointers::CountedPtr<DataMgmt::TifFieldDescriptor>());
  EXPECT_TRUE(pa.getTifFieldDescriptors(state2)->empty());
}

// The code "%05d.000.001" of a position counted from 0.
std::string codeAt(std::size_t index) {
  char code[16];
  std::snprintf(code, sizeof code, "%05d.000.001", static_cast<int>(index + 1));
  return code;
}

TEST(DescriptorTest, PrintTableFormsListEveryFieldInFormOrder) {
  TaxReturnDesc& pa = *TaxReturnDesc::pennsylvania();
  int listed = 0;
  for (const TaxFormDescPtr& form : pa.getTaxFormDescriptorsInDisplayOrder()) {
    const DataMgmt::TifFieldDescriptorList& list = *pa.getTifFieldDescriptors(form->getTypeID());
    if (list.empty()) continue;
    ++listed;
    SCOPED_TRACE(form->getDevName());
    const std::vector<Id>& fields = form->fieldIds();
    ASSERT_EQ(fields.size(), list.size());
    EXPECT_EQ(form->getDevName().substr(0, 10) + " 1", list[0]->getFieldAttributes());
    const bool pa40 = form->getTypeID() == OVImmutableFormIdentifier(169, true);
    for (std::size_t k = 0; k < list.size(); ++k) {
      const DataMgmt::TifFieldDescriptor& d = *list[k];
      const int position = form->getFieldIDs().positionOf(d.getField());
      ASSERT_GE(position, 0);
      if (!pa40) {
        EXPECT_EQ(fields[k], d.getField());
      }
      EXPECT_EQ(codeAt(position), d.getFieldCode());
      EXPECT_EQ(form->getTypeID(), d.getForm());
      const bool text = form->getFieldDesc(d.getField())->isText();
      EXPECT_EQ(text ? 'F' : 0, d.getCleanKind());
      EXPECT_EQ(0, d.getPercentKind());
      if (k > 0) {
        EXPECT_EQ("", d.getFieldAttributes());
      }
    }
  }
  EXPECT_EQ(25, listed);
}

TEST(DescriptorTest, PA40ListEndsWithItsRecordTriggers) {
  TaxReturnDesc& pa = *TaxReturnDesc::pennsylvania();
  const DataMgmt::TifFieldDescriptorList& list =
      *pa.getTifFieldDescriptors(OVImmutableFormIdentifier(169, true));
  ASSERT_GT(list.size(), 2u);
  EXPECT_EQ(42781, list[list.size() - 2]->getField().getNumber());
  EXPECT_EQ(15, list.back()->getField().getNumber());
  EXPECT_EQ("PA40 1", list.front()->getFieldAttributes());
}

TEST(DescriptorTest, EFileInfoListCarriesTheHeaderFilerFields) {
  TaxReturnDesc& us = *TaxReturnDesc::federal();
  const OVImmutableFormIdentifier fed131(131, false);
  const OVImmutableFormIdentifier filer(92, false);
  const DataMgmt::TifFieldDescriptorList& list = *us.getTifFieldDescriptors(fed131);
  const std::vector<Id>& fields = us.getTaxFormDescriptor(fed131)->fieldIds();
  const std::vector<int> filerFields = {20, 789, 790, 791, 792, 17994, 17995, 25, 715};
  ASSERT_EQ(fields.size() + filerFields.size(), list.size());
  EXPECT_EQ("SYPCRTN 1", list[0]->getFieldAttributes());
  for (std::size_t k = 0; k < fields.size(); ++k) {
    EXPECT_EQ(fields[k], list[k]->getField());
    EXPECT_EQ(fed131, list[k]->getForm());
  }
  for (std::size_t i = 0; i < filerFields.size(); ++i) {
    const DataMgmt::TifFieldDescriptor& d = *list[fields.size() + i];
    EXPECT_EQ(filerFields[i], d.getField().getNumber());
    EXPECT_EQ(filer, d.getForm());
    EXPECT_EQ(codeAt(fields.size() + i), d.getFieldCode());
  }
  // Other federal forms have no list.
  EXPECT_TRUE(us.getTifFieldDescriptors(filer)->empty());
}

class FieldIterTest : public ::testing::Test {
 protected:
  FieldIterTest() : fields_{Id(10), Id(20), Id(30)}, it_(&fields_) {}
  std::vector<Id> fields_;
  OVFieldIDIter it_;
};

TEST_F(FieldIterTest, WalksTheListAndStopsAtTheEnd) {
  EXPECT_EQ(10, it_.getID().getNumber());
  ++it_;
  EXPECT_EQ(20, Id(it_).getNumber());
  it_.next();
  it_.next();
  EXPECT_TRUE(it_.atEOL());
  EXPECT_EQ(0, it_.getID().getNumber());
  it_.next();  // never loops
  EXPECT_TRUE(it_.atEOL());
  EXPECT_EQ(3, it_.position());
  EXPECT_TRUE(OVFieldIDIter().atEOL());
  EXPECT_EQ(0, OVFieldIDIter().getID().getNumber());
}

TEST_F(FieldIterTest, JumpsOutOfRangeGiveTheEnd) {
  it_ = Id(20);
  EXPECT_EQ(1, it_.position());
  EXPECT_EQ(30, (it_ + 1).getID().getNumber());
  EXPECT_TRUE((it_ + 2).atEOL());
  EXPECT_TRUE((it_ + 5).atEOL());
  EXPECT_TRUE((it_ - 2).atEOL());
  EXPECT_EQ(10, (it_ - 1).getID().getNumber());
  EXPECT_TRUE((it_ + 2147483647).atEOL());
  EXPECT_TRUE((it_ - (-2147483647 - 1)).atEOL());
  it_ += -1;
  EXPECT_EQ(10, it_.getID().getNumber());
  it_ = Id(99);  // absent: the end
  EXPECT_TRUE(it_.atEOL());
  EXPECT_EQ(30, (it_ - 1).getID().getNumber());
}

TEST_F(FieldIterTest, ComparesPositions) {
  OVFieldIDIter second = it_ + 1;
  EXPECT_TRUE(it_ <= second);
  EXPECT_FALSE(second <= it_);
  EXPECT_TRUE(it_ <= Id(10));
  EXPECT_TRUE(it_ <= Id(30));
  EXPECT_FALSE(second <= Id(10));
  EXPECT_FALSE(it_ <= Id(99));  // an absent field lies below every position
  EXPECT_FALSE(it_ <= Id(0));
  OVFieldIDIter end = it_ + 3;
  EXPECT_FALSE(end <= Id(30));
  EXPECT_TRUE(second <= end);
  EXPECT_EQ(2, it_.positionOf(Id(30)));
  EXPECT_EQ(-1, it_.positionOf(Id(99)));
}

}  // namespace
