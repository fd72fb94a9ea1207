// What a flat value handler produces: a null flag, a byte length and the value.
#ifndef KAVEX_VALUES_DATACONTAINER_H
#define KAVEX_VALUES_DATACONTAINER_H

#include <cstdint>

template <class T>
struct DataContainer {
    bool isNull = true;
    std::int32_t length = 0;
    T value{};
};

#endif
