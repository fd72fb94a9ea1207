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
#include "values/TypeHandler.h"

namespace kavex {

class ColumnHandlers {
public:
    // The handler `table` gives for the type of `column`, the column at `position`.
    const TypeHandler& at(std::size_t position, const ColumnInfo& column,
                          const DataTypeHandlers& table);

private:
    struct Entry {
        std::int32_t type = 0;
        const TypeHandler* handler = nullptr;
        std::unique_ptr<TypeHandler> owned;  // made for a type the table does not hold
    };
    std::vector<Entry> entries;
};

}  // namespace kavex

#endif
