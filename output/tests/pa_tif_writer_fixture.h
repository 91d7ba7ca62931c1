// A federal return, a PA return and the PA printer around the PA writer,
// whose lines go to a scratch file that the tests read back. Nothing is
// calculated: each test stores the values the writer reads.
#ifndef OUTPUT_TESTS_PA_TIF_WRITER_FIXTURE_H_
#define OUTPUT_TESTS_PA_TIF_WRITER_FIXTURE_H_

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "catalogs/fields/fields.h"
#include "host/configuration.h"
#include "host/stand_in.h"
#include "host/string_pool.h"
#include "host/us_tax_return.h"
#include "identifiers/form_ids.h"
#include "output/pa_tax_form_printer.h"
#include "output/pa_tif_file_writer.h"

namespace pa_tif_test {

typedef std::vector<std::string> Lines;
using DataMgmt::FieldId;
using DataMgmt::FieldValue;
using DataMgmt::FormId;

// The PA writer with its record writers open and its output in a file.
struct ProbeWriter : PATifWriteMgmt::PATifFileWriter {
  using PATifFileWriter::PATifFileWriter;
  using PATifFileWriter::writePAPA1099GRecord;
  using PATifFileWriter::writePAPARTNHDRRecord;
  using PATifFileWriter::writePAPASCHW2MRecord;
  using PATifFileWriter::writeScheduleDTransactions;
  void open(const std::string& path) { fileWriter.open(IOMgmt::FileNamePtr(new IOMgmt::FileName(path))); }
  void close() {
    outputValueSet();
    fileWriter.close();
  }
};

class PATifWriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StandIn::resetAll();
    federal = DataMgmt::TaxReturnPtr(new DataMgmt::USTaxReturn());
    auto* pa = new PADataMgmt::PATaxReturn(federal, DataMgmt::TaxReturnDesc::pennsylvania(),
                                           Utils::StringPool::shared());
    state = DataMgmt::TaxReturnPtr(pa);
    TaxFormPrintMgmt::TaxFormPrinterPtr printer(new PATaxFormPrintMgmt::PATaxFormPrinter(*pa));
    writer.reset(new ProbeWriter(federal, state, CalculationMgmt::TaxReturnCalcEnginePtr(), printer,
                                 AuditMgmt::TaxFormAuditorPtr(), &DataMgmt::OrvaneConfiguration::getInstance()));
  }
  void TearDown() override { std::remove(path.c_str()); }

  DataMgmt::TaxFormPtr copyOf(const FormId& form, uint16_t copy = 1) {
    return (form.isStateForm() ? state : federal)->getFormOrCreate(form, copy);
  }
  void text(const FormId& form, const FieldId& field, const std::string& value, uint16_t copy = 1) {
    copyOf(form, copy)->store(field, FieldValue::ofText(value));
  }
  void number(const FormId& form, const FieldId& field, double value, uint16_t copy = 1) {
    copyOf(form, copy)->store(field, FieldValue::of(value));
  }
  void mark(const FormId& form, const FieldId& field, uint16_t copy = 1) {
    copyOf(form, copy)->store(field, FieldValue::mark());
  }

  // The lines written while `body` runs.
  template <class Body>
  Lines linesOf(Body body) {
    writer->open(path);
    body();
    writer->close();
    std::ifstream in(path, std::ios::binary);
    Lines lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  // Converts one field holding `value`: the lines written, the field's own
  // line "FIELD <value as written>" last (none for a cleared value).
  Lines convert(const FormId& form, const FieldId& field, const std::string& value, uint16_t copy = 1) {
    char code[TifWriteMgmt::kTifCodeSize] = "FIELD";
    char buffer[TifWriteMgmt::kTifValueSize];
    std::snprintf(buffer, sizeof buffer, "%s", value.c_str());
    return linesOf([&] { writer->convertTifField(copyOf(form, copy), form, copy, field, code, buffer); });
  }

  DataMgmt::TaxReturnPtr federal, state;
  std::unique_ptr<ProbeWriter> writer;
  const std::string path = ::testing::TempDir() + "pa_tif." + std::to_string(::getpid()) + ".txt";
};

// The lines that begin with one of `prefixes`, in file order.
inline Lines withPrefix(const Lines& lines, std::initializer_list<std::string> prefixes) {
  Lines found;
  for (const std::string& line : lines) {
    for (const std::string& prefix : prefixes) {
      if (line.compare(0, prefix.size(), prefix) == 0) found.push_back(line);
    }
  }
  return found;
}
inline Lines withPrefix(const Lines& lines, const std::string& prefix) { return withPrefix(lines, {prefix}); }

}  // namespace pa_tif_test

#endif  // OUTPUT_TESTS_PA_TIF_WRITER_FIXTURE_H_
