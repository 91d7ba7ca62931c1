// Field-identifier catalogs of the federal forms the module reads.
// `PAReturnInfoAltFieldIds` names fields of federal form 32783 and
// `PADirectDepositDebitAltFieldIds` fields of federal forms 43 and 155.
#ifndef CATALOGS_FEDERAL_FEDERAL_CATALOGS_H_
#define CATALOGS_FEDERAL_FEDERAL_CATALOGS_H_

#include "catalogs/field_catalog.h"

#define FIELD_CATALOG DECLARE_FIELD_CATALOG
#include "catalogs/federal/main_return.def"
#include "catalogs/federal/w2_1099.def"
#include "catalogs/federal/schedule_e.def"
#include "catalogs/federal/w2g_dependents.def"
#include "catalogs/federal/second_group.def"
#undef FIELD_CATALOG

#endif  // CATALOGS_FEDERAL_FEDERAL_CATALOGS_H_
