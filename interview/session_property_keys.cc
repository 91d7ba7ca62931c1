#include "interview/session_property_keys.h"

namespace SessionPropertyKeys {

const std::string kLLYStatus = "ui_prop_lly_status";
const std::string kImportStatus = "ui_prop_import_status";

}  // namespace SessionPropertyKeys
