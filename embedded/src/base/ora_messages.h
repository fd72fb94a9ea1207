// Every ORA message the embedded client raises, each written once: its code, and its text with a
// "{}" for each argument (ora_message.h). Hosts compare the texts byte for byte. Where Oracle's
// own text names something (a constraint, a column, an argument) the name is an argument; where
// the client adds why it refuses (" is not supported by the embedded client"), the addition is
// part of the text.
//
// Errors that reach the client already composed as "ORA-NNNNN: text" (raised inside SQLite) keep
// their code as data and go through raise(int, text) in base/errors.h.
#ifndef KAVEXDB_BASE_ORA_MESSAGES_H
#define KAVEXDB_BASE_ORA_MESSAGES_H

#include "base/ora_message.h"

namespace kavexdb {
namespace detail {
namespace ora {

// ---- Statement text: what cannot be parsed or is left over ---------------------------------
inline constexpr OraMessage<0> kInvalidSqlStatement{900, "invalid SQL statement"};
// SQLite's own account of the syntax it refused.
inline constexpr OraMessage<1> kInvalidSqlStatementBecause{900, "invalid SQL statement: {}"};
inline constexpr OraMessage<0> kInvalidTableName{903, "invalid table name"};
inline constexpr OraMessage<0> kMissingKeyword{905, "missing keyword"};
inline constexpr OraMessage<0> kMissingLeftParenthesis{906, "missing left parenthesis"};
inline constexpr OraMessage<0> kMissingRightParenthesis{907, "missing right parenthesis"};
inline constexpr OraMessage<0> kUnexpectedEndOfCommand{921, "unexpected end of SQL command"};
inline constexpr OraMessage<0> kMissingOrInvalidOption{922, "missing or invalid option"};
inline constexpr OraMessage<0> kFromKeywordNotFound{923, "FROM keyword not found where expected"};
inline constexpr OraMessage<0> kMissingByKeyword{924, "missing BY keyword"};
inline constexpr OraMessage<0> kMissingIntoKeyword{925, "missing INTO keyword"};
inline constexpr OraMessage<0> kMissingValuesKeyword{926, "missing VALUES keyword"};
inline constexpr OraMessage<0> kMissingSelectKeyword{928, "missing SELECT keyword"};
inline constexpr OraMessage<0> kCommandNotProperlyEnded{933, "SQL command not properly ended"};
inline constexpr OraMessage<0> kMissingExpression{936, "missing expression"};
inline constexpr OraMessage<0> kMissingToKeyword{946, "missing TO keyword"};
inline constexpr OraMessage<0> kMissingOnKeyword{969, "missing ON keyword"};
inline constexpr OraMessage<0> kMissingSetKeyword{971, "missing SET keyword"};
inline constexpr OraMessage<0> kMissingDoubleQuote{1740, "missing double quote in identifier"};
inline constexpr OraMessage<0> kUnterminatedString{1756, "quoted string not properly terminated"};
inline constexpr OraMessage<0> kStringLiteralRequired{1780, "string literal required"};
// Nesting of parentheses and CASE past the client's bound.
inline constexpr OraMessage<1> kExpressionTooDeep{3095, "expression level is too deep, maximum {}"};
inline constexpr OraMessage<0> kInvalidTruncateCommand{
    3290, "Invalid truncate command - missing CLUSTER or TABLE keyword"};
inline constexpr OraMessage<0> kInvalidWaitInterval{30005, "missing or invalid WAIT interval"};
inline constexpr OraMessage<0> kSamplePercentRange{
    30562, "SAMPLE percentage must be in the range [0.000001,100)"};
// The error stack of DBMS_LOB.CREATETEMPORARY called with other arguments than the client knows.
inline constexpr OraMessage<0> kCreateTemporaryArguments{
    6550,
    "line 1, column 7:\n"
    "PLS-00306: wrong number or types of arguments in call to 'CREATETEMPORARY'\n"
    "ORA-06550: line 1, column 7:\n"
    "PL/SQL: Statement ignored"};

// A fault of the client itself, named by where it happened and a value.
inline constexpr OraMessage<2> kInternalError{600, "internal error code, arguments: [{}], [{}]"};

// ---- Names: identifiers, tables, views, indexes, synonyms and other objects -----------------
inline constexpr OraMessage<0> kInvalidIdentifier{904, "invalid identifier"};
// A column name, shown in double quotes.
inline constexpr OraMessage<1> kInvalidColumnIdentifier{904, "\"{}\": invalid identifier"};
// A name already quoted, owner and table included ("T"."C").
inline constexpr OraMessage<1> kInvalidQuotedIdentifier{904, "{}: invalid identifier"};
inline constexpr OraMessage<0> kTableOrViewDoesNotExist{942, "table or view does not exist"};
inline constexpr OraMessage<0> kNameAlreadyUsed{955, "name is already used by an existing object"};
inline constexpr OraMessage<1> kObjectDoesNotExist{4043, "object {} does not exist"};
inline constexpr OraMessage<0> kIndexDoesNotExist{1418, "specified index does not exist"};
inline constexpr OraMessage<0> kColumnAmbiguous{918, "column ambiguously defined"};
inline constexpr OraMessage<0> kDuplicateColumnName{957, "duplicate column name"};
inline constexpr OraMessage<0> kNotEnoughValues{947, "not enough values"};
inline constexpr OraMessage<0> kTooManyValues{913, "too many values"};
inline constexpr OraMessage<0> kResultColumnCountDiffers{
    1789, "query block has incorrect number of result columns"};
inline constexpr OraMessage<0> kGroupFunctionNotAllowed{934, "group function is not allowed here"};
inline constexpr OraMessage<0> kWindowFunctionNotAllowed{30483,
                                                         "window  functions are not allowed here"};
inline constexpr OraMessage<0> kOrderByItemNotInSelectList{
    1785, "ORDER BY item must be the number of a SELECT-list expression"};
inline constexpr OraMessage<0> kDmlOnView{1732,
                                          "data manipulation operation not legal on this view"};
inline constexpr OraMessage<0> kColumnAliasRequired{
    998, "must name this expression with a column alias"};
inline constexpr OraMessage<0> kInvalidColumnNameCount{1730,
                                                       "invalid number of column names specified"};
inline constexpr OraMessage<0> kBindVariablesInDdl{
    1027, "bind variables not allowed for data definition operations"};
inline constexpr OraMessage<0> kSynonymTranslationInvalid{980,
                                                          "synonym translation is no longer valid"};
inline constexpr OraMessage<0> kSynonymNamedAsObject{
    1471, "cannot create a synonym with same name as object"};
inline constexpr OraMessage<0> kLoopingSynonymChain{1775, "looping chain of synonyms"};
inline constexpr OraMessage<0> kRemoteDatabaseNotFound{
    2019, "connection description for remote database not found"};
inline constexpr OraMessage<0> kNoPublicSynonymToDrop{
    1432, "public synonym to be dropped does not exist"};
inline constexpr OraMessage<0> kNoPrivateSynonymToDrop{
    1434, "private synonym to be dropped does not exist"};

// ---- Data types, numbers and conversions ----------------------------------------------------
inline constexpr OraMessage<0> kInvalidDatatype{902, "invalid datatype"};
// The type wanted, then the type given: "NUMBER", "DATE", "INTERVAL YEAR TO MONTH", ...
inline constexpr OraMessage<2> kInconsistentDatatypes{932,
                                                      "inconsistent datatypes: expected {} got {}"};
inline constexpr OraMessage<0> kInvalidNumber{1722, "invalid number"};
inline constexpr OraMessage<0> kNanNotStorable{
    1722, "invalid number (NaN cannot be stored by the embedded client)"};
inline constexpr OraMessage<0> kNumericOverflow{1426, "numeric overflow"};
inline constexpr OraMessage<0> kDivisorIsZero{1476, "divisor is equal to zero"};
inline constexpr OraMessage<0> kInvalidHexNumber{1465, "invalid hex number"};
inline constexpr OraMessage<0> kValueLargerThanPrecision{
    1438, "value larger than specified precision allowed for this column"};
inline constexpr OraMessage<0> kDataValueOutOfRange{25137, "Data value out of range"};
inline constexpr OraMessage<0> kInvalidNumberFormatModel{1481, "invalid number format model"};
inline constexpr OraMessage<0> kInvalidNlsParameter{
    12702, "invalid NLS parameter string used in SQL function"};
inline constexpr OraMessage<0> kDatePlusDate{975, "date + date not allowed"};

// ---- Function arguments ---------------------------------------------------------------------
inline constexpr OraMessage<0> kInvalidArgumentCount{909, "invalid number of arguments"};
inline constexpr OraMessage<0> kTooManyArguments{939, "too many arguments for function"};
inline constexpr OraMessage<0> kTooManyColumns{
    1792, "maximum number of columns in a table or view is 1000"};
inline constexpr OraMessage<0> kTooManyListExpressions{
    1795, "maximum number of expressions in a list is 1000"};
inline constexpr OraMessage<0> kTooFewArguments{938, "not enough arguments for function"};
// The argument's value.
inline constexpr OraMessage<1> kArgumentOutOfRange{1428, "argument '{}' is out of range"};
inline constexpr OraMessage<0> kIllegalArgument{1760, "illegal argument for function"};
// The argument's position, from 1.
inline constexpr OraMessage<1> kArgumentNullOrOutOfRange{
    21560, "argument {} is null, invalid, or out of range"};
inline constexpr OraMessage<0> kInvalidUserenvParameter{2003, "invalid USERENV parameter"};
// ALTER SESSION: a clause or parameter it does not take; a session setting the client keeps at one
// value, asked for another.
inline constexpr OraMessage<0> kInvalidAlterSessionOption{2248, "invalid option for ALTER SESSION"};
inline constexpr OraMessage<2> kSessionSettingKept{
    2097, "parameter cannot be modified because specified value is invalid: the embedded client "
          "keeps {} = {}"};
inline constexpr OraMessage<0> kTrimSetOfOneCharacter{30001,
                                                      "trim set should have only one character"};
inline constexpr OraMessage<0> kPercentileOutOfRange{
    30493, "The percentile value should be a number between 0 and 1."};
// The argument's position, from 1.
inline constexpr OraMessage<1> kWidthBucketArgument{
    30494, "The argument [{}] of WIDTH_BUCKET function is NULL or invalid."};
inline constexpr OraMessage<0> kInvalidUnistrEscape{43856,
                                                    "invalid Unicode escape sequence in UNISTR"};
inline constexpr OraMessage<0> kConcatenationTooLarge{
    1489, "result of string concatenation is too large"};

// ---- Regular expressions --------------------------------------------------------------------
inline constexpr OraMessage<0> kRegexpInternalError{12722, "regular expression internal error"};
inline constexpr OraMessage<0> kRegexpUnmatchedParentheses{
    12725, "unmatched parentheses in regular expression"};
inline constexpr OraMessage<0> kRegexpUnmatchedBracket{12726,
                                                       "unmatched bracket in regular expression"};
inline constexpr OraMessage<0> kRegexpInvalidBackReference{
    12727, "invalid back reference in regular expression"};
inline constexpr OraMessage<0> kRegexpInvalidRange{12728, "invalid range in regular expression"};
inline constexpr OraMessage<0> kRegexpInvalidCharacterClass{
    12729, "invalid character class in regular expression"};
inline constexpr OraMessage<0> kRegexpInvalidInterval{
    12732, "invalid interval value in regular expression"};

// ---- Dates, times and their format models ---------------------------------------------------
inline constexpr OraMessage<0> kFormatCodeTwice{1810, "format code appears twice"};
inline constexpr OraMessage<0> kJulianDateWithDayOfYear{1811,
                                                        "Julian date precludes use of day of year"};
inline constexpr OraMessage<0> kYearTwice{1812, "year may only be specified once"};
inline constexpr OraMessage<0> kHourTwice{1813, "hour may only be specified once"};
inline constexpr OraMessage<0> kMinutesTwice{1814, "minutes may only be specified once"};
inline constexpr OraMessage<0> kMonthTwice{1816, "month may only be specified once"};
inline constexpr OraMessage<0> kDayOfMonthTwice{1817, "day of month may only be specified once"};
inline constexpr OraMessage<0> kEraTwice{1818, "BC/AD may only be specified once"};
inline constexpr OraMessage<0> kFormatCodeNotForInput{
    1820, "format code cannot appear in date input format"};
inline constexpr OraMessage<0> kDateFormatNotRecognized{1821, "date format not recognized"};
inline constexpr OraMessage<0> kFormatEndsBeforeInput{
    1830, "date format picture ends before converting entire input string"};
inline constexpr OraMessage<0> kHourConflictsWithSecondsInDay{1836,
                                                              "hour conflicts with seconds in day"};
inline constexpr OraMessage<0> kDateNotValidForMonth{1839, "date not valid for month specified"};
inline constexpr OraMessage<0> kYearOutOfRange{
    1841, "(full) year must be between -4713 and +9999, and not be 0"};
inline constexpr OraMessage<0> kInvalidMonth{1843, "not a valid month"};
inline constexpr OraMessage<0> kInvalidDayOfWeek{1846, "not a valid day of the week"};
inline constexpr OraMessage<0> kDayOfMonthOutOfRange{
    1847, "day of month must be between 1 and last day of month"};
inline constexpr OraMessage<0> kDayOfYearOutOfRange{
    1848, "day of year must be between 1 and 365 (366 for leap year)"};
inline constexpr OraMessage<0> kHour12OutOfRange{1849, "hour must be between 1 and 12"};
inline constexpr OraMessage<0> kHourOutOfRange{1850, "hour must be between 0 and 23"};
inline constexpr OraMessage<0> kMinutesOutOfRange{1851, "minutes must be between 0 and 59"};
inline constexpr OraMessage<0> kSecondsOutOfRange{1852, "seconds must be between 0 and 59"};
inline constexpr OraMessage<0> kSecondsInDayOutOfRange{
    1853, "seconds in day must be between 0 and 86399"};
inline constexpr OraMessage<0> kJulianDateOutOfRange{1854,
                                                     "julian date must be between 1 and 5373484"};
inline constexpr OraMessage<0> kLiteralDoesNotMatchFormat{1861,
                                                          "literal does not match format string"};
inline constexpr OraMessage<0> kMeridianRequired{1855, "AM/A.M. or PM/P.M. required"};
inline constexpr OraMessage<0> kEraRequired{1856, "BC/B.C. or AD/A.D. required"};
inline constexpr OraMessage<0> kNumericLengthMismatch{
    1862, "the numeric value does not match the length of the format item"};
inline constexpr OraMessage<0> kTimeZoneHourOutOfRange{1874,
                                                       "time zone hour must be between -15 and 15"};
inline constexpr OraMessage<0> kTimeZoneMinuteOutOfRange{
    1875, "time zone minute must be between -59 and 59"};
inline constexpr OraMessage<0> kFractionalSecondsOutOfRange{
    1880, "the fractional seconds must be between 0 and 999999999"};
inline constexpr OraMessage<0> kNotValidTimeZone{1857, "not a valid time zone"};
inline constexpr OraMessage<0> kTimeZoneRegionNotFound{1882, "timezone region not found"};
inline constexpr OraMessage<0> kNullDate{32146, "Cannot perform operation on a null date"};

// ---- Intervals and datetime arithmetic ------------------------------------------------------
inline constexpr OraMessage<0> kInvalidInterval{1867, "the interval is invalid"};
inline constexpr OraMessage<0> kIntervalPrecisionTooSmall{
    1873, "the leading precision of the interval is too small"};
inline constexpr OraMessage<0> kInvalidExtractField{30076,
                                                    "invalid extract field for extract source"};
inline constexpr OraMessage<0> kInvalidDatetimeArithmetic{
    30081, "invalid data type for datetime/interval arithmetic"};
inline constexpr OraMessage<0> kDatetimePrecisionOutOfRange{
    30088, "datetime/interval precision is out of range"};
inline constexpr OraMessage<0> kInvalidDatetimeField{30089, "missing or invalid <datetime field>"};

// ---- Outer joins and hierarchical queries ---------------------------------------------------
inline constexpr OraMessage<0> kOuterJoinColumnNeedsTable{
    904, "a column marked (+) must name its table"};
inline constexpr OraMessage<0> kTablesOuterJoinedToEachOther{
    1416, "two tables cannot be outer-joined to each other"};
inline constexpr OraMessage<0> kJoinWithConnectBy{1437, "cannot have join with CONNECT BY"};
inline constexpr OraMessage<0> kOuterJoinToSeveralTables{
    1468, "a predicate may reference only one outer-joined table"};
inline constexpr OraMessage<0> kSubqueryInConnectBy{1473,
                                                    "cannot have subqueries in CONNECT BY clause"};
inline constexpr OraMessage<0> kOuterJoinInOrOrIn{
    1719, "outer join operator (+) not allowed in operand of OR or IN"};
inline constexpr OraMessage<0> kOldStyleJoinWithAnsiJoins{
    25156, "old style outer join (+) cannot be used with ANSI joins"};
inline constexpr OraMessage<0> kConnectByLoop{1436, "CONNECT BY loop in user data"};

// ---- Constraints on written rows ------------------------------------------------------------
// The constraint's (or unique index's) name, owner first (SCOTT.DEPT_PK).
inline constexpr OraMessage<1> kUniqueConstraintViolated{1, "unique constraint ({}) violated"};
// The column, quoted and qualified ("T"."C").
inline constexpr OraMessage<1> kCannotInsertNull{1400, "cannot insert NULL into ({})"};
// The constraint's name, owner first (SCOTT.SAL_CK).
inline constexpr OraMessage<1> kCheckConstraintViolated{2290, "check constraint ({}) violated"};
inline constexpr OraMessage<0> kParentKeyNotFound{
    2291, "integrity constraint violated - parent key not found"};
inline constexpr OraMessage<0> kChildRecordFound{
    2292, "integrity constraint violated - child record found"};
// The foreign key's name, owner first (SCOTT.EMP_FK).
inline constexpr OraMessage<1> kParentKeyOfNotFound{
    2291, "integrity constraint ({}) violated - parent key not found"};
inline constexpr OraMessage<1> kChildRecordOfFound{
    2292, "integrity constraint ({}) violated - child record found"};
// The table, then the column.
inline constexpr OraMessage<1> kCannotUpdateToNull{1407, "cannot update ({}) to NULL"};
// The owner, the table, the column, then the value's length and the column's maximum.
inline constexpr OraMessage<5> kValueTooLargeForColumn{
    12899, "value too large for column \"{}\".\"{}\".\"{}\" (actual: {}, maximum: {})"};
inline constexpr OraMessage<0> kInsertIntoAlwaysIdentity{
    32795, "cannot insert into a generated always identity column"};
inline constexpr OraMessage<0> kUpdateAlwaysIdentity{
    32796, "cannot update a generated always identity column"};
inline constexpr OraMessage<0> kKeysReferencedByForeignKeys{
    2449, "unique/primary keys in table referenced by foreign keys"};

// ---- ALTER TABLE: columns and constraints ---------------------------------------------------
inline constexpr OraMessage<0> kInvalidAlterTableOption{1735, "invalid ALTER TABLE option"};
// The option as written.
inline constexpr OraMessage<1> kAlterTableOptionNotSupported{
    1735, "invalid ALTER TABLE option: {} is not supported by the embedded client"};
inline constexpr OraMessage<0> kColumnNotEmptyForType{
    1439, "column to be modified must be empty to change datatype"};
inline constexpr OraMessage<0> kColumnNotEmptyForPrecision{
    1440, "column to be modified must be empty to decrease precision or scale"};
inline constexpr OraMessage<0> kValueTooBigForLength{
    1441, "cannot decrease column length because some value is too big"};
inline constexpr OraMessage<0> kAlreadyNotNull{
    1442, "column to be modified to NOT NULL is already NOT NULL"};
inline constexpr OraMessage<0> kNullsPreventNotNull{
    1449, "column contains NULL values; cannot alter to NOT NULL"};
inline constexpr OraMessage<0> kAlreadyNull{
    1451, "column to be modified to NULL cannot be modified to NULL"};
inline constexpr OraMessage<0> kInvalidConstraintName{2250, "missing or invalid constraint name"};
inline constexpr OraMessage<0> kSecondPrimaryKey{2260, "table can have only one primary key"};
inline constexpr OraMessage<0> kKeyAlreadyExists{
    2261, "such unique or primary key already exists in the table"};
inline constexpr OraMessage<0> kConstraintNameUsed{2264,
                                                   "name already used by an existing constraint"};
inline constexpr OraMessage<0> kNoMatchingKey{
    2270, "no matching unique or primary key for this column-list"};
inline constexpr OraMessage<0> kKeyReferencedByForeignKeys{
    2273, "this unique/primary key is referenced by some foreign keys"};
// Each of these five names the constraint, as the statement shows it.
inline constexpr OraMessage<1> kCheckViolatedOnValidate{
    2293, "cannot validate {} - check constraint violated"};
inline constexpr OraMessage<1> kNullsOnEnable{2296, "cannot enable {} - null values found"};
inline constexpr OraMessage<1> kParentKeysNotFoundOnValidate{
    2298, "cannot validate {} - parent keys not found"};
inline constexpr OraMessage<1> kDuplicateKeysOnValidate{
    2299, "cannot validate {} - duplicate keys found"};
inline constexpr OraMessage<1> kPrimaryKeyViolatedOnValidate{
    2437, "cannot validate {} - primary key violated"};
inline constexpr OraMessage<0> kNoPrimaryKeyToDrop{2441, "Cannot drop nonexistent primary key"};
inline constexpr OraMessage<0> kNoUniqueKeyToDrop{2442, "Cannot drop nonexistent unique key"};
inline constexpr OraMessage<0> kNoConstraintToDrop{
    2443, "Cannot drop constraint  - nonexistent constraint"};
// The constraint's name as the statement gives it.
inline constexpr OraMessage<1> kNoConstraintToEnable{
    2430, "cannot enable constraint ({}) - no such constraint"};
inline constexpr OraMessage<1> kNoConstraintToDisable{
    2431, "cannot disable constraint ({}) - no such constraint"};
// The key's name, owner first.
inline constexpr OraMessage<1> kDisableWithDependencies{
    2297, "cannot disable constraint ({}) - dependencies exist"};
inline constexpr OraMessage<0> kNotNullColumnOnFilledTable{
    1758, "table must be empty to add mandatory (NOT NULL) column"};

// ---- Sequences ------------------------------------------------------------------------------
inline constexpr OraMessage<0> kCannotAlterStart{2283, "cannot alter starting sequence number"};
inline constexpr OraMessage<0> kNoAlterSequenceOptions{2286,
                                                       "no options specified for ALTER SEQUENCE"};
inline constexpr OraMessage<0> kSequenceDoesNotExist{2289, "sequence does not exist"};
inline constexpr OraMessage<0> kZeroIncrement{4002, "INCREMENT must be a non-zero integer"};
inline constexpr OraMessage<0> kMinNotBelowMax{4004, "MINVALUE must be less than MAXVALUE"};
inline constexpr OraMessage<0> kStartBelowMin{4006, "START WITH cannot be less than MINVALUE"};
inline constexpr OraMessage<0> kStartAboveMax{4008, "START WITH cannot be more than MAXVALUE"};
inline constexpr OraMessage<0> kCacheTooSmall{
    4010, "the number of values to CACHE must be greater than 1"};
inline constexpr OraMessage<0> kCacheExceedsCycle{4013,
                                                  "number to CACHE must be less than one cycle"};
// The sequence's name, then "exceeds MAXVALUE" or "goes below MINVALUE".
inline constexpr OraMessage<2> kSequenceExhausted{
    8004, "sequence {}.NEXTVAL {} and cannot be instantiated"};
// The sequence's name.
inline constexpr OraMessage<1> kCurrvalNotYetDefined{
    8002, "sequence {}.CURRVAL is not yet defined in this session"};

// ---- Users, passwords and privileges --------------------------------------------------------
inline constexpr OraMessage<0> kLogonDenied{1017, "invalid username/password; logon denied"};
inline constexpr OraMessage<0> kInsufficientPrivileges{1031, "insufficient privileges"};
// The user's name.
inline constexpr OraMessage<1> kUserDoesNotExist{1918, "user '{}' does not exist"};
// The user's name.
inline constexpr OraMessage<1> kUserNameConflicts{
    1920, "user name '{}' conflicts with another user or role name"};
inline constexpr OraMessage<0> kMissingUserName{1935, "missing user or role name"};
inline constexpr OraMessage<0> kUserConnected{1940,
                                              "cannot drop a user that is currently connected"};
inline constexpr OraMessage<0> kInvalidPassword{988, "missing or invalid password(s)"};
inline constexpr OraMessage<0> kPasswordHashMemory{
    4030, "out of process memory when trying to allocate password hash memory"};

// ---- The client's calls: environment, statement handles, binds, cursors ---------------------
inline constexpr OraMessage<0> kCannotCreateEnvironment{32101, "cannot create OCI Environment"};
inline constexpr OraMessage<0> kUnresolvableConnectIdentifier{
    12154, "TNS:could not resolve the connect identifier specified"};
inline constexpr OraMessage<0> kStatementNotPrepared{24337, "statement handle not prepared"};
inline constexpr OraMessage<0> kStatementNotExecuted{24338, "statement handle not executed"};
inline constexpr OraMessage<0> kIllegalAttributeValue{24328, "illegal attribute value"};
inline constexpr OraMessage<0> kInvalidPosition{32109, "invalid column or parameter position"};
inline constexpr OraMessage<0> kNotAllVariablesBound{1008, "not all variables bound"};
inline constexpr OraMessage<0> kUnsupportedNetworkDatatype{
    3115, "unsupported network datatype or representation"};
inline constexpr OraMessage<0> kLongBindOnly{
    1461, "can bind a LONG value only for insert into a LONG column"};
inline constexpr OraMessage<0> kZeroIterationCount{24333, "zero iteration count"};
inline constexpr OraMessage<0> kFewerIterationsThanAdded{
    32103, "error from OCCI call: fewer iterations than added"};
inline constexpr OraMessage<0> kMoreIterationsThanAllowed{
    32103, "error from OCCI call: more iterations added than setMaxIterations allows"};
inline constexpr OraMessage<0> kMaxSizeNotSpecified{32108,
                                                    "max column or parameter size not specified"};
inline constexpr OraMessage<0> kInvalidCursor{1001, "invalid cursor"};
inline constexpr OraMessage<0> kFetchOutOfSequence{1002, "fetch out of sequence"};
inline constexpr OraMessage<0> kFetchedValueIsNull{1405, "fetched column value is NULL"};
inline constexpr OraMessage<0> kIntegerOverflow{1455,
                                                "converting column overflows integer datatype"};

// ---- LOBs, BFILEs and streams ---------------------------------------------------------------
inline constexpr OraMessage<0> kInvalidLobLocator{22275, "invalid LOB locator specified"};
inline constexpr OraMessage<0> kNoFileToOpen{
    22285, "non-existent directory or file for FILEOPEN operation"};
inline constexpr OraMessage<0> kLobNotOpen{22289,
                                           "cannot perform operation on an unopened file or LOB"};
inline constexpr OraMessage<0> kLobAlreadyOpen{22293, "LOB already opened"};
inline constexpr OraMessage<0> kNonexistentLobValue{22922, "nonexistent LOB value"};
inline constexpr OraMessage<0> kLobTooLarge{
    22925, "operation would exceed maximum size allowed for a LOB value"};
inline constexpr OraMessage<0> kBufferTooSmall{
    6502, "PL/SQL: numeric or value error: character string buffer too small"};
inline constexpr OraMessage<0> kCannotWriteStream{32139, "Cannot write to the stream"};
inline constexpr OraMessage<0> kNotOnStream{32140, "cannot perform this operation on stream"};

// ---- The database file, locks and transactions ----------------------------------------------
inline constexpr OraMessage<0> kResourceBusy{
    54, "resource busy and acquire with NOWAIT specified or timeout expired"};
// What failed underneath (SQLite's message, "libsodium").
inline constexpr OraMessage<1> kRecursiveSqlError{604,
                                                  "error occurred at recursive SQL level 1: {}"};
// The milliseconds waited.
inline constexpr OraMessage<1> kShortReadWhileOpening{
    1115,
    "IO error reading block from file: short read while opening; other sessions kept rewriting "
    "the file, gave up after {} ms of retries"};
// Each of these three ends with SQLite's message.
inline constexpr OraMessage<1> kFileFailedVerification{
    1122, "database file failed verification check: {}"};
inline constexpr OraMessage<1> kBlockCorrupted{1578, "ORACLE data block corrupted: {}"};
inline constexpr OraMessage<1> kReadOnlyDatabase{
    16000, "database or pluggable database open for read-only access: {}"};
inline constexpr OraMessage<0> kTransactionLostEarlier{
    2091,
    "transaction rolled back: an earlier failure lost the whole transaction; ROLLBACK to go on"};
inline constexpr OraMessage<0> kTransactionLostHere{
    2091,
    "transaction rolled back: the whole transaction was lost with this statement; DML and COMMIT "
    "fail until ROLLBACK"};
// A call cancelled from another thread (OCIBreak).
inline constexpr OraMessage<0> kUserRequestedCancel{1013,
                                                    "user requested cancel of current operation"};
// A connect string's parameter the embedded database reads, given a value it cannot take.
inline constexpr OraMessage<3> kInvalidParameterValue{
    96, "invalid value {} for parameter {}, must be from among {}"};
// SQLite's memory reached the process's limit (KAVEX_MEMORY_LIMIT).
inline constexpr OraMessage<1> kHeapLimitReached{
    4030, "out of process memory when trying to allocate memory (limit: {})"};
// A statement's temporary files would pass the session's temp_limit (the blocks are of 8 KiB).
inline constexpr OraMessage<2> kTempSegmentFull{
    1652, "unable to extend temp segment by {} in tablespace {}"};
inline constexpr OraMessage<0> kSavepointNotEstablished{
    1086, "savepoint never established in this session or is invalid"};

// ---- PL/SQL ----------------------------------------------------------------------------------
// DBMS_ASSERT.SIMPLE_SQL_NAME of a text that is no name.
inline constexpr OraMessage<0> kInvalidSqlName{44003, "invalid SQL name"};
// A block that does not compile: where, then the PLS- message.
inline constexpr OraMessage<3> kPlSqlCompileError{6550, "line {}, column {}:\n{}"};
// The line of the block an unhandled error left, after the error itself.
// The PLS- messages a compile error names (kPlSqlCompileError's third part), by PLS number.
inline constexpr OraMessage<2> kPlsEncountered{
    103, "Encountered the symbol \"{}\" when expecting one of the following:\n\n   {}"};
inline constexpr OraMessage<1> kPlsProgramTooLarge{123, "program too large ({})"};
inline constexpr OraMessage<1> kPlsBadBind{49, "bad bind variable '{}'"};
inline constexpr OraMessage<1> kPlsNotDeclared{201, "identifier '{}' must be declared"};
inline constexpr OraMessage<1> kPlsNotProcedure{
    221, "'{}' is not a procedure or is undefined"};
inline constexpr OraMessage<1> kPlsNoSuchFunction{
    222, "no function with name '{}' exists in this scope"};
inline constexpr OraMessage<1> kPlsObjectInvalid{905, "object {} is invalid"};
inline constexpr OraMessage<1> kPlsWrongArguments{
    306, "wrong number or types of arguments in call to '{}'"};
// PKG.NAME where the package declares no NAME.
inline constexpr OraMessage<1> kPlsNoSuchComponent{302, "component '{}' must be declared"};
inline constexpr OraMessage<1> kPlsTooManyMatches{
    307, "too many declarations of '{}' match this call"};
inline constexpr OraMessage<1> kPlsNotDefinedInBody{
    323, "subprogram or cursor '{}' is declared in a package and must be defined in the "
         "package body"};
inline constexpr OraMessage<0> kPlsWrongType{382, "expression is of wrong type"};
inline constexpr OraMessage<1> kPlsNotAssignable{
    363, "expression '{}' cannot be used as an assignment target"};
inline constexpr OraMessage<0> kPlsIntoExpected{
    428, "an INTO clause is expected in this SELECT statement"};
inline constexpr OraMessage<0> kPlsExitOutsideLoop{
    376, "illegal EXIT/CONTINUE statement; it must appear inside a loop"};
inline constexpr OraMessage<1> kPlsIllegalGoto{
    375, "illegal GOTO statement; this GOTO cannot branch to label '{}'"};
inline constexpr OraMessage<1> kPlsNotLoopLabel{
    373, "EXIT/CONTINUE label '{}' must label a LOOP statement"};
inline constexpr OraMessage<1> kPlsRestriction{
    999, "implementation restriction (may be temporary) {}"};
// Blocks that run blocks (EXECUTE IMMEDIATE of a block) past the client's depth.
inline constexpr OraMessage<1> kRecursiveSqlLevels{
    36, "maximum number of recursive SQL levels ({}) exceeded"};
// The same for a line of a stored unit: at "SCOTT.P", line 3.
inline constexpr OraMessage<2> kPlSqlAtUnitLine{6512, "at \"{}\", line {}"};
// A call of a package's subprogram when the package has no body: "SCOTT.PKG".
inline constexpr OraMessage<1> kPackageBodyMissing{
    4067, "not executed, package body \"{}\" does not exist"};
inline constexpr OraMessage<0> kFunctionReturnedWithoutValue{
    6503, "PL/SQL: Function returned without value"};
// CREATE of a stored unit whose body does not compile: the unit is kept, INVALID.
inline constexpr OraMessage<0> kSuccessWithCompilationError{24344,
                                                            "success with compilation error"};
inline constexpr OraMessage<0> kDmlInsideQuery{14551,
                                               "cannot perform a DML operation inside a query"};
inline constexpr OraMessage<1> kPlSqlAtLine{6512, "at line {}"};
// ---- Triggers
inline constexpr OraMessage<1> kTriggerDoesNotExist{4080, "trigger '{}' does not exist"};
inline constexpr OraMessage<1> kTriggerExists{4081, "trigger '{}' already exists"};
inline constexpr OraMessage<0> kTriggerTypeOnView{25001, "cannot create this trigger type on views"};
inline constexpr OraMessage<0> kInsteadOfOnTable{25002,
                                                 "cannot create INSTEAD OF triggers on tables"};
inline constexpr OraMessage<0> kMissingTriggerTiming{
    4071, "missing BEFORE, AFTER or INSTEAD OF keyword"};
inline constexpr OraMessage<0> kInvalidTriggerType{4072, "invalid trigger type"};
inline constexpr OraMessage<0> kColumnListNotValidForTrigger{
    4073, "column list not valid for this trigger type"};
inline constexpr OraMessage<0> kWhenOnStatementTrigger{
    4077, "WHEN clause cannot be used with table level triggers"};
inline constexpr OraMessage<0> kNewOldInStatementTrigger{
    4082, "NEW or OLD references not allowed in table level triggers"};
// The last line of a trigger's error stack: 'SCOTT.NAME'.
inline constexpr OraMessage<1> kTriggerFailed{4088, "error during execution of trigger '{}'"};
inline constexpr OraMessage<1> kTransactionInTrigger{4092, "cannot {} in a trigger"};
inline constexpr OraMessage<1> kTriggerInvalid{
    4098, "trigger '{}' is invalid and failed re-validation"};
// FORALL ... SAVE EXCEPTIONS, after it ran past executions that failed.
inline constexpr OraMessage<0> kArrayDmlErrors{24381, "error(s) in array DML"};
inline constexpr OraMessage<0> kNoDataFound{1403, "no data found"};
inline constexpr OraMessage<0> kTooManyRows{
    1422, "exact fetch returns more than requested number of rows"};
inline constexpr OraMessage<0> kNumericOrValueError{6502, "PL/SQL: numeric or value error"};
inline constexpr OraMessage<0> kNumberPrecisionTooLarge{
    6502, "PL/SQL: numeric or value error: number precision too large"};
inline constexpr OraMessage<0> kCharacterToNumber{
    6502, "PL/SQL: numeric or value error: character to number conversion error"};
inline constexpr OraMessage<0> kUnhandledUserException{
    6510, "PL/SQL: unhandled user-defined exception"};
inline constexpr OraMessage<0> kCursorAlreadyOpen{6511, "PL/SQL: cursor already open"};
inline constexpr OraMessage<0> kCollectionIsNull{6531, "Reference to uninitialized collection"};
inline constexpr OraMessage<0> kSubscriptOutsideLimit{6532, "Subscript outside of limit"};
inline constexpr OraMessage<0> kSubscriptBeyondCount{6533, "Subscript beyond count"};
inline constexpr OraMessage<0> kCaseNotFound{6592,
                                             "CASE not found while executing CASE statement"};
inline constexpr OraMessage<1> kApplicationErrorOutOfRange{
    21000, "error number argument to raise_application_error of {} is out of range"};
inline constexpr OraMessage<1> kOutputBufferOverflow{
    20000, "ORU-10027: buffer overflow, limit of {} bytes"};
inline constexpr OraMessage<0> kOutputLineOverflow{
    20000, "ORU-10028: line length overflow, limit of 32767 bytes per line"};

}  // namespace ora
}  // namespace detail
}  // namespace kavexdb

#endif
