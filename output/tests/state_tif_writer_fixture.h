// A federal return, a PA return, a probe engine and a fixed-list printer
// around a probe of the state layer of the data-file writer, with a
// scratch data directory. The probe records the state hooks instead of
// writing PA records, so the state layer's own lines can be read back alone.
#ifndef OUTPUT_TESTS_STATE_TIF_WRITER_FIXTURE_H_
#define OUTPUT_TESTS_STATE_TIF_WRITER_FIXTURE_H_

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/fields/fields.h"
#include "entry/pa_tax_return.h"
#include "host/configuration.h"
#include "host/field_value.h"
#include "host/orvane_exception.h"
#include "host/stand_in.h"
#include "host/state_printer.h"
#include "host/string_pool.h"
#include "host/tax_form.h"
#include "host/us_tax_return.h"
#include "identifiers/form_ids.h"
#include "output/state_tif_file_writer.h"

namespace state_tif_test {

typedef Primitives::OVImmutableFormIdentifier FormId;
typedef Primitives::OVImmutableIdentifier FieldId;
typedef std::vector<std::string> Lines;
using DataMgmt::FieldValue;

// The PA return with a settable abbreviation and amount owed.
struct TestStateReturn : PADataMgmt::PATaxReturn {
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

// Records the whole-return and the per-form calculations.
struct ProbeEngine : PACalculationMgmt::PATaxReturnCalcEngine {
  using PACalculationMgmt::PATaxReturnCalcEngine::PATaxReturnCalcEngine;
  void calcReturn(int flag) override { calls.push_back("calcReturn " + std::to_string(flag)); }
  void calcStateForm(const FormId& formId, uint16_t copy, bool entered, int passOn, int spare,
                     DataMgmt::TaxFormPtr form) override {
    char call[80];
    std::snprintf(call, sizeof call, "calcStateForm %d %d %d %d %d %d", formId.getNumber(), copy, entered,
                  passOn, spare, !form.isNull());
    calls.push_back(call);
  }
  Lines calls;
};

// Lists a fixed set of forms to print.
struct ListPrinter : StateTaxFormPrintMgmt::StateTaxFormPrinter {
  using StateTaxFormPrintMgmt::StateTaxFormPrinter::StateTaxFormPrinter;
  void formsToPrint(FormId* forms, char& countA, char& countB, int mode) override {
    std::copy(listed.begin(), listed.end(), forms);
    forms[listed.size()] = FormId();
    countA = static_cast<char>(listed.size());
    countB = 0;
    lastMode = mode;
  }
  std::vector<FormId> listed;
  int lastMode = -1;
};

// The state layer with recording state hooks and its protected parts open.
struct ProbeWriter : StateTifWriteMgmt::StateTifFileWriter {
  using StateTifWriteMgmt::StateTifFileWriter::StateTifFileWriter;
  void convertStateTifField(DataMgmt::TaxFormPtr, const FormId& formId, uint16_t, const FieldId& field,
                            char*, char*, bool&, bool&) override {
    stateFields.push_back({formId.getNumber(), field.getNumber()});
  }
  void convertStateHeaderField(DataMgmt::TaxFormPtr, const FormId& formId, uint16_t, const FieldId& field,
                               char*, char*) override {
    headerFields.push_back({formId.getNumber(), field.getNumber()});
    if (field.getNumber() == throwAtField) throw Exceptions::OrvaneException("no mapping", "P", "c");
  }
  std::vector<std::pair<int, int>> stateFields;   // form, field
  std::vector<std::pair<int, int>> headerFields;  // form, field
  int throwAtField = -1;

  using StateTifFileWriter::checkEFileInfoValue;
  using StateTifFileWriter::convertEFileInfoField;
  using StateTifFileWriter::convertFilerInfoField;
  using StateTifFileWriter::stripLeadingZeros;
  using StateTifFileWriter::writeAuthHeaderFields;
  void setHeaderFlag(bool flag) { headerFlag = flag; }
  bool getHeaderFlag() const { return headerFlag; }
  void setMode(uint8_t m) { mode = m; }
  void setDescriptors(const DataMgmt::TifFieldDescriptorListPtr& list) { descriptors = list; }
  bool openOutput(const std::string& path) { return fileWriter.open(IOMgmt::FileNamePtr(new IOMgmt::FileName(path))); }
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
    dir = std::filesystem::path(::testing::TempDir()) /
          ("state_tif." + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "." +
           std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    DataMgmt::OrvaneConfiguration::getInstance().setDataDir(dir.string());
    federal = DataMgmt::TaxReturnPtr(new DataMgmt::USTaxReturn());
    pa = new TestStateReturn(federal, DataMgmt::TaxReturnDesc::pennsylvania(), Utils::StringPool::shared());
    state = DataMgmt::TaxReturnPtr(pa);
    engine = new ProbeEngine(static_cast<DataMgmt::USTaxReturn*>(federal.get()), pa,
                             TaxFormPrintMgmt::TaxFormPrinterPtr());
    enginePtr = CalculationMgmt::TaxReturnCalcEnginePtr(engine);
    printer = new ListPrinter(*pa);
    printerPtr = TaxFormPrintMgmt::TaxFormPrinterPtr(printer);
    makeWriter();
  }
  void makeWriter() {
    DataMgmt::OrvaneConfiguration* config = &DataMgmt::OrvaneConfiguration::getInstance();
    writer.reset(new ProbeWriter(federal, state, enginePtr, printerPtr, auditorPtr, config));
  }
  void TearDown() override {
    writer.reset();
    EXPECT_EQ(StandIn::diagnostics().unknownFieldWrites, 0);
    EXPECT_EQ(IOMgmt::IOMgr::getInstance().liveReaders(), 0);
    std::filesystem::remove_all(dir);
  }

  DataMgmt::TaxFormPtr holder(const FormId& form, uint16_t copy = 1) {
    return (form.isStateForm() ? state : federal)->getFormOrCreate(form, copy);
  }
  void put(const FormId& form, const FieldId& field, const FieldValue& value) { holder(form)->store(field, value); }
  void text(const FormId& form, const FieldId& field, const std::string& value) {
    put(form, field, FieldValue::ofText(value));
  }

  std::string path(const std::string& name) const { return (dir / name).string(); }
  void writeFile(const std::string& name, const std::string& bytes) const {
    std::ofstream(path(name), std::ios::binary) << bytes;
  }
  Lines readLines(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    Lines lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  // The lines the probe wrote between opening and closing its output.
  template <class Body>
  Lines linesOf(Body body) {
    EXPECT_TRUE(writer->openOutput(path("out.txt")));
    body();
    writer->closeOutput();
    return readLines("out.txt");
  }

  std::filesystem::path dir;
  DataMgmt::TaxReturnPtr federal, state;
  TestStateReturn* pa = nullptr;
  CalculationMgmt::TaxReturnCalcEnginePtr enginePtr;
  ProbeEngine* engine = nullptr;
  TaxFormPrintMgmt::TaxFormPrinterPtr printerPtr;
  ListPrinter* printer = nullptr;
  AuditMgmt::TaxFormAuditorPtr auditorPtr;
  std::unique_ptr<ProbeWriter> writer;
};

inline bool hasLine(const Lines& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The lines that begin with `prefix`.
inline Lines withPrefix(const Lines& lines, const std::string& prefix) {
  Lines found;
  std::copy_if(lines.begin(), lines.end(), std::back_inserter(found),
               [&](const std::string& l) { return l.compare(0, prefix.size(), prefix) == 0; });
  return found;
}

}  // namespace state_tif_test

#endif  // OUTPUT_TESTS_STATE_TIF_WRITER_FIXTURE_H_
