#include "host/stand_in.h"

#include <vector>

#include "host/descriptors.h"

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

void noteTextUse(const DataMgmt::TaxFormDesc& form, const Primitives::OVImmutableIdentifier& field,
                 bool write) {
  const DataMgmt::FieldTraits traits = form.traitsOf(field);
  if (!traits.known || traits.kind == DataMgmt::kTextField) return;
  const Primitives::OVImmutableFormIdentifier id = form.getTypeID();
  diagnostics().textUsesOfOtherFields.insert(
      {id.isStateForm(), id.getNumber(), field.getNumber(), write});
}

void resetAll() {
  diagnostics() = Diagnostics();
  for (const auto& reset : hooks()) reset();
}

ResetHook::ResetHook(std::function<void()> reset) { hooks().push_back(std::move(reset)); }

}  // namespace StandIn
