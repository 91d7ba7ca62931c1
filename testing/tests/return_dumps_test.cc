// The XML dumps and field-name lists of the automated-test hooks: their
// exact layout, which fields they hold, that each parses back, the
// recalculation with the in-progress box marked, and the done box.
#include "host/business.h"
#include "host/descriptors.h"
#include "host/xml.h"
#include "testing/tests/auto_test_fixture.h"

namespace {

class ReturnDumpsTest : public AutoTestFixture {
 protected:
  // The dump's document element, parsed by the host's XML reader.
  XmlDom::XmlNodePtr parse(const std::string& file) {
    PersistanceMgmt::XmlTextReader reader;
    EXPECT_TRUE(reader.loadXml(IOMgmt::FileNamePtr(new IOMgmt::FileName(dir + file)))) << file;
    return reader.getXmlDocument() == nullptr ? XmlDom::XmlNodePtr() : reader.getXmlDocument()->getDocumentElement();
  }
  std::string namesOf(const FormId& form) {
    std::string names;
    const DataMgmt::TaxFormDescPtr desc = pa->getTaxFormDescriptor(form);
    for (const FieldId& id : desc->fieldIds()) names += desc->getFieldDesc(id)->getSymbolicName() + "\n";
    return names;
  }
};

// A small return (cycle_daemon_dump.xml): "Second" (registered first, so
// first in display order) with an empty copy, and "TestForm" with a
// trimmed text, a number, a copy of blanks only and the two boxes.
TEST_F(ReturnDumpsTest, TheCycleDaemonDumpHasItsExactLayout) {
  const FormId testForm(500, true), secondForm(502, true);
  const FieldId kText(1), kNumber(2), kDone(3), kInProgress(4);
  DataMgmt::TaxReturnDescPtr desc(new DataMgmt::TaxReturnDesc(40, "PA", "Test", "", "Test"));
  const DataMgmt::FieldKind kinds[] = {DataMgmt::kTextField, DataMgmt::kNumberField, DataMgmt::kCheckBoxField,
                                       DataMgmt::kCheckBoxField};
  for (const FormId& type : {secondForm, testForm}) {
    const std::string dev = type == testForm ? "TestForm" : "Second", prefix = "k" + dev + "_F";
    DataMgmt::TaxFormDescPtr form(new DataMgmt::TaxFormDesc(type, dev, dev + " Form"));
    for (int f = 1; f <= (type == testForm ? 4 : 1); ++f) {
      form->addField(DataMgmt::FormFieldDescPtr(new DataMgmt::FormFieldDesc(
          FieldId(f), kinds[f - 1], 80, 0, false, prefix + std::to_string(f), "F" + std::to_string(f))));
    }
    desc->registerForm(form);
  }
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
  std::stringstream golden;
  golden << std::ifstream(TESTING_TEST_DIR "/cycle_daemon_dump.xml").rdbuf();
  EXPECT_EQ(read("daemon/PAReturn.xml"), golden.str());
  EXPECT_EQ(engine->calls, (std::vector<std::string>{"calcReturn", "calcStateReturn"}));
  EXPECT_TRUE(recalculatedInProgress && small.formNo(testForm, 1, kInProgress) && small.formYes(testForm, 1, kDone));

  // Directory and name are joined with this host's separator: the dump
  // lands inside the directory however its separators are written.
  engine->setReturnName("Smith");
  engine->writeReturnXmlDump("PA", dir + "a\\b", pa.get(), kFormID_PAReturnInfo, PAReturnInfo::kAutoTestDoneBox,
                             PAReturnInfo::kAutoTestInProgressBox);
  EXPECT_NE(read("a/b/Smith.xml").find("<RETURNNAME><![CDATA[Smith]]></RETURNNAME>\n"), std::string::npos);
}

TEST_F(ReturnDumpsTest, TheFieldValuesAndAllFieldsDumps) {
  name("Jane");
  put(kFormID_PAReturnInfo, PAReturnInfo::kSpouseFirstName, DataMgmt::FieldValue::ofText("    "));
  engine->writeFieldValuesXml(dir + "values");
  const std::string values = read("values/PAReturn.xml");
  EXPECT_EQ(values.rfind("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n\n<RETURN LABEL=\"1.0\">\n"
                         "<RETURNNAME><![CDATA[PAReturn]]></RETURNNAME>\n\t<FORM DEVNAME=\"", 0), 0u);
  EXPECT_NE(values.find("\t<FORM DEVNAME=\"PARETURNINFO\" COPY=\"1\">\n\t\t<BUSNAME><![CDATA["), std::string::npos);
  EXPECT_NE(values.find("\t\t\t<FIELD>\n\t\t\t\t<ID>31</ID>\n\t\t\t\t<NAME>kPARETURNINFO_F31</NAME>\n"
                        "\t\t\t\t<LINENUM>F31</LINENUM>\n\t\t\t\t<VALUE><![CDATA[Jane]]></VALUE>\n\t\t\t</FIELD>\n"),
            std::string::npos);
  EXPECT_EQ(values.find("kPARETURNINFO_F36"), std::string::npos);  // blanks only
  EXPECT_EQ(values.substr(values.size() - 19), "\t</FORM>\n</RETURN>\n");
  EXPECT_EQ(engine->calls, std::vector<std::string>{"calcStateReturn"});
  EXPECT_TRUE(done() && !inProgress());

  engine->writeAllFieldsXml(dir + "all");
  const std::string all = read("all/PAReturn.xml");
  EXPECT_EQ(all.rfind("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n\n<RETURN>\n\t<FORM DEVNAME=\"", 0), 0u);
  EXPECT_NE(all.find("\t<FORM DEVNAME=\"PARETURNINFO\" COPY=\"1\">\n"), std::string::npos);
  EXPECT_NE(all.find("\t\t<FIELD NAME=\"kPARETURNINFO_F31\">\n\t\t\t<VALUE><![CDATA[Jane]]></VALUE>\n\t\t</FIELD>\n"),
            std::string::npos);
  for (const char* absent : {"<BUSNAME>", "<ID>", "LABEL="}) EXPECT_EQ(all.find(absent), std::string::npos);
}

// Whatever a value, the version label or a name holds, each dump parses
// back with the XML library and gives the text back ("?" in place of what
// XML cannot hold).
TEST_F(ReturnDumpsTest, EveryDumpParsesBackWhateverTheTexts) {
  const std::string label = "1 & <2> \"q\"";
  name("a]]>b <&>\x01 \xC3\xA9\xFF");
  BusinessMgmt::BusinessMgr::getInstance().setVersion(label);
  engine->writeFieldValuesXml(dir + "values");
  engine->writeAllFieldsXml(dir + "all");
  engine->writeReturnXmlDump("PA", dir + "daemon", pa.get(), kFormID_PAReturnInfo, PAReturnInfo::kAutoTestDoneBox,
                             PAReturnInfo::kAutoTestInProgressBox);
  EXPECT_NE(read("values/PAReturn.xml").find("LABEL=\"1 &amp; &lt;2&gt; &quot;q&quot;\""), std::string::npos);
  for (const char* file : {"values/PAReturn.xml", "all/PAReturn.xml", "daemon/PAReturn.xml"}) {
    const XmlDom::XmlNodePtr root = parse(file);
    ASSERT_FALSE(root.isNull());
    EXPECT_EQ(root->getName(), "RETURN");
    if (file[0] != 'a') {
      EXPECT_EQ(root->getAttributes()->getNamedItem("LABEL")->getValue(), label);
    }
    EXPECT_NE(read(file).find("<![CDATA[a]]]]><![CDATA[>b <&>? \xC3\xA9?]]>"), std::string::npos) << file;
  }
}

// The done box is marked even when the file could not be written (kept as
// designed); nothing fails.
TEST_F(ReturnDumpsTest, TheDoneBoxIsMarkedEvenWhenTheFileCannotBeWritten) {
  write("blocked", "a file where the directory should be");
  engine->writeFieldValuesXml(dir + "blocked");
  EXPECT_TRUE(done() && !exists("blocked/PAReturn.xml"));
}

TEST_F(ReturnDumpsTest, FieldNameLists) {
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
  EXPECT_TRUE(done());
  engine->writeFormFieldNames("NoSuchForm", "none.txt", dir + "names");
  EXPECT_TRUE(exists("names/none.txt") && read("names/none.txt").empty());
}

}  // namespace
