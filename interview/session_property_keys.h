// SessionPropertyKeys: the names under which the host keeps the session
// properties the module reads. Built at load, read-only afterwards.
#ifndef INTERVIEW_SESSION_PROPERTY_KEYS_H_
#define INTERVIEW_SESSION_PROPERTY_KEYS_H_

#include <string>

namespace SessionPropertyKeys {

extern const std::string kLLYStatus;     // "ui_prop_lly_status"
extern const std::string kImportStatus;  // "ui_prop_import_status"

}  // namespace SessionPropertyKeys

#endif  // INTERVIEW_SESSION_PROPERTY_KEYS_H_
