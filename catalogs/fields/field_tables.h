// The named-field tables at run time: the rows of a form's table, and a
// lookup by host field number (for tests, and for the line labels that the
// printer and pahost show beside a value).
#ifndef CATALOGS_FIELDS_FIELD_TABLES_H_
#define CATALOGS_FIELDS_FIELD_TABLES_H_

#include "catalogs/catalog_id.h"
#include "catalogs/named_field.h"

// The rows of the catalog's table, ended by a row whose name is null; null
// for a catalog without a table.
const NamedFieldInfo* namedFieldRows(CatalogId catalog);

// The row naming host field `number` in the catalog's table, or null.
const NamedFieldInfo* findNamedField(CatalogId catalog, int number);

#endif  // CATALOGS_FIELDS_FIELD_TABLES_H_
