// The XML dumps and field-name lists of the automated-test hooks: their
// exact layout, which fields they hold, the recalculation with the
// in-progress box marked, and the done box.
#include <string>

#include "host/business.h"
#include "host/descriptors.h"
#include "host/xml.h"
#include "testing/tests/auto_test_fixture.h"

namespace {

using DataMgmt::FormFieldDesc;
using DataMgmt::FormFieldDescPtr;

const Primitives::OVImmutableFormIdentifier kTestForm(500, true);
const Primitives::OVImmutableFormIdentifier kSecondForm(502, true);
const Primitives::OVImmutableIdentifier kText(1);
const Primitives::OVImmutableIdentifier kNumber(2);
const Primitives::OVImmutableIdentifier kDone(3);
const Primitives::OVImmutableIdentifier kInProgress(4);

// A small return: "Second" (registered first, so first in display order)
// and "TestForm" with a text, a number and the two boxes.
DataMgmt::TaxReturnDescPtr smallDescription() {
  DataMgmt::TaxFormDescPtr second(new DataMgmt::TaxFormDesc(kSecondForm, "Second", "Second Form"));
  second->addField(FormFieldDescPtr(
      new FormFieldDesc(kText, DataMgmt::kTextField, 80, 0, false, "kSECOND_F1", "F1")));
  DataMgmt::TaxFormDescPtr form(new DataMgmt::TaxFormDesc(kTestForm, "TestForm", "Test Form"));
  form->addField(FormFieldDescPtr(
      new FormFieldDesc(kText, DataMgmt::kTextField, 80, 0, false, "kTESTFORM_F1", "F1")));
  form->addField(FormFieldDescPtr(
      new FormFieldDesc(kNumber, DataMgmt::kNumberField, 15, 0, false, "kTESTFORM_F2", "F2")));
  form->addField(FormFieldDescPtr(
      new FormFieldDesc(kDone, DataMgmt::kCheckBoxField, 1, 0, false, "kTESTFORM_F3", "F3")));
  form->addField(FormFieldDescPtr(
      new FormFieldDesc(kInProgress, DataMgmt::kCheckBoxField, 1, 0, false, "kTESTFORM_F4", "F4")));
  DataMgmt::TaxReturnDescPtr desc(new DataMgmt::TaxReturnDesc(40, "PA", "Test", "", "Test"));
  desc->registerForm(second);
  desc->registerForm(form);
  return desc;
}

class ReturnDumpsTest : public AutoTestFixture {
 protected:
  // The dump parses as XML and its document element is RETURN.
  bool parsesAsReturn(const std::string& name) {
    PersistanceMgmt::XmlTextReader reader;
    if (!reader.loadXml(IOMgmt::FileNamePtr(new IOMgmt::FileName(dir + name)))) return false;
    return reader.getXmlDocument()->getDocumentElement()->getName() == "RETURN";
  }
  std::string expectedNames(const FormId& form) {
    std::string names;
    const DataMgmt::TaxFormDescPtr desc = pa->getTaxFormDescriptor(form);
    for (const FieldId& id : desc->fieldIds()) names += desc->getFieldDesc(id)->getSymbolicName() + "\n";
    return names;
  }
};

TEST_F(ReturnDumpsTest, TheCycleDaemonDumpHasItsExactLayout) {
  DataMgmt::TaxReturn small(smallDescription(), Utils::StringPool::shared());
  small.getFormOrCreate(kSecondForm, 1);
  DataMgmt::TaxFormPtr first = small.getFormOrCreate(kTestForm, 1);
  first->store(kText, DataMgmt::FieldValue::ofText("  Hello  "));
  first->store(kNumber, DataMgmt::FieldValue::of(12));
  small.getFormOrCreate(kTestForm, 2)->store(kText, DataMgmt::FieldValue::ofText("   "));
  bool recalculatedInProgress = false;
  engine->formula = [&](const FormId&, uint16_t) {
    recalculatedInProgress = recalculatedInProgress || small.formYes(kTestForm, 1, kInProgress);
  };

  engine->writeReturnXmlDump("PA", dir + "daemon", &small, kTestForm, kDone, kInProgress);

  EXPECT_EQ(read("daemon/PAReturn.xml"),
            "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
            "\n"
            "<RETURN LABEL=\"1.0\">\n"
            "<RETURNNAME><![CDATA[PAReturn]]></RETURNNAME>\n"
            "\t<FORM DEVNAME=\"Second\" COPY=\"1\">\n"
            "\t\t<BUSNAME><![CDATA[Second Form]]></BUSNAME>\n"
            "\t</FORM>\n"
            "\t<FORM DEVNAME=\"TestForm\" COPY=\"1\">\n"
            "\t\t<BUSNAME><![CDATA[Test Form]]></BUSNAME>\n"
            "\t\t\t<FIELD>\n"
            "\t\t\t\t<NAME>kTESTFORM_F1</NAME>\n"
            "\t\t\t\t<LINENUM>F1</LINENUM>\n"
            "\t\t\t\t<VALUE><![CDATA[Hello]]></VALUE>\n"
            "\t\t\t</FIELD>\n"
            "\t\t\t<FIELD>\n"
            "\t\t\t\t<NAME>kTESTFORM_F2</NAME>\n"
            "\t\t\t\t<LINENUM>F2</LINENUM>\n"
            "\t\t\t\t<VALUE><![CDATA[12]]></VALUE>\n"
            "\t\t\t</FIELD>\n"
            "\t</FORM>\n"
            "\t<FORM DEVNAME=\"TestForm\" COPY=\"2\">\n"
            "\t\t<BUSNAME><![CDATA[Test Form]]></BUSNAME>\n"
            "\t</FORM>\n"
            "</RETURN>\n");
  EXPECT_EQ(engine->calls, (std::vector<std::string>{"calcReturn", "calcStateReturn"}));
  EXPECT_TRUE(recalculatedInProgress);
  EXPECT_TRUE(small.formNo(kTestForm, 1, kInProgress));
  EXPECT_TRUE(small.formYes(kTestForm, 1, kDone));
}

// Directory and name are joined with a backslash, this host's "/": the dump
// lands inside the directory however its separators are written.
TEST_F(ReturnDumpsTest, TheCycleDaemonDumpLandsInsideItsDirectory) {
  engine->setReturnName("Smith");
  engine->writeReturnXmlDump("PA", dir + "a\\b", pa.get(), kFormID_PAReturnInfo, doneBox(), inProgressBox());
  EXPECT_TRUE(exists("a/b/Smith.xml"));
  engine->writeReturnXmlDump("PA", dir + "c/d", pa.get(), kFormID_PAReturnInfo, doneBox(), inProgressBox());
  EXPECT_TRUE(exists("c/d/Smith.xml"));
  EXPECT_NE(read("c/d/Smith.xml").find("<RETURNNAME><![CDATA[Smith]]></RETURNNAME>\n"), std::string::npos);
}

TEST_F(ReturnDumpsTest, TheFieldValuesDumpListsIdNameLineAndValue) {
  text(kFormID_PAReturnInfo, taxpayerName(), "Jane");
  text(kFormID_PAReturnInfo, spouseName(), "    ");
  BusinessMgmt::BusinessMgr::getInstance().setVersion("2.5");
  engine->writeFieldValuesXml(dir + "values");

  const std::string dump = read("values/PAReturn.xml");
  EXPECT_EQ(dump.rfind("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n\n<RETURN LABEL=\"2.5\">\n"
                       "<RETURNNAME><![CDATA[PAReturn]]></RETURNNAME>\n\t<FORM DEVNAME=\"",
                       0),
            0u);
  EXPECT_NE(dump.find("\t<FORM DEVNAME=\"PARETURNINFO\" COPY=\"1\">\n\t\t<BUSNAME><![CDATA["),
            std::string::npos);
  EXPECT_NE(dump.find("\t\t\t<FIELD>\n\t\t\t\t<ID>31</ID>\n\t\t\t\t<NAME>kPARETURNINFO_F31</NAME>\n"
                      "\t\t\t\t<LINENUM>F31</LINENUM>\n\t\t\t\t<VALUE><![CDATA[Jane]]></VALUE>\n"
                      "\t\t\t</FIELD>\n"),
            std::string::npos);
  EXPECT_EQ(dump.find("kPARETURNINFO_F36"), std::string::npos);  // blanks only
  EXPECT_EQ(dump.substr(dump.size() - 19), "\t</FORM>\n</RETURN>\n");
  EXPECT_TRUE(parsesAsReturn("values/PAReturn.xml"));
  EXPECT_EQ(engine->calls, std::vector<std::string>{"calcStateReturn"});
  EXPECT_TRUE(done());
  EXPECT_FALSE(inProgress());
}

TEST_F(ReturnDumpsTest, TheAllFieldsDumpListsNamesAndValuesOnly) {
  text(kFormID_PAReturnInfo, taxpayerName(), "Jane");
  engine->writeAllFieldsXml(dir + "all");

  const std::string dump = read("all/PAReturn.xml");
  EXPECT_EQ(dump.rfind("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n\n<RETURN>\n\t<FORM DEVNAME=\"", 0), 0u);
  EXPECT_NE(dump.find("\t<FORM DEVNAME=\"PARETURNINFO\" COPY=\"1\">\n"), std::string::npos);
  EXPECT_NE(dump.find("\t\t<FIELD NAME=\"kPARETURNINFO_F31\">\n\t\t\t<VALUE><![CDATA[Jane]]></VALUE>\n"
                      "\t\t</FIELD>\n"),
            std::string::npos);
  EXPECT_EQ(dump.find("<BUSNAME>"), std::string::npos);
  EXPECT_EQ(dump.find("<ID>"), std::string::npos);
  EXPECT_EQ(dump.find("LABEL="), std::string::npos);
  EXPECT_TRUE(parsesAsReturn("all/PAReturn.xml"));
  EXPECT_EQ(engine->calls, (std::vector<std::string>{"calcReturn", "calcStateReturn"}));
  EXPECT_TRUE(done());
}

// A value holding "]]>" would end its CDATA section early and spoil the
// file; it is split across two sections instead.
TEST_F(ReturnDumpsTest, AValueHoldingACdataEndStaysWellFormed) {
  text(kFormID_PAReturnInfo, taxpayerName(), "a]]>b <&>");
  engine->writeFieldValuesXml(dir + "values");
  EXPECT_NE(read("values/PAReturn.xml").find("<VALUE><![CDATA[a]]]]><![CDATA[>b <&>]]></VALUE>"),
            std::string::npos);
  EXPECT_TRUE(parsesAsReturn("values/PAReturn.xml"));
}

TEST_F(ReturnDumpsTest, TheAllNamesListHoldsEveryFieldInDisplayOrder) {
  engine->writeAllFieldNames("names.txt", dir + "names");
  std::string expected;
  for (const DataMgmt::TaxFormDescPtr& form : pa->getTaxReturnDesc()->getTaxFormDescriptorsInDisplayOrder()) {
    expected += expectedNames(form->getTypeID());
  }
  EXPECT_EQ(read("names/names.txt"), expected);
  EXPECT_TRUE(done());
  EXPECT_TRUE(engine->calls.empty());
}

TEST_F(ReturnDumpsTest, TheSingleFormListFindsTheFormInAnyCase) {
  engine->writeFormFieldNames("pa40", "lower.txt", dir + "names");
  engine->writeFormFieldNames("PA40", "upper.txt", dir + "names");
  EXPECT_EQ(read("names/lower.txt"), expectedNames(kFormID_PA40));
  EXPECT_EQ(read("names/upper.txt"), expectedNames(kFormID_PA40));
  EXPECT_EQ(read("names/lower.txt").rfind("kPA40_F303\n", 0), 0u);
  EXPECT_TRUE(done());

  info()->setXNo(doneBox());
  engine->writeFormFieldNames("NoSuchForm", "none.txt", dir + "names");
  EXPECT_TRUE(exists("names/none.txt"));
  EXPECT_EQ(read("names/none.txt"), "");
  EXPECT_TRUE(done());
}

TEST_F(ReturnDumpsTest, TheNameMapsCoverEveryFormAndField) {
  StateCalculationMgmt::FormNameMap forms;
  StateCalculationMgmt::FieldNameMap fields;
  engine->buildAutoTestNameMaps(forms, fields);
  EXPECT_EQ(forms.size(), pa->getTaxReturnDesc()->getTaxFormDescriptors().size());
  ASSERT_EQ(forms.count("PA40"), 1u);
  EXPECT_TRUE(forms.at("PA40") == kFormID_PA40);
  ASSERT_EQ(fields.count("kPA40_F11"), 1u);
  EXPECT_EQ(fields.at("kPA40_F11").getNumber(), 11);
  EXPECT_EQ(fields.at("kPARETURNINFO_F81567").getNumber(), 81567);
}

}  // namespace
