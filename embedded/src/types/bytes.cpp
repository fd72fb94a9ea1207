// Bytes: RAW and LONG RAW values over shared, immutable bytes.
#include <cstring>

#include "base/access.h"
#include "base/errors.h"
#include "base/ora_messages.h"
#include "types/values.h"

namespace kavexdb {
namespace detail {

occi::Bytes bytesFrom(const void* data, std::size_t size) {
    occi::Bytes b;
    Access::data(b) = std::make_shared<const std::string>(
        size == 0 ? std::string() : std::string(static_cast<const char*>(data), size));
    return b;
}

}  // namespace detail
}  // namespace kavexdb

namespace oracle {
namespace occi {

namespace {
[[noreturn]] void outOfRange(int argument) {
    kavexdb::detail::raise(kavexdb::detail::ora::kArgumentNullOrOutOfRange, argument);
}
}  // namespace

Bytes::Bytes(const Environment* /*env*/) {}

Bytes::Bytes(unsigned char* value, unsigned int count, unsigned int offset,
             const Environment* /*env*/) {
    if (value == nullptr && count > 0) outOfRange(1);
    data_ = std::make_shared<const std::string>(
        count == 0 ? std::string() : std::string(reinterpret_cast<const char*>(value) + offset, count));
}

Bytes::Bytes(const Bytes& other) = default;
void Bytes::operator=(const Bytes& other) { data_ = other.data_; }
Bytes::~Bytes() = default;

void Bytes::getBytes(unsigned char* dst, unsigned int count, unsigned int srcBegin,
                     unsigned int dstBegin) const {
    if (count == 0) return;
    if (dst == nullptr) outOfRange(1);
    const std::size_t size = data_ ? data_->size() : 0;
    if (srcBegin > size || count > size - srcBegin) outOfRange(2);
    std::memcpy(dst + dstBegin, data_->data() + srcBegin, count);
}

unsigned int Bytes::length() const { return data_ ? static_cast<unsigned int>(data_->size()) : 0; }

bool Bytes::isNull() const { return !data_; }

void Bytes::setNull() { data_.reset(); }

}  // namespace occi
}  // namespace oracle
