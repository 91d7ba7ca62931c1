// Field-identifier catalogs of the PA forms and the shared state-layer forms.
// Each `XFieldIds` pairs with `kFormID_X` unless its table says otherwise:
// `IncomeKindTableFieldIds` pairs with no form, `State16To18FieldIds` with
// state forms 16, 17 and 18, `FederalReturnTypeFieldIds` with state form 15.
#ifndef CATALOGS_STATE_STATE_CATALOGS_H_
#define CATALOGS_STATE_STATE_CATALOGS_H_

#include "catalogs/field_catalog.h"

#define FIELD_CATALOG DECLARE_FIELD_CATALOG
#include "catalogs/state/pa_forms.def"
#include "catalogs/state/return_info.def"
#include "catalogs/state/ue_w2.def"
#include "catalogs/state/shared.def"
#include "catalogs/state/local_tax.def"
#undef FIELD_CATALOG

#endif  // CATALOGS_STATE_STATE_CATALOGS_H_
