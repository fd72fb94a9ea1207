// One row's plain ASCII texts, staged in a byte[] that the session keeps from row to row and
// handed to the Java class's addRow together with the row's other values: the Strings are then
// made by Java code from the bytes, instead of one JNI call each. Texts that are not plain ASCII
// or do not fit go as Strings made through JNI, exactly as without staging.
#ifndef KAVEX_JNI_ROWTEXTS_H
#define KAVEX_JNI_ROWTEXTS_H

#include <jni.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kavex {

class JniContext;

class RowTexts {
public:
    RowTexts() = default;
    RowTexts(const RowTexts&) = delete;
    RowTexts& operator=(const RowTexts&) = delete;

    // Starts a row of `width` values for the class that declares getRow (context.wrapper). False
    // when that class has no addRow or no array could be made: the row then goes without staging.
    bool begin(JniContext& context, jsize width);
    // Stages text as the row's next value when it is plain ASCII and fits; false otherwise (the
    // caller then makes the String itself and passes it to value()).
    bool stage(const std::string& text);
    // The row's next value is the row array's element at its position.
    void value() { mark(kElement); }
    // The row's next value is null.
    void null() { mark(kNull); }
    // Hands the row's first `count` values to list through addRow, which adds them in order;
    // false when that left a Java exception pending.
    bool handOver(JniContext& context, jobject list, jobjectArray values, jsize count);
    // Deletes the kept array; env must belong to a thread attached to the JVM.
    void release(JNIEnv* env);

private:
    static constexpr std::int32_t kElement = -1;
    static constexpr std::int32_t kNull = -2;
    // Room for texts after the lengths: a row's texts beyond it go as Strings.
    static constexpr std::size_t kTextRoom = 16384;

    void mark(std::int32_t length);

    // One little-endian int per value of the row (its text length, kElement or kNull), then the
    // staged texts in order: the layout addRow reads.
    std::vector<char> bytes;
    std::size_t used = 0;
    jsize next = 0;
    jsize width = 0;
    jbyteArray array = nullptr;  // a global reference, bytes.size() long
};

}  // namespace kavex

#endif
