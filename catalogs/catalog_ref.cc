#include "catalogs/catalog_ref.h"

#include <cstddef>

#include "catalogs/catalogs.h"

const Primitives::OVImmutableIdentifier& fieldOf(FieldRef ref) {
  if (ref.member < 0) return Primitives::kNullFieldID;
  const std::size_t k = static_cast<std::size_t>(ref.member);
  switch (ref.catalog) {
    case CatalogId::kNone:
      break;
#define FIELD_CATALOG(name, members, runs) \
  case CatalogId::name:                    \
    return k##name[k];
#include "catalogs/state/pa_forms.def"
#include "catalogs/state/return_info.def"
#include "catalogs/state/ue_w2.def"
#include "catalogs/state/shared.def"
#include "catalogs/state/local_tax.def"
#include "catalogs/federal/main_return.def"
#include "catalogs/federal/w2_1099.def"
#include "catalogs/federal/schedule_e.def"
#include "catalogs/federal/w2g_dependents.def"
#include "catalogs/federal/second_group.def"
#undef FIELD_CATALOG
  }
  return Primitives::kNullFieldID;
}
