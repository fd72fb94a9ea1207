// The header refuses what the real client's headers refuse, so that code written against it also
// compiles against them. Most checks are made by the compiler: this file does not build if one
// fails.
#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <utility>

#include "kavexdb/occi.h"

// Oracle's basic types are global names, not members of oracle::occi: these declarations would
// conflict with a typedef or an enumerator of the same name there.
namespace oracle {
namespace occi {
struct ub2;
struct sb2;
struct ub4;
struct sb4;
struct ub8;
struct sb8;
struct text;
struct boolean;
struct OraText;
// CharSetForm has exactly the four forms of the real client (a function may not share its name
// with an enumerator, though a class may).
void OCCI_SQLCS_LIT_NULL();
}  // namespace occi
}  // namespace oracle

namespace {

namespace occi = oracle::occi;

static_assert(std::is_same<::ub2, unsigned short>::value, "ub2");
static_assert(std::is_same<::sb2, signed short>::value, "sb2");
static_assert(std::is_same<::ub4, unsigned int>::value, "ub4");
static_assert(std::is_same<::sb4, signed int>::value, "sb4");
static_assert(sizeof(::ub8) == 8 && sizeof(::sb8) == 8, "ub8 and sb8");
static_assert(std::is_same<::OraText, unsigned char>::value, "OraText");
static_assert(std::is_same<::text, ::OraText>::value, "text");
static_assert(std::is_integral<::boolean>::value, "boolean");

static_assert(occi::OCCI_SQLCS_IMPLICIT == 1 && occi::OCCI_SQLCS_NCHAR == 2 &&
                  occi::OCCI_SQLCS_EXPLICIT == 3 && occi::OCCI_SQLCS_FLEXIBLE == 4,
              "the four character set forms");

// Each probe is true when the expression compiles.
template <class, class = void>
struct NumberTextWithoutFormat : std::false_type {};
template <class N>
struct NumberTextWithoutFormat<
    N, std::void_t<decltype(std::declval<const N&>().toText(
           static_cast<const occi::Environment*>(nullptr)))>> : std::true_type {};

template <class, class = void>
struct TimestampTextWithoutPrecision : std::false_type {};
template <class T>
struct TimestampTextWithoutPrecision<
    T, std::void_t<decltype(std::declval<const T&>().toText(std::string()))>> : std::true_type {};

template <class, class = void>
struct BooleanFromInt : std::false_type {};
template <class M>
struct BooleanFromInt<M, std::void_t<decltype(std::declval<const M&>().getBoolean(1))>>
    : std::true_type {};

template <class, class = void>
struct UntypedLengthBuffer : std::false_type {};
template <class S>
struct UntypedLengthBuffer<S, std::void_t<decltype(std::declval<S&>().setDataBuffer(
                                  1u, nullptr, occi::OCCI_SQLT_STR, 0, nullptr))>>
    : std::true_type {};

template <class, class = void>
struct WriteFromConst : std::false_type {};
template <class S>
struct WriteFromConst<S, std::void_t<decltype(std::declval<S&>().writeBuffer(
                             static_cast<const char*>(nullptr), 0u))>> : std::true_type {};

template <class, class = void>
struct ReadIntoUnsigned : std::false_type {};
template <class S>
struct ReadIntoUnsigned<S, std::void_t<decltype(std::declval<S&>().readBuffer(
                               static_cast<unsigned char*>(nullptr), 0u))>> : std::true_type {};

template <class, class = void>
struct BfileOpenWithMode : std::false_type {};
template <class B>
struct BfileOpenWithMode<B, std::void_t<decltype(std::declval<B&>().open(occi::OCCI_LOB_READONLY))>>
    : std::true_type {};

template <class, class = void>
struct ResultSetGetterOnConst : std::false_type {};
template <class R>
struct ResultSetGetterOnConst<R, std::void_t<decltype(std::declval<const R&>().getString(1u))>>
    : std::true_type {};

static_assert(!NumberTextWithoutFormat<occi::Number>::value, "Number::toText needs a format");
static_assert(!TimestampTextWithoutPrecision<occi::Timestamp>::value,
              "Timestamp::toText needs a precision");
static_assert(!BooleanFromInt<occi::MetaData>::value, "an int is neither attribute kind");
static_assert(!UntypedLengthBuffer<occi::Statement>::value, "a null length pointer is ambiguous");
static_assert(!WriteFromConst<occi::Stream>::value, "writeBuffer takes char*");
static_assert(!ReadIntoUnsigned<occi::Stream>::value, "readBuffer takes char*");
static_assert(!BfileOpenWithMode<occi::Bfile>::value, "Bfile::open takes no mode");
static_assert(!ResultSetGetterOnConst<occi::ResultSet>::value, "result set getters are not const");

static_assert(!std::is_default_constructible<occi::MetaData>::value, "no MetaData()");
static_assert(!std::is_constructible<occi::Number, long long>::value, "no long long Number");
static_assert(!std::is_constructible<occi::Bytes, const unsigned char*, unsigned int>::value,
              "Bytes takes a non-const pointer");
static_assert(std::is_constructible<occi::Bytes, unsigned char*, unsigned int>::value,
              "Bytes from a buffer");
static_assert(std::is_void<decltype(std::declval<occi::MetaData&>() =
                                        std::declval<const occi::MetaData&>())>::value,
              "MetaData assignment returns void");
static_assert(std::is_void<decltype(std::declval<occi::Bytes&>() =
                                        std::declval<const occi::Bytes&>())>::value,
              "Bytes assignment returns void");
static_assert(std::is_void<decltype(std::declval<occi::SQLException&>() =
                                        std::declval<const occi::SQLException&>())>::value,
              "SQLException assignment returns void");

// The same calls spelled as the real headers want them compile, so the probes above fail for the
// reason they name.
using AcceptedCalls = decltype(
    std::declval<const occi::Number&>().toText(nullptr, std::string()),
    std::declval<const occi::Timestamp&>().toText(std::string(), 0u),
    std::declval<const occi::MetaData&>().getBoolean(occi::MetaData::ATTR_COL_IS_IDENTITY),
    std::declval<occi::Statement&>().setDataBuffer(1u, nullptr, occi::OCCI_SQLT_STR, 0,
                                                   static_cast<ub2*>(nullptr)),
    std::declval<occi::Stream&>().writeBuffer(static_cast<char*>(nullptr), 0u),
    std::declval<occi::Stream&>().readBuffer(static_cast<char*>(nullptr), 0u),
    std::declval<occi::Bfile&>().open(),
    std::declval<occi::ResultSet&>().getString(1u));
static_assert(std::is_same<AcceptedCalls, std::string>::value, "the accepted spellings compile");

}  // namespace

// The checks above run at compile time; this case only records that the file was built.
TEST(HeaderStrictness, CompilesOnlyWhereTheRealHeadersDo) {
    SUCCEED();
}
