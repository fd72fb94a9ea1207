#include "extended_functions.h"

#include "conversion_forms.h"
#include "dictionary.h"
#include "oracle_joins.h"
#include "statistical_aggregates.h"
#include "synonyms.h"

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
