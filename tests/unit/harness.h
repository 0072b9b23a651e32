// Test harness: whole launches against the fake platform, each in a child
// process of its own so that the launcher's process-wide state, its
// streams and its exit start fresh every time.
#pragma once

#include "platform/fake.h"

#include <string>
#include <vector>

struct LaunchRun {
    int status = -1; // exit status, or -1 when the child did not exit normally
    std::string out;
    std::string err;
    std::vector<fake::MessageBoxRecord> boxes;
    std::vector<fake::CallRecord> calls;
    int keysOpened = 0;
    int keysClosed = 0;
    std::vector<std::string> openKeys;
};

// A fresh temporary directory, removed when the object goes.
struct TempDir {
    TempDir();
    ~TempDir();
    std::string path;
    std::string file(const std::string& name) const { return path + "/" + name; }
    void write(const std::string& name, const std::string& content) const;
    std::string read(const std::string& name) const;
};

// Runs launch(argv) in a child whose working directory is dir, with the
// current fake::state as the platform's script. argv[0] is the
// launcher's path as Windows gives it.
LaunchRun runLaunch(const std::string& dir, const std::vector<std::string>& argv);

// Runs body in a child process with fresh launcher state; its standard
// output and standard error are captured. status is body's exit status
// (the child exits 0 after body returns).
LaunchRun runInChild(const std::string& dir, void (*body)(void*), void* context);

std::string readFile(const std::string& path);
