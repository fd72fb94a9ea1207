// Access to the value classes' private state, for the client's own code only.
#ifndef KAVEXDB_BASE_ACCESS_H
#define KAVEXDB_BASE_ACCESS_H

#include <memory>
#include <string>

#include "kavexdb/occi.h"

namespace kavexdb {
namespace detail {

namespace occi = oracle::occi;

struct LobLocator;
struct MetaDataRecord;

// ---- Access to the value classes' private state -------------------------------------------
struct Access {
    static occi::SQLException error(int code, const std::string& message) {
        occi::SQLException e;
        e.code_ = code;
        e.message_ = message;
        return e;
    }
    template <class Lob>
    static std::shared_ptr<LobLocator>& locator(Lob& lob) { return lob.locator_; }
    template <class Lob>
    static const std::shared_ptr<LobLocator>& locator(const Lob& lob) { return lob.locator_; }
    static std::shared_ptr<const std::string>& data(occi::Bytes& b) { return b.data_; }
    static const std::shared_ptr<const std::string>& data(const occi::Bytes& b) { return b.data_; }
    static const std::shared_ptr<const MetaDataRecord>& record(const occi::MetaData& m) {
        return m.record_;
    }
    static occi::MetaData metaData(std::shared_ptr<const MetaDataRecord> r) {
        return occi::MetaData(std::move(r));
    }
    // Number, Date and Timestamp fields are reached by the value code through these.
    static occi::Number& self(occi::Number& n) { return n; }
    static bool& null(occi::Number& n) { return n.null_; }
    static bool& negative(occi::Number& n) { return n.negative_; }
    static int& exponent(occi::Number& n) { return n.exponent_; }
    static unsigned char& ndigits(occi::Number& n) { return n.ndigits_; }
    static unsigned char* digits(occi::Number& n) { return n.digits_; }
    static bool null(const occi::Number& n) { return n.null_; }
    static bool negative(const occi::Number& n) { return n.negative_; }
    static int exponent(const occi::Number& n) { return n.exponent_; }
    static unsigned char ndigits(const occi::Number& n) { return n.ndigits_; }
    static const unsigned char* digits(const occi::Number& n) { return n.digits_; }
};

}  // namespace detail
}  // namespace kavexdb

#endif
