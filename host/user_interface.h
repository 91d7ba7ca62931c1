// UIBridgeMgmt::UserInterface: the host's bridge to its user interface.
//
// The module asks it only whether the user is recording a session. The
// host has no user interface by default (TaxDataMgrHandle answers null);
// a test installs one with TaxDataMgrHandle::setUserInterface and keeps
// ownership of it.
#ifndef HOST_USER_INTERFACE_H_
#define HOST_USER_INTERFACE_H_

#include "host/host_api.h"

namespace UIBridgeMgmt {

class HOST_API UserInterface {
 public:
  explicit UserInterface(bool recording = false) : recording_(recording) {}
  virtual ~UserInterface();

  // Whether the user is recording the session.
  virtual bool recordingQuery() const { return recording_; }
  void setRecording(bool recording) { recording_ = recording; }  // ours

 private:
  bool recording_;
};

}  // namespace UIBridgeMgmt

#endif  // HOST_USER_INTERFACE_H_
