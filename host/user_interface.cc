#include "host/user_interface.h"

namespace UIBridgeMgmt {

UserInterface::~UserInterface() = default;

}  // namespace UIBridgeMgmt
