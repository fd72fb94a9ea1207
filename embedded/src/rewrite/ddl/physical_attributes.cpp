#include "rewrite/ddl/physical_attributes.h"

#include <algorithm>

namespace kavexdb {
namespace detail {

namespace {

std::size_t pastGroupOrToken(const TokenEditor& e, std::size_t k) {
    if (e.punct(k, '(')) return e.pastParens(k);
    return k < e.size() ? k + 1 : k;
}

// Just past the attribute starting at k, or k when none starts there.
std::size_t pastAttribute(const TokenEditor& e, std::size_t k) {
    const std::size_t n = e.next(k + 1);
    for (const char* w : {"LOGGING", "NOLOGGING", "CACHE", "NOCACHE", "MONITORING",
                          "NOMONITORING", "ROWDEPENDENCIES", "NOROWDEPENDENCIES", "NOPARALLEL",
                          "NOCOMPRESS", "NOSORT", "REVERSE", "ONLINE", "VISIBLE", "INVISIBLE"})
        if (e.word(k, w)) return k + 1;
    for (const char* w : {"TABLESPACE", "PCTFREE", "PCTUSED", "INITRANS", "MAXTRANS", "FREELISTS"})
        if (e.word(k, w)) return pastGroupOrToken(e, n);
    if (e.word(k, "STORAGE") || e.word(k, "RESULT_CACHE")) return pastGroupOrToken(e, n);
    if (e.word(k, "PARALLEL"))
        return e.punct(n, '(') || (n < e.size() && e.at(n).kind == Token::Kind::Number)
                   ? pastGroupOrToken(e, n)
                   : k + 1;
    if (e.word(k, "COMPRESS")) {
        if (n < e.size() && e.at(n).kind == Token::Kind::Number) return n + 1;
        if (e.word(n, "BASIC") || e.word(n, "ADVANCED")) return n + 1;
        if (!e.word(n, "FOR")) return k + 1;
        std::size_t m = e.next(n + 1);  // OLTP, QUERY, ARCHIVE, ALL OPERATIONS ...
        if (e.word(m, "ALL") || e.word(m, "DIRECT_LOAD")) m = e.next(m + 1);
        m = e.next(m + 1);
        if (e.word(m, "LOW") || e.word(m, "HIGH")) m = e.next(m + 1);
        return m;
    }
    if (e.word(k, "SEGMENT") && e.word(n, "CREATION")) return e.next(n + 1) + 1;
    if (e.word(k, "COMPUTE") && e.word(n, "STATISTICS")) return n + 1;
    if ((e.word(k, "ENABLE") || e.word(k, "DISABLE")) && e.word(n, "ROW") &&
        e.word(e.next(n + 1), "MOVEMENT"))
        return e.next(n + 1) + 1;
    // An index-organized table keeps its rows in its primary key's order: a storage choice,
    // with its own attributes (INCLUDING col OVERFLOW [attributes], PCTTHRESHOLD n, MAPPING
    // TABLE | NOMAPPING).
    if (e.word(k, "ORGANIZATION") && (e.word(n, "HEAP") || e.word(n, "INDEX"))) return n + 1;
    if (e.word(k, "OVERFLOW") || e.word(k, "NOMAPPING")) return k + 1;
    if (e.word(k, "PCTTHRESHOLD") || e.word(k, "INCLUDING")) return pastGroupOrToken(e, n);
    if (e.word(k, "MAPPING") && e.word(n, "TABLE")) return n + 1;
    // Partitioning: PARTITION BY RANGE (k) [INTERVAL (...)] [SUBPARTITION BY ...] [PARTITIONS n]
    // [(PARTITION p VALUES LESS THAN (...), ...)]; an index's LOCAL [(...)].
    if ((e.word(k, "PARTITION") && e.word(n, "BY")) || e.word(k, "LOCAL")) {
        std::size_t m = e.word(k, "LOCAL") ? n : e.next(n + 1);
        for (;;) {
            bool part = e.punct(m, '(') ||
                        (m < e.size() && e.at(m).kind == Token::Kind::Number);
            for (const char* w : {"RANGE", "LIST", "HASH", "REFERENCE", "SYSTEM", "INTERVAL",
                                  "SUBPARTITION", "SUBPARTITIONS", "PARTITIONS", "BY",
                                  "TEMPLATE", "STORE", "IN", "AUTOMATIC"})
                part = part || e.word(m, w);
            if (!part) return m;
            m = e.next(pastGroupOrToken(e, m));
        }
    }
    if (e.word(k, "LOB") && e.punct(n, '(')) {
        // LOB (columns) STORE AS [SECUREFILE | BASICFILE] [segment] [(parameters)]
        std::size_t m = e.next(e.pastParens(n));
        if (!e.word(m, "STORE") || !e.word(e.next(m + 1), "AS")) return k;
        m = e.next(e.next(m + 1) + 1);
        if (e.word(m, "SECUREFILE") || e.word(m, "BASICFILE")) m = e.next(m + 1);
        if (e.name(m) && !e.punct(m, '(')) m = e.next(m + 1);
        if (e.punct(m, '(')) m = e.pastParens(m);
        return m;
    }
    return k;
}

// Erases the attributes from k on, up to the end, a depth-0 AS or the first token that is none.
void eraseAttributes(TokenEditor& e, std::size_t k) {
    for (k = e.next(k); k < e.size();) {
        const std::size_t past = pastAttribute(e, k);
        if (past == k) return;
        e.erase(k, past);
        k = e.next(past);
    }
}

// USING INDEX [(CREATE INDEX ...) | name | attributes] inside [from, to).
void eraseUsingIndex(TokenEditor& e, std::size_t from, std::size_t to) {
    for (std::size_t k = e.next(from); k < to; k = e.next(k + 1)) {
        if (!e.word(k, "USING") || !e.word(e.next(k + 1), "INDEX")) continue;
        std::size_t end = e.next(e.next(k + 1) + 1);
        if (e.punct(end, '(')) {
            end = e.pastParens(end);
        } else {
            for (;;) {
                const std::size_t past = pastAttribute(e, end);
                if (past == end) break;
                end = e.next(past);
            }
            if (end < to && e.name(end) && !e.punct(end, ',') && !e.word(end, "ENABLE") &&
                !e.word(end, "DISABLE") && !e.word(end, "CONSTRAINT"))
                end = e.next(end + 1);  // an existing index's name
        }
        e.erase(k, std::min(end, to));
    }
}

}  // namespace

void dropPhysicalAttributes(TokenEditor& e) {
    std::size_t k = e.next(0);
    if (!e.word(k, "CREATE")) return;
    k = e.next(k + 1);
    if (e.word(k, "OR")) k = e.next(e.next(k + 1) + 1);  // OR REPLACE
    while (e.word(k, "GLOBAL") || e.word(k, "TEMPORARY") || e.word(k, "TEMP") ||
           e.word(k, "UNIQUE") || e.word(k, "BITMAP")) {
        if (e.word(k, "BITMAP")) e.erase(k);
        k = e.next(k + 1);
    }
    const bool table = e.word(k, "TABLE"), index = e.word(k, "INDEX");
    if (!table && !index) return;
    // The first parentheses: the table's definitions, or the index's columns after ON name.
    std::size_t open = k;
    while (open < e.size() && !e.punct(open, '(') && !e.word(open, "AS")) open = e.next(open + 1);
    if (!e.punct(open, '(')) {
        if (table) eraseAttributes(e, e.next(e.next(k + 1) + 1));  // CREATE TABLE t attrs AS ...
        return;
    }
    const std::size_t past = e.pastParens(open);
    if (table) eraseUsingIndex(e, open + 1, past - 1);
    eraseAttributes(e, past);
}

}  // namespace detail
}  // namespace kavexdb
