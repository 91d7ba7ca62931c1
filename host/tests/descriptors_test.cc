// Generated form descriptors, the data-file descriptor lists and the
// field-position iterator: invariants over the data tables, not copies.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "catalogs/run_notation.h"
#include "gtest/gtest.h"
#include "host/descriptors.h"
#include "host/tests/allocations.h"
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

// Catalog name -> its host field numbers in member order, read from the
// catalog tables themselves.
const std::map<std::string, std::vector<int>>& catalogs() {
  static const std::map<std::string, std::vector<int>> all = [] {
    std::map<std::string, std::vector<int>> m;
    const std::pair<const char*, const char*> rows[] = {
#define FIELD_CATALOG(name, members, runs) {#name, runs},
#include "catalogs/all_catalogs.def"
#undef FIELD_CATALOG
    };
    for (const auto& row : rows) {
      RunNotation::RunReader reader(row.second);
      for (int n = reader.next(); n > 0; n = reader.next()) m[row.first].push_back(n);
    }
    return m;
  }();
  return all;
}

TaxReturnDesc& side(bool isState) {
  return isState ? *TaxReturnDesc::pennsylvania() : *TaxReturnDesc::federal();
}

TaxFormDescPtr descOf(const std::string& name) {
  for (const FormRow& row : forms()) {
    if (row.name == name) return side(row.isState).getTaxFormDescriptor({row.number, row.isState});
  }
  return TaxFormDescPtr();
}

// Every form constant has a descriptor on its own side only, named after
// the constant upper-cased, with the copy limit 999. Its fields follow its
// catalog in member order (State 16 and 17 append the fields of the shared
// 16-18 catalog they lack), each named "k<DEVNAME>_F<n>", labelled "F<n>".
TEST(DescriptorTest, EveryFormIsBuiltFromItsTables) {
  std::size_t count[2] = {0, 0};
  for (const FormRow& row : forms()) {
    SCOPED_TRACE(row.name);
    ++count[row.isState];
    const OVImmutableFormIdentifier id(row.number, row.isState);
    const TaxFormDescPtr form = side(row.isState).getTaxFormDescriptor(id);
    ASSERT_FALSE(form.isNull());
    EXPECT_TRUE(side(!row.isState).getTaxFormDescriptor(id).isNull());
    EXPECT_EQ(999, form->getMaxCopies());
    std::string dev = row.name;
    for (char& c : dev) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(dev, form->getDevName());
    // Every field's name, told without a descriptor made for it, as its
    // descriptor then gives it.
    std::string names, told;
    names.reserve(64 * form->fieldIds().size());
    form->sourceNamePrefix();  // made once per form
    EXPECT_EQ(0, TestAllocations::during([&] {
      for (const auto& id : form->fieldIds()) EXPECT_TRUE(form->appendSymbolicName(id, names));
    }));
    EXPECT_FALSE(form->appendSymbolicName(Id(999999), names));
    std::vector<int> fields;
    for (OVFieldIDIter it = form->getFieldIDs(); !it.atEOL(); it.next()) {
      const std::string label = "F" + std::to_string(it.getID().getNumber());
      told += form->getFieldDesc(it.getID())->getSymbolicName();
      ASSERT_EQ("k" + dev + "_" + label, form->getFieldDesc(it.getID())->getSymbolicName());
      ASSERT_FALSE(form->getFieldDesc(it.getID())->getLineLabel().empty());  // see getLineID
      fields.push_back(it.getID().getNumber());
    }
    EXPECT_EQ(told, names);
    const auto catalog = catalogs().find(row.name + "FieldIds");
    if (catalog == catalogs().end()) continue;
    const std::vector<int>& members = catalog->second;
    ASSERT_GE(fields.size(), members.size());
    EXPECT_TRUE(std::equal(members.begin(), members.end(), fields.begin()));
    EXPECT_EQ(row.name == "State16" || row.name == "State17", fields.size() > members.size());
  }
  EXPECT_EQ(count[1], side(true).getTaxFormDescriptors().size());
  EXPECT_EQ(count[0], side(false).getTaxFormDescriptors().size());
  for (const char* name : {"State171", "State2", "Fed8", "Fed184"}) {  // no catalog: ascending
    const std::vector<Id>& fields = descOf(name)->fieldIds();
    EXPECT_TRUE(std::is_sorted(fields.begin(), fields.end())) << name;
  }
  EXPECT_EQ("PA-40", descOf("PA40")->getBusName());
  EXPECT_EQ("STATE2", descOf("State2")->getBusName());  // no title: the developer name
  EXPECT_TRUE(descOf("PA40")->getFieldDesc(Id(999999)).isNull());
}

// Every kind row names a field of its form, of that kind.
TEST(DescriptorTest, KindRowsMakeTextsAndBoxes) {
  struct Row {
    const char* form;
    int field;
    bool text;
  } rows[] = {
#define FIELD_KIND(form, field, kind) {#form, field, std::strcmp(#kind, "TEXT") == 0},
#define FIELD_KIND_LEN(form, field, kind, length) FIELD_KIND(form, field, kind)
#define FIELD_KIND_CALC(form, field, kind) FIELD_KIND(form, field, kind)
#include "host/field_kinds.def"
#undef FIELD_KIND
#undef FIELD_KIND_LEN
#undef FIELD_KIND_CALC
  };
  for (const Row& row : rows) {
    DataMgmt::FormFieldDescPtr field = descOf(row.form)->getFieldDesc(Id(row.field));
    ASSERT_FALSE(field.isNull()) << row.form << " " << row.field;
    EXPECT_EQ(row.text, field->isText()) << row.form << " " << row.field;
    EXPECT_EQ(!row.text, field->isBoolean() && field->getLength() == 1)
        << row.form << " " << row.field;
  }
  // Names and numbers typed into Schedule O, G-L and the Care Of copy are
  // texts; numbers are hundredths on the federal money forms, else whole.
  const struct {
    const char* form;
    int field;
    bool text;
    unsigned char editCode;
  } pins[] = {{"PADeductions", 46489, true, DataMgmt::kEditNone},
              {"PADeductions", 199802, true, DataMgmt::kEditNone},
              {"PAScheduleGL", 158234, true, DataMgmt::kEditNone},
              {"PAReturnInfo", 13, true, DataMgmt::kEditNone},
              {"FedW2", 105, false, 'H'},
              {"Fed164", 40, false, 'H'},
              {"PA40", 139, false, DataMgmt::kEditNone}};
  for (const auto& p : pins) {
    DataMgmt::FormFieldDescPtr field = descOf(p.form)->getFieldDesc(Id(p.field));
    EXPECT_EQ(p.text, field->isText()) << p.form << " " << p.field;
    EXPECT_EQ(p.text ? 80 : 15, field->getLength()) << p.form << " " << p.field;
    EXPECT_EQ(p.editCode, field->getValidator().getEditCode()) << p.form << " " << p.field;
  }
}

// The traits a form tells of its fields when it lists them, which form
// copies keep beside their values, are those of the fields' descriptors;
// a field the form lacks is unknown.
TEST(DescriptorTest, ToldTraitsAgreeWithTheDescriptors) {
  for (const FormRow& row : forms()) {
    const TaxFormDescPtr form = descOf(row.name);
    for (const Id& id : form->fieldIds()) {
      const DataMgmt::FieldTraits traits = form->traitsOf(id);
      const DataMgmt::FormFieldDescPtr field = form->getFieldDesc(id);
      ASSERT_TRUE(traits.known) << row.name << " " << id.getNumber();
      ASSERT_EQ(field->getKind(), traits.kind) << row.name << " " << id.getNumber();
      ASSERT_EQ(field->getValidator().getEditCode(), traits.editCode) << row.name << " " << id.getNumber();
      ASSERT_EQ(field->isText(), traits.isText()) << row.name << " " << id.getNumber();
      ASSERT_EQ(field->isBoolean(), traits.isBoolean()) << row.name << " " << id.getNumber();
    }
    EXPECT_FALSE(form->traitsOf(Id(999999)).known) << row.name;
  }
}

// hasField answers as traitsOf(...).known: traits all told, one told
// unknown, none told (the maker lacks field 4), and a field added later.
TEST(DescriptorTest, HasFieldAgreesWithTheTraits) {
  const DataMgmt::FieldTraits known{true, DataMgmt::kNumberField, 0}, unknown;
  for (int told = 0; told < 3; ++told) {
    DataMgmt::TaxFormDesc form(OVImmutableFormIdentifier(169, true), "PA40", "PA-40");
    const DataMgmt::FieldTraitsTable table{known, {{4, told == 1 ? unknown : known}}};
    form.setFieldSource([] { return std::vector<int>{2, 4}; }, [](int n) {
      return DataMgmt::FormFieldDescPtr(
          n == 4 ? nullptr : new DataMgmt::FormFieldDesc(Id(n), DataMgmt::kNumberField, 15, 0, false, "", ""));
    }, told < 2 ? std::function<DataMgmt::FieldTraitsTable()>([table] { return table; }) : nullptr);
    form.addField(DataMgmt::FormFieldDescPtr(
        new DataMgmt::FormFieldDesc(Id(9), DataMgmt::kNumberField, 15, 0, false, "kPA40_F9", "")));
    for (int number : {2, 4, 9, 3}) {
      const bool has = form.hasField(Id(number));  // asked first: traitsOf keeps what it finds
      EXPECT_EQ(form.traitsOf(Id(number)).known, has) << told << " " << number;
    }
  }
}

// Slots reserved ahead are made without moving the ones made before.
TEST(FieldSlotsTest, ReservedSlotsStayWhereTheyWere) {
  DataMgmt::FieldSlots<int> slots;
  slots.reserve(501);
  const int* first = slots.tryEmplace(7).first;
  for (int n = 1; n <= 500; ++n) *slots.tryEmplace(n * 13).first = n;
  EXPECT_EQ(first, slots.find(7));
  EXPECT_EQ(500, *slots.find(6500));
  EXPECT_EQ(nullptr, slots.find(8));
  EXPECT_FALSE(slots.tryEmplace(13).second);  // made once
}

// A noted number has no slot but is told apart from one never seen, through
// every growth of the table; a slot made for it takes the note's place.
TEST(FieldSlotsTest, NotedNumbersKeepTheirNoteUntilASlotIsMade) {
  for (const std::size_t reserved : {std::size_t(0), std::size_t(600)}) {
    DataMgmt::FieldSlots<int> slots;
    slots.reserve(reserved);
    for (int n = 1; n <= 300; ++n) slots.note(n * 7);
    for (int n = 1; n <= 300; ++n) *slots.tryEmplace(n * 11).first = n;
    slots.note(11);  // has a slot: stays a slot
    *slots.tryEmplace(14).first = 99;  // noted: takes a slot
    const struct {
      int number;
      bool slot;
      bool noted;
    } cases[] = {{7, false, true}, {14, true, false}, {2100, false, true}, {11, true, false},
                 {77, true, false}, {8, false, false}, {3301, false, false}};
    for (const auto& c : cases) {
      bool noted = true;
      const DataMgmt::FieldSlots<int>& held = slots;
      EXPECT_EQ(c.slot, held.find(c.number, &noted) != nullptr) << c.number;
      EXPECT_EQ(c.noted, noted) << c.number;
      EXPECT_EQ(c.slot, slots.find(c.number) != nullptr) << c.number;
    }
    EXPECT_EQ(99, *slots.find(14));
    EXPECT_EQ(301u, slots.size());  // notes are no slots
    EXPECT_EQ(301u, slots.all().size());
  }
}

// Numbers take places in the order they come, once each, through every
// growth of the table, reserved or not.
TEST(FieldPlacesTest, NumbersTakeTheirPlacesOnce) {
  for (const std::size_t reserved : {std::size_t(0), std::size_t(3000)}) {
    DataMgmt::FieldPlaces places;
    places.reserve(reserved);
    EXPECT_EQ(-1, places.find(7));
    for (int n = 1; n <= 3000; ++n) ASSERT_TRUE(places.add(n * 37 - 1500)) << n;
    EXPECT_FALSE(places.add(37 * 5 - 1500));  // placed once
    EXPECT_EQ(3000u, places.size());
    for (int n = 1; n <= 3000; ++n) ASSERT_EQ(n - 1, places.find(n * 37 - 1500)) << n;
    for (int absent : {0, 1, -1500, 37 * 3001 - 1500}) EXPECT_EQ(-1, places.find(absent)) << absent;
  }
}

// The code "%05d.<sub>.001" of a position counted from 0.
std::string codeAt(std::size_t index, const char* sub = "000") {
  char code[16];
  std::snprintf(code, sizeof code, "%05d.%s.001", static_cast<int>(index + 1), sub);
  return code;
}

// The 25 forms of the print table come first in display order and alone
// have data-file lists: every field in form order (the PA-40 moves 42781
// and 15 to its end), codes by position under the sub-field no state
// writer uses, the clean hook on texts and the record attributes, the
// whole developer name, on the first entry. The other forms follow
// ascending.
TEST(DescriptorTest, PrintTableFormsComeFirstAndListEveryField) {
  TaxReturnDesc& pa = *TaxReturnDesc::pennsylvania();
  const std::vector<TaxFormDescPtr> shown = pa.getTaxFormDescriptorsInDisplayOrder();
  ASSERT_EQ(pa.getTaxFormDescriptors().size(), shown.size());
  std::size_t listed = 0;
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const TaxFormDescPtr& form = shown[i];
    SCOPED_TRACE(form->getDevName());
    const DataMgmt::TifFieldDescriptorList& list = *pa.getTifFieldDescriptors(form->getTypeID());
    EXPECT_EQ(i < 25, !list.empty());
    EXPECT_TRUE(i <= 25 || shown[i - 1]->getTypeID() < form->getTypeID());
    if (list.empty()) continue;
    ++listed;
    ASSERT_EQ(form->fieldIds().size(), list.size());
    EXPECT_EQ(form->getDevName() + " 1", list[0]->getFieldAttributes());
    const bool pa40 = form->getTypeID() == OVImmutableFormIdentifier(169, true);
    for (std::size_t k = 0; k < list.size(); ++k) {
      const DataMgmt::TifFieldDescriptor& d = *list[k];
      const int position = form->getFieldIDs().positionOf(d.getField());
      ASSERT_GE(position, 0);
      EXPECT_TRUE(pa40 || position == static_cast<int>(k));
      EXPECT_EQ(codeAt(position, "999"), d.getFieldCode());
      EXPECT_EQ(form->getTypeID(), d.getForm());
      EXPECT_EQ(form->getFieldDesc(d.getField())->isText() ? 'F' : 0, d.getCleanKind());
      EXPECT_EQ(0, d.getPercentKind());
      EXPECT_EQ(k == 0 ? list[0]->getFieldAttributes() : "", d.getFieldAttributes());
    }
    if (pa40) {
      EXPECT_EQ(42781, list[list.size() - 2]->getField().getNumber());
      EXPECT_EQ(15, list.back()->getField().getNumber());
    }
  }
  EXPECT_EQ(25u, listed);
  const std::vector<TaxFormDescPtr> byId = pa.getTaxFormDescriptors();
  for (std::size_t i = 1; i < byId.size(); ++i) {
    EXPECT_TRUE(byId[i - 1]->getTypeID() < byId[i]->getTypeID());
  }
}

TEST(DescriptorTest, EFileInfoListEndsWithTheHeaderFilerFields) {
  TaxReturnDesc& us = *TaxReturnDesc::federal();
  const OVImmutableFormIdentifier fed131(131, false), filer(92, false);
  const DataMgmt::TifFieldDescriptorList& list = *us.getTifFieldDescriptors(fed131);
  const std::vector<Id>& fields = us.getTaxFormDescriptor(fed131)->fieldIds();
  const int filerFields[] = {20, 789, 790, 791, 792, 17994, 17995, 25, 715};
  ASSERT_EQ(fields.size() + 9, list.size());
  EXPECT_EQ("SYPCRTN 1", list[0]->getFieldAttributes());
  // Other federal forms answer the kept empty list, which a caller cannot fill.
  DataMgmt::TifFieldDescriptorListPtr& empty = us.getTifFieldDescriptors(filer);
  empty->push_back(SmartPointers::CountedPtr<DataMgmt::TifFieldDescriptor>());
  EXPECT_TRUE(us.getTifFieldDescriptors(filer)->empty());
  for (std::size_t k = 0; k < list.size(); ++k) {
    const bool own = k < fields.size();
    EXPECT_EQ(own ? fields[k].getNumber() : filerFields[k - fields.size()],
              list[k]->getField().getNumber());
    EXPECT_EQ(own ? fed131 : filer, list[k]->getForm());
    EXPECT_EQ(codeAt(k), list[k]->getFieldCode());
  }
}

// Data-file descriptors are made in blocks: a list of hundreds costs an
// allocation an entry (its holder's count), and deleted ones serve again.
TEST(DescriptorTest, DataFileDescriptorsComeInBlocks) {
  DataMgmt::TifFieldDescriptorList list;
  list.reserve(600);
  const auto fill = [&list] {
    for (int i = 1; i <= 600; ++i) {
      list.emplace_back(new DataMgmt::TifFieldDescriptor(codeAt(i - 1), OVImmutableFormIdentifier(169, true),
                                                         Id(i), 0, 0, ""));
    }
  };
  EXPECT_GE(600 + 10, TestAllocations::during(fill));  // and a few blocks
  EXPECT_EQ(600, list.back()->getField().getNumber());
  list.clear();
  EXPECT_EQ(600, TestAllocations::during(fill));
  EXPECT_EQ(codeAt(599), list.back()->getFieldCode());
}

// Names find what they name: every form by its developer name on its own
// side, every field by its symbolic name; texts that only resemble a name
// find nothing, and a field is found without making its descriptor.
TEST(DescriptorTest, FormsAndFieldsAreFoundByTheirNames) {
  for (const FormRow& row : forms()) {
    std::string upper = row.name;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(OVImmutableFormIdentifier(row.number, row.isState), side(row.isState).findFormNamed(upper));
    EXPECT_FALSE(side(!row.isState).findFormNamed(upper).isValid()) << upper;
    const TaxFormDescPtr form = descOf(row.name);
    std::string name;
    for (const Id& id : form->fieldIds()) {
      name.clear();
      ASSERT_TRUE(form->appendSymbolicName(id, name));
      EXPECT_EQ(id, form->findFieldNamed(name)) << name;
    }
  }
  EXPECT_FALSE(side(true).findFormNamed("pa40").isValid());  // names are looked up upper-cased
  const TaxFormDescPtr pa40 = descOf("PA40");
  const auto made = TestAllocations::during([&pa40] { EXPECT_EQ(Id(139), pa40->findFieldNamed("kPA40_F139")); });
  EXPECT_EQ(0, made);
  for (const char* unnamed : {"kPA40_F0139", "kPA40_F+139", "kPA40_F139 ", "kPA40_F", "kPA40_139", "kpa40_F139",
                              "kPA40_F99999999999", "kPA40_F2147483648", "kPA40_F999999", "kPAW2_F139", ""}) {
    EXPECT_FALSE(pa40->findFieldNamed(unnamed).isValid()) << unnamed;
  }
}

// Fields added with names of their own are found by those names, the
// first of two alike.
TEST(DescriptorTest, AddedFieldsAreFoundByTheirOwnNames) {
  DataMgmt::TaxFormDesc form(OVImmutableFormIdentifier(169, true), "PA40", "PA-40");
  for (const auto& field : {std::make_pair(7, "kPA40_Line1"), std::make_pair(3, "kPA40_Line1"),
                            std::make_pair(5, "kPA40_F9")}) {
    form.addField(DataMgmt::FormFieldDescPtr(
        new DataMgmt::FormFieldDesc(Id(field.first), DataMgmt::kNumberField, 15, 0, false, field.second, "")));
  }
  EXPECT_EQ(Id(7), form.findFieldNamed("kPA40_Line1"));
  EXPECT_EQ(Id(5), form.findFieldNamed("kPA40_F9"));
  EXPECT_FALSE(form.findFieldNamed("kPA40_F5").isValid());
}

// An entry gives back the code and attributes it was made with, whatever
// their length.
TEST(DescriptorTest, DataFileDescriptorsKeepTheirTexts) {
  const struct {
    const char* code;
    const char* attributes;
  } kCases[] = {{"00005.999.001", ""}, {"", ""}, {"100000.999.001", ""}, {"00001.999.001", "PA40 1"},
                {"01115.000 001", "SYPCRTN 1"}};
  for (const auto& c : kCases) {
    const DataMgmt::TifFieldDescriptor entry(c.code, OVImmutableFormIdentifier(169, true), Id(15), 'F', 'P',
                                             c.attributes);
    EXPECT_EQ(c.code, entry.getFieldCode());
    EXPECT_EQ(c.attributes, entry.getFieldAttributes());
    EXPECT_EQ(15, entry.getField().getNumber());
    EXPECT_EQ('F', entry.getCleanKind());
    EXPECT_EQ('P', entry.getPercentKind());
  }
}

TEST(FieldIterTest, WalksJumpsAndComparesWithinTheList) {
  const std::vector<Id> fields{Id(10), Id(20), Id(30)};
  OVFieldIDIter it(&fields);
  ++it;
  EXPECT_EQ(20, Id(it).getNumber());
  EXPECT_EQ(30, (it + 1).getID().getNumber());
  EXPECT_EQ(10, (it - 1).getID().getNumber());
  // Jumps out of range, however far, give the end and never wrap.
  for (int n : {2, 2147483647}) EXPECT_TRUE((it + n).atEOL()) << n;
  EXPECT_TRUE((it - 2).atEOL() && (it - (-2147483647 - 1)).atEOL());
  it.next();
  it.next();
  it.next();  // never loops
  EXPECT_TRUE(it.atEOL() && it.getID().getNumber() == 0 && it.position() == 3);
  it = Id(99);  // absent: the end
  EXPECT_EQ(30, (it - 1).getID().getNumber());
  it = Id(10);
  EXPECT_TRUE(it <= it + 1 && it <= Id(30));
  EXPECT_FALSE((it + 1) <= Id(10) || (it + 3) <= Id(30));
  EXPECT_FALSE(it <= Id(99) || it <= Id(0));  // an absent field lies below every position
  EXPECT_EQ(-1, it.positionOf(Id(99)));
}

}  // namespace
