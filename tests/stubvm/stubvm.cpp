// A stand-in for a Java virtual machine library, for the tests.
//
// It exports the two Invocation API entry points and answers the JNI
// functions that the launcher calls, checks what it is given as strictly as
// it can (live references of the right kind, no call with an exception
// pending), and records what it received as "stubvm: ..." lines. Every
// other JNI slot stops the process loudly.
//
// Like a real virtual machine it writes through the file descriptors, not
// through the C library's buffered streams, so a launcher that does not
// flush before handing over control shows its lines out of order.
//
// Behaviour, chosen by the launcher's configuration:
//   main class whose simple name starts with "Missing": FindClass fails
//   main class whose simple name starts with "NoMain":  GetStaticMethodID fails
//   main class whose simple name starts with "Throws":  main throws
//   any other main class: main records its arguments and returns
//   -Dstubvm.create=fail    JNI_CreateJavaVM refuses (JNI_ERR)
//   -Dstubvm.fail=NAME:N    the Nth call (from 1) of JNI function NAME fails
//   -Dstubvm.quiet=1        those failures leave no exception pending
//   -Dstubvm.wait=MS        main waits MS milliseconds before it returns
//   -Dstubvm.trace=1        every JNI call is recorded
//   -Dstubvm.record=PATH    the records are appended to PATH, not stdout
// Built with STUBVM_WITHOUT_CREATE it lacks JNI_CreateJavaVM: a library that
// no launcher may take for a virtual machine. Built with STUBVM_DEPENDENCY
// (Windows only) it imports stubdep.dll, and loads only where the loader
// finds that library; it then records "stubvm: uses stubdep.dll" first.
#define _JNI_IMPLEMENTATION_
#include <jni.h>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <time.h>
#include <unistd.h>
#endif

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

struct _jmethodID {
    const char* name;
};

namespace {

// ---- Output -----------------------------------------------------------------

int recordDescriptor = 1;
// -Dstubvm.handles=1: write as a real Windows VM does, through the process's
// standard handles rather than through the C runtime it shares with the
// launcher here.
bool throughHandles;

void writeRaw(int descriptor, const char* text, size_t length) {
#ifdef _WIN32
    if (throughHandles && (descriptor == 1 || descriptor == 2)) {
        HANDLE handle = GetStdHandle(descriptor == 1 ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
        DWORD written = 0;
        WriteFile(handle, text, static_cast<DWORD>(length), &written, nullptr);
        return;
    }
    _write(descriptor, text, static_cast<unsigned>(length));
#else
    while (length > 0) {
        ssize_t n = write(descriptor, text, length);
        if (n <= 0) return;
        text += n;
        length -= static_cast<size_t>(n);
    }
#endif
}

// "stubvm: " + the formatted text + "\n", written in one piece.
void emit(int descriptor, const char* prefix, const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    int length = vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length < 0) return;
    size_t prefixLength = strlen(prefix);
    size_t size = prefixLength + static_cast<size_t>(length) + 2;
    char* line = static_cast<char*>(malloc(size));
    if (!line) return;
    memcpy(line, prefix, prefixLength);
    vsnprintf(line + prefixLength, size - prefixLength, format, args);
    line[size - 2] = '\n';
    writeRaw(descriptor, line, size - 1);
    free(line);
}

__attribute__((format(printf, 1, 2))) void record(const char* format, ...) {
    va_list args;
    va_start(args, format);
    emit(recordDescriptor, "stubvm: ", format, args);
    va_end(args);
}

__attribute__((format(printf, 1, 2), noreturn)) void fatal(const char* format, ...) {
    va_list args;
    va_start(args, format);
    emit(2, "stubvm: FATAL: ", format, args);
    va_end(args);
    abort();
}

void sleepMilliseconds(int milliseconds) {
#ifdef _WIN32
    Sleep(static_cast<DWORD>(milliseconds));
#else
    struct timespec delay = {milliseconds / 1000, (milliseconds % 1000) * 1000000L};
    nanosleep(&delay, nullptr);
#endif
}

// ---- Settings from the -Dstubvm.* options -----------------------------------

struct Settings {
    bool refuseCreation;
    bool quiet;
    bool trace;
    int waitMilliseconds;
    bool interleave; // main writes to its standard output and error in turns
    char failFunction[64];
    int failAtCall;
};
Settings settings;
int failCallsSeen;

const char* optionValue(const char* option, const char* name) {
    size_t length = strlen(name);
    if (strncmp(option, "-Dstubvm.", 9) != 0) return nullptr;
    if (strncmp(option + 9, name, length) != 0 || option[9 + length] != '=') return nullptr;
    return option + 9 + length + 1;
}

void openRecordFile(const char* path) {
#ifdef _WIN32
    int descriptor = _open(path, _O_WRONLY | _O_CREAT | _O_APPEND | _O_BINARY, 0644);
#else
    int descriptor = open(path, O_WRONLY | O_CREAT | O_APPEND, 0644);
#endif
    if (descriptor < 0) fatal("cannot open the record file %s", path);
    recordDescriptor = descriptor;
}

void readSetting(const char* option) {
    const char* value;
    if ((value = optionValue(option, "create"))) settings.refuseCreation = strcmp(value, "fail") == 0;
    if ((value = optionValue(option, "quiet"))) settings.quiet = strcmp(value, "1") == 0;
    if ((value = optionValue(option, "trace"))) settings.trace = strcmp(value, "1") == 0;
    if ((value = optionValue(option, "wait"))) settings.waitMilliseconds = atoi(value);
    if ((value = optionValue(option, "handles"))) throughHandles = strcmp(value, "1") == 0;
    if ((value = optionValue(option, "interleave"))) settings.interleave = strcmp(value, "1") == 0;
    if ((value = optionValue(option, "record")) && recordDescriptor == 1) openRecordFile(value);
    if ((value = optionValue(option, "fail"))) {
        const char* colon = strchr(value, ':');
        size_t length = colon ? static_cast<size_t>(colon - value) : 0;
        if (!colon || length >= sizeof settings.failFunction) fatal("bad option %s", option);
        memcpy(settings.failFunction, value, length);
        settings.failFunction[length] = '\0';
        settings.failAtCall = atoi(colon + 1);
    }
}

void readSettings(const JavaVMInitArgs* args) {
    memset(&settings, 0, sizeof settings);
    failCallsSeen = 0;
    throughHandles = false;
    for (jint i = 0; i < args->nOptions; ++i)
        if (args->options[i].optionString) readSetting(args->options[i].optionString);
}

// True for the one call that -Dstubvm.fail picks out.
bool failsNow(const char* function) {
    if (strcmp(function, settings.failFunction) != 0) return false;
    return ++failCallsSeen == settings.failAtCall;
}

// ---- Objects and local references --------------------------------------------

enum Kind { kindClass, kindBytes, kindString, kindArray, kindThrowable };
const char* const kindNames[] = {"class", "bytes", "string", "array", "throwable"};

struct Object {
    Kind kind;
    char* text; // class name, bytes, string bytes or the exception's description
    jsize length;
    Object** elements;
};

struct Reference {
    Object* object;
    bool live;
};

const int objectLimit = 8192;
const int referenceLimit = 16384;
Object objects[objectLimit];
int objectCount;
Reference references[referenceLimit];
int referenceCount;
int liveReferences;
int peakReferences;
Object* pendingException;

Object* newObject(Kind kind, const char* bytes, jsize length) {
    if (objectCount == objectLimit) fatal("more than %d objects", objectLimit);
    Object* object = &objects[objectCount++];
    object->kind = kind;
    object->length = length;
    object->text = static_cast<char*>(calloc(static_cast<size_t>(length) + 1, 1));
    if (!object->text) fatal("out of memory");
    if (bytes) memcpy(object->text, bytes, static_cast<size_t>(length));
    object->elements = nullptr;
    return object;
}

Object* newTextObject(Kind kind, const char* text) {
    return newObject(kind, text, static_cast<jsize>(strlen(text)));
}

jobject newReference(Object* object) {
    if (referenceCount == referenceLimit) fatal("more than %d references", referenceLimit);
    Reference* reference = &references[referenceCount++];
    reference->object = object;
    reference->live = true;
    if (++liveReferences > peakReferences) peakReferences = liveReferences;
    return reinterpret_cast<jobject>(reference);
}

Reference* referenceOf(jobject handle, const char* function) {
    Reference* reference = reinterpret_cast<Reference*>(handle);
    if (reference < references || reference >= references + referenceCount)
        fatal("%s: %p is no reference", function, static_cast<void*>(handle));
    if (!reference->live) fatal("%s: reference %p was deleted", function, static_cast<void*>(handle));
    return reference;
}

Object* objectOf(jobject handle, Kind kind, const char* function) {
    if (!handle) fatal("%s: null where a %s was expected", function, kindNames[kind]);
    Object* object = referenceOf(handle, function)->object;
    if (object->kind != kind)
        fatal("%s: a %s where a %s was expected", function, kindNames[object->kind], kindNames[kind]);
    return object;
}

// Classes are made once per name; each lookup gives a new reference.
Object* classes[64];
int classCount;

Object* classNamed(const char* name) {
    for (int i = 0; i < classCount; ++i)
        if (strcmp(classes[i]->text, name) == 0) return classes[i];
    if (classCount == 64) fatal("more than 64 classes");
    return classes[classCount++] = newTextObject(kindClass, name);
}

const char* simpleName(const char* className) {
    const char* slash = strrchr(className, '/');
    return slash ? slash + 1 : className;
}

bool startsWith(const char* text, const char* prefix) {
    return strncmp(text, prefix, strlen(prefix)) == 0;
}

// ---- Exceptions --------------------------------------------------------------------

void raise(const char* exceptionClass, const char* message) {
    size_t size = strlen(exceptionClass) + strlen(message) + 3;
    char* text = static_cast<char*>(malloc(size));
    if (!text) fatal("out of memory");
    snprintf(text, size, "%s: %s", exceptionClass, message);
    pendingException = newTextObject(kindThrowable, text);
    free(text);
}

// A failure as -Dstubvm.quiet wants it: with or without an exception.
void failWith(const char* exceptionClass, const char* message) {
    if (!settings.quiet) raise(exceptionClass, message);
}

// What -Xcheck:jni complains about, recorded so that tests can look for it.
void checkNoPending(const char* function) {
    if (pendingException) record("WARNING: %s called with an exception pending", function);
}

// ---- The JNIEnv functions that the launcher calls -----------------------------------

JNINativeInterface_ nativeFunctions;
JNIEnv_ environment;
JNIInvokeInterface_ invokeFunctions;
JavaVM_ machine;
bool created;

_jmethodID stringConstructor = {"<init>"};
_jmethodID mainMethod = {"main"};

void enter(JNIEnv* env, const char* function) {
    if (env != &environment) fatal("%s: a JNIEnv that this VM did not give", function);
}

void trace(const char* function, const char* detail) {
    if (!settings.trace) return;
    if (*detail) record("call %s %s", function, detail);
    else record("call %s", function);
}

jclass JNICALL stubFindClass(JNIEnv* env, const char* name) {
    enter(env, "FindClass");
    trace("FindClass", name);
    checkNoPending("FindClass");
    if (failsNow("FindClass")) {
        failWith("java.lang.OutOfMemoryError", "FindClass failed as asked");
        return nullptr;
    }
    if (strchr(name, '.') || startsWith(simpleName(name), "Missing")) {
        failWith("java.lang.NoClassDefFoundError", name);
        return nullptr;
    }
    return static_cast<jclass>(newReference(classNamed(name)));
}

jmethodID JNICALL stubGetMethodID(JNIEnv* env, jclass clazz, const char* name, const char* sig) {
    enter(env, "GetMethodID");
    Object* object = objectOf(clazz, kindClass, "GetMethodID");
    trace("GetMethodID", name);
    checkNoPending("GetMethodID");
    if (failsNow("GetMethodID")) {
        failWith("java.lang.OutOfMemoryError", "GetMethodID failed as asked");
        return nullptr;
    }
    if (strcmp(object->text, "java/lang/String") != 0 || strcmp(name, "<init>") != 0 ||
        strcmp(sig, "([B)V") != 0) {
        failWith("java.lang.NoSuchMethodError", name);
        return nullptr;
    }
    return &stringConstructor;
}

jmethodID JNICALL stubGetStaticMethodID(JNIEnv* env, jclass clazz, const char* name,
                                        const char* sig) {
    enter(env, "GetStaticMethodID");
    Object* object = objectOf(clazz, kindClass, "GetStaticMethodID");
    trace("GetStaticMethodID", name);
    checkNoPending("GetStaticMethodID");
    if (failsNow("GetStaticMethodID")) {
        failWith("java.lang.OutOfMemoryError", "GetStaticMethodID failed as asked");
        return nullptr;
    }
    if (startsWith(simpleName(object->text), "NoMain") || strcmp(name, "main") != 0 ||
        strcmp(sig, "([Ljava/lang/String;)V") != 0) {
        failWith("java.lang.NoSuchMethodError", name);
        return nullptr;
    }
    return &mainMethod;
}

jbyteArray JNICALL stubNewByteArray(JNIEnv* env, jsize length) {
    enter(env, "NewByteArray");
    char detail[32];
    snprintf(detail, sizeof detail, "%d", static_cast<int>(length));
    trace("NewByteArray", detail);
    checkNoPending("NewByteArray");
    if (failsNow("NewByteArray")) {
        failWith("java.lang.OutOfMemoryError", "NewByteArray failed as asked");
        return nullptr;
    }
    if (length < 0) {
        raise("java.lang.NegativeArraySizeException", detail);
        return nullptr;
    }
    return static_cast<jbyteArray>(newReference(newObject(kindBytes, nullptr, length)));
}

void JNICALL stubSetByteArrayRegion(JNIEnv* env, jbyteArray array, jsize start, jsize length,
                                    const jbyte* bytes) {
    enter(env, "SetByteArrayRegion");
    Object* object = objectOf(array, kindBytes, "SetByteArrayRegion");
    trace("SetByteArrayRegion", "");
    checkNoPending("SetByteArrayRegion");
    if (failsNow("SetByteArrayRegion") || start < 0 || length < 0 ||
        start > object->length - length) {
        raise("java.lang.ArrayIndexOutOfBoundsException", "SetByteArrayRegion");
        return;
    }
    memcpy(object->text + start, bytes, static_cast<size_t>(length));
}

jthrowable JNICALL stubExceptionOccurred(JNIEnv* env) {
    enter(env, "ExceptionOccurred");
    trace("ExceptionOccurred", pendingException ? "pending" : "none");
    return pendingException ? static_cast<jthrowable>(newReference(pendingException)) : nullptr;
}

void JNICALL stubExceptionDescribe(JNIEnv* env) {
    enter(env, "ExceptionDescribe");
    trace("ExceptionDescribe", pendingException ? "pending" : "none");
    if (!pendingException) return;
    const char* head = "Exception in thread \"main\" ";
    const char* tail = "\n\tat stubvm.StandIn.call(StandIn.java)\n";
    writeRaw(2, head, strlen(head));
    writeRaw(2, pendingException->text, strlen(pendingException->text));
    writeRaw(2, tail, strlen(tail));
    pendingException = nullptr;
}

// The C++ form of jni.h calls the V variants; both are answered.
jobject JNICALL stubNewObjectV(JNIEnv* env, jclass clazz, jmethodID method, va_list args) {
    enter(env, "NewObject");
    Object* object = objectOf(clazz, kindClass, "NewObject");
    trace("NewObject", object->text);
    checkNoPending("NewObject");
    if (method != &stringConstructor || strcmp(object->text, "java/lang/String") != 0)
        fatal("NewObject: only String(byte[]) is known here");
    Object* bytes = objectOf(va_arg(args, jbyteArray), kindBytes, "NewObject");
    if (failsNow("NewObject")) {
        failWith("java.lang.OutOfMemoryError", "NewObject failed as asked");
        return nullptr;
    }
    return newReference(newObject(kindString, bytes->text, bytes->length));
}

jobject JNICALL stubNewObject(JNIEnv* env, jclass clazz, jmethodID method, ...) {
    va_list args;
    va_start(args, method);
    jobject result = stubNewObjectV(env, clazz, method, args);
    va_end(args);
    return result;
}

void JNICALL stubDeleteLocalRef(JNIEnv* env, jobject handle) {
    enter(env, "DeleteLocalRef");
    if (!handle) return;
    Reference* reference = referenceOf(handle, "DeleteLocalRef");
    char detail[300];
    snprintf(detail, sizeof detail, "%s%s%.256s", kindNames[reference->object->kind],
             reference->object->kind == kindClass ? " " : "",
             reference->object->kind == kindClass ? reference->object->text : "");
    trace("DeleteLocalRef", detail);
    reference->live = false;
    --liveReferences;
}

jobjectArray JNICALL stubNewObjectArray(JNIEnv* env, jsize length, jclass elementClass,
                                        jobject initial) {
    enter(env, "NewObjectArray");
    Object* element = objectOf(elementClass, kindClass, "NewObjectArray");
    trace("NewObjectArray", element->text);
    checkNoPending("NewObjectArray");
    if (initial) fatal("NewObjectArray: only null as the initial element is known here");
    if (failsNow("NewObjectArray")) {
        failWith("java.lang.OutOfMemoryError", "NewObjectArray failed as asked");
        return nullptr;
    }
    if (length < 0) {
        raise("java.lang.NegativeArraySizeException", "NewObjectArray");
        return nullptr;
    }
    Object* array = newObject(kindArray, element->text, static_cast<jsize>(strlen(element->text)));
    array->length = length;
    array->elements = static_cast<Object**>(calloc(static_cast<size_t>(length) + 1, sizeof(Object*)));
    if (!array->elements) fatal("out of memory");
    return static_cast<jobjectArray>(newReference(array));
}

void JNICALL stubSetObjectArrayElement(JNIEnv* env, jobjectArray array, jsize index,
                                       jobject value) {
    enter(env, "SetObjectArrayElement");
    Object* object = objectOf(array, kindArray, "SetObjectArrayElement");
    trace("SetObjectArrayElement", "");
    checkNoPending("SetObjectArrayElement");
    if (index < 0 || index >= object->length) {
        raise("java.lang.ArrayIndexOutOfBoundsException", "SetObjectArrayElement");
        return;
    }
    object->elements[index] = value ? objectOf(value, kindString, "SetObjectArrayElement") : nullptr;
}

// The Java main: records its class and arguments, then acts as its name says.
void JNICALL stubCallStaticVoidMethodV(JNIEnv* env, jclass clazz, jmethodID method, va_list args) {
    enter(env, "CallStaticVoidMethod");
    Object* object = objectOf(clazz, kindClass, "CallStaticVoidMethod");
    trace("CallStaticVoidMethod", object->text);
    checkNoPending("CallStaticVoidMethod");
    if (method != &mainMethod) fatal("CallStaticVoidMethod: only main is known here");
    Object* array = objectOf(va_arg(args, jobjectArray), kindArray, "CallStaticVoidMethod");
    if (strcmp(array->text, "java/lang/String") != 0) fatal("main: not a String[]");
    record("main %s with %d arg(s)", object->text, static_cast<int>(array->length));
    for (jsize i = 0; i < array->length; ++i) {
        if (array->elements[i]) record("arg %d <%s>", static_cast<int>(i), array->elements[i]->text);
        else record("arg %d null", static_cast<int>(i));
    }
    if (settings.interleave) {
        for (int i = 1; i <= 3; ++i) {
            char line[64];
            int n = snprintf(line, sizeof line, "main out %d\n", i);
            writeRaw(1, line, static_cast<size_t>(n));
            n = snprintf(line, sizeof line, "main err %d\n", i);
            writeRaw(2, line, static_cast<size_t>(n));
        }
    }
    if (settings.waitMilliseconds > 0) {
        sleepMilliseconds(settings.waitMilliseconds);
        record("main waited %d ms", settings.waitMilliseconds);
    }
    if (startsWith(simpleName(object->text), "Throws"))
        raise("java.lang.IllegalStateException", "thrown by main");
    else if (failsNow("CallStaticVoidMethod"))
        raise("java.lang.OutOfMemoryError", "CallStaticVoidMethod failed as asked");
}

void JNICALL stubCallStaticVoidMethod(JNIEnv* env, jclass clazz, jmethodID method, ...) {
    va_list args;
    va_start(args, method);
    stubCallStaticVoidMethodV(env, clazz, method, args);
    va_end(args);
}

jint JNICALL stubDestroyJavaVM(JavaVM* vm) {
    if (vm != &machine) fatal("DestroyJavaVM: a JavaVM that this library did not give");
    record("DestroyJavaVM, at most %d local references were live", peakReferences);
    created = false;
    return JNI_OK;
}

// ---- Every other slot stops the process ------------------------------------------

template <int slot> void JNICALL unimplemented() {
    fatal("JNI function slot %d is not implemented by this stand-in", slot);
}

template <int slot> void JNICALL unimplementedInvoke() {
    fatal("JavaVM function slot %d is not implemented by this stand-in", slot);
}

template <typename Table, int... slots>
void fillWithTraps(Table* table, void (JNICALL* const* traps)(), std::integer_sequence<int, slots...>) {
    char* bytes = reinterpret_cast<char*>(table);
    ((memcpy(bytes + slots * sizeof traps[slots], &traps[slots], sizeof traps[slots])), ...);
}

template <int... slots> void trapNative(std::integer_sequence<int, slots...> sequence) {
    static void (JNICALL* const traps[])() = {&unimplemented<slots>...};
    fillWithTraps(&nativeFunctions, traps, sequence);
}

template <int... slots> void trapInvoke(std::integer_sequence<int, slots...> sequence) {
    static void (JNICALL* const traps[])() = {&unimplementedInvoke<slots>...};
    fillWithTraps(&invokeFunctions, traps, sequence);
}

[[maybe_unused]] void buildTables() {
    trapNative(std::make_integer_sequence<int, sizeof(JNINativeInterface_) / sizeof(void*)>());
    trapInvoke(std::make_integer_sequence<int, sizeof(JNIInvokeInterface_) / sizeof(void*)>());
    nativeFunctions.FindClass = stubFindClass;
    nativeFunctions.GetMethodID = stubGetMethodID;
    nativeFunctions.GetStaticMethodID = stubGetStaticMethodID;
    nativeFunctions.NewByteArray = stubNewByteArray;
    nativeFunctions.SetByteArrayRegion = stubSetByteArrayRegion;
    nativeFunctions.ExceptionOccurred = stubExceptionOccurred;
    nativeFunctions.ExceptionDescribe = stubExceptionDescribe;
    nativeFunctions.NewObject = stubNewObject;
    nativeFunctions.NewObjectV = stubNewObjectV;
    nativeFunctions.DeleteLocalRef = stubDeleteLocalRef;
    nativeFunctions.NewObjectArray = stubNewObjectArray;
    nativeFunctions.SetObjectArrayElement = stubSetObjectArrayElement;
    nativeFunctions.CallStaticVoidMethod = stubCallStaticVoidMethod;
    nativeFunctions.CallStaticVoidMethodV = stubCallStaticVoidMethodV;
    invokeFunctions.DestroyJavaVM = stubDestroyJavaVM;
    environment.functions = &nativeFunctions;
    machine.functions = &invokeFunctions;
}

} // namespace

// ---- The Invocation API -----------------------------------------------------------------

extern "C" {

#ifdef STUBVM_DEPENDENCY
__declspec(dllimport) const char* stubdepName();
#endif

JNIEXPORT jint JNICALL JNI_GetDefaultJavaVMInitArgs(void* args) {
    JavaVMInitArgs* initArgs = static_cast<JavaVMInitArgs*>(args);
    readSettings(initArgs);
#ifdef STUBVM_DEPENDENCY
    record("uses %s", stubdepName());
#endif
    record("JNI_GetDefaultJavaVMInitArgs version 0x%x", static_cast<unsigned>(initArgs->version));
    return initArgs->version >= JNI_VERSION_1_2 ? JNI_OK : JNI_EVERSION;
}

#ifndef STUBVM_WITHOUT_CREATE
JNIEXPORT jint JNICALL JNI_CreateJavaVM(JavaVM** vm, void** env, void* args) {
    JavaVMInitArgs* initArgs = static_cast<JavaVMInitArgs*>(args);
    readSettings(initArgs);
    record("JNI_CreateJavaVM version 0x%x, %d option(s), ignoreUnrecognized %d",
           static_cast<unsigned>(initArgs->version), static_cast<int>(initArgs->nOptions),
           static_cast<int>(initArgs->ignoreUnrecognized));
    for (jint i = 0; i < initArgs->nOptions; ++i)
        record("option %d <%s>", static_cast<int>(i), initArgs->options[i].optionString);
    if (created) return JNI_EEXIST;
    if (settings.refuseCreation) {
        const char* line = "Error: the stand-in VM was told not to start.\n";
        writeRaw(2, line, strlen(line));
        return JNI_ERR;
    }
    buildTables();
    created = true;
    *vm = &machine;
    *env = &environment;
    return JNI_OK;
}
#endif

} // extern "C"
