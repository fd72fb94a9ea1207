// NUMBER arithmetic over libmpdec: operands go in as their exact decimal digits, the operation
// runs with enough digits to be exact (+ - * MOD REMAINDER) or truncated well past Oracle's 40
// (division, powers, roots, logarithms), and numberOf rounds the result once to a NUMBER.
#include "types/number_arithmetic.h"

#include <mpdecimal.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "base/errors.h"
#include "base/ora_messages.h"
#include "types/decimal.h"
#include "types/values.h"

namespace kavexdb {
namespace detail {
namespace numeric {

namespace {

// Digits an inexact operation keeps, truncated: more than a NUMBER's 40, so that numberOf's one
// rounding half away from zero decides the last digit.
constexpr mpd_ssize_t kWorkingDigits = 48;
// Exponents far beyond NUMBER's range, so that what overflows or underflows is seen by numberOf.
constexpr mpd_ssize_t kExponentLimit = 100000;

struct MpdFree {
    void operator()(mpd_t* d) const { mpd_del(d); }
};
using Decimal128 = std::unique_ptr<mpd_t, MpdFree>;

Decimal128 fresh() {
    mpd_t* d = mpd_qnew();
    if (!d) throw std::bad_alloc();
    return Decimal128(d);
}

mpd_context_t context(mpd_ssize_t digits) {
    mpd_context_t ctx;
    mpd_defaultcontext(&ctx);
    ctx.prec = digits;
    ctx.emax = kExponentLimit;
    ctx.emin = -kExponentLimit;
    ctx.round = MPD_ROUND_DOWN;
    ctx.traps = 0;
    return ctx;
}

// Exact: enough digits for any sum or product of two NUMBERs (and their exponents' spread).
mpd_context_t exactContext() { return context(600); }

Decimal128 toMpd(const occi::Number& n) {
    const Decimal d = decimalOf(n);
    std::string text = "0";
    if (!d.isZero())
        text = (d.negative ? "-" : "") + d.digits + "E" +
               std::to_string(d.exponent - static_cast<int>(d.digits.size()));
    Decimal128 out = fresh();
    mpd_context_t ctx = exactContext();
    std::uint32_t status = 0;
    mpd_qset_string(out.get(), text.c_str(), &ctx, &status);
    if (status & MPD_Malloc_error) throw std::bad_alloc();
    return out;
}

occi::Number toNumber(const mpd_t* r, std::uint32_t status) {
    if (status & MPD_Malloc_error) throw std::bad_alloc();
    if (status & MPD_Division_by_zero) raise(ora::kDivisorIsZero);
    if (mpd_isinfinite(r) || (status & MPD_Overflow)) raise(ora::kNumericOverflow);
    if (mpd_isnan(r)) raise(ora::kInvalidNumber);
    if (mpd_iszero(r)) return occi::Number(0);
    char* text = mpd_to_sci(r, 0);
    if (!text) throw std::bad_alloc();
    Decimal d;
    const bool parsed = parseDecimal(text, d);
    mpd_free(text);
    if (!parsed) raise(ora::kInvalidNumber);
    return numberOf(std::move(d));
}

using Binary = void (*)(mpd_t*, const mpd_t*, const mpd_t*, const mpd_context_t*, std::uint32_t*);
using Unary = void (*)(mpd_t*, const mpd_t*, const mpd_context_t*, std::uint32_t*);

occi::Number apply(Binary op, const occi::Number& a, const occi::Number& b, mpd_context_t ctx) {
    const Decimal128 x = toMpd(a), y = toMpd(b);
    Decimal128 r = fresh();
    std::uint32_t status = 0;
    op(r.get(), x.get(), y.get(), &ctx, &status);
    return toNumber(r.get(), status);
}

occi::Number apply(Unary op, const occi::Number& a) {
    const Decimal128 x = toMpd(a);
    Decimal128 r = fresh();
    mpd_context_t ctx = context(kWorkingDigits);
    std::uint32_t status = 0;
    op(r.get(), x.get(), &ctx, &status);
    return toNumber(r.get(), status);
}

int signOf(const occi::Number& n) {
    const Decimal d = decimalOf(n);
    return d.isZero() ? 0 : d.negative ? -1 : 1;
}

bool isIntegral(const occi::Number& n) {
    const Decimal d = decimalOf(n);
    return d.isZero() || d.exponent >= static_cast<int>(d.digits.size());
}

[[noreturn]] void outOfRange(const occi::Number& n) {
    raise(ora::kArgumentOutOfRange, numberToPlainText(n));
}

}  // namespace

occi::Number add(const occi::Number& a, const occi::Number& b) {
    return apply(mpd_qadd, a, b, exactContext());
}

occi::Number subtract(const occi::Number& a, const occi::Number& b) {
    return apply(mpd_qsub, a, b, exactContext());
}

occi::Number multiply(const occi::Number& a, const occi::Number& b) {
    return apply(mpd_qmul, a, b, exactContext());
}

occi::Number divide(const occi::Number& a, const occi::Number& b) {
    if (signOf(b) == 0) raise(ora::kDivisorIsZero);
    return apply(mpd_qdiv, a, b, context(kWorkingDigits));
}

occi::Number modulo(const occi::Number& a, const occi::Number& b) {
    if (signOf(b) == 0) return a;
    return apply(mpd_qrem, a, b, exactContext());
}

occi::Number remainder(const occi::Number& a, const occi::Number& b) {
    if (signOf(b) == 0) raise(ora::kDivisorIsZero);
    return apply(mpd_qrem_near, a, b, exactContext());
}

occi::Number power(const occi::Number& base, const occi::Number& exponent) {
    const int baseSign = signOf(base);
    if (baseSign == 0 && signOf(exponent) < 0) raise(ora::kDivisorIsZero);
    if (baseSign < 0 && !isIntegral(exponent)) outOfRange(base);
    return apply(mpd_qpow, base, exponent, context(kWorkingDigits));
}

occi::Number ceilOrFloor(const occi::Number& a, bool up) {
    Decimal d = decimalOf(a);
    if (d.isZero() || d.exponent >= static_cast<int>(d.digits.size())) return a;
    const bool away = up != d.negative;  // past the truncation, away from zero
    if (d.exponent <= 0)
        return away ? occi::Number(d.negative ? -1 : 1) : occi::Number(0);
    d.digits.resize(static_cast<std::size_t>(d.exponent));
    const occi::Number truncated = numberOf(d);
    return away ? add(truncated, occi::Number(d.negative ? -1 : 1)) : truncated;
}

occi::Number absolute(const occi::Number& a) {
    Decimal d = decimalOf(a);
    d.negative = false;
    return numberOf(std::move(d));
}

occi::Number squareRoot(const occi::Number& a) {
    if (signOf(a) < 0) outOfRange(a);
    return apply(mpd_qsqrt, a);
}

occi::Number exponential(const occi::Number& a) { return apply(mpd_qexp, a); }

occi::Number naturalLog(const occi::Number& a) {
    if (signOf(a) <= 0) outOfRange(a);
    return apply(mpd_qln, a);
}

occi::Number logarithm(const occi::Number& base, const occi::Number& a) {
    if (signOf(base) <= 0) outOfRange(base);
    if (signOf(a) <= 0) outOfRange(a);
    // ln(a) / ln(base), each with digits to spare, divided at the working precision.
    const Decimal128 x = toMpd(a), b = toMpd(base);
    Decimal128 lnA = fresh(), lnB = fresh(), r = fresh();
    mpd_context_t wide = context(kWorkingDigits + 8);
    std::uint32_t status = 0;
    mpd_qln(lnA.get(), x.get(), &wide, &status);
    mpd_qln(lnB.get(), b.get(), &wide, &status);
    if (mpd_iszero(lnB.get())) outOfRange(base);
    mpd_context_t ctx = context(kWorkingDigits);
    mpd_qdiv(r.get(), lnA.get(), lnB.get(), &ctx, &status);
    return toNumber(r.get(), status & ~static_cast<std::uint32_t>(MPD_Inexact | MPD_Rounded));
}

}  // namespace numeric
}  // namespace detail
}  // namespace kavexdb
