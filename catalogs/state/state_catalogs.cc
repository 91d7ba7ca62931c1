// The state catalogs, built at load in table order.
#include "catalogs/state/state_catalogs.h"

#define FIELD_CATALOG DEFINE_FIELD_CATALOG
#include "catalogs/state/pa_forms.def"
#include "catalogs/state/return_info.def"
#include "catalogs/state/ue_w2.def"
#include "catalogs/state/shared.def"
#undef FIELD_CATALOG
