// Texts across the JNI boundary. Texts from Java are made from their UTF-16 characters as
// standard UTF-8 (the JVM's own UTF functions give modified UTF-8: characters beyond U+FFFF as two
// three-byte surrogate halves, U+0000 as C0 80). Texts from the database may hold either form of a
// character beyond U+FFFF, embedded NULs and, from other hosts, malformed bytes. These conversions
// keep every character intact in both directions and never hand the JVM bytes it cannot read.
#ifndef KAVEX_JNI_JNITEXT_H
#define KAVEX_JNI_JNITEXT_H

#include <jni.h>

#include <string>

namespace kavex {

// A Java string's text in standard UTF-8, made when the argument is converted. A surrogate
// without its partner becomes U+FFFD; U+0000 becomes a NUL byte, where a NUL-terminated text ends
// (as it does for the flat interface). Null when the string is null or the JVM could not hand its
// characters out.
class JavaText {
public:
    JavaText(JNIEnv* env, jstring text);
    const char* get() const { return present ? utf8.c_str() : nullptr; }
    bool isNull() const { return !present; }

private:
    std::string utf8;
    bool present = false;
};

// A new Java string holding the UTF-8 text (NULs included), or null when the JVM could not make
// it (a Java exception is then pending). Malformed bytes become U+FFFD.
jstring newJavaString(JNIEnv* env, const std::string& text);

}  // namespace kavex

#endif
