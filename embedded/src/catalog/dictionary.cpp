#include "catalog/dictionary.h"

#include "base/text.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "catalog/comments.h"
#include "catalog/dimensions.h"
#include "catalog/disabled_constraints.h"
#include "catalog/sequences.h"
#include "catalog/synonyms.h"
#include "catalog/table_definition.h"
#include "functions/function_args.h"
#include "functions/sql_function.h"
#include "sql/sql_lexer.h"
#include "sql/sqlite_util.h"
#include "types/declared_type.h"
#include "sql/internal_names.h"
#include "functions/catalog.h"
#include "sql/keywords.h"

namespace kavexdb {
namespace detail {

namespace {

// Oracle's name for an object SQLite stores as written: upper case unless it was quoted.
std::string shownName(const std::string& column, const std::string& sqlColumn) {
    return "(CASE WHEN instr(" + sqlColumn + ", '\"' || " + column + " || '\"') > 0 THEN " +
           column + " ELSE upper(" + column + ") END)";
}

const char* const kOwnObjects =
    "m.name NOT LIKE 'sqlite\\_%' ESCAPE '\\' AND m.name NOT LIKE 'KAVEX$%'";

std::string tables(const std::string& owner, bool all) {
    return std::string("(SELECT ") + (all ? owner + " AS OWNER, " : "") + shownName("m.name", "m.sql") +
           " AS TABLE_NAME, 'USERS' AS TABLESPACE_NAME, NULL AS CLUSTER_NAME, NULL AS IOT_NAME, "
           "'VALID' AS STATUS, NULL AS NUM_ROWS, NULL AS BLOCKS, NULL AS LAST_ANALYZED, "
           "'YES' AS LOGGING, 'N' AS PARTITIONED, "
           "CASE WHEN m.tbl = 'temp' THEN 'Y' ELSE 'N' END AS TEMPORARY, 'NO' AS READ_ONLY "
           "FROM (SELECT name, sql, type, 'main' AS tbl FROM main.sqlite_master UNION ALL "
           "SELECT name, sql, type, 'temp' FROM temp.sqlite_master) m "
           "WHERE m.type = 'table' AND " + kOwnObjects + ")";
}

std::string columns(const std::string& owner, bool all) {
    auto attr = [](const char* a) {
        return std::string("ORA$COLUMN_TYPE(p.type, '") + a + "')";
    };
    return std::string("(SELECT ") + (all ? owner + " AS OWNER, " : "") + shownName("m.name", "m.sql") +
           " AS TABLE_NAME, " + shownName("p.name", "m.sql") + " AS COLUMN_NAME, " +
           attr("DATA_TYPE") + " AS DATA_TYPE, NULL AS DATA_TYPE_MOD, NULL AS DATA_TYPE_OWNER, " +
           attr("DATA_LENGTH") + " AS DATA_LENGTH, " + attr("DATA_PRECISION") +
           " AS DATA_PRECISION, " + attr("DATA_SCALE") + " AS DATA_SCALE, " +
           "CASE WHEN p.\"notnull\" OR p.pk > 0 THEN 'N' ELSE 'Y' END AS NULLABLE, "
           "p.cid + 1 AS COLUMN_ID, length(p.dflt_value) AS DEFAULT_LENGTH, "
           "p.dflt_value AS DATA_DEFAULT, " + attr("CHAR_LENGTH") + " AS CHAR_LENGTH, " +
           attr("CHAR_USED") + " AS CHAR_USED, " + attr("CHAR_LENGTH") + " AS CHAR_COL_DECL_LENGTH "
           "FROM main.sqlite_master m, pragma_table_info(m.name) p "
           "WHERE m.type IN ('table', 'view') AND " + kOwnObjects + ")";
}

std::string views(const std::string& owner, bool all) {
    return std::string("(SELECT ") + (all ? owner + " AS OWNER, " : "") + shownName("m.name", "m.sql") +
           " AS VIEW_NAME, length(v.text) AS TEXT_LENGTH, v.text AS TEXT, v.text AS TEXT_VC, "
           "'N' AS READ_ONLY "
           "FROM main.sqlite_master m, (SELECT ltrim(substr(m2.sql, instr(upper(m2.sql), ' AS ') + 4)) "
           "AS text, m2.name AS name FROM main.sqlite_master m2 WHERE m2.type = 'view') v "
           "WHERE m.type = 'view' AND v.name = m.name AND " + kOwnObjects + ")";
}

std::string sequences(const std::string& owner, bool all) {
    return std::string("(SELECT ") + (all ? owner + " AS SEQUENCE_OWNER, " : "") +
           "json_extract(j.value, '$[0]') AS SEQUENCE_NAME, "
           "json_extract(j.value, '$[1]') AS MIN_VALUE, json_extract(j.value, '$[2]') AS MAX_VALUE, "
           "json_extract(j.value, '$[3]') AS INCREMENT_BY, json_extract(j.value, '$[4]') AS CYCLE_FLAG, "
           "json_extract(j.value, '$[5]') AS ORDER_FLAG, json_extract(j.value, '$[6]') AS CACHE_SIZE, "
           "json_extract(j.value, '$[7]') AS LAST_NUMBER "
           "FROM json_each(ORA$SEQUENCE_ROWS()) j)";
}

// The name an index of table t (il, from pragma_index_list) shows: its own, or for the index
// SQLite makes for a key, the key's constraint name. Such an index is left out when the user
// made one of the key's name already (CREATE UNIQUE INDEX emp_pk ... then ADD CONSTRAINT emp_pk
// PRIMARY KEY, as Oracle's HR schema does): Oracle lists the one index.
std::string indexName(const std::string& sqlColumn) {
    return "CASE WHEN il.origin = 'c' THEN " + shownName("il.name", sqlColumn) + " ELSE coalesce(" +
           kOraKeyIndex + "(t.name, il.name), 'SYS_C_' || upper(t.name) || '_' || il.seq) END";
}

std::string ownIndexes() {
    return std::string("t.type = 'table' AND t.name NOT LIKE 'sqlite\\_%' ESCAPE '\\' AND "
                       "t.name NOT LIKE 'KAVEX$%' AND il.name NOT LIKE 'KAVEX$%' AND "
                       "(il.origin = 'c' OR NOT EXISTS (SELECT 1 FROM pragma_index_list(t.name) o "
                       "WHERE o.origin = 'c' AND upper(o.name) = upper(") +
           kOraKeyIndex + "(t.name, il.name))))";
}

std::string indexes(const std::string& owner) {
    return "(SELECT " + indexName("i.sql") +
           " AS INDEX_NAME, 'NORMAL' AS INDEX_TYPE, " + owner + " AS TABLE_OWNER, " +
           shownName("t.name", "t.sql") + " AS TABLE_NAME, 'TABLE' AS TABLE_TYPE, "
           "CASE WHEN il.\"unique\" THEN 'UNIQUE' ELSE 'NONUNIQUE' END AS UNIQUENESS, "
           "'USERS' AS TABLESPACE_NAME, 'VALID' AS STATUS, 'N' AS TEMPORARY "
           "FROM main.sqlite_master t, pragma_index_list(t.name) il "
           "LEFT JOIN main.sqlite_master i ON i.type = 'index' AND i.name = il.name "
           "WHERE " + ownIndexes() + ")";
}

std::string indexColumns() {
    return "(SELECT " + indexName("i.sql") + " AS INDEX_NAME, upper(t.name) AS TABLE_NAME, "
           "upper(ii.name) AS COLUMN_NAME, ii.seqno + 1 AS COLUMN_POSITION, "
           "CASE WHEN ix.\"desc\" THEN 'DESC' ELSE 'ASC' END AS DESCEND "
           "FROM main.sqlite_master t, pragma_index_list(t.name) il, pragma_index_info(il.name) ii, "
           "pragma_index_xinfo(il.name) ix "
           "LEFT JOIN main.sqlite_master i ON i.type = 'index' AND i.name = il.name "
           "WHERE ix.seqno = ii.seqno AND ix.key = 1 AND " + ownIndexes() + ")";
}

// One row per constraint of ORA$CONSTRAINT_ROWS() (below), as USER_CONSTRAINTS shows it.
std::string constraints(const std::string& owner) {
    auto field = [](int i) { return "json_extract(j.value, '$[" + std::to_string(i) + "]')"; };
    return "(SELECT " + owner + " AS OWNER, " + field(0) + " AS CONSTRAINT_NAME, " + field(1) +
           " AS CONSTRAINT_TYPE, " + field(2) + " AS TABLE_NAME, " + field(3) +
           " AS SEARCH_CONDITION, " + field(3) + " AS SEARCH_CONDITION_VC, CASE WHEN " + field(4) + " IS NULL THEN NULL ELSE " + owner +
           " END AS R_OWNER, " + field(4) + " AS R_CONSTRAINT_NAME, " + field(5) +
           " AS DELETE_RULE, " + field(6) + " AS STATUS, 'NOT DEFERRABLE' AS \"DEFERRABLE\", "
           "'IMMEDIATE' AS DEFERRED, " + field(9) + " AS VALIDATED, " + field(8) +
           " AS GENERATED, CASE WHEN " +
           field(1) + " IN ('P', 'U') AND " + field(6) + " = 'ENABLED' THEN " + field(0) +
           " END AS INDEX_NAME "
           "FROM json_each(" + kOraConstraintRows + "()) j)";
}

// One row per column of a constraint, as USER_CONS_COLUMNS shows it.
std::string constraintColumns(const std::string& owner) {
    return "(SELECT " + owner + " AS OWNER, json_extract(j.value, '$[0]') AS CONSTRAINT_NAME, "
           "json_extract(j.value, '$[2]') AS TABLE_NAME, json_extract(c.value, '$[0]') AS "
           "COLUMN_NAME, json_extract(c.value, '$[1]') AS POSITION "
           "FROM json_each(" + std::string(kOraConstraintRows) + "()) j, "
           "json_each(json_extract(j.value, '$[7]')) c)";
}

std::string objects() {
    return "(SELECT " + shownName("m.name", "m.sql") +
           " AS OBJECT_NAME, NULL AS SUBOBJECT_NAME, upper(m.type) AS OBJECT_TYPE, "
           "'VALID' AS STATUS, 'N' AS TEMPORARY, 'N' AS GENERATED "
           "FROM main.sqlite_master m WHERE m.type IN ('table', 'view', 'index', 'trigger') AND " +
           std::string(kOwnObjects) +
           " UNION ALL SELECT json_extract(j.value, '$[0]'), NULL, 'SEQUENCE', 'VALID', 'N', 'N' "
           "FROM json_each(ORA$SEQUENCE_ROWS()) j"
           " UNION ALL SELECT json_extract(u.value, '$[0]'), NULL, json_extract(u.value, '$[1]'), "
           "json_extract(u.value, '$[2]'), 'N', 'N' FROM json_each(ORA$UNIT_ROWS()) u"
           " UNION ALL " + dimensionObjectRows() + ")";
}

// USER_ERRORS: the compile errors of the stored units that are INVALID.
std::string errors() {
    return "(SELECT json_extract(e.value, '$[0]') AS NAME, json_extract(e.value, '$[1]') AS TYPE, "
           "1 AS SEQUENCE, json_extract(e.value, '$[2]') AS LINE, "
           "json_extract(e.value, '$[3]') AS POSITION, json_extract(e.value, '$[4]') AS TEXT, "
           "'ERROR' AS ATTRIBUTE, CAST(substr(json_extract(e.value, '$[4]'), 5, 5) AS INTEGER) "
           "AS MESSAGE_NUMBER FROM json_each(ORA$UNIT_ERRORS()) e)";
}

// USER_TRIGGERS and ALL_TRIGGERS: the triggers (catalog/stored_triggers.h).
std::string triggers(const std::string& owner, bool all) {
    auto field = [](int i) { return "json_extract(t.value, '$[" + std::to_string(i) + "]')"; };
    return "(SELECT " + (all ? owner + " AS OWNER, " : std::string()) + field(0) +
           " AS TRIGGER_NAME, " + field(1) + " AS TRIGGER_TYPE, " + field(2) +
           " AS TRIGGERING_EVENT, " + owner + " AS TABLE_OWNER, " + field(4) +
           " AS BASE_OBJECT_TYPE, " + field(3) + " AS TABLE_NAME, NULL AS COLUMN_NAME, " +
           field(5) + " AS REFERENCING_NAMES, " + field(6) + " AS WHEN_CLAUSE, " + field(7) +
           " AS STATUS, " + field(8) + " AS DESCRIPTION, 'PL/SQL     ' AS ACTION_TYPE, " +
           field(9) + " AS TRIGGER_BODY FROM json_each(" + std::string(kOraTriggerRows) +
           "()) t)";
}

// USER_PROCEDURES: the stored procedures, functions, packages and triggers, and a row for each
// subprogram a package declares. A package's ARGUMENTS are
// [[subprogram, overload, PROCEDURE | FUNCTION, [argument rows]], ...].
std::string procedures() {
    return "(SELECT json_extract(u.value, '$[0]') AS OBJECT_NAME, NULL AS PROCEDURE_NAME, "
           "json_extract(u.value, '$[1]') AS OBJECT_TYPE, NULL AS OVERLOAD, 'NO' AS AGGREGATE, "
           "'NO' AS PIPELINED, 'NO' AS PARALLEL, 'NO' AS INTERFACE, 'NO' AS DETERMINISTIC, "
           "'DEFINER' AS AUTHID FROM json_each(ORA$UNIT_ROWS()) u "
           "WHERE json_extract(u.value, '$[1]') <> 'PACKAGE BODY' "
           "UNION ALL SELECT json_extract(u.value, '$[0]'), json_extract(m.value, '$[0]'), "
           "'PACKAGE', json_extract(m.value, '$[1]'), 'NO', 'NO', 'NO', 'NO', 'NO', 'DEFINER' "
           "FROM json_each(ORA$UNIT_ARGUMENTS()) u, json_each(json_extract(u.value, '$[2]')) m "
           "WHERE json_extract(u.value, '$[1]') = 'PACKAGE')";
}

// USER_ARGUMENTS: their parameters, and a function's result as position 0.
std::string arguments() {
    // function: whether the arguments' unit or subprogram is a function (its result at 0).
    auto columns = [](const std::string& function) {
        return "json_extract(a.value, '$[0]') AS ARGUMENT_NAME, json_extract(a.value, '$[1]') "
               "AS POSITION, json_extract(a.value, '$[1]') + (" + function + " = 'FUNCTION') "
               "AS SEQUENCE, 0 AS DATA_LEVEL, json_extract(a.value, '$[3]') AS DATA_TYPE, "
               "json_extract(a.value, '$[4]') AS DEFAULTED, json_extract(a.value, '$[2]') AS "
               "IN_OUT";
    };
    return "(SELECT json_extract(u.value, '$[0]') AS OBJECT_NAME, NULL AS PACKAGE_NAME, "
           "NULL AS OVERLOAD, " + columns("json_extract(u.value, '$[1]')") +
           " FROM json_each(ORA$UNIT_ARGUMENTS()) u, json_each(json_extract(u.value, '$[2]')) a "
           "WHERE json_extract(u.value, '$[1]') IN ('PROCEDURE', 'FUNCTION') "
           "UNION ALL SELECT json_extract(m.value, '$[0]'), json_extract(u.value, '$[0]'), "
           "json_extract(m.value, '$[1]'), " + columns("json_extract(m.value, '$[2]')") +
           " FROM json_each(ORA$UNIT_ARGUMENTS()) u, json_each(json_extract(u.value, '$[2]')) m, "
           "json_each(json_extract(m.value, '$[3]')) a "
           "WHERE json_extract(u.value, '$[1]') = 'PACKAGE')";
}

// USER_DEPENDENCIES and ALL_DEPENDENCIES: what the stored units use
// (catalog/unit_dependencies.h).
std::string dependencies(const std::string& owner, bool all) {
    auto field = [](int i) { return "json_extract(d.value, '$[" + std::to_string(i) + "]')"; };
    return "(SELECT " + (all ? owner + " AS OWNER, " : std::string()) + field(0) + " AS NAME, " +
           field(1) + " AS TYPE, " + owner + " AS REFERENCED_OWNER, " + field(2) +
           " AS REFERENCED_NAME, " + field(3) +
           " AS REFERENCED_TYPE, NULL AS REFERENCED_LINK_NAME, 'HARD' AS DEPENDENCY_TYPE "
           "FROM json_each(" + kOraDependencyRows + "()) d)";
}

// USER_SOURCE: the stored units' source, a row per line.
std::string source() {
    return "(SELECT json_extract(l.value, '$[0]') AS NAME, json_extract(l.value, '$[1]') AS TYPE, "
           "json_extract(l.value, '$[2]') AS LINE, json_extract(l.value, '$[3]') AS TEXT "
           "FROM json_each(ORA$SOURCE_LINES()) l)";
}

std::string users(const std::string& owner, bool all) {
    if (all) return "(SELECT " + owner + " AS USERNAME, 100 AS USER_ID, NULL AS CREATED)";
    return "(SELECT " + owner + " AS USERNAME, 100 AS USER_ID, 'OPEN' AS ACCOUNT_STATUS, "
           "NULL AS LOCK_DATE, NULL AS EXPIRY_DATE, 'USERS' AS DEFAULT_TABLESPACE, "
           "'TEMP' AS TEMPORARY_TABLESPACE, NULL AS CREATED)";
}

// The subquery for a dictionary view's name, or "" when it is none.
std::string dictionaryQuery(const std::string& name, const std::string& schema) {
    const std::string owner = sqlStringLiteral(schema);
    if (name == "USER_TABLES") return tables(owner, false);
    if (name == "ALL_TABLES" || name == "DBA_TABLES") return tables(owner, true);
    if (name == "USER_TAB_COLUMNS" || name == "USER_TAB_COLS")
        return columns(owner, false);
    if (name == "ALL_TAB_COLUMNS" || name == "ALL_TAB_COLS") return columns(owner, true);
    if (name == "USER_VIEWS") return views(owner, false);
    if (name == "ALL_VIEWS") return views(owner, true);
    if (name == "USER_SEQUENCES") return sequences(owner, false);
    if (name == "ALL_SEQUENCES") return sequences(owner, true);
    if (name == "USER_INDEXES") return indexes(owner);
    if (name == "USER_IND_COLUMNS") return indexColumns();
    if (name == "USER_CONSTRAINTS" || name == "ALL_CONSTRAINTS") return constraints(owner);
    if (name == "USER_CONS_COLUMNS" || name == "ALL_CONS_COLUMNS") return constraintColumns(owner);
    if (name == "USER_OBJECTS") return objects();
    if (name == "USER_SOURCE") return source();
    if (name == "USER_ERRORS") return errors();
    if (name == "USER_PROCEDURES") return procedures();
    if (name == "USER_TRIGGERS") return triggers(owner, false);
    if (name == "ALL_TRIGGERS" || name == "DBA_TRIGGERS") return triggers(owner, true);
    if (name == "USER_ARGUMENTS") return arguments();
    if (name == "USER_DEPENDENCIES") return dependencies(owner, false);
    if (name == "ALL_DEPENDENCIES") return dependencies(owner, true);
    if (name == "USER_USERS") return users(owner, false);
    if (name == "USER_TAB_COMMENTS") return tableCommentsQuery();
    if (name == "USER_COL_COMMENTS") return columnCommentsQuery();
    if (name == "ALL_USERS") return users(owner, true);
    const std::string dimensions = dimensionDictionaryQuery(name, schema);
    if (!dimensions.empty()) return dimensions;
    return synonymDictionaryQuery(name, schema);
}

bool isAliasWord(const TokenEditor& e, std::size_t i) {
    if (i >= e.size()) return false;
    if (e.at(i).kind == Token::Kind::QuotedIdent) return true;
    if (e.at(i).kind != Token::Kind::Word) return false;
    if (hasRole(e, i, kNotViewAlias)) return false;
    return true;
}

// ORA$COLUMN_TYPE(declared type, attribute): what USER_TAB_COLUMNS shows for a column.
void columnType(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        const std::string declared = textArg(argv[0]);
        const std::string attr = textArg(argv[1]);
        const DeclaredType t = mapDeclaredType(declared);
        const std::string upper = asciiUpper(declared);
        const bool character = t.dataType == 1 || t.dataType == 96;
        if (attr == "DATA_TYPE") {
            std::string name;
            switch (t.dataType) {
            case 1: name = t.charSetForm == 2 ? "NVARCHAR2" : "VARCHAR2"; break;
            case 96: name = t.charSetForm == 2 ? "NCHAR" : "CHAR"; break;
            case 2: name = upper.compare(0, 5, "FLOAT") == 0 ? "FLOAT" : "NUMBER"; break;
            case 3: name = "PLS_INTEGER"; break;
            case 100: name = "BINARY_FLOAT"; break;
            case 101: name = "BINARY_DOUBLE"; break;
            case 12: name = "DATE"; break;
            case 187: name = "TIMESTAMP(" + std::to_string(t.scale) + ")"; break;
            case 188: name = "TIMESTAMP(" + std::to_string(t.scale) + ") WITH TIME ZONE"; break;
            case 232: name = "TIMESTAMP(" + std::to_string(t.scale) + ") WITH LOCAL TIME ZONE"; break;
            case 112: name = t.charSetForm == 2 ? "NCLOB" : "CLOB"; break;
            case 113: name = "BLOB"; break;
            case 23: name = "RAW"; break;
            case 8: name = "LONG"; break;
            case 24: name = "LONG RAW"; break;
            case 114: name = "BFILE"; break;
            case 189: name = "INTERVAL YEAR(" + std::to_string(t.precision) + ") TO MONTH"; break;
            case 190:
                name = "INTERVAL DAY(" + std::to_string(t.precision) + ") TO SECOND(" +
                       std::to_string(t.scale) + ")";
                break;
            case 104: name = "ROWID"; break;
            default: name = t.typeName.empty() ? upper : t.typeName; break;
            }
            return resultText(ctx, name);
        }
        if (attr == "DATA_LENGTH") return sqlite3_result_int(ctx, t.size);
        if (attr == "DATA_PRECISION") {
            // NUMBER without precision, INTEGER and the like show none.
            const bool shown = t.dataType == 2 && t.precision > 0 &&
                               upper.find('(') != std::string::npos;
            if (shown || (t.dataType == 2 && upper.compare(0, 5, "FLOAT") == 0) ||
                t.dataType == 189 || t.dataType == 190)  // intervals: the leading precision
                return sqlite3_result_int(ctx, t.precision);
            return sqlite3_result_null(ctx);
        }
        if (attr == "DATA_SCALE") {
            if (t.dataType == 2 && upper.compare(0, 5, "FLOAT") != 0 && t.scale != -127)
                return sqlite3_result_int(ctx, t.scale);
            if (t.dataType == 187 || t.dataType == 188 || t.dataType == 232 || t.dataType == 189 ||
                t.dataType == 190)
                return sqlite3_result_int(ctx, t.scale);
            return sqlite3_result_null(ctx);
        }
        if (attr == "CHAR_LENGTH") return sqlite3_result_int(ctx, character ? t.size : 0);
        if (attr == "CHAR_USED") return character ? resultText(ctx, "B") : sqlite3_result_null(ctx);
        sqlite3_result_null(ctx);
    });
}

// A column's text as a JSON string ("" for NULL).
std::string jsonCell(const unsigned char* t) {
    return jsonText(std::string(t ? reinterpret_cast<const char*>(t) : ""));
}

// ORA$SEQUENCE_ROWS(): the sequence catalog as a JSON array of rows (empty when the database
// has no sequences yet), for json_each.
void sequenceRows(sqlite3_context* ctx, int, sqlite3_value**) {
    sqlite3* db = sqlite3_context_db_handle(ctx);
    sqlite3_stmt* raw = nullptr;
    const std::string sql =
        "SELECT NAME, coalesce(MIN_VALUE, -999999999999999999), "
        "coalesce(MAX_VALUE, 9999999999999999999999999999), INCREMENT_BY, CYCLE_FLAG, "
        "ORDER_FLAG, CACHE_SIZE, START_WITH FROM " + sqlQuotedIdentifier(kSequenceCatalog) +
        " ORDER BY NAME";
    std::string out = "[";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr) == SQLITE_OK) {
        while (sqlite3_step(raw) == SQLITE_ROW) {
            if (out.size() > 1) out += ',';
            out += "[" + jsonCell(sqlite3_column_text(raw, 0));
            for (int c = 1; c < 8; ++c) {
                const bool text = c == 4 || c == 5;
                const unsigned char* v = sqlite3_column_text(raw, c);
                out += ",";
                out += text ? jsonCell(v) : std::string(v ? reinterpret_cast<const char*>(v) : "null");
            }
            out += "]";
        }
    }
    sqlite3_finalize(raw);
    out += "]";
    sqlite3_result_text(ctx, out.c_str(), static_cast<int>(out.size()), SQLITE_TRANSIENT);
}

std::string jsonString(const std::string& text) {
    return jsonText(text);
}

std::string jsonOrNull(const std::string& text) { return text.empty() ? "null" : jsonString(text); }

bool systemName(const std::string& name) {
    if (name.size() <= 5 || name.compare(0, 5, "SYS_C") != 0) return false;
    for (std::size_t i = 5; i < name.size(); ++i)
        if (name[i] < '0' || name[i] > '9') return false;
    return true;
}

std::vector<std::string> sortedUpper(std::vector<std::string> names) {
    for (std::string& n : names) n = asciiUpper(n);
    std::sort(names.begin(), names.end());
    return names;
}

// The name of the parent key a foreign key refers to: the parent's primary key, or its primary
// or unique key over the columns the foreign key names.
std::string referencedKey(const std::vector<StoredTable>& tables, const DeclaredConstraint& key) {
    for (const StoredTable& t : tables) {
        if (sqlite3_stricmp(t.name.c_str(), key.parent.c_str()) != 0) continue;
        for (const DeclaredConstraint& c : t.definition.constraints()) {
            if (key.parentColumns.empty() ? c.type == 'P'
                                          : (c.type == 'P' || c.type == 'U') &&
                                                sortedUpper(c.columns) ==
                                                    sortedUpper(key.parentColumns))
                return c.name;
        }
    }
    return std::string();
}

// One constraint's row: [name, type, table, condition, parent key, delete rule, status,
// [[column, position], ...], generated].
std::string constraintRow(const std::string& name, char type, const std::string& table,
                          const std::string& condition, const std::string& parentKey,
                          const std::string& deleteRule, const std::vector<std::string>& columns,
                          const char* status = "ENABLED", bool validated = true) {
    std::string cols;
    for (std::size_t i = 0; i < columns.size(); ++i)
        cols += std::string(i ? "," : "") + "[" + jsonString(columns[i]) + "," +
                (type == 'C' ? std::string("null") : std::to_string(i + 1)) + "]";
    return "[" + jsonString(name) + "," + jsonString(std::string(1, type)) + "," +
           jsonString(table) + "," + jsonOrNull(condition) + "," + jsonOrNull(parentKey) + "," +
           jsonOrNull(deleteRule) + "," + jsonString(status) + ",[" + cols + "]," +
           jsonString(systemName(name) ? "GENERATED NAME" : "USER NAME") + "," +
           jsonString(validated && std::string(status) == "ENABLED" ? "VALIDATED"
                                                                    : "NOT VALIDATED") +
           "]";
}

// ORA$KEY_INDEX(table, index): the name of table's primary key or unique constraint whose
// columns the index holds, NULL for none.
void keyIndex(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        sqlite3* db = sqlite3_context_db_handle(ctx);
        StoredTable table;
        if (!storedTable(db, textArg(argv[0]), table)) return sqlite3_result_null(ctx);
        std::vector<std::string> columns;
        SqliteStmt read = prepareSql(db, "SELECT name FROM pragma_index_info(?1)");
        const std::string index = textArg(argv[1]);
        sqlite3_bind_text(read.get(), 1, index.c_str(), -1, SQLITE_TRANSIENT);
        while (sqlite3_step(read.get()) == SQLITE_ROW)
            columns.push_back(reinterpret_cast<const char*>(sqlite3_column_text(read.get(), 0)));
        const std::vector<std::string> wanted = sortedUpper(columns);
        for (const DeclaredConstraint& c : table.definition.constraints())
            if ((c.type == 'P' || c.type == 'U') && !c.name.empty() &&
                sortedUpper(c.columns) == wanted)
                return resultText(ctx, c.name);
        sqlite3_result_null(ctx);
    });
}

// ORA$CONSTRAINT_ROWS(): the constraints the tables' definitions declare, as a JSON array of
// constraintRow rows for json_each: keys, checks and foreign keys in the order written, then the
// NOT NULL constraints of the columns outside the primary key; a disabled constraint
// (disabled_constraints.h) shows as DISABLED. A constraint of a table made
// before the client named every constraint gets SYS_C_<table>_<type><n>.
void constraintRows(sqlite3_context* ctx, int, sqlite3_value**) {
    guarded(ctx, [&] {
        sqlite3* db = sqlite3_context_db_handle(ctx);
        const std::vector<StoredTable> tables = storedTables(db);
        const std::vector<DisabledConstraint> disabled = disabledConstraints(db);
        const auto unvalidated = unvalidatedConstraints(db);
        std::string out = "[";
        auto add = [&](const std::string& row) { out += (out.size() > 1 ? "," : "") + row; };
        for (const StoredTable& t : tables) {
            int ordinal = 0;
            for (const DeclaredConstraint& c : t.definition.constraints()) {
                ++ordinal;
                const std::string name =
                    c.name.empty() ? "SYS_C_" + asciiUpper(t.name) + "_" + c.type +
                                         std::to_string(ordinal)
                                   : c.name;
                const bool validated =
                    unvalidated.count({asciiUpper(t.name), asciiUpper(name)}) == 0;
                add(constraintRow(name, c.type, t.shown, c.condition,
                                  c.type == 'R' ? referencedKey(tables, c) : std::string(),
                                  c.deleteRule, c.columns, "ENABLED", validated));
            }
            // A disabled one, read as if it stood last in the definition.
            for (const DisabledConstraint& d : disabled) {
                if (sqlite3_stricmp(d.table.c_str(), t.name.c_str()) != 0) continue;
                Definition with = t.definition;
                with.items.push_back(parseItem(d.definition));
                const std::vector<DeclaredConstraint> all = with.constraints();
                if (all.empty()) continue;
                const DeclaredConstraint& c = all.back();
                add(constraintRow(d.name, c.type, t.shown, c.condition,
                                  c.type == 'R' ? referencedKey(tables, c) : std::string(),
                                  c.deleteRule, c.columns, "DISABLED"));
            }
            std::vector<std::string> keyColumns;
            for (const auto& key : t.definition.keys(true))
                keyColumns.insert(keyColumns.end(), key.begin(), key.end());
            int position = 0;
            for (const Item& item : t.definition.items) {
                if (!item.isColumn) continue;
                ++position;
                const Column& column = item.column;
                if (std::find(keyColumns.begin(), keyColumns.end(), column.name) !=
                    keyColumns.end())
                    continue;
                for (const Clause& clause : column.clauses) {
                    if (clause.kind != "NOT") continue;
                    const std::string name =
                        clause.name.empty() ? "SYS_C_" + asciiUpper(t.name) + "_N" +
                                                  std::to_string(position)
                                            : clause.name;
                    add(constraintRow(name, 'C', t.shown, "\"" + column.name + "\" IS NOT NULL",
                                      std::string(), std::string(), {column.name}));
                }
            }
        }
        out += "]";
        sqlite3_result_text(ctx, out.c_str(), static_cast<int>(out.size()), SQLITE_TRANSIENT);
    });
}

}  // namespace

void rewriteDictionaryViews(TokenEditor& e, const std::string& schema) {
    for (std::size_t i = e.next(0); i < e.size(); i = e.next(i + 1)) {
        if (e.at(i).kind != Token::Kind::Word) continue;
        std::size_t start = i;
        const std::size_t prevTok = e.previous(i);
        if (e.punct(prevTok, '.')) {
            const std::size_t owner = e.previous(prevTok);
            if (!e.word(owner, "SYS") && !e.word(owner, "PUBLIC")) continue;
            start = owner;
        }
        const std::size_t before = e.previous(start);
        if (!e.word(before, "FROM") && !e.word(before, "JOIN") && !e.punct(before, ',')) continue;
        if (e.punct(e.next(i + 1), '.') || e.punct(e.next(i + 1), '(')) continue;
        const std::string name = asciiUpper(e.at(i).text);
        std::string query = dictionaryQuery(name, schema);
        if (query.empty()) continue;
        // LIMIT -1 keeps SQLite from flattening the view's query into the one that reads it:
        // flattened into a join that sorts, the table-valued pragma functions the views read
        // give no rows (SQLite 3.40).
        if (query.back() == ')') query.insert(query.size() - 1, " LIMIT -1");
        e.erase(start, i);
        e[i].text = isAliasWord(e, e.next(i + 1)) ? query : query + " AS " + name;
    }
}

namespace {

// ORA$COLUMN_TYPE(declared type, attribute), ORA$SEQUENCE_ROWS(), ORA$CONSTRAINT_ROWS() and
// ORA$KEY_INDEX(table, index), which the subqueries use.
const FunctionRow kRows[] = {
    {kOraColumnType, 2, 2, columnType},
    {kOraSequenceRows, 0, 0, sequenceRows, nullptr, false},
    {kOraConstraintRows, 0, 0, constraintRows, nullptr, false},
    {kOraKeyIndex, 2, 2, keyIndex, nullptr, false},
};

}  // namespace

const FunctionFamily kDictionaryFunctions{kRows};

}  // namespace detail
}  // namespace kavexdb
