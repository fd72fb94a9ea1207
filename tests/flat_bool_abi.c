/* A host that passes its booleans in a wider register: only the low byte may count. These
 * prototypes deliberately declare the flag as an int, as such a host's declaration does. */
#include "flat_bool_abi.h"

int SetInt(int sessionId, int index, int value, int isNull);
int SetString(int sessionId, int index, const char* value, int isNull);
int ExecuteQuery(int sessionId, const char* sql, int autoCommit);

int kavex_c_set_int(int sessionId, int index, int value, int isNullWord) {
    return SetInt(sessionId, index, value, isNullWord);
}

int kavex_c_set_string(int sessionId, int index, const char* value, int isNullWord) {
    return SetString(sessionId, index, value, isNullWord);
}

int kavex_c_execute_query(int sessionId, const char* sql, int autoCommitWord) {
    return ExecuteQuery(sessionId, sql, autoCommitWord);
}
