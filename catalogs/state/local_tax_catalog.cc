// The Local Income Tax Return's catalog lives in a file of its own, built
// after the other state catalogs.
#include "catalogs/state/state_catalogs.h"

#define FIELD_CATALOG DEFINE_FIELD_CATALOG
#include "catalogs/state/local_tax.def"
#undef FIELD_CATALOG
