// Oracle's character functions that count bytes, take keywords or treat NULL unlike SQLite's:
// TRIM with LEADING, TRAILING, BOTH and FROM, LTRIM and RTRIM, ASCII, NCHR, LENGTHB, SUBSTRB, REPLACE. Texts are
// AL32UTF8, so a byte count is a count of UTF-8 bytes; numbers and dates become text as Oracle
// converts them implicitly.
#include <string>
#include <vector>

#include "base/ora_messages.h"
#include "base/utf8.h"
#include "functions/extended_functions.h"
#include "functions/function_args.h"
#include "functions/sql_function.h"
#include "functions/sql_values.h"
#include "sql/internal_names.h"
#include "functions/catalog.h"
#include "types/values.h"

namespace kavexdb {
namespace detail {

namespace {

bool continuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// ORA$TRIM(mode, set, source): mode 'L', 'T' or 'B'; set is one character.
void trim(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (isNullArg(argv[1]) || isNullArg(argv[2])) return sqlite3_result_null(ctx);
        const std::string mode = valueText(argv[0]);
        const std::string set = oracleText(argv[1]);
        if (utf8::sequenceLength(static_cast<unsigned char>(set[0])) != set.size())
            raise(ora::kTrimSetOfOneCharacter);
        std::string s = oracleText(argv[2]);
        if (mode != "T")
            while (s.compare(0, set.size(), set) == 0) s.erase(0, set.size());
        if (mode != "L")
            while (s.size() >= set.size() && s.compare(s.size() - set.size(), set.size(), set) == 0)
                s.erase(s.size() - set.size());
        resultText(ctx, s);
    });
}

// The characters of a trimming set, each as its UTF-8 bytes.
std::vector<std::string> charactersOf(const std::string& set) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < set.size();) {
        std::size_t n = utf8::sequenceLength(static_cast<unsigned char>(set[i]));
        if (n == 0 || i + n > set.size()) n = 1;
        out.push_back(set.substr(i, n));
        i += n;
    }
    return out;
}

// LTRIM(text [, set]), RTRIM(text [, set]) and TRIM(text): text without the characters of set
// (a blank when omitted) at its start, its end, or both. A result with nothing left is NULL, as
// every empty text is in Oracle.
template <bool Left, bool Right>
void trimSet(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
        const std::string s = oracleText(argv[0]);
        const std::vector<std::string> set = charactersOf(argc > 1 ? oracleText(argv[1]) : " ");
        const auto startsWithOne = [&](std::size_t at) -> std::size_t {
            for (const std::string& c : set)
                if (s.compare(at, c.size(), c) == 0) return c.size();
            return 0;
        };
        const auto endsWithOne = [&](std::size_t end) -> std::size_t {
            for (const std::string& c : set)
                if (c.size() <= end && s.compare(end - c.size(), c.size(), c) == 0) return c.size();
            return 0;
        };
        std::size_t begin = 0, end = s.size();
        for (std::size_t n; Left && begin < end && (n = startsWithOne(begin)) != 0;) begin += n;
        for (std::size_t n; Right && end > begin && (n = endsWithOne(end)) != 0;) end -= n;
        resultText(ctx, s.substr(begin, end - begin));
    });
}

// ASCII(text): the first character's code in the database character set, its UTF-8 bytes read
// as one number (ASCII('Q') = 81).
void ascii(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (isNullArg(argv[0])) return sqlite3_result_null(ctx);
        const std::string s = oracleText(argv[0]);
        std::size_t n = utf8::sequenceLength(static_cast<unsigned char>(s[0]));
        if (n > s.size()) n = 1;
        long long code = 0;
        for (std::size_t i = 0; i < n; ++i) code = code * 256 + static_cast<unsigned char>(s[i]);
        sqlite3_result_int64(ctx, code);
    });
}

// NCHR(n): the character whose national character set (AL16UTF16) code is n.
void nchr(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (isNullArg(argv[0])) return sqlite3_result_null(ctx);
        const long long n = integerArg(argv[0]);
        if (n < 0 || n > 0xFFFF || (n >= 0xD800 && n < 0xE000)) raise(ora::kArgumentOutOfRange, n);
        const auto c = static_cast<char32_t>(n);
        std::string out;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
        sqlite3_result_text(ctx, out.data(), static_cast<int>(out.size()), SQLITE_TRANSIENT);
    });
}

void lengthb(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (isNullArg(argv[0])) return sqlite3_result_null(ctx);
        if (sqlite3_value_type(argv[0]) == SQLITE_BLOB)
            return sqlite3_result_int(ctx, sqlite3_value_bytes(argv[0]));
        sqlite3_result_int64(ctx, static_cast<long long>(oracleText(argv[0]).size()));
    });
}

// SUBSTRB(text, position [, length]) in bytes, positions as SUBSTR takes them. A character cut
// at either end becomes blanks, one per byte kept, as Oracle pads it.
void substrb(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (anyNull(argc, argv) || isNullArg(argv[0])) return sqlite3_result_null(ctx);
        const std::string s = oracleText(argv[0]);
        const long long size = static_cast<long long>(s.size());
        long long position = static_cast<long long>(numberToDouble(numberArg(argv[1])));
        if (position == 0) position = 1;
        if (position < 0) position += size + 1;
        if (position < 1 || position > size) return sqlite3_result_null(ctx);
        long long length = size - position + 1;
        if (argc > 2) {
            const double wanted = numberToDouble(numberArg(argv[2]));
            if (wanted < 1) return sqlite3_result_null(ctx);
            if (wanted < static_cast<double>(length)) length = static_cast<long long>(wanted);
        }
        std::string out =
            s.substr(static_cast<std::size_t>(position - 1), static_cast<std::size_t>(length));
        std::size_t lead = 0;
        while (lead < out.size() && continuationByte(out[lead])) out[lead++] = ' ';
        // A last character whose bytes do not all fit.
        std::size_t start = out.size();
        while (start > lead && continuationByte(out[start - 1])) --start;
        if (start > lead && start <= out.size()) {
            const std::size_t begin = start - 1;
            const std::size_t need = utf8::sequenceLength(static_cast<unsigned char>(out[begin]));
            if (out.size() - begin < need)
                for (std::size_t k = begin; k < out.size(); ++k) out[k] = ' ';
        }
        resultText(ctx, out);
    });
}

// REPLACE(text, search [, replacement]): every search becomes replacement (removed when it is
// left out or NULL); a NULL search leaves the text as it is.
void replace(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (isNullArg(argv[0])) return sqlite3_result_null(ctx);
        const std::string s = oracleText(argv[0]);
        if (isNullArg(argv[1])) return resultText(ctx, s);
        const std::string search = oracleText(argv[1]);
        const std::string with = argc > 2 && !isNullArg(argv[2]) ? oracleText(argv[2]) : "";
        std::string out;
        std::size_t from = 0;
        for (std::size_t at; (at = s.find(search, from)) != std::string::npos;
             from = at + search.size())
            out.append(s, from, at - from).append(with);
        out.append(s, from, std::string::npos);
        resultText(ctx, out);
    });
}

}  // namespace

void rewriteTrim(TokenEditor& e) {
    for (std::size_t i = e.next(0); i < e.size(); i = e.next(i + 1)) {
        if (!e.word(i, "TRIM")) continue;
        const std::size_t open = e.next(i + 1);
        if (!e.punct(open, '(')) continue;
        const std::size_t close = e.pastParens(open) - 1;
        if (close >= e.size()) continue;
        std::size_t from = e.size();
        int depth = 0;
        for (std::size_t k = open + 1; k < close; ++k) {
            if (e.punct(k, '(')) ++depth;
            if (e.punct(k, ')')) --depth;
            if (depth == 0 && e.word(k, "FROM")) {
                from = k;
                break;
            }
        }
        const std::size_t first = e.next(open + 1);
        if (from == e.size()) continue;
        std::string mode = "'B'";
        std::size_t setStart = first;
        if (e.word(first, "LEADING") || e.word(first, "TRAILING") || e.word(first, "BOTH")) {
            mode = e.word(first, "LEADING") ? "'L'" : e.word(first, "TRAILING") ? "'T'" : "'B'";
            e.erase(first);
            setStart = e.next(first + 1);
        }
        e[i].text = kOraTrim;
        e[open].text = "(" + mode + ", ";
        e[from].text = setStart == from ? "' ', " : ", ";
    }
}

namespace {

// ORA$TRIM (behind TRIM ... FROM), ASCII, NCHR, LENGTHB, SUBSTRB (character_functions.cpp).
const FunctionRow kRows[] = {
    {kOraTrim, 3, 3, trim, "VARCHAR2(4000)"},
    {"LTRIM", 1, 2, trimSet<true, false>, "VARCHAR2(4000)"},
    {"RTRIM", 1, 2, trimSet<false, true>, "VARCHAR2(4000)"},
    {"TRIM", 1, 1, trimSet<true, true>, "VARCHAR2(4000)"},
    {"ASCII", 1, 1, ascii, "NUMBER"},
    {"NCHR", 1, 1, nchr, nullptr},
    {"LENGTHB", 1, 1, lengthb, "NUMBER"},
    {"SUBSTRB", 2, 3, substrb, "VARCHAR2(4000)"},
    {"REPLACE", 2, 3, replace, "VARCHAR2(4000)"},
};

}  // namespace

const FunctionFamily kCharacterFunctions{kRows};

}  // namespace detail
}  // namespace kavexdb
