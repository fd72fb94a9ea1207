#include "functions/datetime_order.h"

#include <cstring>
#include <string>

#include "base/errors.h"
#include "functions/sql_values.h"
#include "sql/sqlite_errors.h"
#include "types/calendar.h"
#include "types/datetime_parse.h"
#include "types/storage_text.h"

namespace kavexdb {
namespace detail {

const char* const kDatetimeCollation = "ORA_DATETIME";

namespace {

// A text's place in the order: datetimes by their UTC instant, before other texts.
struct Key {
    bool datetime = false;
    Instant at;
};

// Text that is not a storage text is read by the session's formats; a comparison with a literal
// meets the same text once per row, so the last one read is kept.
Key parsedKey(const char* text, std::size_t length) {
    thread_local std::string lastText;
    thread_local Key lastKey;
    if (lastText.size() == length && std::memcmp(lastText.data(), text, length) == 0)
        return lastKey;
    Key key;
    try {
        key.at = utcInstantOf(parseDefaultDateTime(std::string(text, length), true, true));
        key.datetime = true;
    } catch (...) {
        // Not a datetime: ordered by its bytes.
    }
    lastText.assign(text, length);
    lastKey = key;
    return key;
}

Key keyOf(const char* text, std::size_t length) {
    if (!isDatetime(textKind(text, length))) return parsedKey(text, length);
    Key key;
    key.datetime = true;
    key.at = utcInstantOf(storageFields(text, length));
    return key;
}

int bytesOrder(const char* a, std::size_t na, const char* b, std::size_t nb) {
    const int c = std::memcmp(a, b, na < nb ? na : nb);
    if (c != 0) return c;
    return na < nb ? -1 : na > nb ? 1 : 0;
}

// A DATE or zoneless TIMESTAMP of a year AD: its text orders it, the DATE with a zero fraction.
bool plainAd(const char* text, std::size_t length, ValueKind kind) {
    return (kind == ValueKind::Date || kind == ValueKind::Timestamp) && length > 0 &&
           text[0] != '-';
}

int compare(void*, int na, const void* pa, int nb, const void* pb) {
    const char* a = static_cast<const char*>(pa);
    const char* b = static_cast<const char*>(pb);
    const std::size_t la = static_cast<std::size_t>(na), lb = static_cast<std::size_t>(nb);
    const ValueKind ka = textKind(a, la), kb = textKind(b, lb);
    if (plainAd(a, la, ka) && plainAd(b, lb, kb)) {
        const int c = std::memcmp(a, b, 19);
        if (c != 0) return c;
        static const char kNoFraction[] = "000000000";
        return std::memcmp(ka == ValueKind::Date ? kNoFraction : a + 20,
                           kb == ValueKind::Date ? kNoFraction : b + 20, 9);
    }
    try {
        const Key x = keyOf(a, la), y = keyOf(b, lb);
        if (x.datetime != y.datetime) return x.datetime ? -1 : 1;
        if (!x.datetime) return bytesOrder(a, la, b, lb);
        if (x.at.days != y.at.days) return x.at.days < y.at.days ? -1 : 1;
        return x.at.nanos < y.at.nanos ? -1 : x.at.nanos > y.at.nanos ? 1 : 0;
    } catch (...) {
        return bytesOrder(a, la, b, lb);
    }
}

}  // namespace

int compareDatetimeTexts(const char* a, std::size_t na, const char* b, std::size_t nb) {
    return compare(nullptr, static_cast<int>(na), a, static_cast<int>(nb), b);
}

void registerDatetimeCollation(sqlite3* db) {
    const int rc = sqlite3_create_collation_v2(db, kDatetimeCollation, SQLITE_UTF8, nullptr,
                                               compare, nullptr);
    if (rc != SQLITE_OK) raiseSqlite(db, rc);
}

}  // namespace detail
}  // namespace kavexdb
