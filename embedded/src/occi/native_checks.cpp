#include "occi/native_checks.h"

#include <cstdlib>

#include "sql/numbered_parameters.h"
#include "sql/sql_lexer.h"
#include "sql/sqlite_util.h"
#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

namespace {

// The rows of a catalog query with text parameters; false when it cannot run.
bool query(sqlite3* db, const char* sql, const std::vector<std::string>& parameters,
           std::vector<std::vector<std::string>>& rows) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK) {
        sqlite3_finalize(raw);
        return false;
    }
    SqliteStmt stmt(raw);
    for (std::size_t i = 0; i < parameters.size(); ++i)
        sqlite3_bind_text(raw, static_cast<int>(i + 1), parameters[i].c_str(), -1,
                          SQLITE_TRANSIENT);
    int rc;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
        std::vector<std::string> row;
        for (int c = 0; c < sqlite3_column_count(raw); ++c) {
            const unsigned char* text = sqlite3_column_text(raw, c);
            // NULL reads as "\x01null", which no catalog text is.
            row.push_back(text ? reinterpret_cast<const char*>(text) : "\x01null");
        }
        rows.push_back(std::move(row));
    }
    return rc == SQLITE_DONE;
}

// The schema cookies of main and temp: any DDL changes one of them.
std::string schemaVersions(sqlite3* db) {
    std::vector<std::vector<std::string>> rows;
    if (!query(db, "PRAGMA main.schema_version", {}, rows) ||
        !query(db, "PRAGMA temp.schema_version", {}, rows) || rows.size() != 2)
        return std::string();
    return rows[0][0] + "/" + rows[1][0];
}

struct Column {
    std::string name;  // upper case
    ValueChecks checks;
    bool hasDefault = false;
    bool written = false;
};

// The ORA codes of the CHECK constraints in the table definition [from, to) of a column, in
// order; false when one of them is not a value check (its text does not open with the ORA
// message).
bool checkCodes(const TokenEditor& e, std::size_t from, std::size_t to, std::vector<int>& codes) {
    for (std::size_t k = e.next(from); k < to; k = e.next(k + 1)) {
        if (!e.word(k, "CHECK")) continue;
        const std::size_t open = e.next(k + 1);
        const std::size_t message = e.next(open + 1);
        if (!e.punct(open, '(') || message >= to ||
            e.at(message).kind != Token::Kind::String)
            return false;
        const std::string& text = e.at(message).text;
        if (text.compare(0, 5, "'ORA-") != 0 || text.size() < 10) return false;
        codes.push_back(std::atoi(text.substr(5, 5).c_str()));
    }
    return true;
}

// Whether every CHECK constraint of the table's stored definition is the value check its
// column's declared type asks for, and nothing else.
bool onlyValueChecks(const std::string& createSql, const std::vector<Column>& columns) {
    TokenEditor e(lexSql(createSql));
    std::size_t open = 0;
    while (open < e.size() && !e.punct(open, '(')) open = e.next(open + 1);
    if (open >= e.size()) return false;
    const std::size_t close = e.pastParens(open) - 1;
    std::size_t start = open + 1, found = 0;
    int depth = 0;
    for (std::size_t k = e.next(open + 1); k <= close && k < e.size(); k = e.next(k + 1)) {
        if (e.punct(k, '(')) ++depth;
        if (e.punct(k, ')')) --depth;
        if (!((depth == 0 && e.punct(k, ',')) || k == close)) continue;
        const std::size_t first = e.next(start);
        std::vector<int> codes;
        if (!checkCodes(e, start, k, codes)) return false;
        if (!codes.empty()) {
            if (!e.name(first)) return false;
            const std::string name = asciiUpper(identifierName(e.at(first)));
            const Column* column = nullptr;
            for (const Column& c : columns)
                if (c.name == name) column = &c;
            if (!column || column->checks.codes() != codes) return false;
            found += codes.size();
        }
        start = k + 1;
    }
    // Anything after the parentheses (a table constraint cannot be there) is only options.
    for (std::size_t k = e.next(close + 1); k < e.size(); k = e.next(k + 1))
        if (e.word(k, "CHECK")) return false;
    std::size_t expected = 0;
    for (const Column& c : columns) expected += c.checks.codes().size();
    return found == expected;
}

}  // namespace

bool NativeChecks::applies(sqlite3* db, Authorizer& authorizer, const std::string& sql,
                           sqlite3_stmt* stmt) {
    Authorizer::Trusted trusted(authorizer);
    const std::string versions = schemaVersions(db);
    if (versions.empty()) return false;
    if (!planned_ || versions != schemaVersions_) {
        checks_.clear();
        applies_ = plan(db, sql, stmt);
        schemaVersions_ = versions;
        planned_ = true;
    }
    return applies_;
}

bool NativeChecks::plan(sqlite3* db, const std::string& sql, sqlite3_stmt* stmt) {
    // INSERT INTO name [(columns)] VALUES (:a, :b, ...) and nothing after it.
    TokenEditor e(lexSql(sql));
    std::size_t i = e.next(0);
    if (!e.word(i, "INSERT")) return false;
    i = e.next(i + 1);
    if (!e.word(i, "INTO")) return false;
    i = e.next(i + 1);
    if (!e.name(i)) return false;
    const std::string table = identifierName(e.at(i));
    i = e.next(i + 1);
    std::vector<std::string> targets;  // upper case; empty: the table's columns in order
    if (e.punct(i, '(')) {
        const std::size_t past = e.pastParens(i);
        for (std::size_t k = e.next(i + 1); k + 1 < past; k = e.next(k + 1)) {
            if (!e.name(k)) return false;
            targets.push_back(asciiUpper(identifierName(e.at(k))));
            k = e.next(k + 1);
            if (!e.punct(k, ',') && k + 1 != past) return false;
        }
        i = e.next(past);
    }
    if (!e.word(i, "VALUES")) return false;
    i = e.next(i + 1);
    if (!e.punct(i, '(')) return false;
    const std::size_t past = e.pastParens(i);
    std::vector<std::string> parameters;
    for (std::size_t k = e.next(i + 1); k + 1 < past; k = e.next(k + 1)) {
        const Token& t = e.at(k);
        if (t.kind != Token::Kind::Bind || t.text.size() < 2 || t.text[0] != ':') return false;
        parameters.push_back(t.text);
        k = e.next(k + 1);
        if (!e.punct(k, ',') && k + 1 != past) return false;
    }
    for (std::size_t k = e.next(past); k < e.size(); k = e.next(k + 1))
        if (!e.punct(k, ';')) return false;

    // A table of the main database, no temporary object that could stand in for it or fire on
    // it, no trigger of its own, no generated column.
    std::vector<std::vector<std::string>> rows;
    if (!query(db,
               "SELECT sql FROM main.sqlite_master WHERE type = 'table' AND name = ?1 "
               "COLLATE NOCASE",
               {table}, rows) ||
        rows.size() != 1)
        return false;
    const std::string createSql = rows[0][0];
    rows.clear();
    if (!query(db,
               "SELECT (SELECT count(*) FROM main.sqlite_master WHERE type = 'trigger' AND "
               "tbl_name = ?1 COLLATE NOCASE) + (SELECT count(*) FROM temp.sqlite_master WHERE "
               "type = 'trigger' OR name = ?1 COLLATE NOCASE)",
               {table}, rows) ||
        rows.size() != 1 || rows[0][0] != "0")
        return false;
    rows.clear();
    if (!query(db, "SELECT name, type, dflt_value, hidden FROM pragma_table_xinfo(?1, 'main')",
               {table}, rows) ||
        rows.empty())
        return false;
    std::vector<Column> columns;
    for (const auto& row : rows) {
        if (row[3] != "0") return false;
        columns.push_back(Column{asciiUpper(row[0]), valueChecksFor(row[1]), row[2] != "\x01null"});
    }
    if (!onlyValueChecks(createSql, columns)) return false;

    // Each parameter written once, into a column; the columns not written take their default,
    // which must be NULL where there is something to check.
    if (targets.empty())
        for (const Column& c : columns) targets.push_back(c.name);
    if (targets.size() != parameters.size()) return false;
    checks_.assign(static_cast<std::size_t>(sqlite3_bind_parameter_count(stmt)) + 1, ValueChecks());
    const NumberedParameters numbered(sql);  // as stmt was prepared
    std::vector<bool> bound(checks_.size(), false);
    for (std::size_t k = 0; k < targets.size(); ++k) {
        Column* column = nullptr;
        for (Column& c : columns)
            if (c.name == targets[k]) column = &c;
        const int index = numbered.index(parameters[k]);
        if (!column || column->written || index <= 0 || bound[static_cast<std::size_t>(index)])
            return false;
        // Blank padding is a conversion of every value: those rows would need SQLite's checks.
        if (column->checks.blankPadded) return false;
        column->written = true;
        bound[static_cast<std::size_t>(index)] = true;
        checks_[static_cast<std::size_t>(index)] = column->checks;
    }
    for (const Column& c : columns)
        if (!c.written && c.hasDefault && !c.checks.codes().empty()) return false;
    return true;
}

CheckConstraintsOff::CheckConstraintsOff(sqlite3* db, Authorizer& authorizer)
    : db_(db), authorizer_(authorizer) {
    Authorizer::Trusted trusted(authorizer_);
    active_ = sqlite3_exec(db_, "PRAGMA ignore_check_constraints = ON", nullptr, nullptr,
                           nullptr) == SQLITE_OK;
}

void CheckConstraintsOff::restore() {
    if (!active_) return;
    active_ = false;
    Authorizer::Trusted trusted(authorizer_);
    sqlite3_exec(db_, "PRAGMA ignore_check_constraints = OFF", nullptr, nullptr, nullptr);
}

}  // namespace detail
}  // namespace kavexdb
