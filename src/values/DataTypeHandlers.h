// A front end's process-wide table from type code to handler, filled once, at the front end's
// first connection, and never changed afterwards.
#ifndef KAVEX_VALUES_DATATYPEHANDLERS_H
#define KAVEX_VALUES_DATATYPEHANDLERS_H

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

#include "values/TypeCodes.h"
#include "values/TypeHandler.h"

namespace kavex {

class DataTypeHandlers {
  public:
    virtual ~DataTypeHandlers() = default;
    // A new handler of the kind the type code selects.
    virtual std::unique_ptr<TypeHandler> createHandler(std::int32_t typeCode) const = 0;

    // Fills the table with the handlers of the 24 table codes the first time it is called; later
    // calls, from any thread, find it filled. A failed fill leaves the table empty.
    void fillOnce();
    // The table's handler for the code; for a code it does not hold, a fresh handler that the
    // caller keeps in `fresh` for the duration of the read.
    const TypeHandler* handlerFor(std::int32_t typeCode, std::unique_ptr<TypeHandler>& fresh) const;

    std::map<std::int32_t, std::unique_ptr<TypeHandler>> handlers;

  private:
    std::once_flag filled;
};

// The handler of `Family` (a front end's twelve handler classes, named by kind) that the code
// selects: one choice of handler kind for every front end.
template <class Family>
std::unique_ptr<TypeHandler> makeHandler(std::int32_t code) {
    using types::HandlerKind;
    switch (types::handlerKindOf(code)) {
        case HandlerKind::CStr:
            return std::make_unique<typename Family::CStr>(code);
        case HandlerKind::RowId:
            return std::make_unique<typename Family::RowId>(code);
        case HandlerKind::Number:
            return std::make_unique<typename Family::Number>();
        case HandlerKind::Integer:
            return std::make_unique<typename Family::Integer>(code);
        case HandlerKind::Float:
            return std::make_unique<typename Family::Float>(code);
        case HandlerKind::Double:
            return std::make_unique<typename Family::Double>(code);
        case HandlerKind::Date:
            return std::make_unique<typename Family::Date>();
        case HandlerKind::Timestamp:
            return std::make_unique<typename Family::Timestamp>(code);
        case HandlerKind::Clob:
            return std::make_unique<typename Family::Clob>(code);
        case HandlerKind::Blob:
            return std::make_unique<typename Family::Blob>(code);
        case HandlerKind::Binary:
            return std::make_unique<typename Family::Binary>(code);
        case HandlerKind::Default:
            break;
    }
    return std::make_unique<typename Family::Default>(code);
}

}  // namespace kavex

#endif
