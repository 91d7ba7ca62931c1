#include "host/efile.h"

#include <map>

#include "host/stand_in.h"

namespace EFileMgmt {
namespace {

// The process-wide state every handle reads.
struct EFileState {
  std::map<DataMgmt::TaxReturnType, int32_t> status;       // absent: 0
  DataMgmt::TaxReturnType curFileReturnType = 40;
  std::map<DataMgmt::TaxReturnType, int> resEfileType;     // absent: 1
};

EFileState& state() {
  static EFileState s;
  return s;
}

const StandIn::ResetHook kResetEFile([] { state() = EFileState(); });

}  // namespace

EFileMgrHandle::EFileMgrHandle() = default;
EFileMgrHandle::~EFileMgrHandle() = default;

int32_t EFileMgrHandle::getStateReturnStatus(DataMgmt::TaxReturnType type, bool, bool) const {
  auto it = state().status.find(type);
  return it == state().status.end() ? 0 : it->second;
}

DataMgmt::TaxReturnType EFileMgrHandle::getCurFileReturnType() const {
  return state().curFileReturnType;
}

int EFileMgrHandle::getStateResEfileType(DataMgmt::TaxReturnType type) const {
  auto it = state().resEfileType.find(type);
  return it == state().resEfileType.end() ? 1 : it->second;
}

void EFileMgrHandle::setStateReturnStatus(DataMgmt::TaxReturnType type, int32_t status) {
  state().status[type] = status;
}

void EFileMgrHandle::setCurFileReturnType(DataMgmt::TaxReturnType type) {
  state().curFileReturnType = type;
}

void EFileMgrHandle::setStateResEfileType(DataMgmt::TaxReturnType type, int resEfileType) {
  state().resEfileType[type] = resEfileType;
}

}  // namespace EFileMgmt
