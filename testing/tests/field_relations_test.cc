// Field relations: inputs set, the return recalculated twice with the
// in-progress box marked, and one results line per RELATION.
#include <string>

#include "testing/tests/auto_test_fixture.h"

namespace {

class FieldRelationsTest : public AutoTestFixture {
 protected:
  void SetUp() override {
    AutoTestFixture::SetUp();
    write("forms.txt", "pa40\nPAReturnInfo\nnot a form\n");
    // The probe's only calculation: PA-40 line 138 is half of line 11.
    engine->formula = [this](const FormId& form, uint16_t copy) {
      if (!(form == kFormID_PA40) || copy != 1) return;
      ++recalculations;
      if (!inProgress()) recalculatedOutsideTheBox = true;
      DataMgmt::TaxForm* pa40 = pa->getForm(kFormID_PA40, 1);
      pa40->assignIR(pa40Line(138), pa40->getIR(pa40Line(11)) / 2);
    };
  }
  // Runs a relations file made of `relations` inside <RELATIONS>.
  void run(const std::string& relations) {
    write("relations.xml", "<?xml version=\"1.0\"?>\n<RELATIONS>\n" + relations + "</RELATIONS>\n");
    runFile("relations.xml");
  }
  void runFile(const std::string& name) {
    engine->loadInputXmlFile(dir + "forms.txt", dir + name, dir + "results.txt", pa.get(),
                             kFormID_PAReturnInfo, inProgressBox());
  }
  static std::string field(const std::string& form, const std::string& name, const std::string& value,
                           const std::string& type, const std::string& copy = "1") {
    return "<FIELD FORM=\"" + form + "\" COPY=\"" + copy + "\" NAME=\"" + name + "\" VALUE=\"" + value +
           "\" TYPE=\"" + type + "\"/>\n";
  }
  static std::string relation(const std::string& fields) { return "<RELATION>\n" + fields + "</RELATION>\n"; }

  int recalculations = 0;
  bool recalculatedOutsideTheBox = false;
};

TEST_F(FieldRelationsTest, OneInputAndOneOutputMakeOneLine) {
  run(relation(field("PA40", "F11", "100", "Input") + field("PA40", "F138", "50", "Output")));
  EXPECT_EQ(read("results.txt"), "100::50|50[N]\n");
  EXPECT_EQ(pa->getIN(kFormID_PA40, 1, pa40Line(11)), 100);
  // Two whole calculations, each reaching PA-40 copy 1 five times, all
  // inside the in-progress box.
  EXPECT_EQ(engine->calls, (std::vector<std::string>{"loadInputXmlFile", "calcReturn", "calcStateReturn",
                                                     "calcReturn", "calcStateReturn"}));
  EXPECT_EQ(recalculations, 10);
  EXPECT_FALSE(recalculatedOutsideTheBox);
  EXPECT_TRUE(pa->formNo(kFormID_PAReturnInfo, 1, inProgressBox()));
}

TEST_F(FieldRelationsTest, ARelationWithoutInputsStartsWithTheFirstExpectedValue) {
  text(kFormID_PAReturnInfo, taxpayerName(), "  Jane ");
  run(relation(field("PAReturnInfo", "F31", "Jane", "Output") +
               field("PAReturnInfo", "F36", "Joe", "Output") +
               field("PAReturnInfo", "F47", "X", "Output")));
  // Values trimmed; an empty field gives an empty actual value; kinds T and B.
  EXPECT_EQ(read("results.txt"), "Jane|Jane[T]::Joe|[T]::X|[B]\n");
}

TEST_F(FieldRelationsTest, OnlyInputAndInputOverrideAreInputs) {
  run(relation(field("PA40", "F11", "100", "input") + field("PA40", "F138", "9", "INPUT")));
  EXPECT_EQ(read("results.txt"), "100|[N]::9|0[N]\n");
  EXPECT_TRUE(pa->isNull(kFormID_PA40, 1, pa40Line(11)));
}

TEST_F(FieldRelationsTest, AnOverriddenInputKeepsItsValueThroughTheRecalculation) {
  run(relation(field("PA40", "F11", "100", "Input") + field("PA40", "F138", "7", "InputOverride") +
               field("PA40", "F138", "50", "Output")));
  EXPECT_EQ(read("results.txt"), "100::7::50|7[N]\n");
  DataMgmt::TaxForm* pa40 = pa->getForm(kFormID_PA40, 1);
  EXPECT_FALSE(pa40->getField(pa40Line(138))->isOverridden());
  EXPECT_EQ(pa->getIN(kFormID_PA40, 1, pa40Line(138)), 7);
}

TEST_F(FieldRelationsTest, EachRunAppendsItsLines) {
  const std::string relations = relation(field("PA40", "F11", "100", "Input") + field("PA40", "F138", "50", "Output")) +
                                relation(field("PA40", "F11", "30", "Input") + field("PA40", "F138", "15", "Output"));
  run(relations);
  run(relations);
  EXPECT_EQ(read("results.txt"), "100::50|50[N]\n30::15|15[N]\n100::50|50[N]\n30::15|15[N]\n");
}

// A FIELD outside any RELATION is collected and then dropped by the next
// RELATION. A FIELD of a form the forms-affected list does not name, of a
// field the form lacks, or of a copy number beyond range is written to the
// line but changes no field.
TEST_F(FieldRelationsTest, FieldsOutsideRelationsAndUnknownNamesChangeNothing) {
  run(field("PA40", "F11", "999", "Input") +
      relation(field("PAW2", "F25", "Acme", "Input") + field("PA40", "F11", "5", "Input", "65537") +
               field("PA40", "F99999", "1", "Input") + field("PA40", "F11", "", "Output")));
  EXPECT_EQ(read("results.txt"), "Acme::5::1::|[N]\n");
  EXPECT_TRUE(pa->isNull(kFormID_PA40, 1, pa40Line(11)));
  EXPECT_TRUE(pa->isNull(kFormID_PAW2, 1, kPAW2FieldIds.byNumber(25)));
}

TEST_F(FieldRelationsTest, AMissingAttributeReadsAsEmpty) {
  run(relation("<FIELD FORM=\"PA40\" COPY=\"1\" NAME=\"F11\" VALUE=\"12\"/>\n"
               "<FIELD FORM=\"PA40\" NAME=\"F11\" TYPE=\"Input\"/>\n"));
  EXPECT_EQ(read("results.txt"), "::12|[N]\n");
}

TEST_F(FieldRelationsTest, AFileWithoutADocumentElementChangesNothing) {
  write("doctype.xml", "<?xml version=\"1.0\"?>\n<!DOCTYPE RELATIONS [<!ENTITY x \"100\">]>\n<RELATIONS>" +
                           relation(field("PA40", "F11", "&x;", "Input")) + "</RELATIONS>\n");
  runFile("doctype.xml");
  runFile("missing.xml");
  write("broken.xml", "<RELATIONS><RELATION>");
  runFile("broken.xml");
  EXPECT_FALSE(exists("results.txt"));
  EXPECT_EQ(engine->calls, std::vector<std::string>(3, "loadInputXmlFile"));  // no recalculation
  EXPECT_TRUE(pa->isNull(kFormID_PA40, 1, pa40Line(11)));
}

}  // namespace
