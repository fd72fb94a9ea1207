#include "values/ColumnHandlers.h"

#include <utility>

namespace kavex {

const TypeHandler& ColumnHandlers::at(std::size_t position, const ColumnInfo& column,
                                      const DataTypeHandlers& table) {
    if (position >= entries.size()) {
        entries.resize(position + 1);
    }
    Entry& entry = entries[position];
    if (entry.handler == nullptr || entry.type != column.type) {
        std::unique_ptr<TypeHandler> fresh;
        entry.handler = table.handlerFor(column.type, fresh);
        entry.owned = std::move(fresh);
        entry.type = column.type;
    }
    return *entry.handler;
}

}  // namespace kavex
