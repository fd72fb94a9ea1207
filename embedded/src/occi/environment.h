// An OCCI environment: the character set its sessions speak and the connections it owns.
#ifndef KAVEXDB_ENVIRONMENT_H
#define KAVEXDB_ENVIRONMENT_H

#include <memory>
#include <mutex>
#include <vector>

#include "base/charset.h"

// The environment handle the OCI calls take as a parent; it holds nothing of its own.
struct OCIEnv {};

namespace kavexdb {
namespace detail {

class ConnectionImpl;

class EnvironmentImpl final : public occi::Environment {
public:
    EnvironmentImpl(Charset charset, bool unmutexed);
    ~EnvironmentImpl() override;  // terminates the connections still open, newest first

    occi::Connection* createConnection(const std::string& userName, const std::string& password,
                                       const std::string& connectString) override;
    void terminateConnection(occi::Connection* connection) override;
    OCIEnv* getOCIEnvironment() const override { return &handle_; }

private:
    Charset charset_;
    bool unmutexed_;
    mutable OCIEnv handle_;
    std::mutex mutex_;  // guards connections_ for THREADED_MUTEXED users
    std::vector<std::unique_ptr<ConnectionImpl>> connections_;
};

}  // namespace detail
}  // namespace kavexdb

#endif
