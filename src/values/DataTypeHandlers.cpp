#include "values/DataTypeHandlers.h"

namespace kavex {

void DataTypeHandlers::fillOnce() {
    std::call_once(filled, [this] {
        std::map<std::int32_t, std::unique_ptr<TypeHandler>> made;
        for (const std::int32_t code : types::kTableCodes) {
            made.emplace(code, createHandler(code));
        }
        handlers.swap(made);
    });
}

const TypeHandler* DataTypeHandlers::handlerFor(std::int32_t typeCode,
                                                std::unique_ptr<TypeHandler>& fresh) const {
    const auto found = handlers.find(typeCode);
    if (found != handlers.end()) {
        return found->second.get();
    }
    fresh = createHandler(typeCode);
    return fresh.get();
}

}  // namespace kavex
