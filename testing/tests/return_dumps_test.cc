// The XML dumps and field-name lists of the automated-test hooks: their
// exact layout, which fields they hold, the recalculation with the
// in-progress box marked, and the done box.
#include <string>

#include "host/business.h"
#include "host/descriptors.h"
#include "host/xml.h"
#include "testing/tests/auto_test_fixture.h"

namespace {

class ReturnDumpsTest : public AutoTestFixture {
 protected:
  // The dump parses as XML and its document element is RETURN.
  bool parsesAsReturn(const std::string& file) {
    PersistanceMgmt::XmlTextReader reader;
    return reader.loadXml(IOMgmt::FileNamePtr(new IOMgmt::FileName(dir + file))) &&
           reader.getXmlDocument()->getDocumentElement()->getName() == "RETURN";
  }
  std::string namesOf(const FormId& form) {
    std::string names;
    const DataMgmt::TaxFormDescPtr desc = pa->getTaxFormDescriptor(form);
    for (const FieldId& id : desc->fieldIds()) names += desc->getFieldDesc(id)->getSymbolicName() + "\n";
    return names;
  }
};

// A small return: "Second" (registered first, so first in display order)
// and "TestForm" with a text, a number and the two boxes.
TEST_F(ReturnDumpsTest, TheCycleDaemonDumpHasItsExactLayout) {
  const FormId testForm(500, true), secondForm(502, true);
  const FieldId kText(1), kNumber(2), kDone(3), kInProgress(4);
  DataMgmt::TaxFormDescPtr second(new DataMgmt::TaxFormDesc(secondForm, "Second", "Second Form"));
  DataMgmt::TaxFormDescPtr form(new DataMgmt::TaxFormDesc(testForm, "TestForm", "Test Form"));
  second->addField(DataMgmt::FormFieldDescPtr(
      new DataMgmt::FormFieldDesc(kText, DataMgmt::kTextField, 80, 0, false, "kSECOND_F1", "F1")));
  const DataMgmt::FieldKind kinds[] = {DataMgmt::kTextField, DataMgmt::kNumberField, DataMgmt::kCheckBoxField,
                                       DataMgmt::kCheckBoxField};
  for (int f = 1; f <= 4; ++f) {
    form->addField(DataMgmt::FormFieldDescPtr(new DataMgmt::FormFieldDesc(
        FieldId(f), kinds[f - 1], 80, 0, false, "kTESTFORM_F" + std::to_string(f), "F" + std::to_string(f))));
  }
  DataMgmt::TaxReturnDescPtr desc(new DataMgmt::TaxReturnDesc(40, "PA", "Test", "", "Test"));
  desc->registerForm(second);
  desc->registerForm(form);
  DataMgmt::TaxReturn small(desc, Utils::StringPool::shared());
  small.getFormOrCreate(secondForm, 1);
  small.getFormOrCreate(testForm, 1)->store(kText, DataMgmt::FieldValue::ofText("  Hello  "));
  small.getFormOrCreate(testForm, 1)->store(kNumber, DataMgmt::FieldValue::of(12));
  small.getFormOrCreate(testForm, 2)->store(kText, DataMgmt::FieldValue::ofText("   "));
  bool recalculatedInProgress = false;
  engine->formula = [&](const FormId&, uint16_t) {
    recalculatedInProgress = recalculatedInProgress || small.formYes(testForm, 1, kInProgress);
  };
  engine->writeReturnXmlDump("PA", dir + "daemon", &small, testForm, kDone, kInProgress);
  EXPECT_EQ(read("daemon/PAReturn.xml"),
            "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n\n<RETURN LABEL=\"1.0\">\n"
            "<RETURNNAME><![CDATA[PAReturn]]></RETURNNAME>\n"
            "\t<FORM DEVNAME=\"Second\" COPY=\"1\">\n\t\t<BUSNAME><![CDATA[Second Form]]></BUSNAME>\n\t</FORM>\n"
            "\t<FORM DEVNAME=\"TestForm\" COPY=\"1\">\n\t\t<BUSNAME><![CDATA[Test Form]]></BUSNAME>\n"
            "\t\t\t<FIELD>\n\t\t\t\t<NAME>kTESTFORM_F1</NAME>\n\t\t\t\t<LINENUM>F1</LINENUM>\n"
            "\t\t\t\t<VALUE><![CDATA[Hello]]></VALUE>\n\t\t\t</FIELD>\n"
            "\t\t\t<FIELD>\n\t\t\t\t<NAME>kTESTFORM_F2</NAME>\n\t\t\t\t<LINENUM>F2</LINENUM>\n"
            "\t\t\t\t<VALUE><![CDATA[12]]></VALUE>\n\t\t\t</FIELD>\n\t</FORM>\n"
            "\t<FORM DEVNAME=\"TestForm\" COPY=\"2\">\n\t\t<BUSNAME><![CDATA[Test Form]]></BUSNAME>\n\t</FORM>\n"
            "</RETURN>\n");
  EXPECT_EQ(engine->calls, (std::vector<std::string>{"calcReturn", "calcStateReturn"}));
  EXPECT_TRUE(recalculatedInProgress && small.formNo(testForm, 1, kInProgress) && small.formYes(testForm, 1, kDone));

  // Directory and name are joined with a backslash, this host's "/": the
  // dump lands inside the directory however its separators are written.
  engine->setReturnName("Smith");
  engine->writeReturnXmlDump("PA", dir + "a\\b", pa.get(), kFormID_PAReturnInfo, PAReturnInfo::kAutoTestDoneBox,
                             PAReturnInfo::kAutoTestInProgressBox);
  EXPECT_NE(read("a/b/Smith.xml").find("<RETURNNAME><![CDATA[Smith]]></RETURNNAME>\n"), std::string::npos);
}

TEST_F(ReturnDumpsTest, TheFieldValuesAndAllFieldsDumps) {
  name("a]]>b <&>");  // the CDATA end is split across two sections
  put(kFormID_PAReturnInfo, PAReturnInfo::kSpouseFirstName, DataMgmt::FieldValue::ofText("    "));
  BusinessMgmt::BusinessMgr::getInstance().setVersion("2.5");
  engine->writeFieldValuesXml(dir + "values");
  const std::string values = read("values/PAReturn.xml");
  EXPECT_EQ(values.rfind("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n\n<RETURN LABEL=\"2.5\">\n"
                         "<RETURNNAME><![CDATA[PAReturn]]></RETURNNAME>\n\t<FORM DEVNAME=\"", 0), 0u);
  EXPECT_NE(values.find("\t<FORM DEVNAME=\"PARETURNINFO\" COPY=\"1\">\n\t\t<BUSNAME><![CDATA["), std::string::npos);
  EXPECT_NE(values.find("\t\t\t<FIELD>\n\t\t\t\t<ID>31</ID>\n\t\t\t\t<NAME>kPARETURNINFO_F31</NAME>\n"
                        "\t\t\t\t<LINENUM>F31</LINENUM>\n\t\t\t\t<VALUE><![CDATA[a]]]]><![CDATA[>b <&>]]></VALUE>\n"
                        "\t\t\t</FIELD>\n"),
            std::string::npos);
  EXPECT_EQ(values.find("kPARETURNINFO_F36"), std::string::npos);  // blanks only
  EXPECT_EQ(values.substr(values.size() - 19), "\t</FORM>\n</RETURN>\n");
  EXPECT_TRUE(parsesAsReturn("values/PAReturn.xml"));
  EXPECT_EQ(engine->calls, std::vector<std::string>{"calcStateReturn"});
  EXPECT_TRUE(done() && !inProgress());

  name("Jane");
  engine->writeAllFieldsXml(dir + "all");
  const std::string all = read("all/PAReturn.xml");
  EXPECT_EQ(all.rfind("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n\n<RETURN>\n\t<FORM DEVNAME=\"", 0), 0u);
  EXPECT_NE(all.find("\t<FORM DEVNAME=\"PARETURNINFO\" COPY=\"1\">\n"), std::string::npos);
  EXPECT_NE(all.find("\t\t<FIELD NAME=\"kPARETURNINFO_F31\">\n\t\t\t<VALUE><![CDATA[Jane]]></VALUE>\n\t\t</FIELD>\n"),
            std::string::npos);
  for (const char* absent : {"<BUSNAME>", "<ID>", "LABEL="}) EXPECT_EQ(all.find(absent), std::string::npos);
  EXPECT_TRUE(parsesAsReturn("all/PAReturn.xml"));
}

TEST_F(ReturnDumpsTest, FieldNameListsAndMaps) {
  engine->writeAllFieldNames("names.txt", dir + "names");
  std::string expected;
  for (const auto& form : pa->getTaxReturnDesc()->getTaxFormDescriptorsInDisplayOrder()) {
    expected += namesOf(form->getTypeID());
  }
  EXPECT_EQ(read("names/names.txt"), expected);
  EXPECT_TRUE(done() && engine->calls.empty());
  info()->setXNo(PAReturnInfo::kAutoTestDoneBox);
  engine->writeFormFieldNames("pa40", "pa40.txt", dir + "names");  // any case
  EXPECT_EQ(read("names/pa40.txt"), namesOf(kFormID_PA40));
  EXPECT_EQ(read("names/pa40.txt").rfind("kPA40_F303\n", 0), 0u);
  EXPECT_TRUE(done());
  engine->writeFormFieldNames("NoSuchForm", "none.txt", dir + "names");
  EXPECT_TRUE(exists("names/none.txt") && read("names/none.txt").empty());

  StateCalculationMgmt::FormNameMap forms;
  StateCalculationMgmt::FieldNameMap fields;
  engine->buildAutoTestNameMaps(forms, fields);
  EXPECT_EQ(forms.size(), pa->getTaxReturnDesc()->getTaxFormDescriptors().size());
  EXPECT_TRUE(forms.count("PA40") == 1 && forms.at("PA40") == kFormID_PA40);
  EXPECT_EQ(fields.at("kPARETURNINFO_F81567").getNumber(), PAReturnInfo::kAutoTestDoneBox.number());
}

}  // namespace
