#include "host/configuration.h"

#include "host/stand_in.h"

namespace DataMgmt {
namespace {

const StandIn::ResetHook kResetConfiguration([] { OrvaneConfiguration::getInstance().reset(); });

}  // namespace

OrvaneConfiguration::OrvaneConfiguration() { reset(); }

OrvaneConfiguration& OrvaneConfiguration::getInstance() {
  static OrvaneConfiguration instance;
  return instance;
}

void OrvaneConfiguration::reset() {
  allowAutoTest_ = false;
  versionText_ = "2018.0";
  autoTestDir_.clear();
  dataDir_ = ".";
  pdfDir_ = ".";
  hostInputFiles_.clear();
  hostOutputs_.clear();
}

}  // namespace DataMgmt
