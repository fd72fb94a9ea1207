#include "values/DataTypeHandlers.h"

#include <iterator>

namespace {

// The codes every front end's table holds, in the order they are entered.
constexpr std::int32_t kTableCodes[] = {1,   2,   3,   21,  100, 22,  101, 5,
                                        8,   11,  23,  96,  97,  104, 112, 113,
                                        12,  184, 185, 186, 187, 188, 232, 58};

static_assert(std::size(kTableCodes) == 24, "the table holds 24 codes");

}  // namespace

bool Session::DataTypeHandlers::populate() {
    if (!handlers.empty()) {
        return true;
    }
    for (const std::int32_t code : kTableCodes) {
        handlers.emplace(code, createHandler(code));
    }
    return true;
}

const TypeHandler* Session::DataTypeHandlers::handlerFor(
    std::int32_t typeCode, std::unique_ptr<TypeHandler>& fresh) const {
    const auto found = handlers.find(typeCode);
    if (found != handlers.end()) {
        return found->second.get();
    }
    fresh = createHandler(typeCode);
    return fresh.get();
}
