#include "plsql/exceptions.h"

#include <cstring>

#include "base/access.h"
#include "base/ora_messages.h"

namespace kavexdb {
namespace detail {
namespace plsql {

namespace {

struct Predefined {
    const char* name;
    int code;
};

// Package STANDARD's exceptions and their numbers.
constexpr Predefined kPredefined[] = {
    {"ACCESS_INTO_NULL", 6530},
    {"CASE_NOT_FOUND", 6592},
    {"COLLECTION_IS_NULL", 6531},
    {"CURSOR_ALREADY_OPEN", 6511},
    {"DUP_VAL_ON_INDEX", 1},
    {"INVALID_CURSOR", 1001},
    {"INVALID_NUMBER", 1722},
    {"LOGIN_DENIED", 1017},
    {"NO_DATA_FOUND", 1403},
    {"NOT_LOGGED_ON", 1012},
    {"PROGRAM_ERROR", 6501},
    {"ROWTYPE_MISMATCH", 6504},
    {"SELF_IS_NULL", 30625},
    {"STORAGE_ERROR", 6500},
    {"SUBSCRIPT_BEYOND_COUNT", 6533},
    {"SUBSCRIPT_OUTSIDE_LIMIT", 6532},
    {"SYS_INVALID_ROWID", 1410},
    {"TIMEOUT_ON_RESOURCE", 51},
    {"TOO_MANY_ROWS", 1422},
    {"VALUE_ERROR", 6502},
    {"ZERO_DIVIDE", 1476},
};

std::string withoutNewline(std::string text) {
    while (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
}

}  // namespace

int predefinedException(const std::string& name) {
    for (const Predefined& p : kPredefined)
        if (name == p.name) return p.code;
    return 0;
}

PlError PlError::fromSql(const occi::SQLException& e, Position at) {
    PlError err;
    err.code = e.getErrorCode();
    err.message = e.what();
    if (err.message.empty() || err.message.back() != '\n') err.message += '\n';
    err.at = at;
    return err;
}

PlError PlError::userDefined(const std::string& name, Position at) {
    PlError err;
    err.code = 1;
    err.name = name;
    err.message = makeError(ora::kUnhandledUserException).what();
    err.at = at;
    return err;
}

PlError PlError::numbered(int code, Position at) {
    occi::SQLException e;
    switch (code) {
        case 1403:
            e = makeError(ora::kNoDataFound);
            break;
        case 1422:
            e = makeError(ora::kTooManyRows);
            break;
        case 1476:
            e = makeError(ora::kDivisorIsZero);
            break;
        case 1722:
            e = makeError(ora::kInvalidNumber);
            break;
        case 1001:
            e = makeError(ora::kInvalidCursor);
            break;
        case 6502:
            e = makeError(ora::kNumericOrValueError);
            break;
        case 6511:
            e = makeError(ora::kCursorAlreadyOpen);
            break;
        case 6592:
            e = makeError(ora::kCaseNotFound);
            break;
        case 6531:
            e = makeError(ora::kCollectionIsNull);
            break;
        case 6532:
            e = makeError(ora::kSubscriptOutsideLimit);
            break;
        case 6533:
            e = makeError(ora::kSubscriptBeyondCount);
            break;
        case 1:
            e = makeError(ora::kUniqueConstraintViolated, ".");
            break;
        default:
            e = makeError(code, "");
            break;
    }
    return fromSql(e, at);
}

int PlError::sqlcode() const {
    if (!name.empty()) return 1;
    if (code == 1403) return 100;
    return -code;
}

std::string PlError::sqlerrm() const {
    if (!name.empty()) return "User-Defined Exception";
    return withoutNewline(message);
}

}  // namespace plsql
}  // namespace detail
}  // namespace kavexdb
