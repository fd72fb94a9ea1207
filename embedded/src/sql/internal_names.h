// The internal names the rewriting writes into SQL and the client defines in SQLite: its own
// functions (ORA$ADD, ...), aggregates and tables. Each is spelled here once; every pass that
// writes a call and every registration that defines it uses these constants.
#ifndef KAVEXDB_SQL_INTERNAL_NAMES_H
#define KAVEXDB_SQL_INTERNAL_NAMES_H

namespace kavexdb {
namespace detail {

inline constexpr const char* kOraAdd = "ORA$ADD";
// The table of the session's DBMS_OUTPUT lines (TABLE(DBMS_OUTPUT.GET_LINES)).
inline constexpr const char* kOutputLinesTable = "ORA$DBMS_OUTPUT";
// The table of the host binds the session's last block assigned (TABLE(KAVEX$BIND_VALUES)).
inline constexpr const char* kBindValuesTable = "ORA$BIND_VALUES";
inline constexpr const char* kOraCast = "ORA$CAST";
inline constexpr const char* kOraCastOr = "ORA$CAST_OR";
inline constexpr const char* kOraCat = "ORA$CAT";
inline constexpr const char* kOraClobText = "ORA$CLOB_TEXT";
inline constexpr const char* kOraColumnType = "ORA$COLUMN_TYPE";
inline constexpr const char* kOraComment = "ORA$COMMENT";
inline constexpr const char* kDisabledConstraintCatalog = "KAVEX$DISABLED_CONSTRAINTS";
inline constexpr const char* kUnvalidatedConstraintCatalog = "KAVEX$UNVALIDATED_CONSTRAINTS";
inline constexpr const char* kDimensionCatalog = "KAVEX$DIMENSIONS";
inline constexpr const char* kOraDimensionRows = "ORA$DIMENSION_ROWS";
inline constexpr const char* kOraConstraintRows = "ORA$CONSTRAINT_ROWS";
inline constexpr const char* kOraConverts = "ORA$CONVERTS";
inline constexpr const char* kOraCurrval = "ORA$CURRVAL";
inline constexpr const char* kOraDiv = "ORA$DIV";
inline constexpr const char* kOraExtract = "ORA$EXTRACT";
inline constexpr const char* kOraHypotheticalPrefix = "ORA$HYPOTHETICAL_";
inline constexpr const char* kOraHypotheticalR = "ORA$HYPOTHETICAL_R";
inline constexpr const char* kOraHypotheticalD = "ORA$HYPOTHETICAL_D";
inline constexpr const char* kOraHypotheticalP = "ORA$HYPOTHETICAL_P";
inline constexpr const char* kOraHypotheticalC = "ORA$HYPOTHETICAL_C";
inline constexpr const char* kOraIvDiff = "ORA$IV_DIFF";
inline constexpr const char* kOraIvKey = "ORA$IV_KEY";
inline constexpr const char* kOraKeep = "ORA$KEEP";
inline constexpr const char* kOraKeyIndex = "ORA$KEY_INDEX";
inline constexpr const char* kOraLevel = "ORA$LEVEL";
inline constexpr const char* kOraListagg = "ORA$LISTAGG";
inline constexpr const char* kOraLobPrefix = "ORA$LOB_";
inline constexpr const char* kOraLobCompare = "ORA$LOB_COMPARE";
inline constexpr const char* kOraLobGetlength = "ORA$LOB_GETLENGTH";
inline constexpr const char* kOraLobInstr = "ORA$LOB_INSTR";
inline constexpr const char* kOraLobSubstr = "ORA$LOB_SUBSTR";
inline constexpr const char* kOraMul = "ORA$MUL";
inline constexpr const char* kOraNextval = "ORA$NEXTVAL";
inline constexpr const char* kOraSequencesChanged = "ORA$SEQUENCES_CHANGED";
inline constexpr const char* kOraNum = "ORA$NUM";
// Arithmetic with a BINARY_DOUBLE or BINARY_FLOAT operand (rewrite/expr/binary_arithmetic.h).
inline constexpr const char* kOraBinaryAdd = "ORA$B_ADD";
inline constexpr const char* kOraBinarySub = "ORA$B_SUB";
inline constexpr const char* kOraBinaryMul = "ORA$B_MUL";
inline constexpr const char* kOraBinaryDiv = "ORA$B_DIV";
inline constexpr const char* kOraFloatAdd = "ORA$F_ADD";
inline constexpr const char* kOraFloatSub = "ORA$F_SUB";
inline constexpr const char* kOraFloatMul = "ORA$F_MUL";
inline constexpr const char* kOraFloatDiv = "ORA$F_DIV";
// Comparisons and sorts of NUMBERs stored as BLOBs (types/number_storage.h).
inline constexpr const char* kOraNumCompare = "ORA$NCMP";
inline constexpr const char* kOraNumKey = "ORA$NKEY";
inline constexpr const char* kOraNumValue = "ORA$NVAL";
inline constexpr const char* kOraNumStored = "ORA$NSTORE";
inline constexpr const char* kOraPercentile = "ORA$PERCENTILE";
inline constexpr const char* kOraRaise = "ORA$RAISE";
inline constexpr const char* kOraRebuild = "ORA$REBUILD";
inline constexpr const char* kOraRid = "ORA$RID";
inline constexpr const char* kOraRows = "ORA$ROWS";
inline constexpr const char* kOraSequenceRows = "ORA$SEQUENCE_ROWS";
inline constexpr const char* kOraUnitRows = "ORA$UNIT_ROWS";
inline constexpr const char* kOraSourceLines = "ORA$SOURCE_LINES";
inline constexpr const char* kOraUnitErrors = "ORA$UNIT_ERRORS";
inline constexpr const char* kOraUnitArguments = "ORA$UNIT_ARGUMENTS";
inline constexpr const char* kOraDependencyRows = "ORA$DEPENDENCY_ROWS";
// A stored PL/SQL function called from SQL: ORA$PLSQL_CALL('NAME', arguments...).
inline constexpr const char* kOraPlSqlCall = "ORA$PLSQL_CALL";
// A row trigger's firing, from the SQLite trigger that stands for it (catalog/stored_triggers.h).
inline constexpr const char* kOraTrigger = "ORA$TRIGGER";
inline constexpr const char* kOraTriggerRows = "ORA$TRIGGER_ROWS";
inline constexpr const char* kOraTriggerWrote = "ORA$TRIGGER_WROTE";
inline constexpr const char* kOraSortkey = "ORA$SORTKEY";
inline constexpr const char* kOraSrc = "ORA$SRC";
inline constexpr const char* kOraStr = "ORA$STR";
inline constexpr const char* kOraSub = "ORA$SUB";
inline constexpr const char* kOraSample = "ORA$SAMPLE";
inline constexpr const char* kOraSynonymRows = "ORA$SYNONYM_ROWS";
inline constexpr const char* kOraSysContext = "ORA$SYS_CONTEXT";
inline constexpr const char* kOraTrim = "ORA$TRIM";
inline constexpr const char* kOraValueTooLarge = "ORA$VALUE_TOO_LARGE";
inline constexpr const char* kOraWBin = "ORA$W_BIN";
inline constexpr const char* kOraWChar = "ORA$W_CHAR";
inline constexpr const char* kOraWDate = "ORA$W_DATE";
inline constexpr const char* kOraWIv = "ORA$W_IV";
inline constexpr const char* kOraWNum = "ORA$W_NUM";
inline constexpr const char* kOraWRaw = "ORA$W_RAW";
inline constexpr const char* kOraWTs = "ORA$W_TS";

}  // namespace detail
}  // namespace kavexdb

#endif
