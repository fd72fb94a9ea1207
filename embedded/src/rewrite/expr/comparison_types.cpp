#include "rewrite/expr/comparison_types.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "functions/datetime_order.h"
#include "functions/interval.h"
#include "functions/sql_function.h"
#include "functions/sql_values.h"
#include "rewrite/expr/binary_arithmetic.h"
#include "rewrite/expr/expression_rewrite.h"
#include "sql/column_scope.h"
#include "sql/comparisons.h"
#include "sql/sql_lexer.h"
#include "sql/sqlite_util.h"
#include "types/datetime_parse.h"
#include "types/decimal.h"
#include "types/declared_type.h"
#include "types/number_storage.h"
#include "types/values.h"
#include "sql/internal_names.h"
#include "functions/catalog.h"

namespace kavexdb {
namespace detail {

using TK = Token::Kind;

namespace {

// What an operand is, as far as the comparison rules care.
enum class Class { Unknown, Number, Text, Datetime, Interval, TextLiteral, Bind };

Class classOfDeclared(const char* decl) {
    if (!decl || !*decl) return Class::Unknown;
    const int type = mapDeclaredType(decl).dataType;
    constexpr int kBinaryFloat = 100, kBinaryDouble = 101;  // as describe reports them
    if (type == occi::OCCI_SQLT_NUM || type == occi::OCCIINT || type == kBinaryFloat ||
        type == kBinaryDouble)
        return Class::Number;
    if (type == occi::OCCI_SQLT_CHR || type == occi::OCCI_SQLT_AFC) return Class::Text;
    if (type == occi::OCCI_SQLT_INTERVAL_YM || type == occi::OCCI_SQLT_INTERVAL_DS)
        return Class::Interval;
    if (type == occi::OCCI_SQLT_DAT || type == occi::OCCI_SQLT_TIMESTAMP ||
        type == occi::OCCI_SQLT_TIMESTAMP_TZ || type == occi::OCCI_SQLT_TIMESTAMP_LTZ)
        return Class::Datetime;
    return Class::Unknown;
}

// The classes of the statement's columns: a column whose sources disagree, or one not followed,
// is Unknown.
class Scope {
  public:
    Scope(sqlite3* db, const TokenEditor& e) : columns_(db, e, true) {}
    ColumnScope& columns() { return columns_; }

    Class column(const std::string& name) {
        if (!columns_.declaredTypes(name, decls_)) return Class::Unknown;
        return agreed();
    }
    Class column(const std::string& source, const std::string& name) {
        columns_.declaredTypes(source, name, decls_);
        return agreed();
    }

    // Whether the column may hold NUMBERs in their BLOB form (number_storage.h): one of its
    // sources is a NUMBER whose values may have more digits than a double keeps.
    bool wide(const std::string& name) {
        return columns_.declaredTypes(name, decls_) && anyWide();
    }
    bool wide(const std::string& source, const std::string& name) {
        columns_.declaredTypes(source, name, decls_);
        return anyWide();
    }

  private:
    bool anyWide() const {
        for (const std::string& d : decls_)
            if (mayHoldStoredBlobs(mapDeclaredType(d))) return true;
        return false;
    }

    Class agreed() const {
        Class found = Class::Unknown;
        for (std::size_t i = 0; i < decls_.size(); ++i) {
            const Class type = classOfDeclared(decls_[i].c_str());
            if (i > 0 && type != found) return Class::Unknown;
            found = type;
        }
        return found;
    }

    ColumnScope columns_;
    std::vector<std::string> decls_;
};

struct Operand {
    std::size_t first, last;
    Class type;
    bool wide = false;  // a NUMBER column that may hold stored BLOBs
    bool unknownColumn = false;  // a column of no known type (a view's or subquery's mixed one)
};

// The BLOB form of a numeric literal that a double would not hold, as SQL ("x'FF4E...'"); empty
// for a literal a number holds.
std::string storedLiteral(const std::string& literal) {
    Decimal d;
    if (!parseDecimal(literal, d)) return std::string();
    d = decimalOf(numberOf(d));
    const CanonicalForm f = canonicalForm(d);
    if (f.kind != CanonicalForm::Kind::Blob) return std::string();
    return "x'" + hexText(f.bytes.data(), f.bytes.size()) + "'";
}

class Pass {
  public:
    Pass(sqlite3* db, TokenEditor& e, const std::set<std::string>& numericBinds,
         std::set<std::string>& typedBinds)
        : e_(e), scope_(db, e), numericBinds_(numericBinds), typedBinds_(typedBinds) {}

    void run() {
        // Binary operations first: their results are binary numbers to the comparisons.
        rewriteBinaryArithmetic(e_, scope_.columns());
        int depth = 0;
        for (std::size_t op = e_.next(0); op < e_.size(); op = e_.next(op + 1)) {
            if (e_.punct(op, '(')) ++depth;
            if (e_.punct(op, ')')) --depth;
            if (e_.word(op, "IN") && e_.punct(e_.next(op + 1), '(')) {
                inList(op);
            } else if (e_.word(op, "CASE") && !e_.word(e_.next(op + 1), "WHEN")) {
                simpleCase(op);
            } else if ((e_.word(op, "ORDER") || e_.word(op, "GROUP")) &&
                       e_.word(e_.next(op + 1), "BY")) {
                const bool compound = e_.word(op, "ORDER") && compoundBefore(op);
                orderBy(e_.next(e_.next(op + 1) + 1), depth == 0,
                        e_.word(op, "ORDER") && !compound);
                if (compound && depth == 0) frameCompound(op);
            } else if ((e_.word(op, "MIN") || e_.word(op, "MAX")) &&
                       e_.punct(e_.next(op + 1), '(')) {
                extreme(op);
            } else {
                const auto operands = comparisonAt(e_, op);
                if (operands.empty()) continue;
                const Operand x = operand(operands[0].first, operands[0].second);
                std::vector<Operand> others;
                for (std::size_t i = 1; i < operands.size(); ++i) {  // with BETWEEN on x alone
                    others.push_back(operand(operands[i].first, operands[i].second));
                    compare(x, others.back(), operands.size() == 2);
                }
                if (operands.size() == 2) {
                    std::string opText;
                    for (std::size_t k = e_.next(x.last + 1); k < others[0].first; k = e_.next(k + 1))
                        opText += e_.at(k).text;
                    wideComparison(x, others[0], opText);
                } else if (others.size() == 2) {
                    std::size_t between = e_.next(x.last + 1);
                    const bool negated = e_.word(between, "NOT");
                    wideBetween(x, others[0], others[1], negated);
                }
            }
        }
        apply();
    }

  private:
    enum class Edit { Number, ToNumber, ToStored, Collate, Key, Value };
    struct WideComparison {
        Operand x, y;
        std::string op;
        bool exactOnly;  // a side is a BLOB literal: only ORA$NCMP compares it
        std::size_t span() const { return std::max(x.last, y.last) - std::min(x.first, y.first); }
    };
    struct WideBetween {
        Operand x, low, high;
        bool negated, exactOnly;
    };

    // CASE x WHEN a THEN ... WHEN b THEN ...: x compared with a, b, ... as x = a would be.
    void simpleCase(std::size_t caseWord) {
        std::vector<std::size_t> whens, thens;
        int depth = 0, nested = 0;
        for (std::size_t k = e_.next(caseWord + 1); k < e_.size(); k = e_.next(k + 1)) {
            if (e_.punct(k, '(')) ++depth;
            if (e_.punct(k, ')') && --depth < 0) return;
            if (depth != 0) continue;
            if (e_.word(k, "CASE")) ++nested;
            if (e_.word(k, "END") && nested-- == 0) break;
            if (nested == 0 && e_.word(k, "WHEN")) whens.push_back(k);
            if (nested == 0 && e_.word(k, "THEN")) thens.push_back(k);
        }
        if (whens.empty() || whens.size() != thens.size()) return;
        const std::size_t baseFirst = e_.next(caseWord + 1), baseLast = e_.previous(whens[0]);
        if (baseLast < baseFirst || baseLast >= e_.size()) return;
        const Operand x = operand(baseFirst, baseLast);
        for (std::size_t i = 0; i < whens.size(); ++i) {
            const std::size_t first = e_.next(whens[i] + 1), last = e_.previous(thens[i]);
            if (last >= first && last < e_.size()) {
                const Operand y = operand(first, last);
                compare(x, y, true);
                wideComparison(x, y, "=");
            }
        }
    }

    // x [NOT] IN (a, b, ...): SQLite compares by the collation of x alone.
    void inList(std::size_t op) {
        std::size_t leftLast = e_.previous(op);
        if (e_.word(leftLast, "NOT")) leftLast = e_.previous(leftLast);
        const std::size_t leftFirst = comparandEnd(e_, leftLast, false);
        const std::size_t open = e_.next(op + 1);
        if (leftFirst >= e_.size() || e_.word(e_.next(open + 1), "SELECT")) return;
        const std::size_t past = e_.pastParens(open);
        if (past >= e_.size() + 1 || !e_.punct(past - 1, ')')) return;
        const Operand x = operand(leftFirst, leftLast);
        for (const auto& item : depthZeroItems(e_, open + 1, past - 1)) {
            const std::size_t first = e_.next(item.first), last = e_.previous(item.second);
            if (first >= item.second || last < first) continue;
            const Operand y = operand(first, last);
            compare(x, y, false);
            wideComparison(x, y, "=");
        }
    }

    bool endsKeys(std::size_t k) const {
        for (const char* w : {"LIMIT", "OFFSET", "FETCH", "HAVING", "ORDER", "WINDOW", "UNION",
                              "INTERSECT", "EXCEPT"})
            if (e_.word(k, w)) return true;
        return e_.punct(k, ';');
    }

    // ORDER BY and GROUP BY keys that are datetimes sort and group as instants.
    // ordering: the keys of an ORDER BY that may sort by expressions (not a compound's, whose
    // keys must name its columns).
    void orderBy(std::size_t i, bool outermost, bool ordering) {
        while (i < e_.size()) {
            std::size_t k = i, last = e_.size();
            int depth = 0;
            bool keyDone = false, collated = false;
            for (; k < e_.size(); k = e_.next(k + 1)) {
                if (e_.punct(k, '(')) ++depth;
                if (e_.punct(k, ')') && --depth < 0) break;  // the end of an enclosing query
                if (depth == 0 && (e_.punct(k, ',') || endsKeys(k))) break;
                if (depth == 0 && (e_.word(k, "ASC") || e_.word(k, "DESC") || e_.word(k, "NULLS") ||
                                   e_.word(k, "COLLATE"))) {
                    collated = collated || e_.word(k, "COLLATE");
                    keyDone = true;
                }
                if (!keyDone) last = k;
            }
            if (last < e_.size() && !collated) {
                const Operand key = operand(i, last);
                if (key.type == Class::Datetime || (outermost && selectedDatetime(i, last)))
                    edit(key, Edit::Collate);
                else if (key.wide && ordering && !rangeFrame(k))
                    edit(key, Edit::Key);
                else if (outermost && ordering)
                    orderBySelectedWide(i, last);
            }
            if (!e_.punct(k, ',')) return;
            i = e_.next(k + 1);
        }
    }

    // Whether the window the ORDER BY keys ending at k belong to has a RANGE frame, whose
    // offsets need the keys to stay numbers.
    bool rangeFrame(std::size_t k) const {
        int depth = 0;
        for (; k < e_.size(); k = e_.next(k + 1)) {
            if (e_.punct(k, '(')) ++depth;
            if (e_.punct(k, ')') && --depth < 0) return false;
            if (depth == 0 && e_.word(k, "RANGE")) return true;
        }
        return false;
    }

    // The select item of the outermost query an ORDER BY key [first, last] names by its position
    // or alias, as its first and last token without the alias; false when it names none.
    bool namedItem(std::size_t first, std::size_t last, std::pair<std::size_t, std::size_t>& out) {
        if (first != last) return false;
        const Token& key = e_.at(first);
        const auto items = selectItems();
        for (std::size_t n = 0; n < items.size(); ++n) {
            std::size_t itemLast = items[n].second;
            const bool aliased = hasAlias(items[n].first, itemLast);
            if (aliased) {
                itemLast = e_.previous(itemLast);
                if (e_.word(itemLast, "AS")) itemLast = e_.previous(itemLast);
            }
            const bool named =
                key.kind == TK::Number
                    ? key.text == std::to_string(n + 1)
                    : aliased && e_.name(first) &&
                          asciiUpper(identifierName(key)) ==
                              asciiUpper(identifierName(e_.at(items[n].second)));
            if (named) {
                out = {items[n].first, itemLast};
                return true;
            }
        }
        return false;
    }

    // Whether an ORDER BY key of the outermost query names a select item that is a datetime.
    bool selectedDatetime(std::size_t first, std::size_t last) {
        std::pair<std::size_t, std::size_t> item;
        return namedItem(first, last, item) && classOf(item.first, item.second) == Class::Datetime;
    }

    // An ORDER BY key of the outermost query that names a select item that is a stored-BLOB
    // column sorts by that column's key.
    void orderBySelectedWide(std::size_t first, std::size_t last) {
        std::pair<std::size_t, std::size_t> item;
        if (!namedItem(first, last, item)) return;
        if (!operand(item.first, item.second).wide) return;
        e_[first].text = std::string(kOraNumKey) + "(" + e_.textBetween(item.first, item.second + 1) + ")";
    }

    // A compound's ORDER BY may name only its columns, so one that sorts by a stored-BLOB column
    // is made the ORDER BY of a query of the compound: SELECT * FROM (compound) ORDER BY
    // ORA$NKEY(column). Keys by name only (a position names no column to take the key of).
    void frameCompound(std::size_t order) {
        std::vector<std::size_t> keys;
        bool anyWide = false;
        for (const auto& key : depthZeroItems(e_, e_.next(order + 1) + 1, keysEnd(order))) {
            const std::size_t first = e_.next(key.first);
            if (first >= key.second || !e_.name(first)) continue;
            std::size_t last = first;
            const std::size_t after = e_.next(first + 1);
            if (e_.punct(after, '.')) last = e_.next(after + 1);
            if (last >= key.second) continue;
            const Operand o = operand(first, last);
            if (!o.wide) continue;
            anyWide = true;
            keys.push_back(first);
            keys.push_back(last);
        }
        if (!anyWide) return;
        std::size_t select = e_.next(0);
        for (int depth = 0; select < order; select = e_.next(select + 1)) {
            if (e_.punct(select, '(')) ++depth;
            if (e_.punct(select, ')')) --depth;
            if (depth == 0 && e_.word(select, "SELECT")) break;
        }
        if (select >= order) return;
        frame_ = Frame{select, order, keys};
    }

    // Where the ORDER BY keys after the ORDER token at order end.
    std::size_t keysEnd(std::size_t order) const {
        int depth = 0;
        std::size_t k = e_.next(order + 1);
        for (; k < e_.size(); k = e_.next(k + 1)) {
            if (e_.punct(k, '(')) ++depth;
            if (e_.punct(k, ')') && --depth < 0) break;
            if (depth == 0 && endsKeys(k) && !e_.word(k, "ORDER")) break;
        }
        return k;
    }

    void applyFrame() {
        if (!frame_.order) return;
        e_[frame_.select].text = "SELECT * FROM (" + e_[frame_.select].text;
        e_[frame_.order].text = ") " + e_[frame_.order].text;
        for (std::size_t i = 0; i + 1 < frame_.keys.size(); i += 2) {
            e_[frame_.keys[i]].text = std::string(kOraNumKey) + "(" + e_[frame_.keys[i]].text;
            e_[frame_.keys[i + 1]].text += ")";
        }
    }

    // Whether the query block the token at k ends is a compound: a set operator before k, in
    // the same parentheses.
    bool compoundBefore(std::size_t k) const {
        int depth = 0;
        for (std::size_t j = e_.previous(k); j < e_.size(); j = e_.previous(j)) {
            if (e_.punct(j, ')')) ++depth;
            if (e_.punct(j, '(') && depth-- == 0) return false;
            if (depth == 0 && (e_.word(j, "UNION") || e_.word(j, "INTERSECT") ||
                               e_.word(j, "EXCEPT") || e_.word(j, "MINUS")))
                return true;
            if (j == 0) break;
        }
        return false;
    }

    // MIN(x) and MAX(x) of a datetime: by instants.
    void extreme(std::size_t name) {
        if (e_.punct(e_.previous(name), '.')) return;
        const std::size_t open = e_.next(name + 1);
        const std::size_t past = e_.pastParens(open);
        if (past > e_.size() || !e_.punct(past - 1, ')')) return;
        const std::size_t first = e_.next(open + 1), last = e_.previous(past - 1);
        if (first >= past - 1 || e_.word(first, "DISTINCT")) return;
        for (const auto& item : depthZeroItems(e_, open + 1, past - 1))
            if (item.second != past - 1) return;  // MIN and MAX of several values: SQLite's
        const Operand x = operand(first, last);
        if (x.type == Class::Datetime) edit(x, Edit::Collate);
        if (x.wide) {  // the extreme of the keys, given back as the number
            edit(x, Edit::Key);
            edit(Operand{name, past - 1, Class::Number}, Edit::Value);
        }
    }

    // A comparison x op y with a NUMBER column that may hold stored BLOBs, which SQLite sorts
    // after every number. An equality compares stored forms, which are one per value: a long
    // literal becomes its BLOB and a bind its stored form. An ordering compares as numbers do
    // where neither side is a BLOB, keeping the column's index, and exactly where one is.
    void wideComparison(Operand x, Operand y, const std::string& op) {
        // A column of no known type compared with a number may hold stored BLOBs too.
        if (x.unknownColumn && y.type == Class::Number && neverBlob(y)) x.wide = true;
        if (y.unknownColumn && x.type == Class::Number && neverBlob(x)) y.wide = true;
        if (!x.wide && !y.wide) return;
        const bool equality = op == "=" || op == "<>" || op == "!=" || op == "^=";
        if (equality) {
            for (const Operand* side : {&x, &y}) {
                const Operand& other = side == &x ? y : x;
                if (!side->wide) continue;
                if (exactLiteral(other)) continue;
                if (other.first == other.last && e_.at(other.first).kind == TK::Bind) {
                    edits_[other.first] = std::make_pair(other.last, Edit::ToStored);
                }
            }
            return;
        }
        if (op != "<" && op != "<=" && op != ">" && op != ">=") return;
        const bool xExact = exactLiteral(x);  // both sides, whichever is long
        const bool yExact = exactLiteral(y);
        wide_.push_back(WideComparison{x, y, op, xExact || yExact});
    }

    void wideBetween(Operand x, const Operand& low, const Operand& high, bool negated) {
        if (x.unknownColumn && low.type == Class::Number && high.type == Class::Number &&
            neverBlob(low) && neverBlob(high))
            x.wide = true;
        if (!x.wide) return;
        const bool lowExact = exactLiteral(low);  // both bounds, whichever is long
        const bool highExact = exactLiteral(high);
        between_.push_back(WideBetween{x, low, high, negated, lowExact || highExact});
    }

    // A long literal compared with a stored-BLOB column becomes its BLOB, which ORA$NCMP reads
    // exactly (SQLite would read it as the nearest double). Returns whether it did.
    bool exactLiteral(const Operand& o) {
        if (o.first != o.last || e_.at(o.first).kind != TK::Number) return false;
        const std::string blob = storedLiteral(e_.at(o.first).text);
        if (blob.empty()) return false;
        e_[o.first].text = blob;
        return true;
    }

    // Whether an operand compared with a stored-BLOB column is never a BLOB itself: a short
    // literal, a bind (read through ORA$NUM) or a NUMBER column that holds no BLOBs.
    bool neverBlob(const Operand& o) const {
        if (o.wide) return false;
        std::size_t first = o.first;
        if ((e_.punct(first, '-') || e_.punct(first, '+')) && e_.next(first + 1) == o.last)
            first = o.last;
        if (first != o.last) return o.type == Class::Number && isColumn(o);
        const Token& t = e_.at(first);
        if (t.kind == TK::Number) return storedLiteral(t.text).empty();
        return t.kind == TK::Bind || (o.type == Class::Number && isColumn(o));
    }

    bool isColumn(const Operand& o) const {
        if (o.first == o.last) return e_.name(o.first);
        const std::size_t dot = e_.next(o.first + 1);
        return e_.name(o.first) && e_.punct(dot, '.') && e_.next(dot + 1) == o.last &&
               e_.name(o.last);
    }

    // SQL for x op y (texts as the other edits left them).
    std::string orderedComparison(const WideComparison& c) const {
        const std::string x = trimmed(e_.textBetween(c.x.first, c.x.last + 1));
        const std::string y = trimmed(e_.textBetween(c.y.first, c.y.last + 1));
        const std::string exact =
            std::string(kOraNumCompare) + "(" + x + ", " + y + ") " + c.op + " 0";
        const Operand* column = c.exactOnly                  ? nullptr
                                : c.x.wide && neverBlob(c.y) ? &c.x
                                : c.y.wide && neverBlob(c.x) ? &c.y
                                                             : nullptr;
        if (!column) return exact;
        const std::string& z = column == &c.x ? x : y;
        return "((" + x + " " + c.op + " " + y + " AND " + z + " < x'') OR (" + z + " >= x'' AND " +
               exact + "))";
    }

    void applyWide() {
        // Inner comparisons (in a subquery of an operand) first: their spans are shorter.
        std::sort(wide_.begin(), wide_.end(), [](const WideComparison& a, const WideComparison& b) {
            return a.span() < b.span();
        });
        for (const WideComparison& c : wide_) {
            const std::size_t first = std::min(c.x.first, c.y.first);
            const std::size_t last = std::max(c.x.last, c.y.last);
            const std::string text = orderedComparison(c);
            e_.erase(first + 1, last + 1);
            e_[first] = Token{TK::Space, text};
        }
        for (const WideBetween& b : between_) {
            const std::string low = orderedComparison(WideComparison{b.x, b.low, ">=", b.exactOnly});
            const std::string high =
                orderedComparison(WideComparison{b.x, b.high, "<=", b.exactOnly});
            const std::string text = std::string(b.negated ? "NOT " : "") + "(" + low + " AND " + high + ")";
            e_.erase(b.x.first + 1, b.high.last + 1);
            e_[b.x.first] = Token{TK::Space, text};
        }
    }

    // Oracle's conversion for a comparison of a with b. anySide: the collation may go on either
    // operand (SQLite takes an explicit one from either side); else it must go on a.
    void compare(const Operand& a, const Operand& b, bool anySide) {
        noteBindAgainstText(a, b);
        noteBindAgainstText(b, a);
        // (A pair of its own only: padding the one operand of an IN list or BETWEEN would
        // change its other comparisons.)
        if (a.type == Class::TextLiteral && b.type == Class::TextLiteral) {
            if (anySide) padLiterals(a, b);
            return;
        }
        if (a.type == Class::Number || b.type == Class::Number) {
            const Operand& other = a.type == Class::Number ? b : a;
            if (other.type == Class::TextLiteral) edit(other, Edit::Number);
            if (other.type == Class::Bind || other.type == Class::Text) edit(other, Edit::ToNumber);
            return;
        }
        if (a.type != Class::Datetime && b.type != Class::Datetime) return;
        // A literal compared with a datetime must spell one (Oracle's error otherwise).
        const Operand& other = a.type == Class::Datetime ? b : a;
        if (other.type == Class::TextLiteral)
            parseDefaultDateTime(literalContent(e_.at(other.first)), true, true);
        if (!anySide || a.type == Class::Datetime)
            edit(a, Edit::Collate);
        else
            edit(b, Edit::Collate);
    }

    // Two text literals compare blank-padded, as two CHAR values do: the shorter gets blanks
    // up to the other's length ('ab' = 'ab  ').
    void padLiterals(const Operand& a, const Operand& b) {
        const std::string x = literalContent(e_.at(a.first)), y = literalContent(e_.at(b.first));
        if (x.size() == y.size()) return;
        const Operand& shorter = x.size() < y.size() ? a : b;
        const std::string& text = x.size() < y.size() ? x : y;
        e_[shorter.first].text =
            sqlStringLiteral(text + std::string(std::max(x.size(), y.size()) - text.size(), ' '));
    }

    // A bind compared with text: how it compares depends on whether its value is a number.
    void noteBindAgainstText(const Operand& bind, const Operand& other) {
        if (bind.first == bind.last && e_.at(bind.first).kind == TK::Bind &&
            (other.type == Class::Text || other.type == Class::TextLiteral))
            typedBinds_.insert(e_.at(bind.first).text);
    }

    void edit(const Operand& x, Edit how) { edits_.emplace(x.first, std::make_pair(x.last, how)); }

    // The items of the outermost select list, [first, last] each; none when there is none.
    std::vector<std::pair<std::size_t, std::size_t>> selectItems() const {
        std::vector<std::pair<std::size_t, std::size_t>> items;
        std::size_t select = e_.next(0);
        if (!e_.word(select, "SELECT") && !e_.word(select, "INSERT") && !e_.word(select, "WITH"))
            return items;
        int depth = 0;
        for (; select < e_.size() && !(depth == 0 && e_.word(select, "SELECT"));
             select = e_.next(select + 1)) {
            if (e_.punct(select, '(')) ++depth;
            if (e_.punct(select, ')')) --depth;
        }
        if (select >= e_.size()) return items;
        std::size_t start = e_.next(select + 1);
        if (e_.word(start, "DISTINCT") || e_.word(start, "ALL")) start = e_.next(start + 1);
        std::size_t end = start;
        for (depth = 0; end < e_.size(); end = e_.next(end + 1)) {
            if (e_.punct(end, '(')) ++depth;
            if (e_.punct(end, ')')) --depth;
            if (depth == 0 && e_.word(end, "FROM")) break;
        }
        for (const auto& item : depthZeroItems(e_, start, end)) {
            const std::size_t first = e_.next(item.first), last = e_.previous(item.second);
            if (first < item.second && last >= first) items.emplace_back(first, last);
        }
        return items;
    }

    bool hasAlias(std::size_t first, std::size_t last) const {
        int depth = 0;
        for (std::size_t k = first; k <= last; k = e_.next(k + 1)) {
            if (e_.punct(k, '(')) ++depth;
            if (e_.punct(k, ')')) --depth;
            if (depth == 0 && e_.word(k, "AS")) return true;
        }
        const std::size_t before = e_.previous(last);
        return last > first && e_.name(last) && !e_.word(last, "END") && !e_.word(last, "NULL") &&
               !e_.punct(before, '.') &&
               (e_.at(before).kind != TK::Punct || e_.punct(before, ')'));
    }

    // A select item without an alias is named by its text: one that gets changed keeps it. The
    // aliases, by the item's last token, are taken before the edits.
    std::vector<std::pair<std::size_t, std::string>> itemNames() const {
        std::vector<std::pair<std::size_t, std::string>> names;
        for (const auto& item : selectItems()) {
            const auto edit = edits_.lower_bound(item.first);
            if (edit == edits_.end() || edit->first > item.second ||
                hasAlias(item.first, item.second))
                continue;
            std::string text;
            for (std::size_t k = item.first; k <= item.second; ++k) text += e_.at(k).text;
            names.emplace_back(item.second, expressionAlias(text));
        }
        return names;
    }

    void apply() {
        const auto names = itemNames();
        for (const auto& entry : edits_) {
            const std::size_t first = entry.first, last = entry.second.first;
            const Edit how = entry.second.second;
            switch (how) {
                case Edit::Number: {
                    // ORA-01722 when the literal is no number.
                    const occi::Number n = numberFromText(literalContent(e_[first]));
                    e_[first] = Token{TK::Number, "(" + numberToPlainText(n) + ")"};
                    break;
                }
                case Edit::ToNumber:
                    e_[first].text = "ORA$NUM(" + e_[first].text;
                    e_[last].text += ")";
                    break;
                case Edit::ToStored:
                    e_[first].text = std::string(kOraNumStored) + "(" + e_[first].text;
                    e_[last].text += ")";
                    break;
                case Edit::Collate:
                    e_[first].text = "(" + e_[first].text;
                    e_[last].text += std::string(") COLLATE ") + kDatetimeCollation;
                    break;
                case Edit::Key:
                case Edit::Value:
                    e_[first].text = std::string(how == Edit::Key ? kOraNumKey : kOraNumValue) +
                                     "(" + e_[first].text;
                    e_[last].text += ")";
                    break;
            }
        }
        for (const auto& name : names) e_[name.first].text += name.second;
        applyWide();
        applyFrame();
    }

    Operand operand(std::size_t first, std::size_t last) {
        Operand o{first, last, classOf(first, last)};
        o.unknownColumn = o.type == Class::Unknown && isColumn(o);
        if (o.type == Class::Number && isColumn(o)) {
            o.wide = first == last
                         ? scope_.wide(asciiUpper(identifierName(e_.at(first))))
                         : scope_.wide(asciiUpper(identifierName(e_.at(first))),
                                       asciiUpper(identifierName(e_.at(last))));
        }
        return o;
    }

    Class classOf(std::size_t first, std::size_t last) {
        if (first >= e_.size() || last >= e_.size() || last < first) return Class::Unknown;
        const Token& t = e_.at(first);
        if (first == last) {
            switch (t.kind) {
                case TK::Number:
                    return Class::Number;
                case TK::Bind:
                    return numericBinds_.count(t.text) != 0 ? Class::Number : Class::Bind;
                case TK::String: {
                    const std::string text = literalContent(t);
                    Interval unused;
                    if (parseIntervalText(text.data(), text.size(), unused)) return Class::Interval;
                    return isDatetime(textKind(text.data(), text.size())) ? Class::Datetime
                                                                          : Class::TextLiteral;
                }
                case TK::Word:
                    if (t.isWord("NULL")) return Class::Unknown;
                    return scope_.column(asciiUpper(identifierName(t)));
                case TK::QuotedIdent:
                    return scope_.column(asciiUpper(identifierName(t)));
                default:
                    return Class::Unknown;
            }
        }
        if (e_.punct(first, '-') || e_.punct(first, '+')) {
            return classOf(e_.next(first + 1), last) == Class::Number ? Class::Number
                                                                      : Class::Unknown;
        }
        if (e_.punct(first, '(') && e_.pastParens(first) == last + 1)
            return classOf(e_.next(first + 1), e_.previous(last));
        const std::size_t second = e_.next(first + 1);
        if (e_.name(first) && e_.punct(second, '.') && e_.next(second + 1) == last && e_.name(last))
            return scope_.column(asciiUpper(identifierName(t)),
                                 asciiUpper(identifierName(e_.at(last))));
        if (e_.name(first) && e_.punct(second, '(') && e_.pastParens(second) == last + 1)
            return call(asciiUpper(t.text), second, last);
        return Class::Unknown;
    }

    Class argument(std::size_t open, std::size_t close, std::size_t n) {
        const auto items = depthZeroItems(e_, open + 1, close);
        if (n >= items.size()) return Class::Unknown;
        return classOf(e_.next(items[n].first), e_.previous(items[n].second));
    }

    Class call(const std::string& name, std::size_t open, std::size_t close) {
        if (name == kOraIvDiff) return Class::Interval;  // of either kind, by its arguments
        if (name == kOraIvKey) {  // gives datetimes back as they are
            const Class a = argument(open, close, 0);
            return a == Class::Datetime ? a : Class::Unknown;
        }
        if (name == kOraAdd || name == kOraSub || name == kOraMul || name == kOraDiv) {
            const Class a = argument(open, close, 0), b = argument(open, close, 1);
            if (a == Class::Number && b == Class::Number) return Class::Number;
            if (name == kOraAdd || name == kOraSub) {
                // A datetime moved by days or an interval is a datetime; DATE - DATE is days.
                // A bind added to a datetime can only be one of those.
                const bool moves = b == Class::Number || b == Class::Interval || b == Class::Bind;
                if (a == Class::Datetime && moves) return Class::Datetime;
                if (name == kOraAdd && (a == Class::Number || a == Class::Interval) &&
                    b == Class::Datetime)
                    return Class::Datetime;
            }
            return Class::Unknown;
        }
        if (name == kOraCast || name == kOraCastOr) {  // (value, 'target type', ...)
            const auto items = depthZeroItems(e_, open + 1, close);
            if (items.size() < 2) return Class::Unknown;
            const std::size_t type = e_.next(items[1].first);
            if (type >= e_.size() || e_.at(type).kind != TK::String ||
                e_.previous(items[1].second) != type)
                return Class::Unknown;
            return classOfDeclared(literalContent(e_.at(type)).c_str());
        }
        if (name == "CEIL" || name == "FLOOR")
            return argument(open, close, 0) == Class::Datetime ? Class::Datetime : Class::Number;
        if (name == "TRUNC" || name == "ROUND" || name == "NVL" || name == "COALESCE" ||
            name == "GREATEST" || name == "LEAST" || name == "MIN" || name == "MAX" ||
            name == "SUM" || name == "AVG") {
            const Class a = argument(open, close, 0);
            return a == Class::Number || a == Class::Datetime ? a : Class::Unknown;
        }
        const char* type = catalogResultType(name);
        return type ? classOfDeclared(type) : Class::Unknown;
    }

    TokenEditor& e_;
    Scope scope_;
    const std::set<std::string>& numericBinds_;
    std::set<std::string>& typedBinds_;
    std::map<std::size_t, std::pair<std::size_t, Edit>> edits_;  // first token -> last, edit
    std::vector<WideComparison> wide_;
    std::vector<WideBetween> between_;
    struct Frame {
        std::size_t select = 0, order = 0;  // the compound's first SELECT, its ORDER
        std::vector<std::size_t> keys;      // first and last token of each key to sort by key
    } frame_;
};

Decimal keyDecimal(sqlite3_value* v) { return decimalOf(numberArg(v)); }

// ORA$NCMP(a, b): -1, 0 or 1 as the numbers a and b compare; NULL when either is.
void numberCompare(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (anyNull(2, argv)) return sqlite3_result_null(ctx);
        const int c = numberKey(keyDecimal(argv[0])).compare(numberKey(keyDecimal(argv[1])));
        sqlite3_result_int(ctx, c < 0 ? -1 : c > 0 ? 1 : 0);
    });
}

// ORA$NKEY(x): the number x in its BLOB form, which sorts as the numbers do.
void numberSortKey(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
        const std::string key = numberKey(keyDecimal(argv[0]));
        sqlite3_result_blob(ctx, key.data(), static_cast<int>(key.size()), SQLITE_TRANSIENT);
    });
}

// ORA$NSTORE(x): x as a NUMBER in its stored form, for equality with a stored column; as
// ORA$NVAL(key), the number of a key ORA$NKEY made.
void storedNumberFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
        resultStored(ctx, numberArg(argv[0]));
    });
}

void toNumber(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        const int type = sqlite3_value_type(argv[0]);
        if (type == SQLITE_NULL || type == SQLITE_INTEGER || type == SQLITE_FLOAT)
            return sqlite3_result_value(ctx, argv[0]);
        resultComputed(ctx, numberArg(argv[0]), resultsMayBeWide(ctx));
    });
}

}  // namespace

std::string typeComparisons(sqlite3* db, const std::string& sql,
                            const std::set<std::string>& numericBinds,
                            std::set<std::string>* typedBinds) {
    TokenEditor e(lexSql(sql));
    std::set<std::string> found;
    Pass(db, e, numericBinds, typedBinds ? *typedBinds : found).run();
    return e.text();
}

namespace {

// ORA$NUM(x): x as a NUMBER (ORA-01722 for text that is no number); NULL stays NULL.
const FunctionRow kRows[] = {
    {kOraNum, 1, 1, toNumber, "NUMBER"},
    {kOraNumCompare, 2, 2, numberCompare, "NUMBER"},
    {kOraNumKey, 1, 1, numberSortKey, "RAW"},
    {kOraNumValue, 1, 1, storedNumberFunction, "NUMBER"},
    {kOraNumStored, 1, 1, storedNumberFunction, "NUMBER"},
};

}  // namespace

const FunctionFamily kComparisonFunctions{kRows};

}  // namespace detail
}  // namespace kavexdb
