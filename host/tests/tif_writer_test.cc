// The data-file writer base: line output, record heads, form conversion,
// the value cleaners and the shares the writer keeps.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "host/configuration.h"
#include "host/stand_in.h"
#include "host/string_pool.h"
#include "host/tax_form.h"
#include "host/tif_writer.h"
#include "host/us_tax_return.h"
#include "host/tests/temp_files.h"

namespace {

using DataMgmt::FieldId;
using DataMgmt::FormId;
using TifWriteMgmt::TifFileWriter;

const FormId kPA40(169, true);
const FormId kReturnInfo(168, true);
const FormId kFilerInfo(92);

// Records what the conversion hands to the writer's virtual hooks.
class RecordingWriter : public TifFileWriter {
 public:
  using TifFileWriter::TifFileWriter;

  bool open(const std::string& path) {
    return fileWriter.open(IOMgmt::FileNamePtr(new IOMgmt::FileName(path)));
  }
  void close() { fileWriter.close(); }
  void setDescriptors(const DataMgmt::TifFieldDescriptorListPtr& list) { descriptors = list; }

  void writeRecordHead(int first, uint16_t copy) override {
    events.push_back("head " + std::to_string(first) + " " + std::to_string(copy));
  }
  void convertTifField(DataMgmt::TaxFormPtr form, const FormId& f, uint16_t copy, const FieldId& fld,
                       char* code, char* value) override {
    events.push_back(std::string("field ") + std::to_string(f.getNumber()) + " " +
                     std::to_string(copy) + " " + std::to_string(fld.getNumber()) + " " + code +
                     " [" + value + "]" + (form.isNull() ? " no-copy" : ""));
    TifFileWriter::convertTifField(form, f, copy, fld, code, value);
  }
  void cleanFormString(DataMgmt::TaxFormPtr, const FormId&, const FieldId&, char* value) override {
    TifFileWriter::tifStringClean(value);
  }
  char* formatPercentValue(char* value, char kind) override {
    events.push_back(std::string("percent ") + kind);
    return TifFileWriter::tifConvertPercentToDecimal(value, 4, 0);
  }

  std::vector<std::string> events;
};

class TifWriterTest : public TempFilesTest {
 protected:
  void SetUp() override {
    TempFilesTest::SetUp();
    StandIn::resetAll();
  }

  DataMgmt::TaxReturnPtr federal_{new DataMgmt::USTaxReturn()};
  DataMgmt::TaxReturnPtr state_{
      new DataMgmt::TaxReturn(DataMgmt::TaxReturnDesc::pennsylvania(), Utils::StringPool::shared())};
  TaxFormPrintMgmt::TaxFormPrinterPtr printer_{new TaxFormPrintMgmt::TaxFormPrinter(*state_)};
  CalculationMgmt::TaxReturnCalcEnginePtr engine_{new CalculationMgmt::TaxReturnCalcEngine(printer_)};
  DataMgmt::OrvaneConfiguration* config_ = &DataMgmt::OrvaneConfiguration::getInstance();
  AuditMgmt::TaxFormAuditorPtr auditor_{new AuditMgmt::TaxFormAuditor(*state_, config_, engine_)};
  RecordingWriter writer_{federal_, state_, engine_, printer_, auditor_, config_};
};

TEST_F(TifWriterTest, KeepsASharePerPointer) {
  EXPECT_EQ(2, federal_.useCount());
  EXPECT_EQ(2, state_.useCount());
  EXPECT_EQ(3, engine_.useCount());   // the auditor keeps one too
  EXPECT_EQ(3, printer_.useCount());  // the engine keeps one too
  EXPECT_EQ(2, auditor_.useCount());
}

TEST_F(TifWriterTest, FieldLinesAreQueuedUpperCased) {
  DataMgmt::TaxFormPtr info = state_->getFormOrCreate(kReturnInfo, 1);
  info->assignText(FieldId(94), "Allegheny");
  info->setX(FieldId(46));
  federal_->getFormOrCreate(kFilerInfo, 1)->assignText(FieldId(7), "Federal text");

  writer_.outputTifLine("00010.000.001", "Mixed case", false);
  writer_.outputTifLine("00020.000.001", "", false);                // no line
  writer_.outputTifLine("00030.000.001", "", true);                 // "CODE "
  writer_.outputTifLine("00040.000.001", static_cast<const char*>(nullptr), false);
  writer_.outputTifLine("00050.000.001", -1234L, false);
  writer_.outputTifLine("00060.000.001", 0, false);                 // a number: "0"
  writer_.outputTifLineMixedCase("00070.000.001", "Mixed case", false);
  writer_.outputTifLine("00080.000.001", kReturnInfo, 1, FieldId(94), false);
  writer_.outputTifLine("00090.000.001", kFilerInfo, 1, FieldId(7), false);
  writer_.outputTifLine("00100.000.001", kReturnInfo, 2, FieldId(94), true);  // missing copy
  writer_.outputTifLineCB("00110.000.001", kReturnInfo, 1, FieldId(46), "x", false);
  writer_.outputTifLineCB("00120.000.001", kReturnInfo, 1, FieldId(47), "x", false);

  const std::vector<std::string> expected = {
      "00010.000.001 MIXED CASE", "00030.000.001 ",         "00050.000.001 -1234",
      "00060.000.001 0",          "00070.000.001 Mixed case", "00080.000.001 ALLEGHENY",
      "00090.000.001 FEDERAL TEXT", "00100.000.001 ",       "00110.000.001 X",
  };
  EXPECT_EQ(expected, writer_.queuedLines());
}

TEST_F(TifWriterTest, ValueSetAndSubHeadWriteInOrder) {
  ASSERT_TRUE(writer_.open(path("40.tif")));
  writer_.outputTifLine("00010.000.001", "a", false);
  writer_.outputTifSubHead("PAPASCHW2M", 1, true);
  writer_.outputTifLine("00020.000.001", "b", false);
  writer_.outputTifSubHead("PAPA1099G", 12, false);
  writer_.outputTifSubHead("PAPASTMNTXYZ", 1000, false);
  writer_.outputTifLine("00030.000.001", "c", false);
  writer_.outputValueSet();
  writer_.outputValueSet();  // nothing left to write
  writer_.close();
  EXPECT_TRUE(writer_.queuedLines().empty());
  EXPECT_EQ(
      "00010.000.001 A\n"
      "D PAPASCHW2M 001 X T 1\n"
      "00020.000.001 B\n"
      "D PAPA1099G  012 X T  \n"
      "D PAPASTMNTXYZ 1000 X T  \n"
      "00030.000.001 C\n",
      read("40.tif"));
}

DataMgmt::TifFieldDescriptorListPtr makeList(
    std::initializer_list<DataMgmt::TifFieldDescriptor*> entries) {
  DataMgmt::TifFieldDescriptorListPtr list(new DataMgmt::TifFieldDescriptorList);
  for (DataMgmt::TifFieldDescriptor* d : entries) {
    list->push_back(SmartPointers::CountedPtr<DataMgmt::TifFieldDescriptor>(d));
  }
  return list;
}

TEST_F(TifWriterTest, ConvertTifFormCallsTheFieldHookForEveryDescriptor) {
  DataMgmt::TaxFormPtr copy2 = state_->getFormOrCreate(kPA40, 2);
  state_->getFormOrCreate(kPA40, 1)->assignText(FieldId(10), "copy one");
  copy2->assignText(FieldId(10), "Name (#1) & Co!");
  copy2->assignIR(FieldId(139), 1250);
  state_->getFormOrCreate(kReturnInfo, 1)->assignText(FieldId(94), "Allegheny");
  federal_->getFormOrCreate(kFilerInfo, 1)->assignText(FieldId(7), "fed");

  writer_.setDescriptors(makeList({
      new DataMgmt::TifFieldDescriptor("00001.000.001", kPA40, FieldId(10), 'F', 0, "PAPA40 1"),
      new DataMgmt::TifFieldDescriptor("00002.000.001", kPA40, FieldId(139), 0, 0, ""),
      new DataMgmt::TifFieldDescriptor("00003.000.001", kPA40, FieldId(140), 0, 0, ""),
      new DataMgmt::TifFieldDescriptor("00004.000.001", kReturnInfo, FieldId(94), 0, 0, ""),
      new DataMgmt::TifFieldDescriptor("00005.000.001", kFilerInfo, FieldId(7), 0, 0, ""),
      new DataMgmt::TifFieldDescriptor("00006.000.001", kPA40, FieldId(139), 0, 'P', ""),
  }));
  writer_.convertTIFForm(true, kPA40, 2, copy2, 5);

  const std::vector<std::string> expected = {
      "head 1 2",
      "field 169 2 10 00001.000.001 [Name #1 & Co]",  // the clean hook ran
      "field 169 2 139 00002.000.001 [1250]",
      "field 169 2 140 00003.000.001 []",             // empty values still reach the hook
      "field 168 2 94 00004.000.001 [Allegheny]",     // another form: its copy 1
      "field 92 2 7 00005.000.001 [fed]",             // a federal source
      "percent P",
      "field 169 2 139 00006.000.001 [12.5000]",
  };
  EXPECT_EQ(expected, writer_.events);
  EXPECT_EQ("00001.000.001 NAME #1 & CO", writer_.queuedLines().front());
}

TEST_F(TifWriterTest, ConvertTifFormWithoutDescriptorsDoesNothing) {
  DataMgmt::TaxFormPtr copy = state_->getFormOrCreate(kPA40, 1);
  writer_.convertTIFForm(false, kPA40, 1, copy, 1);
  writer_.setDescriptors(makeList({}));
  writer_.convertTIFForm(false, kPA40, 1, copy, 1);
  EXPECT_TRUE(writer_.events.empty());
  EXPECT_TRUE(writer_.queuedLines().empty());
}

TEST_F(TifWriterTest, FileSpecAndStateId) {
  config_->setDataDir("/data");
  EXPECT_EQ("/data/40.tif", writer_.getTifFileSpec(40)->getDisplayName(-1));
  EXPECT_EQ("/data/1.tif", writer_.getTifFileSpec(1)->getDisplayName(-1));
  char id[TifWriteMgmt::kTifCodeSize];
  EXPECT_STREQ("PA", writer_.tifGetStateID(id));
}

// Runs a cleaner on a copy of `in` in a writer-sized buffer.
std::string clean(char* (*cleaner)(char*), const std::string& in) {
  char value[TifWriteMgmt::kTifValueSize];
  snprintf(value, sizeof value, "%s", in.c_str());
  return cleaner(value);
}

TEST(TifCleanersTest, StringClean) {
  EXPECT_EQ("O'Brien & Sons, Inc. #4-5/6",
            clean(TifFileWriter::tifStringClean, "  O'Brien & Sons, Inc. #4-5/6 "));
  EXPECT_EQ("A B C", clean(TifFileWriter::tifStringClean, "A*B(C)"));
  EXPECT_EQ("A B", clean(TifFileWriter::tifStringClean, "A\t\tB\xc3\xa9"));
  EXPECT_EQ("", clean(TifFileWriter::tifStringClean, "***"));
}

TEST(TifCleanersTest, AddressAndPhone) {
  EXPECT_EQ("123 Main St Apt 4-B 1/2",
            clean(TifFileWriter::tifCleanAddressString, "123 Main St., Apt #4-B, 1/2"));
  // Blanks are kept as they stand: the writer and the audit share this cleaning.
  EXPECT_EQ(" PO Box  7 ", clean(TifFileWriter::tifCleanAddressString, " P.O. Box  7 "));
  EXPECT_EQ("7175551234", clean(TifFileWriter::tifReformatPhone, "(717) 555-1234"));
  EXPECT_EQ("", clean(TifFileWriter::tifReformatPhone, "none"));
}

TEST(TifCleanersTest, DatesBecomeIsoOrStay) {
  EXPECT_EQ("2018-04-15", clean(TifFileWriter::tifReformatDate, "04/15/2018"));
  EXPECT_EQ("2018-01-02", clean(TifFileWriter::tifReformatDate, "1-2-2018"));
  EXPECT_EQ("VARIOUS", clean(TifFileWriter::tifReformatDate, "VARIOUS"));
  EXPECT_EQ("", clean(TifFileWriter::tifReformatDate, ""));
  EXPECT_EQ("02/30/2018", clean(TifFileWriter::tifReformatDate, "02/30/2018"));
}

TEST(TifCleanersTest, PercentToDecimal) {
  const struct {
    const char* in;
    int digits;
    int x;
    const char* out;
  } cases[] = {
      {"12.5", 4, 0, "0.1250"}, {"100", 2, 0, "1.00"}, {"0.075", 3, 1, "0.075"},
      {"50%", 1, 0, "0.5"},     {"abc", 2, 0, ""},     {"", 2, 0, ""},
      {"nan", 2, 0, ""},        {"-3", 0, 1, "-3"},
  };
  for (const auto& c : cases) {
    char value[TifWriteMgmt::kTifValueSize];
    snprintf(value, sizeof value, "%s", c.in);
    EXPECT_STREQ(c.out, TifFileWriter::tifConvertPercentToDecimal(value, c.digits, c.x)) << c.in;
  }
  // A huge value stays within the buffer.
  char value[TifWriteMgmt::kTifValueSize] = "1e300";
  EXPECT_LT(strlen(TifFileWriter::tifConvertPercentToDecimal(value, 15, 1)), sizeof value);
}

TEST(TifCleanersTest, OfficeCodesAreSettable) {
  StandIn::resetAll();
  TifFileWriter::setOfficeCodes("12", "345", "67");
  char buf[TifWriteMgmt::kTifCodeSize];
  EXPECT_STREQ("12", TifFileWriter::tifGetDistrictNum(buf));
  EXPECT_STREQ("345", TifFileWriter::tifGetOfficeNum(buf));
  EXPECT_STREQ("67", TifFileWriter::tifGetServiceCenter(buf));
  StandIn::resetAll();
  EXPECT_STREQ("00", TifFileWriter::tifGetDistrictNum(buf));
}

}  // namespace
