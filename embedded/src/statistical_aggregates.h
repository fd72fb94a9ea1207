// Oracle's statistical aggregates and analytic functions SQLite lacks: VARIANCE, VAR_SAMP,
// VAR_POP, STDDEV, STDDEV_SAMP, STDDEV_POP, COVAR_POP, COVAR_SAMP, CORR and MEDIAN.
#ifndef KAVEXDB_STATISTICAL_AGGREGATES_H
#define KAVEXDB_STATISTICAL_AGGREGATES_H

#include <sqlite3.h>

namespace kavexdb {
namespace detail {

void registerStatisticalAggregates(sqlite3* db);

}  // namespace detail
}  // namespace kavexdb

#endif
