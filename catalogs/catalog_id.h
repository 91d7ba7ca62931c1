// CatalogId: one enumerator per field catalog, for the run-time view of the
// named-field tables (fields/field_tables.h), which are looked up by
// catalog. kNone names no catalog.
#ifndef CATALOGS_CATALOG_ID_H_
#define CATALOGS_CATALOG_ID_H_

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

#endif  // CATALOGS_CATALOG_ID_H_
