// The federal catalogs, built at load in table order.
#include "catalogs/federal/federal_catalogs.h"

#define FIELD_CATALOG DEFINE_FIELD_CATALOG
#include "catalogs/federal/main_return.def"
#include "catalogs/federal/w2_1099.def"
#include "catalogs/federal/schedule_e.def"
#include "catalogs/federal/w2g_dependents.def"
#include "catalogs/federal/second_group.def"
#undef FIELD_CATALOG
