// Properties::DisplayValuePairs: an option list the host shows for a field,
// each entry a display text and the value stored when it is chosen.
#ifndef HOST_DISPLAY_VALUE_PAIRS_H_
#define HOST_DISPLAY_VALUE_PAIRS_H_

#include <string>
#include <utility>
#include <vector>

#include "host/host_api.h"

namespace Properties {

class HOST_API DisplayValuePairs {
 public:
  void clear() { pairs_.clear(); }
  // An entry whose display text is also its value.
  void addPair(const char* displayAndValue) { addPair(displayAndValue, displayAndValue); }
  void addPair(const char* display, const char* value) {
    pairs_.emplace_back(display ? display : "", value ? value : "");
  }
  std::size_t size() const { return pairs_.size(); }
  // Entry i as (display, value); i must be below size().
  const std::pair<std::string, std::string>& at(std::size_t i) const { return pairs_.at(i); }

 private:
  std::vector<std::pair<std::string, std::string>> pairs_;
};

}  // namespace Properties

#endif  // HOST_DISPLAY_VALUE_PAIRS_H_
