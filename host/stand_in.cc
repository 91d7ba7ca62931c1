#include "host/stand_in.h"

#include <vector>

namespace StandIn {
namespace {

std::vector<std::function<void()>>& hooks() {
  static std::vector<std::function<void()>> registered;
  return registered;
}

}  // namespace

Diagnostics& diagnostics() {
  static Diagnostics counts;
  return counts;
}

void resetAll() {
  diagnostics() = Diagnostics();
  for (const auto& reset : hooks()) reset();
}

ResetHook::ResetHook(std::function<void()> reset) { hooks().push_back(std::move(reset)); }

}  // namespace StandIn
