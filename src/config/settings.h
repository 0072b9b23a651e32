// The launch settings and the handlers of the configuration keys.
#pragma once

extern const char* configFileName;  // "Vintral.cfg"
extern const char* mainClassName;   // "TestClass"
extern const char* requiredVersion; // "1.3"
extern const char* logFileName;     // "launcher.log"

// The -f option of the command line.
void setConfigFile(const char* value);

// One handler per configuration key; each acts at once.
void setMainClass(const char* value);    // mainclass
void addClassPath(const char* value);    // classpath
void setLogFile(const char* value);      // logfilename
void addVMArg(const char* value);        // vmargs
void addVMArgNative(const char* value);  // vmargsnative
void setRequiredVM(const char* value);   // requiredVM
void addAppArgs(const char* value);      // appargs
