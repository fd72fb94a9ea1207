// REGEXP_LIKE, REGEXP_SUBSTR, REGEXP_INSTR, REGEXP_REPLACE and REGEXP_COUNT over PCRE2, with
// Oracle's match parameters: 'i' case-insensitive, 'c' case-sensitive (the last of the two
// wins), 'n' '.' matches a newline, 'm' '^' and '$' match at every line, 'x' ignores blanks in
// the pattern. Positions count characters (UTF-8), from 1.
#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <memory>
#include <string>

#include "base/ora_messages.h"
#include "base/utf8.h"
#include "functions/extended_functions.h"
#include "functions/function_args.h"
#include "functions/sql_function.h"
#include "functions/catalog.h"

namespace kavexdb {
namespace detail {

namespace {

struct CodeFree {
    void operator()(pcre2_code* c) const { pcre2_code_free(c); }
};
struct MatchDataFree {
    void operator()(pcre2_match_data* m) const { pcre2_match_data_free(m); }
};

// A compiled pattern, kept by SQLite beside a constant pattern argument.
struct Compiled {
    std::string pattern;
    uint32_t options = 0;
    std::unique_ptr<pcre2_code, CodeFree> code;
};

void deleteCompiled(void* p) { delete static_cast<Compiled*>(p); }

uint32_t matchOptions(sqlite3_context*, sqlite3_value* v) {
    uint32_t options = PCRE2_UTF | PCRE2_MATCH_INVALID_UTF | PCRE2_DOLLAR_ENDONLY;
    if (!v || isNullArg(v)) return options;
    for (char c : textArg(v)) {
        switch (c) {
        case 'i': options |= PCRE2_CASELESS; break;
        case 'c': options &= ~PCRE2_CASELESS; break;
        case 'n': options |= PCRE2_DOTALL; break;
        case 'm': options = (options | PCRE2_MULTILINE) & ~PCRE2_DOLLAR_ENDONLY; break;
        case 'x': options |= PCRE2_EXTENDED; break;
        default:
            raise(ora::kIllegalArgument);
        }
    }
    return options;
}

// Oracle's error for a pattern PCRE2 cannot compile.
[[noreturn]] void patternError(int pcreError) {
    switch (pcreError) {
    case 114:  // missing closing parenthesis
    case 122:  // unmatched closing parenthesis
        raise(ora::kRegexpUnmatchedParentheses);
    case 106:  // missing terminating ] for character class
        raise(ora::kRegexpUnmatchedBracket);
    case 115:  // reference to non-existent subpattern
        raise(ora::kRegexpInvalidBackReference);
    case 108:  // range out of order in character class
        raise(ora::kRegexpInvalidRange);
    case 130:  // unknown POSIX class name
        raise(ora::kRegexpInvalidCharacterClass);
    case 104:  // numbers out of order in {} quantifier
        raise(ora::kRegexpInvalidInterval);
    default:
        raise(ora::kRegexpInternalError);
    }
}

const pcre2_code* compiled(sqlite3_context* ctx, int patternArg, sqlite3_value* pattern,
                           uint32_t options) {
    const std::string text = textArg(pattern);
    auto* cached = static_cast<Compiled*>(sqlite3_get_auxdata(ctx, patternArg));
    if (cached && cached->options == options && cached->pattern == text)
        return cached->code.get();
    int error = 0;
    PCRE2_SIZE offset = 0;
    pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(text.data()), text.size(),
                                     options, &error, &offset, nullptr);
    if (!code) patternError(error);
    auto entry = new Compiled{text, options, std::unique_ptr<pcre2_code, CodeFree>(code)};
    sqlite3_set_auxdata(ctx, patternArg, entry, deleteCompiled);
    // SQLite may have freed it at once (a pattern that is not constant): fetch it back.
    auto* kept = static_cast<Compiled*>(sqlite3_get_auxdata(ctx, patternArg));
    if (kept == entry) return code;
    // Not kept: compile once more into storage owned by this call.
    thread_local std::unique_ptr<pcre2_code, CodeFree> scratch;
    scratch.reset(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(text.data()), text.size(), options,
                                &error, &offset, nullptr));
    return scratch.get();
}

// One search over subject from byte offset start: the byte span of the match (and of its
// groups in ovector) or false.
class Matcher {
public:
    Matcher(const pcre2_code* code, const std::string& subject)
        : code_(code), subject_(subject), data_(pcre2_match_data_create_from_pattern(code, nullptr)) {}

    bool find(std::size_t start) {
        if (start > subject_.size()) return false;
        const int rc = pcre2_match(code_, reinterpret_cast<PCRE2_SPTR>(subject_.data()),
                                   subject_.size(), start, 0, data_.get(), nullptr);
        if (rc == PCRE2_ERROR_NOMATCH) return false;
        if (rc < 0) raise(ora::kRegexpInternalError);
        groups_ = rc;
        return true;
    }
    std::size_t begin(int group = 0) const { return pcre2_get_ovector_pointer(data_.get())[2 * group]; }
    std::size_t end(int group = 0) const { return pcre2_get_ovector_pointer(data_.get())[2 * group + 1]; }
    bool hasGroup(int group) const {
        return group < groups_ && begin(group) != PCRE2_UNSET;
    }
    // Where the search after this match starts: past it, or one character on after an empty one.
    std::size_t resume() const {
        const std::size_t e = end();
        if (e > begin()) return e;
        if (e >= subject_.size()) return e + 1;
        return e + utf8::sequenceLength(static_cast<unsigned char>(subject_[e]));
    }

private:
    const pcre2_code* code_;
    const std::string& subject_;
    std::unique_ptr<pcre2_match_data, MatchDataFree> data_;
    int groups_ = 0;
};

std::size_t byteOffset(const std::string& s, long long position) {
    return utf8::advanceCharacters(s, 0, static_cast<std::size_t>(position - 1));
}

long long characterPosition(const std::string& s, std::size_t byte) {
    return static_cast<long long>(utf8::countCharacters(s.data(), byte)) + 1;
}

long long positiveArg(sqlite3_value* v, long long fallback) {
    if (!v) return fallback;
    const long long n = integerArg(v);
    if (n < 1) raise(ora::kArgumentOutOfRange, n);
    return n;
}

// Finds the occurrence-th match at or after character position; false when there is none.
bool nth(Matcher& m, const std::string& subject, long long position, long long occurrence) {
    std::size_t at = byteOffset(subject, position);
    if (at > subject.size()) return false;
    for (long long k = 1;; ++k) {
        if (!m.find(at)) return false;
        if (k == occurrence) return true;
        at = m.resume();
    }
}

sqlite3_value* optional(int argc, sqlite3_value** argv, int i) { return i < argc ? argv[i] : nullptr; }

// REGEXP_LIKE(source, pattern [, match])
void regexpLike(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guarded(ctx, [&] {
        const uint32_t options = matchOptions(ctx, optional(argc, argv, 2));
        if (isNullArg(argv[0]) || isNullArg(argv[1])) return sqlite3_result_null(ctx);
        const std::string subject = textArg(argv[0]);
        Matcher m(compiled(ctx, 1, argv[1], options), subject);
        sqlite3_result_int(ctx, m.find(0) ? 1 : 0);
    });
}

// REGEXP_SUBSTR(source, pattern [, position [, occurrence [, match [, subexpr]]]])
void regexpSubstr(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guarded(ctx, [&] {
        const long long position = positiveArg(optional(argc, argv, 2), 1);
        const long long occurrence = positiveArg(optional(argc, argv, 3), 1);
        const uint32_t options = matchOptions(ctx, optional(argc, argv, 4));
        const long long group = argc > 5 ? integerArg(argv[5]) : 0;
        if (group < 0 || group > 9) raise(ora::kArgumentOutOfRange, group);
        if (isNullArg(argv[0]) || isNullArg(argv[1])) return sqlite3_result_null(ctx);
        const std::string subject = textArg(argv[0]);
        Matcher m(compiled(ctx, 1, argv[1], options), subject);
        if (!nth(m, subject, position, occurrence) || !m.hasGroup(static_cast<int>(group)))
            return sqlite3_result_null(ctx);
        const int g = static_cast<int>(group);
        resultText(ctx, subject.substr(m.begin(g), m.end(g) - m.begin(g)));
    });
}

// REGEXP_INSTR(source, pattern [, position [, occurrence [, return_option [, match
// [, subexpr]]]]])
void regexpInstr(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guarded(ctx, [&] {
        const long long position = positiveArg(optional(argc, argv, 2), 1);
        const long long occurrence = positiveArg(optional(argc, argv, 3), 1);
        const long long after = argc > 4 ? integerArg(argv[4]) : 0;
        if (after < 0) raise(ora::kArgumentOutOfRange, after);
        const uint32_t options = matchOptions(ctx, optional(argc, argv, 5));
        const long long group = argc > 6 ? integerArg(argv[6]) : 0;
        if (group < 0 || group > 9) raise(ora::kArgumentOutOfRange, group);
        if (isNullArg(argv[0]) || isNullArg(argv[1])) return sqlite3_result_null(ctx);
        const std::string subject = textArg(argv[0]);
        Matcher m(compiled(ctx, 1, argv[1], options), subject);
        const int g = static_cast<int>(group);
        if (!nth(m, subject, position, occurrence) || !m.hasGroup(g)) return sqlite3_result_int(ctx, 0);
        sqlite3_result_int64(ctx, characterPosition(subject, after ? m.end(g) : m.begin(g)));
    });
}

// The replacement text for one match: \1 .. \9 stand for the groups, \\ for a backslash.
std::string expand(const std::string& replacement, const Matcher& m, const std::string& subject) {
    std::string out;
    for (std::size_t i = 0; i < replacement.size(); ++i) {
        const char c = replacement[i];
        if (c == '\\' && i + 1 < replacement.size()) {
            const char n = replacement[i + 1];
            if (n >= '1' && n <= '9') {
                const int g = n - '0';
                if (m.hasGroup(g)) out += subject.substr(m.begin(g), m.end(g) - m.begin(g));
                ++i;
                continue;
            }
            if (n == '\\') {
                out += '\\';
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

// REGEXP_REPLACE(source, pattern [, replacement [, position [, occurrence [, match]]]]):
// occurrence 0 replaces every match.
void regexpReplace(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guarded(ctx, [&] {
        const long long position = positiveArg(optional(argc, argv, 3), 1);
        const long long occurrence = argc > 4 ? integerArg(argv[4]) : 0;
        if (occurrence < 0) raise(ora::kArgumentOutOfRange, occurrence);
        const uint32_t options = matchOptions(ctx, optional(argc, argv, 5));
        if (isNullArg(argv[0])) return sqlite3_result_null(ctx);
        const std::string subject = textArg(argv[0]);
        if (isNullArg(argv[1])) return resultText(ctx, subject);
        const std::string replacement = argc > 2 && !isNullArg(argv[2]) ? textArg(argv[2]) : "";
        Matcher m(compiled(ctx, 1, argv[1], options), subject);
        std::size_t at = byteOffset(subject, position);
        if (at > subject.size()) return resultText(ctx, subject);
        std::string out = subject.substr(0, at);
        std::size_t copied = at;
        for (long long k = 1; at <= subject.size() && m.find(at); ++k) {
            if (occurrence == 0 || k == occurrence) {
                out += subject.substr(copied, m.begin() - copied);
                out += expand(replacement, m, subject);
                copied = m.end();
                if (occurrence != 0) break;
            }
            at = m.resume();
        }
        if (copied < subject.size()) out += subject.substr(copied);
        resultText(ctx, out);
    });
}

// REGEXP_COUNT(source, pattern [, position [, match]])
void regexpCount(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guarded(ctx, [&] {
        const long long position = positiveArg(optional(argc, argv, 2), 1);
        const uint32_t options = matchOptions(ctx, optional(argc, argv, 3));
        if (isNullArg(argv[0]) || isNullArg(argv[1])) return sqlite3_result_null(ctx);
        const std::string subject = textArg(argv[0]);
        Matcher m(compiled(ctx, 1, argv[1], options), subject);
        std::size_t at = byteOffset(subject, position);
        long long count = 0;
        while (at <= subject.size() && m.find(at)) {
            ++count;
            at = m.resume();
        }
        sqlite3_result_int64(ctx, count);
    });
}

}  // namespace

namespace {

const FunctionRow kRows[] = {
    {"REGEXP_LIKE", 2, 3, regexpLike, nullptr},
    {"REGEXP_SUBSTR", 2, 6, regexpSubstr, "VARCHAR2(4000)"},
    {"REGEXP_INSTR", 2, 7, regexpInstr, "NUMBER"},
    {"REGEXP_REPLACE", 2, 6, regexpReplace, "VARCHAR2(4000)"},
    {"REGEXP_COUNT", 2, 4, regexpCount, "NUMBER"},
};

}  // namespace

const FunctionFamily kRegexpFunctions{kRows};

}  // namespace detail
}  // namespace kavexdb
