#include "jni/JniDataTypeHandlers.h"

#include "jni/JniHandlers.h"

std::unique_ptr<TypeHandler> JniSession::JniDataTypeHandlers::createHandler(
    std::int32_t typeCode) const {
    switch (typeCode) {
        case 1: case 5: case 8: case 96: case 97:
        case 189: case 190:  // intervals read as the text Oracle displays for them
            return std::make_unique<CStrJniHandler>(typeCode);
        case 2:
            return std::make_unique<NumberJniHandler>();
        case 3: case 68:
            return std::make_unique<IntegerJniHandler>(typeCode);
        case 4: case 21: case 100:
            return std::make_unique<FloatJniHandler>(typeCode);
        case 11: case 104:
            return std::make_unique<RowIdJniHandler>(typeCode);
        case 12:
            return std::make_unique<DateJniHandler>();
        case 22: case 101:
            return std::make_unique<DoubleJniHandler>(typeCode);
        case 23: case 24:
            return std::make_unique<BinaryJniHandler>(typeCode);
        case 94: case 112:
            return std::make_unique<ClobJniHandler>(typeCode);
        case 95: case 113:
            return std::make_unique<BlobJniHandler>(typeCode);
        case 184: case 185: case 186: case 187: case 188: case 232:
            return std::make_unique<TimestampJniHandler>(typeCode);
        default:
            return std::make_unique<DefaultJniHandler>(typeCode);
    }
}

JniSession::JniDataTypeHandlers& JniSession::JniDataTypeHandlers::instance() {
    static JniDataTypeHandlers* const table = new JniDataTypeHandlers;
    return *table;
}
