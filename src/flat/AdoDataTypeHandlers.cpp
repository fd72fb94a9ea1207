#include "flat/AdoDataTypeHandlers.h"

#include "flat/AdoHandlers.h"

namespace kavex {

std::unique_ptr<TypeHandler> AdoSession::AdoDataTypeHandlers::createHandler(
    std::int32_t typeCode) const {
    return makeHandler<AdoHandlerFamily>(typeCode);
}

AdoSession::AdoDataTypeHandlers& adoHandlerTable() {
    // Never deleted: the table outlives every session, and its teardown at unload would gain
    // nothing.
    static AdoSession::AdoDataTypeHandlers* const table = new AdoSession::AdoDataTypeHandlers();
    return *table;
}

}  // namespace kavex
