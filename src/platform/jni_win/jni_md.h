/* Machine-dependent JNI types for the Windows builds (i686 and x86_64).
 * The Win32 Invocation API and JNI use the stdcall convention; on x86_64
 * there is only one convention and __stdcall is ignored by the compiler. */
#ifndef LAUNCHER_JNI_MD_H
#define LAUNCHER_JNI_MD_H

#define JNIEXPORT __declspec(dllexport)
#define JNIIMPORT __declspec(dllimport)
#define JNICALL __stdcall

typedef long jint;       /* 32 bits on both Windows targets (LLP64) */
typedef __int64 jlong;
typedef signed char jbyte;

#endif
