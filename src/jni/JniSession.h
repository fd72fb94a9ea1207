// The JNI front end's session: appends rows and column metadata to Java lists.
#ifndef KAVEX_JNI_JNISESSION_H
#define KAVEX_JNI_JNISESSION_H

#include <jni.h>

#include <string>

#include "jni/RowTexts.h"
#include "session/Session.h"
#include "values/ColumnHandlers.h"
#include "values/NumberText.h"

namespace kavex {

class JniContext;

class JniSession : public Session {
public:
    class JniDataTypeHandlers;  // jni/JniDataTypeHandlers.h

    using Session::Session;
    // Releases the row array it kept for the JVM, when this thread can still reach the JVM.
    ~JniSession() override;

    DataTypeHandlers* handlerTable() override;
    bool collectMetaData(CallingContext& context, const std::string& firstText,
                         const std::string& objectName, void* target) override;
    bool readRow(CallingContext& context, void* target) override;
    const char* returnString(const char* text, std::int32_t length) override;

    // A buffer the handlers render texts into, reused from value to value.
    std::string textBuffer;
    // Writes the texts of NUMBER values.
    NumberText numberText;

private:
    // The Object[] of `width` elements that gathers each row for the list, kept from row to row;
    // null when the list is not a java.util.Collection or no array could be made.
    jobjectArray rowArray(JniContext& context, jobject list, jsize width);

    ColumnHandlers handlers;
    // The rows' plain ASCII texts on their way to the Java class, kept with the row array.
    RowTexts texts;
    jobjectArray rowValues = nullptr;  // a global reference
    jsize rowValuesWidth = 0;
    JavaVM* jvm = nullptr;
};

}  // namespace kavex

#endif
