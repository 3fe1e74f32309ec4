/* Machine-dependent JNI types for 64-bit Windows, used with the JDK's own
 * jni.h in the cross build (the Debian JDK ships only the Linux jni_md.h,
 * whose jlong is `long`: 32 bits on Windows). */
#ifndef _JAVASOFT_JNI_MD_H_
#define _JAVASOFT_JNI_MD_H_

#define JNIEXPORT __declspec(dllexport)
#define JNIIMPORT __declspec(dllimport)
#define JNICALL

typedef int jint;
typedef long long jlong;
typedef signed char jbyte;

#endif /* !_JAVASOFT_JNI_MD_H_ */
