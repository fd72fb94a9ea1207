// The JNI front end's table of value handlers, one process-wide instance.
#ifndef KAVEX_JNI_JNIDATATYPEHANDLERS_H
#define KAVEX_JNI_JNIDATATYPEHANDLERS_H

#include "jni/JniSession.h"
#include "values/DataTypeHandlers.h"

namespace kavex {

class JniSession::JniDataTypeHandlers : public DataTypeHandlers {
public:
    // A new JNI handler of the kind the type code selects.
    std::unique_ptr<TypeHandler> createHandler(std::int32_t typeCode) const override;

    // The process-wide table: empty until the first JNI connection fills it, never destroyed
    // (sessions still open at unload keep pointing at it).
    static JniDataTypeHandlers& instance();
};

}  // namespace kavex

#endif
