// Tables of repeated rows for the PA writer's records: one line per column
// of a row, its code "LLLLL.000.nnn" numbered by the row's occurrence.
#ifndef OUTPUT_PA_TIF_ROWS_H_
#define OUTPUT_PA_TIF_ROWS_H_

#include <cstddef>
#include <vector>

#include "catalogs/named_field.h"
#include "output/pa_tif_file_writer.h"

namespace PATifWriteMgmt {

// A line of a repeated row: the line number and the row's column.
template <class Catalog>
struct ColumnLine {
  int line;
  const NamedColumn<Catalog>& column;
};

// The lines of row `row` of a table of columns.
template <class Catalog, std::size_t N>
std::vector<OccurrenceLine> rowLines(const ColumnLine<Catalog> (&lines)[N], int row) {
  std::vector<OccurrenceLine> result;
  for (const ColumnLine<Catalog>& line : lines) {
    result.push_back({line.line, AnyNamedField(line.column, row)});
  }
  return result;
}

}  // namespace PATifWriteMgmt

#endif  // OUTPUT_PA_TIF_ROWS_H_
