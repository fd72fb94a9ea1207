// What a call throws, for the embedded client's tests: the SQLException itself, its ORA code or
// its message.
#ifndef KAVEXDB_TESTS_TEST_UTIL_H
#define KAVEXDB_TESTS_TEST_UTIL_H

#include <string>

#include "kavexdb/occi.h"

namespace clienttest {

// The SQLException fn throws; a default one (code 0, empty message) when it throws nothing.
template <class Fn>
oracle::occi::SQLException thrownBy(Fn fn) {
    try {
        fn();
    } catch (const oracle::occi::SQLException& e) {
        return e;
    }
    return oracle::occi::SQLException();
}

// The ORA code of what fn throws, or 0 when it throws nothing.
template <class Fn>
int oraCode(Fn fn) {
    return thrownBy(fn).getErrorCode();
}

// The message of what fn throws, or "" when it throws nothing.
template <class Fn>
std::string oraMessage(Fn fn) {
    return thrownBy(fn).getMessage();
}

}  // namespace clienttest

#endif
