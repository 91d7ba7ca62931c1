#include "testing/fuzz/fuzz_session.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/fields/fields.h"
#include "host/string_pool.h"
#include "host/us_tax_return.h"
#include "identifiers/form_ids.h"
#include "return/pa_tax_return.h"

namespace PAFuzz {
namespace {

// The PA engine with the whole-return recalculation left out.
class ReaderEngine : public PACalculationMgmt::PATaxReturnCalcEngine {
 public:
  using PACalculationMgmt::PATaxReturnCalcEngine::PATaxReturnCalcEngine;
  void calcReturn(int) override {}
};

class Session {
 public:
  Session()
      : federal_(new DataMgmt::USTaxReturn()),
        pa_(federal_, DataMgmt::TaxReturnDesc::pennsylvania(), Utils::StringPool::shared()),
        engine_(static_cast<DataMgmt::USTaxReturn*>(federal_.get()), &pa_,
                TaxFormPrintMgmt::TaxFormPrinterPtr()),
        scratch_(scratchName("input")),
        formsAffected_(scratchName("forms")) {
    // The forms a relation may name: a few, in mixed case, so that each
    // run's name map stays small.
    std::ofstream(formsAffected_) << "pa40\nPAReturnInfo\nPAW2\nPAScheduleC\nno such form\n";
    reset();
  }
  ~Session() {
    std::remove(scratch_.c_str());
    std::remove(formsAffected_.c_str());
  }

  void run(Reader reader, const uint8_t* data, std::size_t size) {
    std::ofstream(scratch_, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    switch (reader) {
      case Reader::kTextLoader:
        engine_.loadInputTextFile(scratch_, federal_.get());
        engine_.loadInputTextFile(scratch_, &pa_);
        break;
      case Reader::kRelations:
        engine_.loadInputXmlFile(formsAffected_, scratch_, "/dev/null", &pa_, kFormID_PAReturnInfo,
                                 PAReturnInfo::kAutoTestInProgressBox);
        break;
      case Reader::kFieldGroups:
        engine_.scrubInputFields("PA", scratch_, &pa_, kFormID_PAReturnInfo,
                                 PAReturnInfo::kAutoTestDoneBox, PAReturnInfo::kAutoTestInProgressBox);
        break;
    }
    reset();
  }

 private:
  static std::string scratchName(const char* what) {
    const std::string name = "pa_fuzz_" + std::to_string(::getpid()) + "_" + what;
    return (std::filesystem::temp_directory_path() / name).string();
  }

  // Both returns empty, then a few PA entries for the scrubber to find:
  // names, three W-2 employers, an amount and the boxes' copy.
  void reset() {
    federal_->removeAllForms();
    pa_.removeAllForms();
    const auto text = [this](const DataMgmt::FormId& form, uint16_t copy,
                             const DataMgmt::FieldId& field, const char* value) {
      engine_.assignFieldFromText(form, copy, field, value, &pa_, false);
    };
    text(kFormID_PAReturnInfo, 1, PAReturnInfo::kTaxpayerFirstName, "Jane");
    text(kFormID_PAReturnInfo, 1, PAReturnInfo::kSpouseFirstName, "Joe");
    text(kFormID_PAReturnInfo, 1, PAReturnInfo::kFullYearResidentBox, "X");
    for (uint16_t copy = 1; copy <= 3; ++copy) text(kFormID_PAW2, copy, PAW2::kRowOwner.at(0), "Acme");
    text(kFormID_PA40, 1, PA40::kNetCompensation, "52000");
  }

  DataMgmt::TaxReturnPtr federal_;
  PADataMgmt::PATaxReturn pa_;
  ReaderEngine engine_;
  const std::string scratch_;
  const std::string formsAffected_;
};

}  // namespace

void runInput(Reader reader, const uint8_t* data, std::size_t size) {
  static Session session;
  session.run(reader, data, size);
}

}  // namespace PAFuzz
