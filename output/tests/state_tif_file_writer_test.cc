// The state layer of the data-file writer: the whole-file write and its
// update; the header-form conversions, authentication header, record heads
// and percent values, each case's result under its title in
// golden/header_fields.txt; and the golden data files of an example return.
#include "calc/state/state_tax_return_calc_engine.h"
#include "entry/module_entry.h"
#include "host/system_mgr.h"
#include "output/pa_tax_form_printer.h"
#include "output/tests/state_tif_writer_fixture.h"
#include "pahost/federal_items.h"

namespace state_tif_test {
namespace {

using TifWriteMgmt::TifFileWriter;
const char kTwoEFileRecords[] = "D SYPCRTN    001 X T 1|D SYSTRTN    001 X T 1|";

class WholeFileTest : public StateTifWriterTest {
 protected:
  void SetUp() override {
    StateTifWriterTest::SetUp();
    writeFile("1.tif",
              "Y 2018\nD FDSOMETHING 001\n00001.000.001 SKIPPED\nD FDF1040   001 X T 1\n00001.000.001 FEDERAL\n");
    text(kFormID_Fed131, Fed131::kStateReturnChoice, "3");
  }
  std::string written() { return bytesOf(path("40.tif")); }
  // The record heads of the data file.
  std::string heads() {
    std::istringstream in(written());
    std::string found;
    for (std::string line; std::getline(in, line);) found += line.compare(0, 2, "D ") == 0 ? line + "|" : "";
    return found;
  }
};

TEST_F(WholeFileTest, FreshWriteHasTheHeaderTwoEFileRecordsAndTheFederalData) {
  writer->throwAtField = Fed131::kStateReturnChoice.number();  // the hook's exception is dropped
  ASSERT_TRUE(writer->writeTifFile(1, 40));
  EXPECT_EQ(0u, written().find("Y 2018\nP Orvane\nV FD: 2018.0 PA: 1.0\nT \nS SY\nS PA\nS FD\nD SYPCRTN    001"));
  EXPECT_EQ(std::string(kTwoEFileRecords) + "D FDF1040   001 X T 1|", heads());
  EXPECT_EQ(Fed131FieldIds::size() + 9, writer->headerFields);  // the second record's fields only
  EXPECT_EQ(2, occurrences(written(), "\n00106.000.001 3\n"));  // in both records
  // The direct deposit form's copy 1 is made and printed for the file; then
  // its print flag is back.
  ASSERT_TRUE(pa->formExists(kFormID_PADirectDepositDebit, 1));
  EXPECT_FALSE(pa->getForm(kFormID_PADirectDepositDebit, 1)->isPrintFlag());
  // Mode 3 without a file: one state record, the mode its sequence.
  fs::remove(path("40.tif"));
  ASSERT_TRUE(writer->writeTifFile(3, 40));
  EXPECT_EQ("D SYSTRTN    003 X T 1|D FDF1040   001 X T 1|", heads());
  writeFile("1.tif", "Y 2018\nD FDW2 001\n");  // no federal data to append
  ASSERT_TRUE(writer->writeTifFile(1, 40));
  EXPECT_EQ(kTwoEFileRecords, heads());
}

TEST_F(WholeFileTest, UpdateNeverLosesTheOldFile) {
  const std::string old = "Y 2018\nS NY\nD NYRECORD   001 X T 1\nD FDBKDATA  001\n00001.000.001 STALE\n";
  writeFile("40.tif", old);
  for (auto fault : {TifFileWriter::kFailOpen, TifFileWriter::kFailWrite, TifFileWriter::kFailRename}) {
    TifFileWriter::injectOutputFault(fault);
    EXPECT_FALSE(writer->writeTifFile(2, 40)) << fault;
    EXPECT_EQ(old, written()) << fault;
    EXPECT_FALSE(fs::exists(path("40.tif.tmp"))) << fault;
  }
  // A line too long to be read whole, in the old file or the federal one:
  // no write, the cause said.
  const std::string longLine = "Y 2018\nS NY\nD NYRECORD   001 X T 1\n" + std::string(70000, 'x') + "\n";
  writeFile("40.tif", longLine);
  EXPECT_FALSE(writer->writeTifFile(2, 40));
  const std::string cause = "line 4 of " + path("40.tif") + " is longer than 65536 bytes";
  EXPECT_NE(std::string::npos, writer->outputError().find(cause));
  EXPECT_EQ(longLine, written());
  writeFile("1.tif", "D FDF1040   001 X T 1\n" + std::string(70000, 'x') + "\n00001.000.001 LOST\n");
  EXPECT_FALSE(writer->writeTifFile(1, 40));
  EXPECT_NE(std::string::npos, writer->outputError().find("line 2 of " + path("1.tif")));
  writeFile("1.tif", "D FDF1040   001 X T 1\n");
  // An old file whose reading fails (this process's memory, from its
  // start): no write, the cause said.
  fs::remove(path("40.tif"));
  fs::create_symlink("/proc/self/mem", path("40.tif"));
  EXPECT_FALSE(writer->writeTifFile(2, 40));
  EXPECT_NE(std::string::npos, writer->outputError().find("cannot read " + path("40.tif") + " (after line 0): "));
  EXPECT_TRUE(fs::is_symlink(path("40.tif")));
  fs::remove(path("40.tif"));
  // A file without a header gets the whole header, its sections listed;
  // its records stay and the old federal data gives way to the new.
  writeFile("40.tif", old);
  ASSERT_TRUE(writer->writeTifFile(2, 40));
  EXPECT_TRUE(writer->getMode() == 2 && writer->isUpdating());
  EXPECT_EQ(0u, written().find("Y 2018\nP Orvane\nV FD: 2018.0 PA: 1.0\nT \nS SY\nS NY\nS PA\nS FD\n"
                               "D NYRECORD   001 X T 1\nD SYSTRTN    002 X T 1\n"));
  EXPECT_EQ("D NYRECORD   001 X T 1|D SYSTRTN    002 X T 1|D FDF1040   001 X T 1|", heads());
  writeFile("40.tif", "");
  ASSERT_TRUE(writer->writeTifFile(2, 40));
  EXPECT_EQ(0u, written().find("Y 2018\nP Orvane\nV FD: 2018.0 PA: 1.0\nT \nS SY\nS PA\nS FD\nD SYSTRTN"));
  ASSERT_TRUE(writer->writeTifFile(1, 40));
  EXPECT_FALSE(writer->isUpdating());
  EXPECT_FALSE(writer->writeTifFile(2, 1));  // never over the federal file
  fs::remove(path("40.tif"));
  fs::create_directory(path("40.tif"));
  EXPECT_FALSE(writer->writeTifFile(1, 40));
}

TEST_F(WholeFileTest, PrintedFormsFollowAndOnlyFlaggedCopiesWrite) {
  text(kFormID_PA40, PA40::kFirstField, "first");
  holder(kFormID_PA40)->setPrintingEnabled(true);
  for (uint16_t copy = 1; copy <= 3; ++copy) holder(kFormID_PAW2, copy)->setPrintingEnabled(copy > 1);
  printer->listed = {kFormID_PA40, kFormID_PAW2, kFormID_PADirectDepositDebit};
  text(kFormID_Fed131, Fed131::kStateReturnChoice, "3");
  federal->getFormOrCreate(kFormID_Fed131, 2);  // form 131 gives its copy 1 alone
  ASSERT_TRUE(writer->writeTifFile(1, 40));
  EXPECT_EQ(std::string(kTwoEFileRecords) + "D PA40       001 X T 1|D PAW2       002 X T 1|D PAW2       003 X T 1|"
            "D PADIRECTDEPOSITDEBIT 001 X T 1|D FDF1040   001 X T 1|", heads());
  EXPECT_NE(std::string::npos, written().find("\n00001.999.001 FIRST\n"));
  // A longer list: after the two entries of form 131, room for 253.
  printer->listed.assign(300, kFormID_PAW2);
  ASSERT_TRUE(writer->writeTifFile(1, 40));
  EXPECT_EQ(253 * 2, occurrences(heads(), "D PAW2 "));
}

// An engine the writer knows through the host's interface alone.
struct RecordingEngine : CalculationMgmt::TaxReturnCalcEngine {
  using CalculationMgmt::TaxReturnCalcEngine::TaxReturnCalcEngine;
  void calcReturn(int) override { calls += "return|"; }
  void calcForm(const FormId& form, uint16_t copy, bool, int, int, DataMgmt::TaxFormPtr) override {
    calls += std::to_string(form.getNumber()) + ":" + std::to_string(copy) + "|";
  }
  std::string calls;
};

TEST_F(WholeFileTest, TheWholeReturnThenTheDepositFormAreCalculatedThroughTheHostsEngine) {
  TaxFormPrintMgmt::TaxFormPrinterPtr enginePrinter(new ListPrinter(*pa));
  auto* engine = new RecordingEngine(enginePrinter);
  writer = makeWriter(new ListPrinter(*pa), CalculationMgmt::TaxReturnCalcEnginePtr(engine));
  ASSERT_TRUE(writer->writeTifFile(1, 40));
  EXPECT_EQ("return|" + std::to_string(kFormID_PADirectDepositDebit.getNumber()) + ":1|", engine->calls);
}

TEST_F(WholeFileTest, WithoutAResidencyMarkNoPAFormIsWritten) {
  holder(kFormID_PA40)->setPrintingEnabled(true);
  writer = makeWriter(new PATaxFormPrintMgmt::PATaxFormPrinter(*pa));
  ASSERT_TRUE(writer->writeTifFile(1, 40));
  EXPECT_EQ(std::string(kTwoEFileRecords) + "D FDF1040   001 X T 1|", heads());
}

const FormId &kInfo = kFormID_PAReturnInfo, &kFiler = kFormID_FedFilerInfo, &kEFile = kFormID_Fed131;

class HeaderFieldsTest : public StateTifWriterTest {
 protected:
  // The value of a field of form 92 or 131 after its conversion; `code` is
  // the field code, rewritten in place.
  std::string convert(const FormId& form, int number, const std::string& in, bool header = true) {
    writer->headerFlag = header;
    char codeText[TifWriteMgmt::kTifCodeSize], value[TifWriteMgmt::kTifValueSize];
    std::snprintf(codeText, sizeof codeText, "%s", code.c_str());
    std::snprintf(value, sizeof value, "%s", in.c_str());
    bool first = true, line = false;
    auto rule = form == kFiler ? &ProbeWriter::convertFilerInfoField : &ProbeWriter::convertEFileInfoField;
    (writer.get()->*rule)(holder(form), 1, FieldId(number), FieldId(), 0, codeText, 0, value, first, line);
    code = codeText;
    return "\"" + std::string(value) + "\" ";
  }
  // The authentication header as the PA record asks for it.
  std::string authHeader(int32_t amount, bool joint, bool spouseExpiryGiven = true) {
    using namespace PAReturnInfo;
    return linesOf([&] {
      writer->writeAuthHeaderFields(
          holder(kInfo), kInfo, kDepositRoutingNumber, kDepositAccountNumber, kDirectDepositYesBox, FieldId(),
          amount, kTaxpayerIDNumber, kTaxpayerIDState, kTaxpayerIDExpirationDate, kTaxpayerIDIssueDate,
          kSpouseIDNumber, kSpouseIDState, spouseExpiryGiven ? kSpouseIDExpirationDate.id() : FieldId(),
          kSpouseIDIssueDate, kTaxpayerDriversLicenseBox, kSpouseDriversLicenseBox, kTaxpayerStateIDBox,
          kSpouseStateIDBox, kTaxpayerNoIDBox, kSpouseNoIDBox, joint, kAuthHeaderSpareField, FieldId());
    });
  }
  std::string code = "00001.000.001";
};

TEST_F(HeaderFieldsTest, HeaderFormRulesAndTheAuthenticationHeader) {
  for (const char* state : {"PA", "WI", "MA", "KS", "MI", "VA"}) {
    pa->abbr = state;
    note(std::string("field 25 \"5\" for ") + state + ", in and outside the header record",
         convert(kFiler, 25, "5") + convert(kFiler, 25, "5", false));
  }
  // The value and then the code after a conversion under `original`; each
  // call stands alone, so their order in a sum does not matter.
  auto under = [&](const char* original, int number, bool header = true) {
    code = original;
    return convert(kEFile, number, "v", header) + code + " ";
  };
  for (int number = 152846; number <= 152851; ++number) {
    note("codes of field " + std::to_string(number) + " in and outside the header record",
         under("01120.000.001", number) + under("01120.000.001", number, false) + under("01120.000.01", number));
  }
  // Mapping field 72481 marks the state's answer box when copy 1 of the
  // information form exists, so "1" then always stays; a mapping that
  // throws counts as no field. Field 325 is cleared only under the blank
  // code and while the answer stands.
  note("72481 \"1\", \"3\" without the information form",
       convert(kEFile, 72481, "1") + convert(kEFile, 72481, "3"));
  holder(kInfo);
  const std::string choice = convert(kEFile, 72481, "1");
  note("72481 \"1\" with it, and its box",
       choice + pa->getFieldAsString(kInfo, 1, PAReturnInfo::kFederalAnsweredBox));
  for (const char* answer : {"1", "2"}) {
    text(kEFile, Fed131::kStateReturnChoice, answer);
    note(std::string("325 under a point and a blank, answer ") + answer,
         under("00070.000.001", 325) + under("00070.000 001", 325));
  }
  text(kEFile, Fed131::kStateReturnChoice, "1");
  pa->mapThrows = true;
  note("72481 \"1\" and 325 when the mapping throws", convert(kEFile, 72481, "1") + under("00070.000 001", 325));

  SystemMgmt::SystemMgr::setClock([] { return std::time_t(1555329600); });
  put(kInfo, PAReturnInfo::kDirectDepositYesBox, FieldValue::mark());
  text(kInfo, PAReturnInfo::kDepositRoutingNumber, "acct");
  text(kInfo, PAReturnInfo::kDepositAccountNumber, "20/19-04");
  text(kEFile, Fed131::kSiteId, "007");
  text(kEFile, Fed131::kSoftwareId, "000");
  note("refund 0, direct deposit marked", authHeader(0, false));
  note("refund 5, direct deposit marked", authHeader(5, false));
  put(kInfo, PAReturnInfo::kDirectDepositYesBox, FieldValue::null());
  note("refund 5, nothing marked; joint without documents", authHeader(5, true));
  put(kInfo, PAReturnInfo::kTaxpayerNoIDBox, FieldValue::mark());
  put(kInfo, PAReturnInfo::kSpouseNoIDBox, FieldValue::mark());
  note("both no-document boxes marked", authHeader(0, true));
  put(kInfo, PAReturnInfo::kTaxpayerDriversLicenseBox, FieldValue::mark());
  text(kInfo, PAReturnInfo::kTaxpayerIDNumber, "D123");
  text(kInfo, PAReturnInfo::kTaxpayerIDState, "MN");
  put(kInfo, PAReturnInfo::kTaxpayerIDExpirationDate, FieldValue::of(0));
  text(kInfo, PAReturnInfo::kTaxpayerIDIssueDate, "5/1");
  put(kInfo, PAReturnInfo::kSpouseStateIDBox, FieldValue::mark());
  text(kInfo, PAReturnInfo::kSpouseIDNumber, "S9");
  text(kInfo, PAReturnInfo::kSpouseIDState, "MN");
  text(kInfo, PAReturnInfo::kSpouseIDIssueDate, "2016-07-19");
  note("Minnesota licence with a zero expiry and a short date; state card", authHeader(0, true));
  note("the same without the spouse's expiry field", authHeader(0, true, false));
  put(kInfo, PAReturnInfo::kSpouseDriversLicenseBox, FieldValue::mark());
  note("the spouse's licence, zero expiry", authHeader(0, true));
  text(kInfo, PAReturnInfo::kSpouseIDExpirationDate, "2022-06-30");
  note("the spouse's licence, an expiry", authHeader(0, true));
  for (const std::string digits : {"007", "0", "000"}) {
    std::string stripped = digits;
    note("leading zeros off " + digits, writer->stripLeadingZeros(&stripped[0]));
  }

  for (const std::string attributes : {"PAW2 0", "DUMMYHDR 1"}) {
    writer->descriptors = DataMgmt::TifFieldDescriptorListPtr(new DataMgmt::TifFieldDescriptorList);
    writer->descriptors->push_back(SmartPointers::CountedPtr<DataMgmt::TifFieldDescriptor>(
        new DataMgmt::TifFieldDescriptor("00001.000.001", kFormID_PAW2, FieldId(1), 0, 0, attributes)));
    const std::string lines = linesOf([&] {
      writer->outputTifLine("00009.000.001", "queued", false);
      writer->writeRecordHead(0, 1234);
    });
    std::string marked;
    for (char ch : lines) marked += ch == '\n' ? std::string("|\n") : std::string(1, ch);
    note("record head of copy 1234 after a queued line (ends marked \"|\"), attributes " + attributes, marked);
  }
  for (const std::string kindAndValue : {"F12.5", "F-12.5", "F0.4", "Fabc", "F1e12", "\xAA" "2.5", " 25", "M7.5",
                                         "N25", "H25", "\xAC" "25", "X1.5"}) {
    std::string value = kindAndValue.substr(1);
    value.resize(TifWriteMgmt::kTifValueSize);
    const std::string kind = std::to_string(static_cast<unsigned char>(kindAndValue[0]));
    note("percent kind " + kind + " of " + kindAndValue.substr(1),
         writer->formatPercentValue(&value[0], kindAndValue[0]));
  }
  expectGolden("header_fields.txt", transcript);
}

// The data file of an example return with golden/additions.txt, loaded and
// not calculated (the write recalculates it), fresh and as an update of
// another state's file; the time stamp from a fixed clock. See
// host/README.md for rewriting the golden files after a deliberate change.
TEST_F(StateTifWriterTest, GoldenDataFiles) {
  const fs::path golden = PA_GOLDEN_DIR, example = PA_EXAMPLES_DIR "/single_wages_refund.txt";
  SystemMgmt::SystemMgr::setClock([] { return std::time_t(1555329600); });  // 2019-04-15 12:00 UTC
  fs::copy_file(golden / "federal.tif", dir / "1.tif");
  DataMgmt::TaxReturnPtr fed(new DataMgmt::USTaxReturn()), paReturn;
  DataMgmt::TaxReturn* created = nullptr;
  createTaxReturnInstance(fed, DataMgmt::TaxReturnDesc::pennsylvania(), Utils::StringPool::shared(), created);
  paReturn = DataMgmt::TaxReturnPtr(created);
  TaxFormPrintMgmt::TaxFormPrinterPtr paPrinter(createTaxFormPrinterInstance(fed, paReturn));
  CalculationMgmt::TaxReturnCalcEnginePtr paEngine(createCalcEngineInstance(fed, paReturn, paPrinter));
  DataMgmt::OrvaneConfiguration* config = &DataMgmt::OrvaneConfiguration::getInstance();
  std::unique_ptr<TifFileWriter> paWriter(
      createTifFileWriterInstance(fed, paReturn, paEngine, paPrinter, {}, config));
  applyFederalItems(example.string(), static_cast<DataMgmt::USTaxReturn&>(*fed));
  for (const fs::path& file : {example, golden / "additions.txt"}) {
    for (DataMgmt::TaxReturn* into : {fed.get(), paReturn.get()}) {
      static_cast<StateCalculationMgmt::StateTaxReturnCalcEngine&>(*paEngine).loadInputTextFile(file, into);
    }
  }
  ASSERT_TRUE(paWriter->writeTifFile(1, 40));
  expectGolden("fresh.tif", bytesOf(dir / "40.tif"));
  fs::copy_file(golden / "update_base.tif", dir / "40.tif", fs::copy_options::overwrite_existing);
  ASSERT_TRUE(paWriter->writeTifFile(2, 40));
  expectGolden("update.tif", bytesOf(dir / "40.tif"));
  // Updated again, the file stays the same: this state's version, section
  // line and records once, every other line as it was.
  ASSERT_TRUE(paWriter->writeTifFile(2, 40));
  EXPECT_EQ(bytesOf(golden / "update.tif"), bytesOf(dir / "40.tif"));
  // A fresh file updated twice keeps its header and its other record.
  ASSERT_TRUE(paWriter->writeTifFile(1, 40));
  const std::string fresh = bytesOf(dir / "40.tif");
  for (int update = 0; update < 2; ++update) ASSERT_TRUE(paWriter->writeTifFile(2, 40));
  const std::string updated = bytesOf(dir / "40.tif");
  EXPECT_EQ(fresh.substr(0, fresh.find("D SYSTRTN")), updated.substr(0, updated.find("D SYSTRTN")));
  for (const char* head : {"\nV ", "PA: ", "\nS PA\n", "\nD SYPCRTN", "\nD SYSTRTN", "\nD PA40 "}) {
    EXPECT_EQ(1, occurrences(updated, head)) << head;
  }
}

}  // namespace
}  // namespace state_tif_test
