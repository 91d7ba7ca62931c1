// FieldRef: a field named in a constant table as (catalog, member).
//
// Catalogs are objects built when the library loads, so a constant table
// cannot hold their members directly. A table row keeps the catalog's
// CatalogId and the member index instead, and resolves them on use with
// fieldOf. A member past the catalog's end, or CatalogId::kNone, resolves
// to kNullFieldID, which the host reads as no field.
#ifndef CATALOGS_CATALOG_REF_H_
#define CATALOGS_CATALOG_REF_H_

#include "host/identifier.h"

// One enumerator per catalog, named like the catalog type.
enum class CatalogId {
  kNone,
#define FIELD_CATALOG(name, members, runs) name,
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
};

struct FieldRef {
  CatalogId catalog;
  int member;
};

// Member `ref.member` of the named catalog.
const Primitives::OVImmutableIdentifier& fieldOf(FieldRef ref);

#endif  // CATALOGS_CATALOG_REF_H_
