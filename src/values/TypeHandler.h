// The value handler family: one read-only handler per type code, shared by every session and
// thread of its front end.
#ifndef KAVEX_VALUES_TYPEHANDLER_H
#define KAVEX_VALUES_TYPEHANDLER_H

#include <cstdint>
#include <string>

#include "occi/occi.h"
#include "values/ColumnInfo.h"
#include "values/TypeNames.h"

namespace kavex {

class TypeHandler {
public:
    virtual ~TypeHandler() = default;
};

template <class Context, class SessionT, class Container>
class basic_type_handler : public TypeHandler {
public:
    explicit basic_type_handler(std::int32_t typeCode) : name(typeNameOf(typeCode)) {}
    // Reads the column's value (OCCI column index + 1) in the result set's current row.
    virtual Container readValue(Context& context, SessionT& session, const ColumnInfo& column,
                                occi::ResultSet& resultSet) const = 0;

    const std::string name;
};

}  // namespace kavex

#endif
