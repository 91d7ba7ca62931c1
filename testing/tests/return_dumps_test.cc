// The XML dumps of the automated-test hooks: their exact layout, which
// fields they hold, that each parses back whatever the texts, the
// recalculation with the in-progress box marked, and the done box.
#include "host/business.h"
#include "host/xml.h"
#include "testing/auto_test_report.h"
#include "testing/tests/auto_test_fixture.h"

namespace {

using ReturnDumpsTest = AutoTestFixture;

// The field-values dump after the whole PA calculation, the all-fields and
// the cycle daemon's dumps after the engine's. Every copy has its FORM
// element, empty or not; values are trimmed and blank ones left out; what
// XML cannot hold becomes "?". The daemon's dump is the field-values one
// without ID lines, in directory + "\\" + name, this host's "/".
TEST_F(ReturnDumpsTest, TheThreeDumpsHaveTheirLayoutsAndParseBack) {
  const std::string label = "1 & <2> \"q\"", value = "<![CDATA[a]]]]><![CDATA[>b <&>? \xC3\xA9?]]>";
  BusinessMgmt::BusinessMgr::getInstance().setVersion(label);
  name("  a]]>b <&>\x01 \xC3\xA9\xFF ");
  put(kFormID_PAReturnInfo, PAReturnInfo::kSpouseFirstName, DataMgmt::FieldValue::ofText("    "));
  pa->getFormOrCreate(kFormID_PAW2, 2);
  bool outsideTheBox = false;
  engine->formula = [&](const FormId&, uint16_t) { outsideTheBox = outsideTheBox || !inProgress(); };
  engine->writeReturnXmlDump("PA", dir + "a\\b", pa.get(), kFormID_PAReturnInfo, PAReturnInfo::kAutoTestDoneBox,
                             PAReturnInfo::kAutoTestInProgressBox);
  put(kFormID_PAReturnInfo, PAReturnInfo::kAutoTestDoneBox, DataMgmt::FieldValue::null());
  engine->writeFieldValuesXml(dir + "values");
  engine->writeAllFieldsXml(dir + "all");
  EXPECT_EQ(engine->calls, (std::vector<std::string>{"calcReturn", "calcStateReturn", "calcStateReturn", "calcReturn",
                                                     "calcStateReturn"}));
  EXPECT_TRUE(done() && !inProgress() && !outsideTheBox);
  const std::string values = read("values/PAReturn.xml"), all = read("all/PAReturn.xml");
  const std::string head = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n\n<RETURN";
  EXPECT_EQ(values.rfind(head + " LABEL=\"1 &amp; &lt;2&gt; &quot;q&quot;\">\n<RETURNNAME><![CDATA[PAReturn]]>"
                                "</RETURNNAME>\n\t<FORM ", 0), 0u);
  EXPECT_NE(values.find("\t<FORM DEVNAME=\"PAW2\" COPY=\"1\">\n\t\t<BUSNAME><![CDATA[PA W-2]]></BUSNAME>\n\t</FORM>\n"
                        "\t<FORM DEVNAME=\"PAW2\" COPY=\"2\">\n"), std::string::npos);
  EXPECT_NE(values.find("\t\t\t<FIELD>\n\t\t\t\t<ID>31</ID>\n\t\t\t\t<NAME>kPARETURNINFO_F31</NAME>\n\t\t\t\t<LINENUM>F31"
                        "</LINENUM>\n\t\t\t\t<VALUE>" + value + "</VALUE>\n\t\t\t</FIELD>\n"), std::string::npos);
  EXPECT_EQ(all.rfind(head + ">\n\t<FORM DEVNAME=\"", 0), 0u);
  EXPECT_NE(all.find("\t\t<FIELD NAME=\"kPARETURNINFO_F31\">\n\t\t\t<VALUE>" + value + "</VALUE>\n\t\t</FIELD>\n"),
            std::string::npos);
  EXPECT_TRUE(all.find("<BUSNAME>") == std::string::npos && all.find("DEVNAME=\"PAW2\" COPY=\"2\"") != std::string::npos);
  std::string withoutIds;
  std::istringstream lines(values);
  for (std::string line; std::getline(lines, line);) withoutIds += line.find("<ID>") == std::string::npos ? line + "\n" : "";
  EXPECT_EQ(read("a/b/PAReturn.xml"), withoutIds);
  for (const char* file : {"values/PAReturn.xml", "all/PAReturn.xml"}) {
    EXPECT_TRUE(read(file).find("_F36") == std::string::npos && read(file).find("\t</FORM>\n</RETURN>\n") != std::string::npos);
    PersistanceMgmt::XmlTextReader reader;
    ASSERT_TRUE(reader.loadXml(IOMgmt::FileNamePtr(new IOMgmt::FileName(dir + file)))) << file;
    const XmlDom::XmlNodePtr root = reader.getXmlDocument()->getDocumentElement();
    EXPECT_EQ(root->getName() + (file[0] == 'a' ? label : root->getAttributes()->getNamedItem("LABEL")->getValue()),
              "RETURN" + label);
  }
}

// A dump or name list that cannot be written (its folder blocked by a
// file, a full disk) is reported and still marks the done box, as the
// test tools expect. A name list of a form name that names no form is an
// empty file.
TEST_F(ReturnDumpsTest, OutputsThatCannotBeWrittenAreReportedAndMarkTheDoneBox) {
  const AutoTestReport::Scope reporting;
  for (uint16_t copy = 1; copy <= 40; ++copy) pa->getFormOrCreate(kFormID_PAW2, copy);  // a dump of some size
  write("blocked", "a file where a folder should be");
  engine->writeAllFieldsXml(dir + "blocked");
  EXPECT_TRUE(done());
  put(kFormID_PAReturnInfo, PAReturnInfo::kAutoTestDoneBox, DataMgmt::FieldValue::null());
  {
    const FileSizeLimit limit(1024);
    engine->writeFieldValuesXml(dir + "values");
  }
  EXPECT_TRUE(done());
  EXPECT_EQ(read("OrvaneAutoTest_Report.txt"), "output " + dir + "blocked/PAReturn.xml: cannot be opened for writing\n"
                                               "output " + dir + "values/PAReturn.xml: could not be written whole\n");
  put(kFormID_PAReturnInfo, PAReturnInfo::kAutoTestDoneBox, DataMgmt::FieldValue::null());
  engine->writeFormFieldNames("NoSuchForm", "none.txt", dir + "names");
  EXPECT_TRUE(exists("names/none.txt") && read("names/none.txt").empty() && done());
}

}  // namespace
