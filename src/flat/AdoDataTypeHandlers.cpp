#include "flat/AdoDataTypeHandlers.h"

#include "flat/AdoHandlers.h"

std::unique_ptr<TypeHandler> AdoSession::AdoDataTypeHandlers::createHandler(
    std::int32_t typeCode) const {
    switch (typeCode) {
        case 1:
        case 5:
        case 8:
        case 96:
        case 97:
        case 189:  // intervals read as the text Oracle displays for them
        case 190:
            return std::make_unique<CStrAdoHandler>(typeCode);
        case 2:
            return std::make_unique<NumberAdoHandler>();
        case 3:
        case 68:
            return std::make_unique<IntegerAdoHandler>(typeCode);
        case 4:
        case 21:
        case 100:
            return std::make_unique<FloatAdoHandler>(typeCode);
        case 11:
        case 104:
            return std::make_unique<RowIdAdoHandler>(typeCode);
        case 12:
            return std::make_unique<DateAdoHandler>();
        case 22:
        case 101:
            return std::make_unique<DoubleAdoHandler>(typeCode);
        case 23:
        case 24:
            return std::make_unique<BinaryAdoHandler>(typeCode);
        case 94:
        case 112:
            return std::make_unique<ClobAdoHandler>(typeCode);
        case 95:
        case 113:
            return std::make_unique<BlobAdoHandler>(typeCode);
        case 184:
        case 185:
        case 186:
        case 187:
        case 188:
        case 232:
            return std::make_unique<TimestampAdoHandler>(typeCode);
        default:
            return std::make_unique<DefaultAdoHandler>(typeCode);
    }
}

AdoSession::AdoDataTypeHandlers& adoHandlerTable() {
    // Never deleted: the table outlives every session, and its teardown at unload would gain
    // nothing.
    static AdoSession::AdoDataTypeHandlers* const table = new AdoSession::AdoDataTypeHandlers();
    return *table;
}
