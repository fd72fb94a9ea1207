#include "values/ColumnHandlers.h"

#include <utility>

namespace kavex {

ColumnHandlers::Found ColumnHandlers::refresh(std::size_t position, const ColumnInfo& column,
                                              const DataTypeHandlers& table) {
    if (position >= entries.size()) {
        entries.resize(position + 1);
    }
    Entry& entry = entries[position];
    std::unique_ptr<TypeHandler> fresh;
    entry.handler = table.handlerFor(column.type, fresh);
    entry.owned = std::move(fresh);
    entry.type = column.type;
    entry.kind = types::handlerKindOf(column.type);
    return Found{*entry.handler, entry.kind};
}

}  // namespace kavex
