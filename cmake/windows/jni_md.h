/* The machine-dependent part of the JNI header for 64-bit Windows, the counterpart of the JDK's
 * jni_md.h on that platform: the Windows build takes jni.h from the build machine's JDK (it is
 * the same on every platform) and this file in place of the Linux one. The types are those of a
 * Windows JDK, so code that mixes jint with int or jlong with long fails to compile here as it
 * would against a Windows JDK: jint is a 32-bit long, jlong a long long. JNICALL is __stdcall,
 * which the x64 compilers accept and ignore: x64 has one calling convention and undecorated
 * names. */
#ifndef KAVEX_WINDOWS_JNI_MD_H
#define KAVEX_WINDOWS_JNI_MD_H

#define JNIEXPORT __declspec(dllexport)
#define JNIIMPORT __declspec(dllimport)
#define JNICALL __stdcall

typedef long jint;
typedef long long jlong;
typedef signed char jbyte;

#endif
