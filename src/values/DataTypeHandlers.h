// A front end's process-wide table from type code to handler, filled once at the front end's
// first connection and never changed afterwards.
#ifndef KAVEX_VALUES_DATATYPEHANDLERS_H
#define KAVEX_VALUES_DATATYPEHANDLERS_H

#include <cstdint>
#include <map>
#include <memory>

#include "session/Session.h"
#include "values/TypeHandler.h"

class Session::DataTypeHandlers {
public:
    virtual ~DataTypeHandlers() = default;
    // A new handler of the kind the type code selects.
    virtual std::unique_ptr<TypeHandler> createHandler(std::int32_t typeCode) const = 0;

    // Fills an empty table with the 24 handlers; runs under the registry lock.
    bool populate();
    // The table's handler for the code; for a code it does not hold, a fresh handler that the
    // caller keeps in `fresh` for the duration of the read.
    const TypeHandler* handlerFor(std::int32_t typeCode,
                                  std::unique_ptr<TypeHandler>& fresh) const;

    std::map<std::int32_t, std::unique_ptr<TypeHandler>> handlers;
};

#endif
