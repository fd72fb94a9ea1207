/* Opens a private database through the installed library, reads one row and closes the session. */
#include <kavex_oracleociw.h>
#include <stdio.h>

int main(void) {
    int session = OpenConnection(":memory:", "u", "p");
    if (session < 0) {
        fprintf(stderr, "OpenConnection: %s\n", GetError(session));
        return 1;
    }
    int status = ExecuteQuery(session, "SELECT 1 FROM DUAL", 1);
    if (status < 0) {
        fprintf(stderr, "ExecuteQuery: %s\n", GetError(status));
        return 1;
    }
    int rows = 0;
    while (NextRow(session) == 1) {
        ++rows;
    }
    if (CloseConnection(session) != 0 || rows != 1) {
        fprintf(stderr, "%d rows\n", rows);
        return 1;
    }
    printf("consumer: 1 row\n");
    return 0;
}
