// The flat front end's handler table: one process-wide instance, filled at the first flat
// connection and never destroyed (unloading must not run code that touches OCCI).
#ifndef KAVEX_FLAT_ADODATATYPEHANDLERS_H
#define KAVEX_FLAT_ADODATATYPEHANDLERS_H

#include "flat/AdoSession.h"
#include "values/DataTypeHandlers.h"

namespace kavex {

class AdoSession::AdoDataTypeHandlers : public DataTypeHandlers {
public:
    // The flat handler the type code selects.
    std::unique_ptr<TypeHandler> createHandler(std::int32_t typeCode) const override;
};

// The process-wide flat table.
AdoSession::AdoDataTypeHandlers& adoHandlerTable();

}  // namespace kavex

#endif
