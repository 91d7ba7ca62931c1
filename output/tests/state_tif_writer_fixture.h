// A federal return, a PA return, a probe engine and a fixed-list printer
// around a probe of the state layer of the data-file writer, with a
// scratch data directory.
//
// The probe writer records the state hooks instead of writing PA records,
// so the state layer's own lines can be read back alone.
#ifndef OUTPUT_TESTS_STATE_TIF_WRITER_FIXTURE_H_
#define OUTPUT_TESTS_STATE_TIF_WRITER_FIXTURE_H_

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "entry/pa_tax_return.h"
#include "host/configuration.h"
#include "host/field_value.h"
#include "host/orvane_exception.h"
#include "host/stand_in.h"
#include "host/state_printer.h"
#include "host/string_pool.h"
#include "host/tax_form.h"
#include "host/us_tax_return.h"
#include "output/state_tif_file_writer.h"

namespace state_tif_test {

typedef Primitives::OVImmutableFormIdentifier FormId;
typedef Primitives::OVImmutableIdentifier FieldId;

// The PA return with a settable abbreviation and amount owed.
class TestStateReturn : public PADataMgmt::PATaxReturn {
 public:
  using PADataMgmt::PATaxReturn::PATaxReturn;
  void getStateAbbreviation(char* buf) override {
    std::snprintf(buf, kAbbreviationBufferSize, "%s", abbreviation.c_str());
  }
  void getStateTextItem(char* buf, int32_t* amount, int code) override {
    PADataMgmt::PATaxReturn::getStateTextItem(buf, amount, code);
    if (code == 0 && amount != nullptr) *amount = owed;
  }
  std::string abbreviation = "PA";
  int32_t owed = 0;
};

// Records the whole-return calculation and the per-form calculation.
class ProbeEngine : public PACalculationMgmt::PATaxReturnCalcEngine {
 public:
  using PACalculationMgmt::PATaxReturnCalcEngine::PATaxReturnCalcEngine;
  void calcReturn(int flag) override { calls.push_back("calcReturn " + std::to_string(flag)); }
  void calcStateForm(const FormId& formId, uint16_t copy, bool markDataEntered, int passOn,
                     int spare, DataMgmt::TaxFormPtr form) override {
    calls.push_back("calcStateForm " + std::to_string(formId.getNumber()) + " " +
                    std::to_string(copy) + " " + std::to_string(markDataEntered) + " " +
                    std::to_string(passOn) + " " + std::to_string(spare) + " " +
                    std::to_string(!form.isNull()));
  }
  std::vector<std::string> calls;
};

// Lists a fixed set of forms to print.
class ListPrinter : public StateTaxFormPrintMgmt::StateTaxFormPrinter {
 public:
  using StateTaxFormPrintMgmt::StateTaxFormPrinter::StateTaxFormPrinter;
  void formsToPrint(FormId* forms, char& countA, char& countB, int mode) override {
    modes.push_back(mode);
    int n = 0;
    for (const FormId& f : listed) forms[n++] = f;
    forms[n] = FormId();
    countA = static_cast<char>(n);
    countB = 0;
  }
  std::vector<FormId> listed;
  std::vector<int> modes;
};

// The state layer with recording hooks and access to its protected parts.
class ProbeWriter : public StateTifWriteMgmt::StateTifFileWriter {
 public:
  using StateTifWriteMgmt::StateTifFileWriter::StateTifFileWriter;

  void cleanFormString(DataMgmt::TaxFormPtr, const FormId&, const FieldId&, char*) override {}
  void cleanNameString(DataMgmt::TaxFormPtr, const FormId&, const FieldId&, char*) override {}
  void cleanAddressString(DataMgmt::TaxFormPtr, const FormId&, const FieldId&, char*) override {}
  void reformatDateString(DataMgmt::TaxFormPtr, const FormId&, const FieldId&, char*) override {}
  void cleanOtherString(DataMgmt::TaxFormPtr, const FormId&, const FieldId&, char*) override {}
  void cleanPlainString(DataMgmt::TaxFormPtr, const FormId&, const FieldId&, char*) override {}
  void reformatPhoneString(DataMgmt::TaxFormPtr, const FormId&, const FieldId&, char*) override {}
  void convertStateTifField(DataMgmt::TaxFormPtr, const FormId& formId, uint16_t copy,
                            const FieldId& field, char*, char*, bool&, bool&) override {
    stateFields.push_back({formId.getNumber(), copy, field.getNumber()});
  }
  void convertStateHeaderField(DataMgmt::TaxFormPtr, const FormId& formId, uint16_t,
                               const FieldId& field, char*, char*) override {
    headerFields.push_back({formId.getNumber(), 0, field.getNumber()});
    if (field.getNumber() == throwAtField) {
      throw Exceptions::OrvaneException("no mapping", "ProbeWriter", "convertStateHeaderField");
    }
  }

  struct Seen {
    int form;
    int copy;
    int field;
  };
  std::vector<Seen> stateFields;
  std::vector<Seen> headerFields;
  int throwAtField = -1;

  using StateTifWriteMgmt::StateTifFileWriter::checkEFileInfoValue;
  using StateTifWriteMgmt::StateTifFileWriter::convertEFileInfoField;
  using StateTifWriteMgmt::StateTifFileWriter::convertFilerInfoField;
  using StateTifWriteMgmt::StateTifFileWriter::fieldValueString;
  using StateTifWriteMgmt::StateTifFileWriter::formatUtcTimestamp;
  using StateTifWriteMgmt::StateTifFileWriter::isFieldMarked;
  using StateTifWriteMgmt::StateTifFileWriter::outputFieldLineIfPresent;
  using StateTifWriteMgmt::StateTifFileWriter::outputRefundCodeLine;
  using StateTifWriteMgmt::StateTifFileWriter::stripLeadingZeros;
  using StateTifWriteMgmt::StateTifFileWriter::writeAuthHeaderFields;

  void setHeaderFlag(bool flag) { headerFlag = flag; }
  bool getHeaderFlag() const { return headerFlag; }
  void setMode(uint8_t m) { mode = m; }
  void setDescriptors(const DataMgmt::TifFieldDescriptorListPtr& list) { descriptors = list; }
  bool openOutput(const std::string& path) {
    return fileWriter.open(IOMgmt::FileNamePtr(new IOMgmt::FileName(path)));
  }
  void closeOutput() {
    outputValueSet();
    fileWriter.close();
  }
};

class StateTifWriterTest : public ::testing::Test {
 protected:
  static constexpr DataMgmt::TaxReturnType kPAType = 40;

  void SetUp() override {
    StandIn::resetAll();
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir = std::filesystem::path(::testing::TempDir()) /
          ("state_tif." + std::string(info->name()) + "." + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    config = &DataMgmt::OrvaneConfiguration::getInstance();
    config->setDataDir(dir.string());

    federalPtr = DataMgmt::TaxReturnPtr(new DataMgmt::USTaxReturn());
    pa = new TestStateReturn(federalPtr, DataMgmt::TaxReturnDesc::pennsylvania(),
                             Utils::StringPool::shared());
    statePtr = DataMgmt::TaxReturnPtr(pa);
    probeEngine = new ProbeEngine(federal(), pa, TaxFormPrintMgmt::TaxFormPrinterPtr());
    enginePtr = CalculationMgmt::TaxReturnCalcEnginePtr(probeEngine);
    printer = new ListPrinter(*pa);
    printerPtr = TaxFormPrintMgmt::TaxFormPrinterPtr(printer);
    writer.reset(new ProbeWriter(federalPtr, statePtr, enginePtr, printerPtr, auditorPtr, config));
  }

  void TearDown() override {
    writer.reset();
    EXPECT_EQ(StandIn::diagnostics().unknownFieldWrites, 0);
    std::filesystem::remove_all(dir);
  }

  DataMgmt::USTaxReturn* federal() {
    return static_cast<DataMgmt::USTaxReturn*>(federalPtr.get());
  }
  DataMgmt::TaxReturn& returnOf(const FormId& form) {
    return form.isStateForm() ? static_cast<DataMgmt::TaxReturn&>(*pa) : *federalPtr;
  }
  DataMgmt::TaxFormPtr holder(const FormId& form, uint16_t copy = 1) {
    return returnOf(form).getFormOrCreate(form, copy);
  }
  void put(const FormId& form, const FieldId& field, const DataMgmt::FieldValue& value,
           uint16_t copy = 1) {
    holder(form, copy)->store(field, value);
  }
  void text(const FormId& form, const FieldId& field, const std::string& value, uint16_t copy = 1) {
    put(form, field, DataMgmt::FieldValue::ofText(value), copy);
  }
  void number(const FormId& form, const FieldId& field, double value, uint16_t copy = 1) {
    put(form, field, DataMgmt::FieldValue::of(value), copy);
  }
  void mark(const FormId& form, const FieldId& field, uint16_t copy = 1) {
    put(form, field, DataMgmt::FieldValue::mark(), copy);
  }

  std::string path(const std::string& name) const { return (dir / name).string(); }
  void writeFile(const std::string& name, const std::string& bytes) const {
    std::ofstream out(path(name), std::ios::binary);
    out << bytes;
  }
  std::vector<std::string> readLines(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
  }
  // The lines the probe wrote between opening and closing its output.
  template <class Body>
  std::vector<std::string> linesOf(Body body) {
    EXPECT_TRUE(writer->openOutput(path("out.txt")));
    body();
    writer->closeOutput();
    return readLines("out.txt");
  }

  std::filesystem::path dir;
  DataMgmt::OrvaneConfiguration* config = nullptr;
  DataMgmt::TaxReturnPtr federalPtr;
  DataMgmt::TaxReturnPtr statePtr;
  TestStateReturn* pa = nullptr;
  CalculationMgmt::TaxReturnCalcEnginePtr enginePtr;
  ProbeEngine* probeEngine = nullptr;
  TaxFormPrintMgmt::TaxFormPrinterPtr printerPtr;
  ListPrinter* printer = nullptr;
  AuditMgmt::TaxFormAuditorPtr auditorPtr;
  std::unique_ptr<ProbeWriter> writer;
};

// True when `lines` holds `line`.
inline bool hasLine(const std::vector<std::string>& lines, const std::string& line) {
  for (const std::string& l : lines) {
    if (l == line) return true;
  }
  return false;
}

// The lines whose code begins with `prefix`.
inline std::vector<std::string> withPrefix(const std::vector<std::string>& lines,
                                           const std::string& prefix) {
  std::vector<std::string> found;
  for (const std::string& l : lines) {
    if (l.compare(0, prefix.size(), prefix) == 0) found.push_back(l);
  }
  return found;
}

}  // namespace state_tif_test

#endif  // OUTPUT_TESTS_STATE_TIF_WRITER_FIXTURE_H_
