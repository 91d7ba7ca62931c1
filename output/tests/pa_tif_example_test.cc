// The rich example return loaded with the test-data loader, calculated and
// written through the PA writer: its data file must equal the one kept
// beside it (examples/NAME.tif) byte for byte; the time stamp of the
// authentication header comes from a fixed clock. PA_UPDATE_GOLDEN=1
// writes the kept file afresh.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "host/configuration.h"
#include "host/stand_in.h"
#include "host/string_pool.h"
#include "host/system_mgr.h"
#include "host/us_tax_return.h"
#include "output/pa_tax_form_printer.h"
#include "output/pa_tif_file_writer.h"
#include "pahost/federal_items.h"

namespace {

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The data file of the return file `path`, written into `dir`.
std::string writeDataFile(const std::string& path, const std::filesystem::path& dir) {
  StandIn::resetAll();
  SystemMgmt::SystemMgr::setClock([] { return std::time_t(1555329600); });  // 2019-04-15 12:00 UTC
  DataMgmt::OrvaneConfiguration::getInstance().setDataDir(dir.string());
  auto* us = new DataMgmt::USTaxReturn();
  DataMgmt::TaxReturnPtr federal(us);
  auto* pa = new PADataMgmt::PATaxReturn(federal, DataMgmt::TaxReturnDesc::pennsylvania(),
                                         Utils::StringPool::shared());
  DataMgmt::TaxReturnPtr state(pa);
  TaxFormPrintMgmt::TaxFormPrinterPtr printer(new PATaxFormPrintMgmt::PATaxFormPrinter(*pa));
  auto* engine = new PACalculationMgmt::PATaxReturnCalcEngine(us, pa, printer);
  CalculationMgmt::TaxReturnCalcEnginePtr enginePtr(engine);
  applyFederalItems(path, *us);
  engine->loadInputTextFile(path, us);
  engine->loadInputTextFile(path, pa);
  engine->calcReturn(0);
  PATifWriteMgmt::PATifFileWriter writer(federal, state, enginePtr, printer, AuditMgmt::TaxFormAuditorPtr(),
                                         &DataMgmt::OrvaneConfiguration::getInstance());
  EXPECT_TRUE(writer.writeTifFile(1, 40));
  return readFile((dir / "40.tif").string());
}

// The codes that stand more than once in one record.
std::string repeatedCodes(const std::string& file) {
  std::istringstream in(file);
  std::set<std::string> seen;
  std::string repeated;
  for (std::string line; std::getline(in, line);) {
    if (line.compare(0, 2, "D ") == 0) seen.clear();
    const std::string code = line.substr(0, line.find(' '));
    const bool field = std::isdigit(static_cast<unsigned char>(line[0]));
    if (field && !seen.insert(code).second) repeated += line + "\n";
  }
  return repeated;
}

TEST(PATifExampleTest, RichReturnWritesItsDataFile) {
  const std::string name = std::string(PA_EXAMPLES_DIR) + "/joint_part_year_rich";
  const std::filesystem::path dir = ::testing::TempDir() + "pa_tif_example." + std::to_string(::getpid());
  std::filesystem::create_directories(dir);
  const std::string written = writeDataFile(name + ".txt", dir);
  if (std::getenv("PA_UPDATE_GOLDEN") != nullptr) std::ofstream(name + ".tif", std::ios::binary) << written;
  EXPECT_EQ(readFile(name + ".tif"), written);
  EXPECT_EQ("", repeatedCodes(written));  // a code means one thing in its record
  // A return files one PA-40 and one form 131: stale second copies add
  // nothing.
  const std::string twice = (dir / "twice.txt").string();
  std::ofstream(twice) << readFile(name + ".txt") << "PA40:2:F253:0\nFED131:2:F72481:1\n";
  EXPECT_EQ(written, writeDataFile(twice, dir));
  std::filesystem::remove_all(dir);
}

}  // namespace
