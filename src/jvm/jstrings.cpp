#include "jstrings.h"

#include <cstring>

static const char* const stringClassName = "java/lang/String";

// The String(byte[]) constructor applied to the bytes of text.
static jstring stringFromBytes(JNIEnv* env, jclass stringClass, const char* text) {
    jsize length = static_cast<jsize>(strlen(text));
    jmethodID constructor = env->GetMethodID(stringClass, "<init>", "([B)V");
    if (!constructor) return nullptr;
    jbyteArray bytes = env->NewByteArray(length);
    if (!bytes) return nullptr;
    env->SetByteArrayRegion(bytes, 0, length, reinterpret_cast<const jbyte*>(text));
    jstring result = nullptr;
    jthrowable pending = env->ExceptionOccurred();
    if (pending) env->DeleteLocalRef(pending);
    else result = static_cast<jstring>(env->NewObject(stringClass, constructor, bytes));
    env->DeleteLocalRef(bytes);
    return result;
}

// The class reference goes back at once: a list of several hundred
// arguments would otherwise hold one reference each, far beyond the local
// references that JNI guarantees.
jstring newPlatformString(JNIEnv* env, const char* text) {
    jclass stringClass = env->FindClass(stringClassName);
    if (!stringClass) return nullptr;
    jstring result = stringFromBytes(env, stringClass, text);
    env->DeleteLocalRef(stringClass);
    return result;
}

jobjectArray newPlatformStringArray(JNIEnv* env, const char* const* strings, int count) {
    jclass stringClass = env->FindClass(stringClassName);
    if (!stringClass) return nullptr;
    jobjectArray array = env->NewObjectArray(count, stringClass, nullptr);
    if (!array) return nullptr;
    for (int i = 0; i < count; ++i) {
        jstring text = newPlatformString(env, strings[i]);
        if (!text) return nullptr;
        env->SetObjectArrayElement(array, i, text);
        env->DeleteLocalRef(text);
    }
    return array;
}
