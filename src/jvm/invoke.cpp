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

// The system's code for the failure of the load or of a look-up.
static uint32_t loadError;
// The launch's path buffers: the runtime's home fits one of them.
static const size_t launchPathSize = 260;

// A runtime's jvm.dll needs the libraries of the runtime's bin folder (its
// C runtime above all), where Windows does not look for them unless the
// launcher lies there. That folder takes part in this one load only: what
// the application loads later is looked for where it always was.
static LibHandle loadWithRuntimeLibraries(const char* jvmPath, const char* runtimeHome) {
    char binFolder[launchPathSize + sizeof "\\bin"];
    bool added = formatPath(binFolder, sizeof binFolder, "%s\\bin", runtimeHome) &&
                 addLibraryDirectory(binFolder);
    LibHandle library = loadLibrary(jvmPath);
    if (!library) loadError = lastErrorCode();
    if (added) removeLibraryDirectory();
    return library;
}

static void* findEntryPoint(const char* name) {
    void* entry = findSymbol(jvmLibrary, name);
    if (!entry) loadError = lastErrorCode();
    return entry;
}

// Both entry points, or neither: a library without them is no JVM library.
static bool loadJVMLibrary(const char* jvmPath, const char* runtimeHome) {
    jvmLibrary = loadWithRuntimeLibraries(jvmPath, runtimeHome);
    if (!jvmLibrary) return false;
    getDefaultArgs =
        reinterpret_cast<GetDefaultArgsEntry>(findEntryPoint("JNI_GetDefaultJavaVMInitArgs"));
    if (!getDefaultArgs) return false;
    createVM = reinterpret_cast<CreateVMEntry>(findEntryPoint("JNI_CreateJavaVM"));
    return createVM != nullptr;
}

// The system's text in one line: a line end inside it becomes a space.
static void joinLines(char* text) {
    char* to = text;
    for (const char* from = text; *from; ++from) {
        if (*from == '\r') continue;
        *to++ = *from == '\n' ? ' ' : *from;
    }
    *to = '\0';
}

// Why the library did not load, in the system's words when it has some
// (a 64-bit runtime for the 32-bit launcher gives error 193).
static void writeLoadFailure(const char* jvmPath) {
    writeErr("Error loading: %s\n", jvmPath);
    char reason[512];
    unsigned code = static_cast<unsigned>(loadError);
    if (describeError(loadError, reason, sizeof reason)) {
        joinLines(reason);
        writeErr("Reason: error %u: %s\n", code, reason);
    } else {
        writeErr("Reason: error %u\n", code);
    }
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

Outcome runJavaMain(const char* jvmPath, const char* runtimeHome) {
    if (!loadJVMLibrary(jvmPath, runtimeHome)) {
        writeLoadFailure(jvmPath);
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
