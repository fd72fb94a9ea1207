#include "occi/environment.h"

#include <algorithm>

#include "base/faults.h"
#include "occi/connection.h"

namespace oracle {
namespace occi {

Environment* Environment::createEnvironment(const std::string& charset,
                                            const std::string& ncharset, Mode mode, void*,
                                            void* (*)(void*, size_t),
                                            void* (*)(void*, void*, size_t),
                                            void (*)(void*, void*)) {
    using namespace kavexdb::detail;
    checkFault("Environment::createEnvironment");
    Charset cs = parseCharset(charset);
    parseCharset(ncharset);
    return new EnvironmentImpl(cs, mode == THREADED_UNMUTEXED);
}

void Environment::terminateEnvironment(Environment* env) {
    kavexdb::detail::checkFault("Environment::terminateEnvironment");
    delete static_cast<kavexdb::detail::EnvironmentImpl*>(env);
}

}  // namespace occi
}  // namespace oracle

namespace kavexdb {
namespace detail {

EnvironmentImpl::EnvironmentImpl(Charset charset, bool unmutexed)
    : charset_(charset), unmutexed_(unmutexed) {
    liveAdd(Live::Environment, 1);
}

EnvironmentImpl::~EnvironmentImpl() {
    while (!connections_.empty()) connections_.pop_back();
    liveAdd(Live::Environment, -1);
}

occi::Connection* EnvironmentImpl::createConnection(const std::string& userName,
                                                    const std::string& password,
                                                    const std::string& connectString) {
    checkFault("Environment::createConnection");
    std::unique_ptr<ConnectionImpl> conn =
        ConnectionImpl::open(userName, password, connectString, charset_, unmutexed_);
    std::lock_guard<std::mutex> lock(mutex_);
    connections_.push_back(std::move(conn));
    return connections_.back().get();
}

void EnvironmentImpl::terminateConnection(occi::Connection* connection) {
    checkFault("Environment::terminateConnection");
    std::unique_ptr<ConnectionImpl> doomed;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = std::find_if(connections_.begin(), connections_.end(),
                               [&](const auto& c) { return c.get() == connection; });
        if (it == connections_.end()) return;  // not ours: nothing to release
        doomed = std::move(*it);
        connections_.erase(it);
    }
}

}  // namespace detail
}  // namespace kavexdb
