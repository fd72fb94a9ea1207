// The handler of each column of the current result, found in the front end's table once per
// result set instead of once per value. An entry serves while the column at its position keeps
// the type it was found for (the handler depends on nothing else), so a new result or a
// described object needs no notice.
#ifndef KAVEX_VALUES_COLUMNHANDLERS_H
#define KAVEX_VALUES_COLUMNHANDLERS_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "values/ColumnInfo.h"
#include "values/DataTypeHandlers.h"
#include "values/TypeCodes.h"
#include "values/TypeHandler.h"

namespace kavex {

class ColumnHandlers {
public:
    struct Found {
        const TypeHandler& handler;
        types::HandlerKind kind;  // the kind of the column's type code
    };

    // The handler `table` gives for the type of `column`, the column at `position`.
    const TypeHandler& at(std::size_t position, const ColumnInfo& column,
                          const DataTypeHandlers& table) {
        return find(position, column, table).handler;
    }
    // at(), with the kind of the column's type, found along with the handler.
    Found find(std::size_t position, const ColumnInfo& column, const DataTypeHandlers& table) {
        if (position < entries.size()) {
            const Entry& entry = entries[position];
            if (entry.handler != nullptr && entry.type == column.type) {
                return Found{*entry.handler, entry.kind};
            }
        }
        return refresh(position, column, table);
    }

private:
    struct Entry {
        std::int32_t type = 0;
        types::HandlerKind kind = types::HandlerKind::Default;
        const TypeHandler* handler = nullptr;
        std::unique_ptr<TypeHandler> owned;  // made for a type the table does not hold
    };
    Found refresh(std::size_t position, const ColumnInfo& column, const DataTypeHandlers& table);

    std::vector<Entry> entries;
};

}  // namespace kavex

#endif
