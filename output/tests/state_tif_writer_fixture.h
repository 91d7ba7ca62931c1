// A federal return, a PA return and a fixed-list printer around a probe of
// the state layer of the data-file writer (no engine, no PA records: the
// state layer's own lines alone), a scratch data directory, and the
// transcripts that tests compare with their golden files in golden/.
#ifndef OUTPUT_TESTS_STATE_TIF_WRITER_FIXTURE_H_
#define OUTPUT_TESTS_STATE_TIF_WRITER_FIXTURE_H_

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "return/pa_tax_return.h"
#include "catalogs/fields/fields.h"
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
using DataMgmt::FieldValue;
namespace fs = std::filesystem;

inline std::string bytesOf(const fs::path& file) {
  std::ostringstream bytes;
  bytes << std::ifstream(file, std::ios::binary).rdbuf();
  return bytes.str();
}

inline int occurrences(const std::string& text, const std::string& part) {
  int found = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++found;
  return found;
}

// The PA return with a settable abbreviation and a field mapping that may
// throw.
struct TestStateReturn : PADataMgmt::PATaxReturn {
  using PADataMgmt::PATaxReturn::PATaxReturn;
  void getStateAbbreviation(char* buf) override { std::snprintf(buf, 3, "%s", abbr.c_str()); }
  void mapStateField(const FormId& form, const FieldId& field, FormId& toForm, FieldId& toField) override {
    if (mapThrows && field.isValid()) throw Exceptions::OrvaneException("no copy 1", "PA", "mapStateField");
    PADataMgmt::PATaxReturn::mapStateField(form, field, toForm, toField);
  }
  std::string abbr = "PA";
  bool mapThrows = false;
};

// Lists a fixed set of forms (at most the 255 its caller has room for),
// counting them as the host does: the first count up to 127.
struct ListPrinter : StateTaxFormPrintMgmt::StateTaxFormPrinter {
  using StateTaxFormPrintMgmt::StateTaxFormPrinter::StateTaxFormPrinter;
  void formsToPrint(FormId* forms, char& countA, char& countB, int) override {
    std::copy_n(listed.begin(), std::min<std::size_t>(listed.size(), 255), forms);
    countA = static_cast<char>(std::min<std::size_t>(listed.size(), 127));
    countB = static_cast<char>(listed.size() - static_cast<unsigned char>(countA));
  }
  std::vector<FormId> listed;
};

// The state layer with recording header hook and its protected parts open.
struct ProbeWriter : StateTifWriteMgmt::StateTifFileWriter {
  using StateTifWriteMgmt::StateTifFileWriter::StateTifFileWriter;
  void convertStateHeaderField(DataMgmt::TaxFormPtr, const FormId&, uint16_t, const FieldId& field, char*,
                               char*) override {
    ++headerFields;
    if (field.getNumber() == throwAtField) throw Exceptions::OrvaneException("no mapping", "P", "c");
  }
  std::size_t headerFields = 0;
  int throwAtField = -1;
  using StateTifFileWriter::checkEFileInfoValue;
  using StateTifFileWriter::commitTifOutput;
  using StateTifFileWriter::convertEFileInfoField;
  using StateTifFileWriter::convertFilerInfoField;
  using StateTifFileWriter::descriptors;
  using StateTifFileWriter::headerFlag;
  using StateTifFileWriter::openTifOutput;
  using StateTifFileWriter::stripLeadingZeros;
  using StateTifFileWriter::writeAuthHeaderFields;
};

class StateTifWriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StandIn::resetAll();
    fs::remove_all(dir);
    fs::create_directories(dir);
    DataMgmt::OrvaneConfiguration::getInstance().setDataDir(dir.string());
    writer = makeWriter(printer = new ListPrinter(*pa));
  }
  // Without an engine (the golden data files show the calculation) unless
  // one is given.
  std::unique_ptr<ProbeWriter> makeWriter(TaxFormPrintMgmt::TaxFormPrinter* newPrinter,
                                          CalculationMgmt::TaxReturnCalcEnginePtr engine = {}) {
    TaxFormPrintMgmt::TaxFormPrinterPtr printerPtr(newPrinter);
    AuditMgmt::TaxFormAuditorPtr auditor;
    DataMgmt::OrvaneConfiguration* config = &DataMgmt::OrvaneConfiguration::getInstance();
    return std::unique_ptr<ProbeWriter>(new ProbeWriter(federal, state, engine, printerPtr, auditor, config));
  }
  void TearDown() override {
    writer.reset();
    EXPECT_EQ(StandIn::diagnostics().unknownFieldWrites, 0);
    EXPECT_EQ(IOMgmt::IOMgr::getInstance().liveReaders(), 0);
    fs::remove_all(dir);
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
  // Adds a case's result, under its title, to the transcript that a test
  // compares with its golden file.
  void note(const std::string& title, const std::string& result) {
    transcript += "# " + title + "\n" + result.substr(0, result.find_last_not_of(' ') + 1) + "\n";
  }
  // Compares `text` with the file `name` in golden/, which PA_UPDATE_GOLDEN
  // set in the environment first rewrites.
  void expectGolden(const std::string& name, const std::string& text) {
    const fs::path file = fs::path(PA_GOLDEN_DIR) / name;
    if (std::getenv("PA_UPDATE_GOLDEN") != nullptr) std::ofstream(file, std::ios::binary) << text;
    EXPECT_EQ(bytesOf(file), text) << name;
  }
  // The lines `body` has the writer write.
  template <class Body>
  std::string linesOf(Body body) {
    writer->openTifOutput(IOMgmt::FileNamePtr(new IOMgmt::FileName(path("out.txt"))));
    body();
    EXPECT_TRUE(writer->commitTifOutput());
    return bytesOf(path("out.txt"));
  }

  const fs::path dir = fs::path(::testing::TempDir()) / ("state_tif." + std::to_string(::getpid()));
  DataMgmt::TaxReturnPtr federal{new DataMgmt::USTaxReturn()};
  TestStateReturn* pa =
      new TestStateReturn(federal, DataMgmt::TaxReturnDesc::pennsylvania(), Utils::StringPool::shared());
  DataMgmt::TaxReturnPtr state{pa};
  ListPrinter* printer = nullptr;
  std::unique_ptr<ProbeWriter> writer;
  std::string transcript;
};

}  // namespace state_tif_test

#endif  // OUTPUT_TESTS_STATE_TIF_WRITER_FIXTURE_H_
