// Every field-identifier catalog of the module.
#ifndef CATALOGS_CATALOGS_H_
#define CATALOGS_CATALOGS_H_

#include "catalogs/federal/federal_catalogs.h"
#include "catalogs/state/state_catalogs.h"

#endif  // CATALOGS_CATALOGS_H_
