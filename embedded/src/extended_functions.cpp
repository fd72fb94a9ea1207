#include "extended_functions.h"

namespace kavexdb {
namespace detail {

void registerExtendedFunctions(sqlite3* db) {
    registerRegexpFunctions(db);
    registerTextFunctions(db);
    registerNumberFunctions(db);
    registerSessionInfoFunctions(db);
    registerListagg(db);
}

}  // namespace detail
}  // namespace kavexdb
