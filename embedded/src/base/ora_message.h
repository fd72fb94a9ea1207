// One ORA message of the client's table (ora_messages.h), and the one way to raise it.
//
// A message is a code and a text in which each "{}" stands for one argument, filled in order.
// The number of arguments is part of the message's type: OraMessage<1> takes one. A table entry
// whose text holds another number of "{}" is not a constant expression and so does not compile,
// and a raise(...) given the wrong number of arguments fails its static_assert.
#ifndef KAVEXDB_BASE_ORA_MESSAGE_H
#define KAVEXDB_BASE_ORA_MESSAGE_H

#include <initializer_list>
#include <stdexcept>
#include <string>
#include <type_traits>

#include "base/errors.h"

namespace kavexdb {
namespace detail {

// The number of "{}" in text.
constexpr int placeholderCount(const char* text) {
    int n = 0;
    for (; *text != '\0'; ++text)
        if (text[0] == '{' && text[1] == '}') ++n, ++text;
    return n;
}

// Reached only when an OraMessage<N> is made from a text with other than N placeholders; being
// no constexpr function, it makes such a table entry fail to compile.
inline void placeholderCountDisagreesWithN() {
    throw std::logic_error("an ORA message's text and its argument count disagree");
}

template <int N>
struct OraMessage {
    int code;
    const char* text;

    constexpr OraMessage(int code, const char* text) : code(code), text(text) {
        if (placeholderCount(text) != N) placeholderCountDisagreesWithN();
    }
};

// text with each "{}" replaced, in order, by the next of args (args are not searched for "{}").
std::string fillPlaceholders(const char* text, std::initializer_list<std::string> args);

// One argument's text: a string as it is, an integer in decimal.
template <class A>
std::string messageArgument(const A& arg) {
    if constexpr (std::is_integral_v<A>) {
        static_assert(!std::is_same_v<A, bool> && !std::is_same_v<A, char>,
                      "an ORA message argument is a string or a number");
        return std::to_string(arg);
    } else {
        static_assert(std::is_convertible_v<const A&, std::string>,
                      "an ORA message argument is a string or a number");
        return std::string(arg);
    }
}

// The message's text with its placeholders filled.
template <int N, class... A>
std::string messageText(const OraMessage<N>& message, const A&... args) {
    static_assert(sizeof...(A) == N, "this ORA message takes another number of arguments");
    return fillPlaceholders(message.text, {messageArgument(args)...});
}

// "ORA-NNNNN: " and the message's text, for an error raised inside SQLite.
template <int N, class... A>
std::string oraErrorText(const OraMessage<N>& message, const A&... args) {
    return oraErrorText(message.code, messageText(message, args...));
}

template <int N, class... A>
occi::SQLException makeError(const OraMessage<N>& message, const A&... args) {
    return makeError(message.code, messageText(message, args...));
}

template <int N, class... A>
[[noreturn]] void raise(const OraMessage<N>& message, const A&... args) {
    throw makeError(message, args...);
}

}  // namespace detail
}  // namespace kavexdb

#endif
