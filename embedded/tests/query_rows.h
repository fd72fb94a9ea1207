// A query's whole result as one text, for tests that compare result sets.
#ifndef KAVEXDB_TESTS_QUERY_ROWS_H
#define KAVEXDB_TESTS_QUERY_ROWS_H

#include <string>

#include "client_fixture.h"

namespace clienttest {

// Rows joined with rowSeparator, columns with '|'; NULL shows as "-". With firstOnly only the
// first column of each row is shown.
inline std::string queryRows(Session& s, const std::string& sql, const char* rowSeparator = "\n",
                             bool firstOnly = false) {
    Statement* st = s.conn()->createStatement(sql);
    std::string out;
    try {
        st->execute();
        ResultSet* rs = st->getResultSet();
        const unsigned n =
            firstOnly ? 1u : static_cast<unsigned>(rs->getColumnListMetaData().size());
        bool first = true;
        while (rs->next() == ResultSet::DATA_AVAILABLE) {
            if (!first) out += rowSeparator;
            first = false;
            for (unsigned c = 1; c <= n; ++c)
                out += (c > 1 ? "|" : "") + (rs->isNull(c) ? std::string("-") : rs->getString(c));
        }
    } catch (...) {
        s.conn()->terminateStatement(st);
        throw;
    }
    s.conn()->terminateStatement(st);
    return out;
}

}  // namespace clienttest

#endif
