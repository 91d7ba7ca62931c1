// The base classes of the module's objects: the calculation engine, the
// auditor, the macro expander and the data-file writer (line output, record
// heads, form conversion, the value cleaners, also those of string_utils.h),
// and the shares they keep.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "host/auditor.h"
#include "host/calc_engine.h"
#include "host/configuration.h"
#include "host/macro_expander.h"
#include "host/stand_in.h"
#include "host/string_pool.h"
#include "host/string_utils.h"
#include "host/summary_report.h"
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

// Exposes the protected audit state, as a state auditor sees it.
class OpenAuditor : public AuditMgmt::TaxFormAuditor {
 public:
  using TaxFormAuditor::TaxFormAuditor;
  bool isEFileAudit() const { return eFileAudit; }
  DataMgmt::TaxReturn* audited() const { return &taxReturn; }
  DataMgmt::OrvaneConfiguration* config() const { return configuration; }
};

// Expands one macro of its own and leaves the rest to the base.
class WordExpander : public MacroExpansionMgmt::MacroExpander {
 public:
  using MacroExpander::MacroExpander;
  std::string expandStateWord() override { return "state"; }
};

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

class ModuleBasesTest : public TempFilesTest {
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

TEST_F(ModuleBasesTest, ReturnNameIsCleanedOfPathPieces) {
  EXPECT_EQ("PAReturn", engine_->getReturnName());
  const struct {
    const char* set;
    const char* expected;
  } cases[] = {
      {"Smith2018", "Smith2018"},
      {"../etc/passwd", "etcpasswd"},
      {"a\\b/c", "abc"},
      {"..\\..\\x", "x"},
      {"...", "."},  // one harmless dot is left
      {".../.", "PAReturn"},
      {"./.", "PAReturn"},  // the separator hid a "..": nothing is left
      {"", "PAReturn"},
      {"J. Doe", "J. Doe"},
  };
  for (const auto& c : cases) {
    engine_->setReturnName(c.set);
    EXPECT_EQ(c.expected, engine_->getReturnName()) << c.set;
  }
}

// A new report replaces the auditor's own; an earlier one stays with its
// holder. Messages are recorded, not reported.
TEST_F(ModuleBasesTest, CreateNewReportStartsAFreshReportOfItsKind) {
  OpenAuditor auditor(*state_, config_, engine_);
  EXPECT_EQ(state_.get(), auditor.audited());
  EXPECT_EQ(config_, auditor.config());
  auditor.addMessageToReport(AuditMgmt::kNoAuditHelpID, 0, false, 0, FormId(), 1, FieldId(), "",
                             "    - first.", true);
  AuditMgmt::AuditReportPtr old = auditor.getAuditReport();
  ASSERT_EQ(1u, old->size());
  EXPECT_EQ("    - first.", old->lines()[0].second);
  auditor.createNewReport(AuditMgmt::kAuditEFile);
  EXPECT_TRUE(auditor.isEFileAudit());
  EXPECT_EQ(0u, auditor.getAuditReport()->size());
  EXPECT_EQ(1u, old->size());
  AuditMgmt::AuditReportPtr report = auditor.auditReturn(AuditMgmt::kAuditStandard);
  EXPECT_FALSE(auditor.isEFileAudit());
  EXPECT_EQ(report.get(), auditor.getAuditReport().get());
  auditor.epFailMsg(AuditMgmt::kNoAuditHelpID, 0, true, true, 12, 0, FormId(169, true), 2,
                    FieldId(1), "No.");
  auditor.addMessageToReport(AuditMgmt::kNoAuditHelpID, 0, false, 0, FormId(), 1, FieldId(), "",
                             "    - second.", true);
  // Every call since the report was started is recorded in order, and
  // described on one line; the call before it is gone with the old report.
  const auto& calls = auditor.messageCalls();
  ASSERT_EQ(2u, calls.size());
  EXPECT_EQ(
      "epFailMsg | AuditHelp_None | topic 0 | flag 1 | answer 1 | code 12 | second 0 | form 169 | "
      "copy 2 | field 1 | \"No.\"",
      AuditMgmt::TaxFormAuditor::describe(calls[0]));
  EXPECT_EQ(
      "addMessageToReport | AuditHelp_None | topic 0 | flag 0 | kind 0 | form 0 | copy 1 | "
      "field 0 | \"\" | \"    - second.\" | last 1",
      AuditMgmt::TaxFormAuditor::describe(calls[1]));
  EXPECT_EQ(1u, auditor.getAuditReport()->size());
  // A long session's record holds one audit at most.
  for (int audit = 0; audit < 3; ++audit) {
    auditor.auditReturn(AuditMgmt::kAuditStandard);
    auditor.epFailMsg(AuditMgmt::kNoAuditHelpID, 0, true, true, 12, 0, FormId(169, true), 2,
                      FieldId(1), "No.");
  }
  EXPECT_EQ(1u, auditor.messageCalls().size());
}

TEST_F(ModuleBasesTest, ExpanderLooksUpNamesWithOrWithoutThePrefix) {
  WordExpander expander(federal_, state_);
  EXPECT_EQ("state", expander.expand("StateWord"));
  EXPECT_EQ("state", expander.expand("expandStateWord"));
  for (const char* unknown : {"StateReturnName", "NoSuchMacro", ""}) {
    EXPECT_EQ("", expander.expand(unknown)) << unknown;
  }
}

TEST_F(ModuleBasesTest, FieldLinesAreQueuedUpperCased) {
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

// Each base keeps one share of every holder it is given, and releases it.
TEST_F(ModuleBasesTest, BasesKeepAndReleaseTheirShares) {
  EXPECT_EQ(3, engine_.useCount());   // the auditor's and the writer's
  EXPECT_EQ(3, printer_.useCount());  // the engine's and the writer's
  EXPECT_EQ(2, auditor_.useCount());
  EXPECT_EQ(printer_.get(), engine_->getPrinter().get());
  {
    ReportMgmt::TaxSummaryReport report(state_);
    WordExpander expander(federal_, state_);
    EXPECT_EQ(4, state_.useCount());
    EXPECT_EQ(3, federal_.useCount());
  }
  EXPECT_EQ(2, state_.useCount());
  EXPECT_EQ(2, federal_.useCount());
}

TEST_F(ModuleBasesTest, ValueSetsAndSubHeadsAreWrittenInOrder) {
  ASSERT_TRUE(writer_.open(path("40.tif")));
  writer_.outputTifLine("00010.000.001", "a", false);
  writer_.outputTifSubHead("PAPASCHW2M", 1, true);
  writer_.outputTifLine("00020.000.001", "b", false);
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

TEST_F(ModuleBasesTest, ConvertTifFormCallsTheFieldHookForEveryDescriptor) {
  DataMgmt::TaxFormPtr copy2 = state_->getFormOrCreate(kPA40, 2);
  writer_.convertTIFForm(false, kPA40, 2, copy2, 1);  // no list: nothing
  writer_.setDescriptors(makeList({}));
  writer_.convertTIFForm(false, kPA40, 2, copy2, 1);
  EXPECT_TRUE(writer_.events.empty());

  state_->getFormOrCreate(kPA40, 1)->assignText(FieldId(10), "copy one");
  copy2->assignText(FieldId(10), "Name (#1) & Co!");
  copy2->assignIR(FieldId(139), 1250);
  state_->getFormOrCreate(kReturnInfo, 1)->assignText(FieldId(94), "Allegheny");
  federal_->getFormOrCreate(kFilerInfo, 1)->assignText(FieldId(7), "fed");
  using Entry = DataMgmt::TifFieldDescriptor;
  writer_.setDescriptors(makeList({
      new Entry("00001.000.001", kPA40, FieldId(10), 'F', 0, "PAPA40 1"),
      new Entry("00002.000.001", kPA40, FieldId(139), 0, 0, ""),
      new Entry("00003.000.001", kPA40, FieldId(140), 0, 0, ""),
      new Entry("00004.000.001", kReturnInfo, FieldId(94), 0, 0, ""),
      new Entry("00005.000.001", kFilerInfo, FieldId(7), 0, 0, ""),
      new Entry("00006.000.001", kPA40, FieldId(139), 0, 'P', ""),
  }));
  writer_.convertTIFForm(true, kPA40, 2, copy2, 5);
  const std::vector<std::string> expected = {
      "head 1 2",
      "field 169 2 10 00001.000.001 [Name #1 & Co]",  // the clean hook ran
      "field 169 2 139 00002.000.001 [1250]",
      "field 169 2 140 00003.000.001 []",          // empty values still reach the hook
      "field 168 2 94 00004.000.001 [Allegheny]",  // another form: its copy 1
      "field 92 2 7 00005.000.001 [fed]",          // a federal source
      "percent P",
      "field 169 2 139 00006.000.001 [12.5000]",
  };
  EXPECT_EQ(expected, writer_.events);
  EXPECT_EQ("00001.000.001 NAME #1 & CO", writer_.queuedLines().front());

  config_->setDataDir("/data");
  EXPECT_EQ("/data/40.tif", writer_.getTifFileSpec(40)->getDisplayName(-1));
  char id[TifWriteMgmt::kTifCodeSize];
  EXPECT_STREQ("PA", writer_.tifGetStateID(id));
}

// The percent cleaner with its digits and scale.
std::function<char*(char*)> percent(int digits, int x) {
  return [=](char* v) { return TifFileWriter::tifConvertPercentToDecimal(v, digits, x); };
}

// Every cleaner works in place within the writer's value buffer.
TEST(TifCleanersTest, CleanInPlaceWithinTheValueBuffer) {
  const std::function<char*(char*)> text = TifFileWriter::tifStringClean,
                                    address = TifFileWriter::tifCleanAddressString,
                                    phone = TifFileWriter::tifReformatPhone,
                                    date = TifFileWriter::tifReformatDate,
                                    name = Utils::tifCleanNameString;
  const struct {
    std::function<char*(char*)> cleaner;
    std::string in;
    const char* out;
  } cases[] = {
      {text, "  O'Brien & Sons, Inc. #4-5/6 ", "O'Brien & Sons, Inc. #4-5/6"},
      {text, "A*B(C)", "A B C"},
      {text, "A\t\tB\xc3\xa9", "A B"},
      {address, "123 Main St., Apt #4-B, 1/2", "123 Main St Apt 4-B 1/2"},
      // Blanks are kept as they stand: the writer and the audit share this cleaning.
      {address, " P.O. Box  7 ", " PO Box  7 "},
      {name, "O'Brien-Smith & Jones, Jr. 3rd\t\xe9", "OBrien-Smith & Jones Jr rd"},
      {name, std::string(511, '.'), ""},
      {phone, "(717) 555-1234", "7175551234"},
      {phone, "none", ""},
      {date, "04/15/2018", "2018-04-15"},
      {date, "VARIOUS", "VARIOUS"},
      {date, "02/30/2018", "02/30/2018"},
      {percent(4, 0), "12.5", "0.1250"},
      {percent(3, 1), "0.075", "0.075"},
      {percent(1, 0), "50%", "0.5"},
      {percent(2, 0), "abc", ""},
      {percent(2, 0), "nan", ""},
  };
  for (const auto& c : cases) {
    char value[TifWriteMgmt::kTifValueSize];
    snprintf(value, sizeof value, "%s", c.in.c_str());
    EXPECT_STREQ(c.out, c.cleaner(value)) << c.in;
  }
  // A huge percentage stays within the buffer.
  char value[TifWriteMgmt::kTifValueSize] = "1e300";
  EXPECT_LT(strlen(TifFileWriter::tifConvertPercentToDecimal(value, 15, 1)), sizeof value);
}

}  // namespace
