#include "invoke.h"

#include "jstrings.h"
#include "config/settings.h"
#include "launcher/lists.h"
#include "launcher/util.h"

#include <cstring>
#include <type_traits>

LibHandle jvmLibrary = nullptr;
JavaVMInitArgs vmInitArgs;
JavaVM* javaVM = nullptr;
JNIEnv* jniEnv = nullptr;

// The entry points keep the types that jni.h declares for them, calling
// convention included.
typedef decltype(&JNI_GetDefaultJavaVMInitArgs) GetDefaultArgsEntry;
typedef decltype(&JNI_CreateJavaVM) CreateVMEntry;

#if defined(__i386__) && defined(_WIN32)
// The Win32 Invocation API and JNI are stdcall; a cdecl call would leave
// the stack unbalanced after every call.
static_assert(std::is_same_v<GetDefaultArgsEntry, jint(__stdcall*)(void*)>);
static_assert(std::is_same_v<CreateVMEntry, jint(__stdcall*)(JavaVM**, void**, void*)>);
static_assert(std::is_same_v<decltype(JNINativeInterface_::FindClass),
                             jclass(__stdcall*)(JNIEnv*, const char*)>);
static_assert(std::is_same_v<decltype(JNIInvokeInterface_::DestroyJavaVM),
                             jint(__stdcall*)(JavaVM*)>);
#endif

static GetDefaultArgsEntry getDefaultArgs;
static CreateVMEntry createVM;

// The virtual machine writes to the same streams through descriptors of its
// own, so every line of ours goes out before control passes to it.
static void progress(const char* line) {
    writeOut("%s", line);
    flushOutput();
}

// Both entry points, or neither: a library without them is no JVM library.
static bool loadJVMLibrary(const char* jvmPath) {
    jvmLibrary = loadLibrary(jvmPath);
    if (!jvmLibrary) return false;
    getDefaultArgs = reinterpret_cast<GetDefaultArgsEntry>(
        findSymbol(jvmLibrary, "JNI_GetDefaultJavaVMInitArgs"));
    createVM = reinterpret_cast<CreateVMEntry>(findSymbol(jvmLibrary, "JNI_CreateJavaVM"));
    return getDefaultArgs && createVM;
}

static jint createJavaVM() {
    memset(&vmInitArgs, 0, sizeof vmInitArgs);
    vmInitArgs.options = vmOptions;
    vmInitArgs.version = JNI_VERSION_1_2;
    vmInitArgs.nOptions = vmOptionCount;
    vmInitArgs.ignoreUnrecognized = JNI_TRUE;

    progress("JNI_GetDefaultJavaVMInitArgs from DLL\n");
    getDefaultArgs(&vmInitArgs);
    progress("JNI_CreateJavaVM from DLL\n");
    jint result = createVM(&javaVM, reinterpret_cast<void**>(&jniEnv), &vmInitArgs);
    releaseOptionArray();
    return result;
}

// The virtual machine prints the pending exception itself, on its error
// stream, after everything of ours.
static void describeException() {
    flushOutput();
    jniEnv->ExceptionDescribe();
}

// The pending exception, or else our own line.
static void describeFailure(const char* fallback) {
    if (jniEnv->ExceptionOccurred()) describeException();
    else writeErr("%s", fallback);
}

static bool mainThrew() {
    if (!jniEnv->ExceptionOccurred()) return false;
    describeException();
    return true;
}

Outcome runJavaMain(const char* jvmPath) {
    if (!loadJVMLibrary(jvmPath)) {
        writeErr("Error loading: %s\n", jvmPath);
        return {1, 1};
    }
    if (createJavaVM() != JNI_OK) return {3, 1};

    progress("FindClass\n");
    jclass mainClass = findMainClass(jniEnv, mainClassName);
    if (!mainClass) {
        describeFailure("Can't find startup class!\n");
        return {4, 1};
    }
    progress("GetStaticMethodID\n");
    jmethodID mainMethod = jniEnv->GetStaticMethodID(mainClass, "main", "([Ljava/lang/String;)V");
    if (!mainMethod) {
        describeFailure("Can't find startup method!\n");
        return {5, 1};
    }

    jobjectArray arguments = newPlatformStringArray(jniEnv, appArgs, appArgCount);
    releaseAppArgArray();
    if (!arguments) {
        describeException();
        return {8, 1};
    }

    writeOut("CallStaticVoidMethod <%s> with %u arg(s)\n\n", "main",
             static_cast<unsigned>(appArgCount));
    progress("===========================================\n\n");
    jniEnv->CallStaticVoidMethod(mainClass, mainMethod, arguments);
    Outcome outcome = {0, 0};
    if (mainThrew()) outcome = {9, 1};
    javaVM->DestroyJavaVM();
    return outcome;
}

jclass findMainClass(JNIEnv* env, const char* className) {
    size_t size = strlen(className) + 1;
    char* slashed = static_cast<char*>(allocate(size));
    if (!slashed) outOfMemory();
    for (size_t i = 0; i < size; ++i) slashed[i] = className[i] == '.' ? '/' : className[i];
    writeOut("Searching for class <%s>\n", slashed);
    flushOutput();
    jclass found = env->FindClass(slashed);
    release(slashed);
    return found;
}
