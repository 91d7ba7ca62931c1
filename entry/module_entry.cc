#include "entry/module_entry.h"

#include <cstdlib>
#include <string>

namespace {

// Kept as text and converted on each call, as the host's other modules do.
const char kCompatVersionText[] = "6101";

}  // namespace

uint16_t compatVersion() {
  const std::string text(kCompatVersionText);
  return static_cast<uint16_t>(std::atoi(text.c_str()));
}
