// The client's exception and the one way its ORA errors are made.
#include <cstdio>
#include <stdexcept>

#include "base/access.h"
#include "base/errors.h"
#include "base/faults.h"

namespace oracle {
namespace occi {

SQLException::SQLException() : code_(0) {}
SQLException::SQLException(const SQLException& other)
    : std::exception(other), code_(other.code_), message_(other.message_) {}
void SQLException::operator=(const SQLException& other) {
    code_ = other.code_;
    message_ = other.message_;
}
SQLException::~SQLException() throw() {}
int SQLException::getErrorCode() const { return code_; }
std::string SQLException::getMessage() const {
    if (kavexdb::detail::getMessageThrows())
        throw std::runtime_error("SQLException::getMessage failed (test fault)");
    return message_;
}
const char* SQLException::what() const throw() { return message_.c_str(); }

}  // namespace occi
}  // namespace oracle

namespace kavexdb {
namespace detail {

std::string oraErrorText(int code, const std::string& text) {
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "ORA-%05d: ", code);
    return prefix + text;
}

occi::SQLException makeError(int code, const std::string& text) {
    return Access::error(code, oraErrorText(code, text) + "\n");
}

void raise(int code, const std::string& text) { throw makeError(code, text); }

}  // namespace detail
}  // namespace kavexdb
