// The input-field scrubber: which field group is used, which copies and
// fields it touches, and that it only replaces or clears existing data.
#include "testing/tests/auto_test_fixture.h"

namespace {

class FieldGroupsTest : public AutoTestFixture {
 protected:
  // Scrubs the PA return with a field-group file of the groups `body`.
  void scrub(const std::string& body, const std::string& head = "") {
    write("groups.xml", "<?xml version=\"1.0\"?>\n" + head + "<FIELDGROUPS>" + body + "</FIELDGROUPS>\n");
    engine->scrubInputFields("PA", dir + "groups.xml", pa.get(), kFormID_PAReturnInfo,
                             PAReturnInfo::kAutoTestDoneBox, PAReturnInfo::kAutoTestInProgressBox);
  }
  static std::string ref(const std::string& form, const std::string& copy, const std::string& field,
                         const std::string& value) {
    return "<FIELDREF FORM=\"" + form + "\" COPY=\"" + copy + "\" FIELD=\"" + field + "\" VALUE=\"" + value + "\"/>";
  }
  static std::string group(const std::string& entity, const std::string& refs) {
    return "<FIELDGROUP ENTITY=\"" + entity + "\">" + refs + "</FIELDGROUP>";
  }
  std::string spouse() { return pa->getFieldAsString(kFormID_PAReturnInfo, 1, PAReturnInfo::kSpouseFirstName); }
  std::string employer(uint16_t copy = 1) { return pa->getFieldAsString(kFormID_PAW2, copy, kEmployer); }

  // A text of the PA W-2: the first row's owner, "kPAW2_F25" in field groups.
  const FieldId& kEmployer = PAW2::kRowOwner.at(0);
};

TEST_F(FieldGroupsTest, OnlyTheLastGroupOfExactlyThePrefixIsUsed) {
  name("Jane");
  put(kFormID_PAReturnInfo, PAReturnInfo::kSpouseFirstName, DataMgmt::FieldValue::ofText("Joe"));
  put(kFormID_PA40, PA40::kNetCompensation, DataMgmt::FieldValue::of(100));
  // References outside any group are collected, but a later matching group
  // starts the list afresh.
  scrub(ref("PA40", "1", "kPA40_F139", "5") + group("pa", ref("PAReturnInfo", "1", "kPARETURNINFO_F31", "Lower")) +
        group("PA", ref("PAReturnInfo", "1", "kPARETURNINFO_F31", "First")) +
        group("PA", ref("PAReturnInfo", "1", "kPARETURNINFO_F36", "Second")) +
        group("NY", ref("PAReturnInfo", "1", "kPARETURNINFO_F31", "Other")));
  EXPECT_TRUE(name() == "Jane" && spouse() == "Second" && done());
  EXPECT_EQ(pa->getIN(kFormID_PA40, 1, PA40::kNetCompensation), 100);
}

TEST_F(FieldGroupsTest, EveryCopyAndNullStrTouchOnlyFieldsThatHoldData) {
  for (uint16_t copy = 1; copy <= 3; ++copy) put(kFormID_PAW2, kEmployer, DataMgmt::FieldValue::ofText("Acme"), copy);
  name("Jane");
  pa->getFormOrCreate(kFormID_PAW2, 4);  // a copy without data
  scrub(group("PA", ref("paw2", "*", "kPAW2_F25", "Employer [CopyNum]") + ref("PAW2", "4", "kPAW2_F25", "NULLSTR") +
                        ref("PAScheduleJ", "*", "kPASCHEDULEJ_F12", "1") +
                        ref("PAReturnInfo", "1", "kPARETURNINFO_F31", "NULLSTR") +
                        ref("PAReturnInfo", "1", "kPARETURNINFO_F36", "Anon")));
  for (uint16_t copy = 1; copy <= 3; ++copy) EXPECT_EQ(employer(copy), "Employer " + std::to_string(copy));
  EXPECT_FALSE(pa->getForm(kFormID_PAW2, 4)->isDataEntered() || pa->formExists(kFormID_PAScheduleJ, 1));
  EXPECT_TRUE(pa->isNull(kFormID_PAReturnInfo, 1, kName));
  EXPECT_TRUE(pa->isNull(kFormID_PAReturnInfo, 1, PAReturnInfo::kSpouseFirstName));  // held no data
}

// A reference needs a form of the return and a field of that form: a field
// name met on another form, an unknown form or field, and a copy number
// outside 1..65535 are passed over; a file without a document element
// changes nothing.
TEST_F(FieldGroupsTest, ReferencesToNoFieldOfTheirFormArePassedOver) {
  name("Jane");
  put(kFormID_PAW2, kEmployer, DataMgmt::FieldValue::ofText("Acme"));
  scrub(group("PA", ref("PAReturnInfo", "1", "kPARETURNINFO_F31", "x")), "<!DOCTYPE FIELDGROUPS>\n");
  EXPECT_FALSE(name() != "Jane" || done());
  std::string refs = ref("PAReturnInfo", "1", "kPARETURNINFO_F36", "x") + ref("PAW2", "1", "kPARETURNINFO_F31", "Wrong") +
                     ref("NoSuchForm", "1", "kPARETURNINFO_F31", "No form") + ref("PAW2", "1", "kPAW2_F99999", "No") +
                     "<FIELDREF FORM=\"PAW2\" FIELD=\"kPAW2_F25\" VALUE=\"No copy\"/>";
  for (const char* copy : {"0", "-1", "65536", "65537", "99999999999999999999"}) refs += ref("PAW2", copy, "kPAW2_F25", copy);
  scrub(group("PA", refs));
  EXPECT_TRUE(name() == "Jane" && employer() == "Acme" && done());
}

}  // namespace
