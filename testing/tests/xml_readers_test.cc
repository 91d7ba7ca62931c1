// The XML test-data readers. Field relations: inputs set, the return
// recalculated twice with the in-progress box marked, and one results line
// per RELATION. The input-field scrubber: which field group is used, which
// copies and fields it touches, and that it only replaces or clears
// existing data.
#include "testing/auto_test_report.h"
#include "testing/tests/auto_test_fixture.h"

namespace {

class FieldRelationsTest : public AutoTestFixture {
 protected:
  void SetUp() override {
    AutoTestFixture::SetUp();
    write("forms.txt", "pa40\nPAReturnInfo\nnot a form\n");
    // The probe's only calculation: PA-40 line 9 (F170) is half of line 1c (F139).
    engine->formula = [this](const FormId& form, uint16_t copy) {
      if (!(form == kFormID_PA40) || copy != 1) return;
      ++recalculations;
      outsideTheBox = outsideTheBox || !inProgress();
      DataMgmt::TaxForm* copy1 = pa->getForm(kFormID_PA40, 1);
      copy1->assignIR(PA40::kTotalTaxableIncome, copy1->getIR(PA40::kNetCompensation) / 2);
    };
  }
  // Runs a relations file made of `relations` inside <RELATIONS>.
  void run(const std::string& relations, const std::string& head = "<?xml version=\"1.0\"?>\n") {
    write("relations.xml", head + "<RELATIONS>\n" + relations + "</RELATIONS>\n");
    engine->loadInputXmlFile(dir + "forms.txt", dir + "relations.xml", dir + "results.txt", pa.get(),
                             kFormID_PAReturnInfo, PAReturnInfo::kAutoTestInProgressBox);
  }
  static std::string field(const std::string& form, const std::string& name, const std::string& value,
                           const std::string& type, const std::string& copy = "1") {
    return "<FIELD FORM=\"" + form + "\" COPY=\"" + copy + "\" NAME=\"" + name + "\" VALUE=\"" + value +
           "\" TYPE=\"" + type + "\"/>\n";
  }
  static std::string relation(const std::string& fields) { return "<RELATION>" + fields + "</RELATION>\n"; }

  int recalculations = 0;
  bool outsideTheBox = false;
};

// Two calculations per RELATION, inside the in-progress box; only "Input"
// and "InputOverride", in that case, are inputs. An overridden input keeps
// its value through the recalculation and is not overridden after it.
// Actual values are trimmed; kinds T and B; a copy that does not exist
// reads as empty; values holding the line's separators are written as they
// are. Runs append.
TEST_F(FieldRelationsTest, EachRelationSetsItsInputsRecalculatesAndAppendsALine) {
  name("  Jane ");
  run(relation(field("PA40", "F139", "100", "Input") + field("PA40", "F170", "50", "Output")) +
      relation(field("PA40", "F139", "30", "input") + field("PA40", "F170", "9", "Output")));
  // Two calcReturn (each a calcStateReturn) per relation.
  EXPECT_TRUE(engine->calls.size() == 8 && recalculations == 20 && !outsideTheBox && !inProgress());
  run(relation(field("PA40", "F139", "100", "Input") + field("PA40", "F170", "7", "InputOverride") +
               field("PA40", "F170", "50", "Output")) +
      relation(field("PAReturnInfo", "F36", "a::b|c[d]", "Input") + field("PAReturnInfo", "F31", "Jane", "Output") +
               field("PAReturnInfo", "F36", "x|y", "Output") + field("PAReturnInfo", "F47", "X", "Output") +
               field("PAReturnInfo", "F31", "Joe", "Output", "2")));
  EXPECT_EQ(read("results.txt"), "100::50|50[N]\n30|100[N]::9|50[N]\n100::7::50|7[N]\n"
                                 "a::b|c[d]::Jane|Jane[T]::x|y|a::b|c[d][T]::X|[B]::Joe|[T]\n");
  EXPECT_FALSE(pa->formExists(kFormID_PAReturnInfo, 2) ||
               pa->getForm(kFormID_PA40, 1)->getField(PA40::kTotalTaxableIncome)->isOverridden());
}

// A FIELD outside any RELATION is dropped by the next RELATION. An input
// of a form the forms-affected list does not name, of a field the form
// lacks, of a copy outside 1..65535, or with a value its field refuses is
// written to the line but changes nothing, and is reported while a hook
// runs; a number with blanks around it is read. Missing attributes read
// as empty.
TEST_F(FieldRelationsTest, InputsThatChangeNothingAreReported) {
  const AutoTestReport::Scope reporting;
  put(kFormID_PA40, PA40::kNetCompensation, DataMgmt::FieldValue::of(7));
  std::string inputs = field("PAW2", "F25", "Acme", "Input") + field("PA40", "F99999", "1", "Input");
  for (const char* copy : {"0", "65536", "99999999999999999999"}) inputs += field("PA40", "F139", "1", "Input", copy);
  for (const char* value : {"1,234.56", "0x10", "12abc", "$500"}) inputs += field("PA40", "F139", value, "Input");
  run(field("PA40", "F139", "999", "Input") + relation(inputs + field("PA40", "F139", "", "Output")) +
      relation(field("PA40", "F139", " 9 ", "Input") + field("PA40", "F139", "", "Output")) +
      relation("<FIELD FORM=\"PA40\" COPY=\"1\" NAME=\"F139\" VALUE=\"12\"/>\n"));
  EXPECT_EQ(read("results.txt"),
            "Acme::1::1::1::1::1,234.56::0x10::12abc::$500::|7[N]\n 9 ::|9[N]\n12|9[N]\n");
  EXPECT_TRUE(pa->isNull(kFormID_PAW2, 1, PAW2::kRowOwner.at(0)));
  std::string report = "relation input PAW2:1:F25: no such field of the forms affected\n"
                       "relation input PA40:1:F99999: no such field of the forms affected\n";
  for (const char* copy : {"0", "65536", "99999999999999999999"}) {
    report += "relation input PA40:" + std::string(copy) + ":F139: the copy is outside the form's copies\n";
  }
  for (int k = 0; k < 4; ++k) report += "relation input PA40:1:kPA40_F139: the amount is not a plain number\n";
  EXPECT_EQ(read("OrvaneAutoTest_Report.txt"), report);
}

// Without a results file that can be written nothing is applied; its
// folder is made when missing. A relations file without a document
// element changes nothing.
TEST_F(FieldRelationsTest, NoRelationRunsWithoutItsResults) {
  write("relations.xml", "<RELATIONS>" + relation(field("PA40", "F139", "100", "Input")) + "</RELATIONS>");
  write("blocked", "a file where the folder should be");
  for (const char* results : {"blocked/results.txt", "OrvaneAutoTest_OVQA.xml", "new/folder/results.txt"}) {
    engine->loadInputXmlFile(dir + "forms.txt", dir + "relations.xml", dir + results, pa.get(), kFormID_PAReturnInfo,
                             PAReturnInfo::kAutoTestInProgressBox);
    EXPECT_EQ(pa->getIR(kFormID_PA40, 1, PA40::kNetCompensation) == 100, results[0] == 'n') << results;
  }
  EXPECT_EQ(read("new/folder/results.txt"), "100\n");
  write("broken.xml", "<RELATIONS><RELATION>");
  for (const char* file : {"missing.xml", "broken.xml"}) {
    engine->loadInputXmlFile(dir + "forms.txt", dir + file, dir + "results.txt", pa.get(), kFormID_PAReturnInfo,
                             PAReturnInfo::kAutoTestInProgressBox);
  }
  EXPECT_EQ(read("results.txt"), "");
  EXPECT_EQ(engine->calls.size(), 4u);  // one relation's 2 calcReturn and 2 calcStateReturn
}

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
  std::string employer(uint16_t copy = 1) { return pa->getFieldAsString(kFormID_PAW2, copy, kEmployer); }

  // A text of the PA W-2: the first row's owner, "kPAW2_F25" in field groups.
  const FieldId& kEmployer = PAW2::kRowOwner.at(0);
};

// Only the last group of exactly the prefix is used: references outside
// any group are collected, but a later matching group starts afresh. COPY
// "*" touches every existing copy; only fields that hold data change,
// NULLSTR clears them.
TEST_F(FieldGroupsTest, TheLastGroupOfThePrefixChangesOnlyFieldsThatHoldData) {
  for (uint16_t copy = 1; copy <= 3; ++copy) put(kFormID_PAW2, kEmployer, DataMgmt::FieldValue::ofText("Acme"), copy);
  name("Jane");
  put(kFormID_PA40, PA40::kNetCompensation, DataMgmt::FieldValue::of(100));
  pa->getFormOrCreate(kFormID_PAW2, 4);  // a copy without data
  scrub(ref("PA40", "1", "kPA40_F139", "5") + group("pa", ref("PAW2", "1", "kPAW2_F25", "Lower")) +
        group("PA", ref("PAW2", "1", "kPAW2_F25", "First")) +
        group("PA", ref("paw2", "*", "kPAW2_F25", "Employer [CopyNum]") + ref("PAW2", "4", "kPAW2_F25", "NULLSTR") +
                        ref("PAScheduleJ", "*", "kPASCHEDULEJ_F12", "1") +
                        ref("PAReturnInfo", "1", "kPARETURNINFO_F31", "NULLSTR") +
                        ref("PAReturnInfo", "1", "kPARETURNINFO_F36", "Anon")) +
        group("NY", ref("PAW2", "1", "kPAW2_F25", "Other")));
  for (uint16_t copy = 1; copy <= 3; ++copy) EXPECT_EQ(employer(copy), "Employer " + std::to_string(copy));
  EXPECT_FALSE(pa->getForm(kFormID_PAW2, 4)->isDataEntered() || pa->formExists(kFormID_PAScheduleJ, 1));
  EXPECT_TRUE(pa->isNull(kFormID_PAReturnInfo, 1, kName) && pa->getIN(kFormID_PA40, 1, PA40::kNetCompensation) == 100);
  EXPECT_TRUE(pa->isNull(kFormID_PAReturnInfo, 1, PAReturnInfo::kSpouseFirstName) && done());  // held no data
}

// A reference needs a form of the return, a field of that form, a copy
// number in 1..65535 and, for a number field, a plain number (blanks
// around it allowed); any other changes nothing and, while a hook runs, is
// reported. A file without a document element changes nothing.
TEST_F(FieldGroupsTest, ReferencesThatChangeNothingAreReported) {
  const AutoTestReport::Scope reporting;
  name("Jane");
  put(kFormID_PAW2, kEmployer, DataMgmt::FieldValue::ofText("Acme"));
  put(kFormID_PA40, PA40::kNetCompensation, DataMgmt::FieldValue::of(100));
  put(kFormID_PA40, PA40::kTotalTaxableIncome, DataMgmt::FieldValue::of(100));
  scrub(group("PA", ref("PAReturnInfo", "1", "kPARETURNINFO_F31", "x")), "<!DOCTYPE FIELDGROUPS>\n");
  EXPECT_FALSE(name() != "Jane" || done());
  std::string refs = ref("PAReturnInfo", "1", "kPARETURNINFO_F36", "x") + ref("PAW2", "1", "kPARETURNINFO_F31", "Wrong") +
                     ref("NoSuchForm", "1", "kPARETURNINFO_F31", "No form") + ref("PAW2", "1", "kPAW2_F99999", "No") +
                     ref("PA40", "1", "kPA40_F139", "1,234.56") + ref("PA40", "1", "kPA40_F170", " 7 ");
  for (const char* copy : {"", "-1", "65536", "99999999999999999999"}) refs += ref("PAW2", copy, "kPAW2_F25", copy);
  scrub(group("PA", refs));
  EXPECT_TRUE(name() == "Jane" && employer() == "Acme" && done());
  EXPECT_EQ(pa->getIN(kFormID_PA40, 1, PA40::kNetCompensation) * 1000 + pa->getIN(kFormID_PA40, 1, PA40::kTotalTaxableIncome),
            100007);
  std::string report = "file " + dir + "groups.xml not read: has a document type declaration, which is not read\n"
                       "field group PAW2:1:kPARETURNINFO_F31: no such field of the form\nfield group NOSUCHFORM:1:"
                       "kPARETURNINFO_F31: no such form\nfield group PAW2:1:kPAW2_F99999: no such field of the form\n"
                       "field group PA40:1:kPA40_F139: the amount is not a plain number\n";
  for (const char* copy : {"", "-1", "65536", "99999999999999999999"}) {
    report += "field group PAW2:" + std::string(copy) + ":kPAW2_F25: the copy is " +
              (copy[0] == '6' || copy[0] == '9' ? "outside the form's copies\n" : "not a copy number\n");
  }
  EXPECT_EQ(read("OrvaneAutoTest_Report.txt"), report);
}

}  // namespace
