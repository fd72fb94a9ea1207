// Oracle's statistical aggregates and analytic functions SQLite lacks: VARIANCE, VAR_SAMP,
// VAR_POP, STDDEV, STDDEV_SAMP, STDDEV_POP, COVAR_POP, COVAR_SAMP, CORR, MEDIAN,
// PERCENTILE_CONT and PERCENTILE_DISC.
#ifndef KAVEXDB_STATISTICAL_AGGREGATES_H
#define KAVEXDB_STATISTICAL_AGGREGATES_H

#include <sqlite3.h>

#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {


// PERCENTILE_CONT(p) | PERCENTILE_DISC(p) WITHIN GROUP (ORDER BY x [ASC | DESC])
// -> ORA$PERCENTILE(p, 'C' | 'D', 'A' | 'D', x), an aggregate that also takes OVER (...).
void rewritePercentiles(TokenEditor& e);

}  // namespace detail
}  // namespace kavexdb

#endif
