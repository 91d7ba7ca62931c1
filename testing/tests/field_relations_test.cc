// Field relations: inputs set, the return recalculated twice with the
// in-progress box marked, and one results line per RELATION.
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
  static std::string relation(const std::string& fields) { return "<RELATION>\n" + fields + "</RELATION>\n"; }

  int recalculations = 0;
  bool outsideTheBox = false;
};

TEST_F(FieldRelationsTest, EachRelationSetsItsInputsRecalculatesAndAppendsALine) {
  const std::string relations = relation(field("PA40", "F139", "100", "Input") + field("PA40", "F170", "50", "Output")) +
                                relation(field("PA40", "F139", "30", "input") + field("PA40", "F170", "9", "Output"));
  run(relations);
  // Two whole calculations per relation, each reaching PA-40 copy 1 five
  // times, all inside the in-progress box. Only "Input" in that case is an input.
  EXPECT_EQ(engine->calls, (std::vector<std::string>{"loadInputXmlFile", "calcReturn", "calcStateReturn",
                                                     "calcReturn", "calcStateReturn", "calcReturn",
                                                     "calcStateReturn", "calcReturn", "calcStateReturn"}));
  EXPECT_TRUE(recalculations == 20 && !outsideTheBox && !inProgress());
  run(relations);
  EXPECT_EQ(read("results.txt"), "100::50|50[N]\n30|100[N]::9|50[N]\n100::50|50[N]\n30|100[N]::9|50[N]\n");
}

TEST_F(FieldRelationsTest, OverridesKindsAndFieldsThatChangeNothing) {
  name("  Jane ");
  // Values holding the line's own separators are written as they are.
  run(relation(field("PA40", "F139", "100", "Input") + field("PA40", "F170", "7", "InputOverride") +
               field("PA40", "F170", "50", "Output")) +
      relation(field("PAReturnInfo", "F36", "a::b|c[d]", "Input") + field("PAReturnInfo", "F31", "Jane", "Output") +
               field("PAReturnInfo", "F36", "x|y", "Output") + field("PAReturnInfo", "F47", "X", "Output") +
               field("PAReturnInfo", "F31", "Joe", "Output", "2")));
  // An overridden input keeps its value through the recalculation; values
  // are trimmed; kinds T and B; a copy that does not exist reads as empty.
  EXPECT_EQ(read("results.txt"), "100::7::50|7[N]\na::b|c[d]::Jane|Jane[T]::x|y|a::b|c[d][T]::X|[B]::Joe|[T]\n");
  EXPECT_FALSE(pa->formExists(kFormID_PAReturnInfo, 2));
  EXPECT_FALSE(pa->getForm(kFormID_PA40, 1)->getField(PA40::kTotalTaxableIncome)->isOverridden());

  // A FIELD outside any RELATION is dropped by the next RELATION; one of a
  // form the forms-affected list does not name, of a field the form lacks,
  // or of a copy outside 1..65535 is written to the line but changes
  // nothing; an empty output gives an empty value.
  std::filesystem::remove(dir + "results.txt");
  put(kFormID_PA40, PA40::kNetCompensation, DataMgmt::FieldValue::null());
  std::string outOfRange;
  for (const char* copy : {"0", "-1", "65536", "65537", "99999999999999999999"}) {
    outOfRange += field("PA40", "F139", copy, "Input", copy);
  }
  run(field("PA40", "F139", "999", "Input") +
      relation(field("PAW2", "F25", "Acme", "Input") + outOfRange + field("PA40", "F99999", "1", "Input") +
               field("PA40", "F139", "", "Output")) +
      relation("<FIELD FORM=\"PA40\" COPY=\"1\" NAME=\"F139\" VALUE=\"12\"/>\n<FIELD FORM=\"PA40\" NAME=\"F139\" "
               "TYPE=\"Input\"/>\n"));  // missing attributes read as empty
  EXPECT_EQ(read("results.txt"), "Acme::0::-1::65536::65537::99999999999999999999::1::|[N]\n::12|[N]\n");
  EXPECT_TRUE(pa->isNull(kFormID_PA40, 1, PA40::kNetCompensation) && pa->isNull(kFormID_PAW2, 1, PAW2::kRowOwner.at(0)));
}

TEST_F(FieldRelationsTest, AFileWithoutADocumentElementChangesNothing) {
  run(relation(field("PA40", "F139", "&x;", "Input")), "<?xml version=\"1.0\"?>\n<!DOCTYPE RELATIONS [<!ENTITY x \"100\">]>\n");
  write("broken.xml", "<RELATIONS><RELATION>");
  for (const char* file : {"missing.xml", "broken.xml"}) {
    engine->loadInputXmlFile(dir + "forms.txt", dir + file, dir + "results.txt", pa.get(), kFormID_PAReturnInfo,
                             PAReturnInfo::kAutoTestInProgressBox);
  }
  EXPECT_FALSE(exists("results.txt"));
  EXPECT_EQ(engine->calls, std::vector<std::string>(3, "loadInputXmlFile"));  // no recalculation
  EXPECT_TRUE(pa->isNull(kFormID_PA40, 1, PA40::kNetCompensation));
}

}  // namespace
