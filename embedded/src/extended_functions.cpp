#include "extended_functions.h"

#include "dictionary.h"

namespace kavexdb {
namespace detail {

void registerExtendedFunctions(sqlite3* db) {
    registerRegexpFunctions(db);
    registerTextFunctions(db);
    registerNumberFunctions(db);
    registerSessionInfoFunctions(db);
    registerListagg(db);
    registerDictionaryFunctions(db);
}

}  // namespace detail
}  // namespace kavexdb
