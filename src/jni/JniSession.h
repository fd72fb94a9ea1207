// The JNI front end's session: appends rows and column metadata to Java lists.
#ifndef KAVEX_JNI_JNISESSION_H
#define KAVEX_JNI_JNISESSION_H

#include "session/Session.h"

namespace kavex {

class JniSession : public Session {
public:
    class JniDataTypeHandlers;  // jni/JniDataTypeHandlers.h

    using Session::Session;

    DataTypeHandlers* handlerTable() override;
    bool collectMetaData(CallingContext& context, const std::string& firstText,
                         const std::string& objectName, void* target) override;
    bool readRow(CallingContext& context, void* target) override;
    const char* returnString(const char* text, std::int32_t length) override;
};

}  // namespace kavex

#endif
