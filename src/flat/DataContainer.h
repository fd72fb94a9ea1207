// What a flat value handler produces: a null flag, a byte length and the value.
#ifndef KAVEX_FLAT_DATACONTAINER_H
#define KAVEX_FLAT_DATACONTAINER_H

#include <cstdint>

namespace kavex {

template <class T>
struct DataContainer {
    bool isNull = true;
    std::int32_t length = 0;
    T value{};
};

}  // namespace kavex

#endif
