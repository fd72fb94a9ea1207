#include "functions/extended_functions.h"

#include "catalog/dictionary.h"
#include "catalog/synonyms.h"
#include "functions/statistical_aggregates.h"
#include "rewrite/expr/conversion_forms.h"
#include "rewrite/query/oracle_joins.h"

namespace kavexdb {
namespace detail {

void registerExtendedFunctions(sqlite3* db) {
    registerRegexpFunctions(db);
    registerTextFunctions(db);
    registerCharacterFunctions(db);
    registerNumberFunctions(db);
    registerSessionInfoFunctions(db);
    registerListagg(db);
    registerKeepAggregate(db);
    registerHypotheticalRanks(db);
    registerStatisticalAggregates(db);
    registerDictionaryFunctions(db);
    registerJoinFunctions(db);
    registerConversionFormFunctions(db);
    registerSynonymFunctions(db);
}

}  // namespace detail
}  // namespace kavexdb
