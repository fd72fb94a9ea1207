/* Calls into the exports from a C translation unit that passes each bool byte as an int. */
#ifndef KAVEX_TESTS_FLAT_BOOL_ABI_H
#define KAVEX_TESTS_FLAT_BOOL_ABI_H

#ifdef __cplusplus
extern "C" {
#endif

int kavex_c_set_int(int sessionId, int index, int value, int isNullWord);
int kavex_c_set_string(int sessionId, int index, const char* value, int isNullWord);
int kavex_c_execute_query(int sessionId, const char* sql, int autoCommitWord);

#ifdef __cplusplus
}
#endif

#endif
