#include "host/change_watch.h"

#include <algorithm>
#include <string_view>

#include "host/tax_return.h"

namespace DataMgmt {
namespace {

// Whether two stored values are the same value (flags aside).
bool sameValue(const FieldValue& a, const FieldValue& b) {
  return a.kind == b.kind && a.number == b.number && std::string_view(a.text) == b.text;
}

// The form of a formKey.
Primitives::OVImmutableFormIdentifier formOfKey(long key) {
  return Primitives::OVImmutableFormIdentifier(static_cast<int>(key / 2), key % 2 != 0);
}

}  // namespace

ChangeWatch::ChangeWatch(TaxReturn& watched) : watched_(watched), outer_(watched.state_->watch) {
  watched.state_->watch = this;
}

ChangeWatch::~ChangeWatch() { watched_.state_->watch = outer_; }

void ChangeWatch::noteBefore(const Primitives::OVImmutableFormIdentifier& form, uint16_t copy, int field,
                             const FieldValue& before) {
  // Only the value before the first change counts: the later ones are
  // steps on the way.
  before_.try_emplace(Key{formKey(form), copy, field}, before);
  if (outer_ != nullptr) outer_->noteBefore(form, copy, field, before);
}

std::vector<ChangeWatch::Change> ChangeWatch::changes() const {
  static const FieldValue kNull;
  std::vector<Key> changed;
  for (const auto& entry : before_) {
    const Key& key = entry.first;
    const TaxForm* copy = watched_.find(formOfKey(key.form), key.copy);
    const FieldValue& now = copy == nullptr ? kNull : copy->stored(Primitives::OVImmutableIdentifier(key.field));
    if (!sameValue(entry.second, now)) changed.push_back(key);
  }
  std::sort(changed.begin(), changed.end(), [](const Key& a, const Key& b) {
    return a.form != b.form ? a.form < b.form : a.copy != b.copy ? a.copy < b.copy : a.field < b.field;
  });
  std::vector<Change> result;
  result.reserve(changed.size());
  for (const Key& key : changed) {
    result.push_back({formOfKey(key.form), key.copy, Primitives::OVImmutableIdentifier(key.field)});
  }
  return result;
}

}  // namespace DataMgmt
