// The input-field scrubber: which field group is used, which copies and
// fields it touches, and that it only replaces or clears existing data.
#include <string>

#include "testing/tests/auto_test_fixture.h"

namespace {

class FieldGroupsTest : public AutoTestFixture {
 protected:
  // Scrubs the PA return with a field-group file made of `body` inside
  // <FIELDGROUPS>.
  void scrub(const std::string& body) {
    write("groups.xml", "<?xml version=\"1.0\"?>\n<FIELDGROUPS>\n" + body + "</FIELDGROUPS>\n");
    scrubFile("groups.xml");
  }
  void scrubFile(const std::string& name) {
    engine->scrubInputFields("PA", dir + name, pa.get(), kFormID_PAReturnInfo, doneBox(), inProgressBox());
  }
  static std::string ref(const std::string& form, const std::string& copy, const std::string& field,
                         const std::string& value) {
    return "<FIELDREF FORM=\"" + form + "\" COPY=\"" + copy + "\" FIELD=\"" + field + "\" VALUE=\"" + value +
           "\"/>\n";
  }
  static std::string group(const std::string& entity, const std::string& refs) {
    return "<FIELDGROUP ENTITY=\"" + entity + "\">\n" + refs + "</FIELDGROUP>\n";
  }
  static const FieldId& employer() { return kPAW2FieldIds.byNumber(25); }  // a text of the PA W-2
};

TEST_F(FieldGroupsTest, OnlyTheLastGroupOfExactlyThePrefixIsUsed) {
  text(kFormID_PAReturnInfo, taxpayerName(), "Jane");
  text(kFormID_PAReturnInfo, spouseName(), "Joe");
  scrub(group("pa", ref("PAReturnInfo", "1", "kPARETURNINFO_F31", "Lower")) +
        group("PA", ref("PAReturnInfo", "1", "kPARETURNINFO_F31", "First")) +
        group("PA", ref("PAReturnInfo", "1", "kPARETURNINFO_F36", "Second")) +
        group("NY", ref("PAReturnInfo", "1", "kPARETURNINFO_F31", "Other")));
  EXPECT_EQ(valueOf(kFormID_PAReturnInfo, taxpayerName()), "Jane");
  EXPECT_EQ(valueOf(kFormID_PAReturnInfo, spouseName()), "Second");
  EXPECT_TRUE(done());
}

TEST_F(FieldGroupsTest, EveryCopyMeansEachExistingCopy) {
  for (uint16_t copy = 1; copy <= 3; ++copy) text(kFormID_PAW2, employer(), "Acme", copy);
  scrub(group("PA", ref("paw2", "*", "kPAW2_F25", "Employer [CopyNum]") +
                        ref("PAScheduleJ", "*", "kPASCHEDULEJ_F12", "1")));
  for (uint16_t copy = 1; copy <= 3; ++copy) {
    EXPECT_EQ(valueOf(kFormID_PAW2, employer(), copy), "Employer " + std::to_string(copy)) << copy;
  }
  EXPECT_FALSE(pa->formExists(kFormID_PAW2, 4));
  EXPECT_FALSE(pa->formExists(kFormID_PAScheduleJ, 1));
}

TEST_F(FieldGroupsTest, NullStrClearsOnlyFieldsThatHoldData) {
  text(kFormID_PAReturnInfo, taxpayerName(), "Jane");
  number(kFormID_PA40, pa40Line(11), 100);
  holder(kFormID_PAW2, 2);  // a copy without data
  scrub(group("PA", ref("PAReturnInfo", "1", "kPARETURNINFO_F31", "NULLSTR") +
                        ref("PA40", "1", "kPA40_F11", "NULLSTR") + ref("PAW2", "2", "kPAW2_F25", "NULLSTR") +
                        ref("PAReturnInfo", "1", "kPARETURNINFO_F36", "Anon")));
  EXPECT_TRUE(pa->isNull(kFormID_PAReturnInfo, 1, taxpayerName()));
  EXPECT_TRUE(pa->isNull(kFormID_PA40, 1, pa40Line(11)));
  EXPECT_TRUE(pa->getForm(kFormID_PA40, 1)->isDataEntered());
  EXPECT_TRUE(pa->isNull(kFormID_PAW2, 2, employer()));
  EXPECT_FALSE(pa->getForm(kFormID_PAW2, 2)->isDataEntered());
  EXPECT_TRUE(pa->isNull(kFormID_PAReturnInfo, 1, spouseName()));
}

// FIELDREFs outside any group are collected too, but a later matching
// group starts the list afresh.
TEST_F(FieldGroupsTest, AMatchingGroupDropsTheReferencesCollectedBeforeIt) {
  text(kFormID_PAReturnInfo, taxpayerName(), "Jane");
  text(kFormID_PAReturnInfo, spouseName(), "Joe");
  number(kFormID_PA40, pa40Line(11), 100);
  scrub(ref("PAReturnInfo", "1", "kPARETURNINFO_F31", "Before") +
        group("PA", ref("PAReturnInfo", "1", "kPARETURNINFO_F36", "Inside")) +
        ref("PA40", "1", "kPA40_F11", "5"));
  EXPECT_EQ(valueOf(kFormID_PAReturnInfo, taxpayerName()), "Jane");
  EXPECT_EQ(valueOf(kFormID_PAReturnInfo, spouseName()), "Inside");
  EXPECT_EQ(pa->getIN(kFormID_PA40, 1, pa40Line(11)), 5);
}

// A reference needs a form of the return and a field of that form: a
// field name met on another form, an unknown form or field, and a copy
// number beyond range are passed over.
TEST_F(FieldGroupsTest, ReferencesToNoFieldOfTheirFormArePassedOver) {
  text(kFormID_PAReturnInfo, taxpayerName(), "Jane");
  text(kFormID_PAW2, employer(), "Acme");
  scrub(group("PA", ref("PAReturnInfo", "1", "kPARETURNINFO_F36", "x") +
                        ref("PAW2", "1", "kPARETURNINFO_F31", "Wrong form") +
                        ref("NoSuchForm", "1", "kPARETURNINFO_F31", "No form") +
                        ref("PAW2", "1", "kPAW2_F99999", "No field") +
                        ref("PAW2", "65537", "kPAW2_F25", "Wraps to 1") +
                        "<FIELDREF FORM=\"PAW2\" FIELD=\"kPAW2_F25\" VALUE=\"No copy\"/>\n"));
  EXPECT_EQ(valueOf(kFormID_PAReturnInfo, taxpayerName()), "Jane");
  EXPECT_EQ(valueOf(kFormID_PAW2, employer()), "Acme");
  EXPECT_TRUE(done());
}

TEST_F(FieldGroupsTest, AFileWithoutADocumentElementChangesNothing) {
  text(kFormID_PAReturnInfo, taxpayerName(), "Jane");
  scrubFile("missing.xml");
  write("doctype.xml", "<!DOCTYPE FIELDGROUPS>\n<FIELDGROUPS>" +
                           group("PA", ref("PAReturnInfo", "1", "kPARETURNINFO_F31", "Anon")) +
                           "</FIELDGROUPS>\n");
  scrubFile("doctype.xml");
  EXPECT_EQ(valueOf(kFormID_PAReturnInfo, taxpayerName()), "Jane");
  EXPECT_FALSE(done());
}

}  // namespace
