#include "jni/JniDataTypeHandlers.h"

#include "jni/JniHandlers.h"

namespace kavex {

std::unique_ptr<TypeHandler> JniSession::JniDataTypeHandlers::createHandler(
    std::int32_t typeCode) const {
    return makeHandler<JniHandlerFamily>(typeCode);
}

JniSession::JniDataTypeHandlers& JniSession::JniDataTypeHandlers::instance() {
    static JniDataTypeHandlers* const table = new JniDataTypeHandlers;
    return *table;
}

}  // namespace kavex
