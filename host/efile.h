// EFileMgmt::EFileMgrHandle: a handle on the host's electronic-filing
// manager.
//
// Handles are plain copyable values; every handle reads the one
// process-wide e-file state. That state is the e-file status per return
// type (0 by default; status 2 means the return is being filed
// electronically), the return type of the file being prepared (40 by
// default) and the residency e-file type per return type (1 by default).
// Tests set it with the static setters; StandIn::resetAll restores the
// defaults.
#ifndef HOST_EFILE_H_
#define HOST_EFILE_H_

#include <cstdint>

#include "host/descriptors.h"
#include "host/host_api.h"

namespace EFileMgmt {

class HOST_API EFileMgrHandle {
 public:
  EFileMgrHandle();
  ~EFileMgrHandle();
  EFileMgrHandle(const EFileMgrHandle&) = default;
  EFileMgrHandle& operator=(const EFileMgrHandle&) = default;

  // The e-file status of a state return; the two flags do not change the
  // stand-in's answer.
  int32_t getStateReturnStatus(DataMgmt::TaxReturnType type, bool flagA, bool flagB) const;
  // The return type of the file the manager is preparing.
  DataMgmt::TaxReturnType getCurFileReturnType() const;
  // The residency e-file type the manager offers a state return.
  int getStateResEfileType(DataMgmt::TaxReturnType type) const;

  // Test controls (ours); they change the shared state.
  static void setStateReturnStatus(DataMgmt::TaxReturnType type, int32_t status);
  static void setCurFileReturnType(DataMgmt::TaxReturnType type);
  static void setStateResEfileType(DataMgmt::TaxReturnType type, int resEfileType);
};

}  // namespace EFileMgmt

#endif  // HOST_EFILE_H_
