// Oracle's text functions SQLite lacks or spells differently. Positions count characters
// (UTF-8); INSTRB counts bytes. An empty text is NULL throughout.
#include <cstdio>
#include <string>
#include <vector>

#include "base/ora_messages.h"
#include "base/utf8.h"
#include "functions/extended_functions.h"
#include "functions/function_args.h"
#include "functions/sql_function.h"
#include "functions/catalog.h"

namespace kavexdb {
namespace detail {

namespace {

// Code points of UTF-8 text (a stray byte stands for itself).
std::vector<char32_t> codePoints(const std::string& s) {
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char lead = static_cast<unsigned char>(s[i]);
        std::size_t n = utf8::sequenceLength(lead);
        if (i + n > s.size()) n = 1;
        char32_t c = n == 1 ? lead : lead & (0xFF >> (n + 1));
        for (std::size_t k = 1; k < n; ++k) c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        out.push_back(c);
        i += n;
    }
    return out;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The text's units for INSTR (characters) or INSTRB (bytes).
std::vector<char32_t> units(const std::string& s, bool bytes) {
    if (!bytes) return codePoints(s);
    return std::vector<char32_t>(s.begin(), s.end());
}

// INSTR(string, substring [, position [, occurrence]]): a negative position counts from the
// end and searches backwards.
void instr(sqlite3_context* ctx, int argc, sqlite3_value** argv, bool bytes) {
    guarded(ctx, [&] {
        for (int i = 0; i < argc; ++i)
            if (isNullArg(argv[i])) return sqlite3_result_null(ctx);
        const long long position = argc > 2 ? integerArg(argv[2]) : 1;
        const long long occurrence = argc > 3 ? integerArg(argv[3]) : 1;
        if (occurrence < 1) raise(ora::kArgumentOutOfRange, occurrence);
        const std::vector<char32_t> s = units(textArg(argv[0]), bytes);
        const std::vector<char32_t> sub = units(textArg(argv[1]), bytes);
        const long long n = static_cast<long long>(s.size()), m = static_cast<long long>(sub.size());
        auto matchesAt = [&](long long at) {  // 0-based
            if (at < 0 || at + m > n) return false;
            for (long long k = 0; k < m; ++k)
                if (s[static_cast<std::size_t>(at + k)] != sub[static_cast<std::size_t>(k)]) return false;
            return true;
        };
        long long found = 0;
        if (position > 0) {
            for (long long at = position - 1; at + m <= n; ++at)
                if (matchesAt(at) && ++found == occurrence) return sqlite3_result_int64(ctx, at + 1);
        } else if (position < 0) {
            for (long long at = n + position; at >= 0; --at)
                if (matchesAt(at) && ++found == occurrence) return sqlite3_result_int64(ctx, at + 1);
        }
        sqlite3_result_int(ctx, 0);
    });
}

void instrChars(sqlite3_context* ctx, int argc, sqlite3_value** argv) { instr(ctx, argc, argv, false); }
void instrBytes(sqlite3_context* ctx, int argc, sqlite3_value** argv) { instr(ctx, argc, argv, true); }

// CHR(n): the character whose AL32UTF8 encoding is n's bytes (CHR(65) = 'A',
// CHR(50084) = 'Ã¤' ... as Oracle's database character set gives them).
void chr(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (isNullArg(argv[0])) return sqlite3_result_null(ctx);
        long long n = integerArg(argv[0]);
        if (n < 0 || n > 0xFFFFFFFFLL) raise(ora::kArgumentOutOfRange, n);
        std::string bytes;
        do {
            bytes.insert(bytes.begin(), static_cast<char>(n & 0xFF));
            n >>= 8;
        } while (n > 0);
        sqlite3_result_text(ctx, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
    });
}

// CONCAT(a, b): NULL counts as empty, as in ||.
// CONCAT(char1, char2 [, charN]...): the texts one after another, as || joins them.
void concat(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    std::string text;
    for (int i = 0; i < argc; ++i) text += textArg(argv[i]);
    resultText(ctx, text);
}

// TRANSLATE(text, from, to): each character of from becomes the one at its place in to, or
// goes when to is shorter. NULL when any argument is NULL.
void translate(sqlite3_context* ctx, int, sqlite3_value** argv) {
    for (int i = 0; i < 3; ++i)
        if (isNullArg(argv[i])) return sqlite3_result_null(ctx);
    const std::vector<char32_t> from = codePoints(textArg(argv[1]));
    const std::vector<char32_t> to = codePoints(textArg(argv[2]));
    std::string out;
    for (char32_t c : codePoints(textArg(argv[0]))) {
        std::size_t k = 0;
        while (k < from.size() && from[k] != c) ++k;
        if (k == from.size())
            appendUtf8(out, c);
        else if (k < to.size())
            appendUtf8(out, to[k]);
    }
    resultText(ctx, out);
}

// Case of the letters of the Latin, Greek and Cyrillic alphabets.
char32_t toUpper(char32_t c) {
    if (c >= 'a' && c <= 'z') return c - 32;
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 32;
    if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149 &&
        c != 0x17F) {
        const bool oddLower = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        return oddLower ? (c % 2 == 0 ? c - 1 : c) : (c % 2 == 1 ? c - 1 : c);
    }
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return c - 32;
    if (c >= 0x430 && c <= 0x44F) return c - 32;
    if (c >= 0x450 && c <= 0x45F) return c - 80;
    return c;
}

char32_t toLower(char32_t c) {
    if (c >= 'A' && c <= 'Z') return c + 32;
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
    if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149 &&
        c != 0x17F) {
        const bool oddLower = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        return oddLower ? (c % 2 == 1 ? c + 1 : c) : (c % 2 == 0 ? c + 1 : c);
    }
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 32;
    if (c >= 0x410 && c <= 0x42F) return c + 32;
    if (c >= 0x400 && c <= 0x40F) return c + 80;
    return c;
}

bool isLetterOrDigit(char32_t c) {
    return (c >= '0' && c <= '9') || toUpper(c) != toLower(c) || c >= 0x80;
}

enum class CaseKind { Upper, Lower, Initcap };

void changeCase(sqlite3_context* ctx, sqlite3_value* v, CaseKind kind) {
    if (isNullArg(v)) return sqlite3_result_null(ctx);
    std::string out;
    bool wordStart = true;
    for (char32_t c : codePoints(textArg(v))) {
        if (kind == CaseKind::Upper) {
            c = toUpper(c);
        } else if (kind == CaseKind::Lower) {
            c = toLower(c);
        } else {
            const bool letter = isLetterOrDigit(c);
            c = letter && wordStart ? toUpper(c) : toLower(c);
            wordStart = !letter;
        }
        appendUtf8(out, c);
    }
    resultText(ctx, out);
}

// NLS_UPPER / NLS_LOWER / NLS_INITCAP(text [, 'NLS_SORT = ...']): the sort setting changes
// nothing for these alphabets.
void nlsUpper(sqlite3_context* ctx, int, sqlite3_value** argv) { changeCase(ctx, argv[0], CaseKind::Upper); }
void nlsLower(sqlite3_context* ctx, int, sqlite3_value** argv) { changeCase(ctx, argv[0], CaseKind::Lower); }
void nlsInitcap(sqlite3_context* ctx, int, sqlite3_value** argv) { changeCase(ctx, argv[0], CaseKind::Initcap); }

// LNNVL(condition): true when the condition is false or unknown.
void lnnvl(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_result_int(ctx, sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_int(argv[0]) == 0);
}

// Oracle's internal NUMBER bytes: a base-100 exponent byte and digit bytes (DUMP's Typ=2).
std::vector<int> numberBytes(const Decimal& d) {
    if (d.isZero()) return {128};
    // Base-100 digits: align the decimal digits so that the exponent is even.
    std::string digits = d.digits;
    int exponent = d.exponent;
    if (exponent % 2 != 0) {
        digits.insert(digits.begin(), '0');
        ++exponent;
    }
    if (digits.size() % 2) digits += '0';
    std::vector<int> pairs;
    for (std::size_t i = 0; i < digits.size(); i += 2) pairs.push_back((digits[i] - '0') * 10 + digits[i + 1] - '0');
    while (!pairs.empty() && pairs.back() == 0) pairs.pop_back();
    const int e100 = exponent / 2;
    std::vector<int> out;
    if (!d.negative) {
        out.push_back(192 + e100);
        for (int p : pairs) out.push_back(p + 1);
    } else {
        out.push_back(255 - (192 + e100));
        for (int p : pairs) out.push_back(101 - p);
        if (pairs.size() < 20) out.push_back(102);
    }
    return out;
}

// DUMP(expr [, format [, start [, length]]]): type code, length and the bytes of the value in
// octal (8), decimal (10), hexadecimal (16) or as characters (17); format + 1000 names the
// character set.
// A value's bytes as Oracle keeps it (NUMBER's base-100 form, a text's or RAW's bytes) and its
// DUMP type code; empty for NULL and the empty text.
std::vector<int> internalBytes(sqlite3_value* v, int& type) {
    std::vector<int> bytes;
    type = 1;
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL:
        break;
    case SQLITE_INTEGER:
    case SQLITE_FLOAT: {
        Decimal d;
        decimalArg(v, d);
        type = 2;
        bytes = numberBytes(d);
        break;
    }
    case SQLITE_BLOB: {
        type = 23;
        const auto* b = static_cast<const unsigned char*>(sqlite3_value_blob(v));
        bytes.assign(b, b + sqlite3_value_bytes(v));
        break;
    }
    default:
        for (char c : textArg(v)) bytes.push_back(static_cast<unsigned char>(c));
    }
    return bytes;
}

// VSIZE(expr): the number of bytes of the value as Oracle keeps it.
void vsize(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        int type = 0;
        const std::vector<int> bytes = internalBytes(argv[0], type);
        if (bytes.empty() && type != 23) return sqlite3_result_null(ctx);
        sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(bytes.size()));
    });
}

// BIN_TO_NUM(bit, ...): the number the bits spell, most significant first.
void binToNum(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guarded(ctx, [&] {
        long double n = 0;
        for (int i = 0; i < argc; ++i) {
            const long long bit = isNullArg(argv[i]) ? -1 : integerArg(argv[i]);
            if (bit != 0 && bit != 1) raise(ora::kIllegalArgument);
            n = n * 2 + static_cast<long double>(bit);
        }
        if (n <= 9.2e18L)
            return sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(n));
        sqlite3_result_double(ctx, static_cast<double>(n));
    });
}

void dump(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return resultText(ctx, "NULL");
        long long format = argc > 1 && !isNullArg(argv[1]) ? integerArg(argv[1]) : 10;
        const bool charset = format >= 1000;
        format %= 1000;
        int type = 1;
        const std::vector<int> bytes = internalBytes(argv[0], type);
        if (bytes.empty() && type == 1) return resultText(ctx, "NULL");
        const long long total = static_cast<long long>(bytes.size());
        long long start = argc > 2 && !isNullArg(argv[2]) ? integerArg(argv[2]) : 1;
        long long length = argc > 3 && !isNullArg(argv[3]) ? integerArg(argv[3]) : total;
        if (start < 0) start = total + start + 1;
        if (start < 1) start = 1;
        std::string out = "Typ=" + std::to_string(type) + " Len=" + std::to_string(total);
        if (charset && type == 1) out += " CharacterSet=AL32UTF8";
        out += ": ";
        char buf[16];
        for (long long i = start - 1, k = 0; i < total && k < length; ++i, ++k) {
            const int b = bytes[static_cast<std::size_t>(i)];
            if (k > 0) out += ',';
            if (format == 8)
                std::snprintf(buf, sizeof buf, "%o", b);
            else if (format == 16)
                std::snprintf(buf, sizeof buf, "%x", b);
            else if (format == 17 && b >= 0x20 && b < 0x7F)
                std::snprintf(buf, sizeof buf, "%c", b);
            else
                std::snprintf(buf, sizeof buf, "%d", b);
            out += buf;
        }
        resultText(ctx, out);
    });
}

// ASCIISTR(text): ASCII characters stay, others (and '\') become \XXXX UTF-16 code units.
void asciistr(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNullArg(argv[0])) return sqlite3_result_null(ctx);
    std::string out;
    char buf[8];
    auto unit = [&](unsigned u) {
        std::snprintf(buf, sizeof buf, "\\%04X", u);
        out += buf;
    };
    for (char32_t c : codePoints(textArg(argv[0]))) {
        if (c == '\\') {
            unit(0x5C);
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x10000) {
            unit(static_cast<unsigned>(c));
        } else {
            const char32_t v = c - 0x10000;
            unit(0xD800 + static_cast<unsigned>(v >> 10));
            unit(0xDC00 + static_cast<unsigned>(v & 0x3FF));
        }
    }
    resultText(ctx, out);
}

// UNISTR(text): \XXXX (UTF-16 code units, pairs joined) and \\ become their characters.
void unistr(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (isNullArg(argv[0])) return sqlite3_result_null(ctx);
        const std::string s = textArg(argv[0]);
        std::string out;
        auto hexAt = [&](std::size_t i, unsigned& v) {
            if (i + 5 > s.size() || s[i] != '\\') return false;
            v = 0;
            for (std::size_t k = i + 1; k < i + 5; ++k) {
                const char c = s[k];
                const int d = c >= '0' && c <= '9' ? c - '0'
                              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                              : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
                if (d < 0) return false;
                v = v * 16 + static_cast<unsigned>(d);
            }
            return true;
        };
        for (std::size_t i = 0; i < s.size();) {
            if (s[i] != '\\') {
                out += s[i++];
                continue;
            }
            if (i + 1 < s.size() && s[i + 1] == '\\') {
                out += '\\';
                i += 2;
                continue;
            }
            unsigned v = 0, low = 0;
            if (!hexAt(i, v)) raise(ora::kInvalidUnistrEscape);
            i += 5;
            if (v >= 0xD800 && v < 0xDC00 && hexAt(i, low) && low >= 0xDC00 && low < 0xE000) {
                appendUtf8(out, 0x10000 + ((v - 0xD800) << 10) + (low - 0xDC00));
                i += 5;
            } else {
                appendUtf8(out, v);
            }
        }
        resultText(ctx, out);
    });
}

}  // namespace

namespace {

// Oracle's UPPER, LOWER and INITCAP change the case of every letter that has one; SQLite's
// upper and lower only that of ASCII letters.
// INSTR/INSTRB with position and occurrence, CHR, CONCAT, TRANSLATE, NLS_UPPER, NLS_LOWER,
// NLS_INITCAP, LNNVL, DUMP, ASCIISTR, UNISTR.
const FunctionRow kRows[] = {
    {"INSTR", 2, 4, instrChars, "NUMBER"},
    {"INSTRB", 2, 4, instrBytes, "NUMBER"},
    {"CHR", 1, 1, chr, "VARCHAR2(4000)"},
    {"CONCAT", 2, 127, concat, "VARCHAR2(4000)"},
    {"TRANSLATE", 3, 3, translate, "VARCHAR2(4000)"},
    {"UPPER", 1, 1, nlsUpper, "VARCHAR2(4000)"},
    {"LOWER", 1, 1, nlsLower, "VARCHAR2(4000)"},
    {"INITCAP", 1, 1, nlsInitcap, "VARCHAR2(4000)"},
    {"NLS_UPPER", 1, 2, nlsUpper, nullptr},
    {"NLS_LOWER", 1, 2, nlsLower, nullptr},
    {"NLS_INITCAP", 1, 2, nlsInitcap, nullptr},
    {"LNNVL", 1, 1, lnnvl, nullptr},
    {"VSIZE", 1, 1, vsize, "NUMBER"},
    {"BIN_TO_NUM", -1, -1, binToNum, "NUMBER"},
    {"DUMP", 1, 4, dump, nullptr},
    {"ASCIISTR", 1, 1, asciistr, nullptr},
    {"UNISTR", 1, 1, unistr, nullptr},
};

}  // namespace

const FunctionFamily kTextFunctions{kRows};

}  // namespace detail
}  // namespace kavexdb
