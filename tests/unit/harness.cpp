#include "harness.h"

#include "launcher/launch.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TempDir::TempDir() {
    char pattern[] = "/tmp/launcher-test-XXXXXX";
    path = mkdtemp(pattern);
}

TempDir::~TempDir() {
    std::string command = "rm -rf '" + path + "'";
    if (system(command.c_str()) != 0) perror("rm");
}

void TempDir::write(const std::string& name, const std::string& content) const {
    std::ofstream out(file(name), std::ios::binary);
    out << content;
}

std::string TempDir::read(const std::string& name) const { return readFile(file(name)); }

namespace {

// Records of the child's fake platform, one field per line, escaped.
std::string escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\') out += "\\\\";
        else if (c == '\n') out += "\\n";
        else out += c;
    }
    return out;
}

std::string unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            ++i;
            out += text[i] == 'n' ? '\n' : text[i];
        } else {
            out += text[i];
        }
    }
    return out;
}

void saveRecords(const std::string& path) {
    FILE* f = fopen(path.c_str(), "w");
    if (!f) return;
    const fake::State& s = fake::state;
    fprintf(f, "keys %d %d\n", s.keysOpened, s.keysClosed);
    for (const auto& key : s.openKeys) fprintf(f, "open %s\n", escape(key).c_str());
    for (const auto& box : s.messageBoxes)
        fprintf(f, "box %u %s\n%s\n", box.style, escape(box.caption).c_str(),
                escape(box.text).c_str());
    for (const auto& call : s.calls)
        fprintf(f, "call %d %s\n", static_cast<int>(call.call), escape(call.detail).c_str());
    fclose(f);
}

void loadRecords(const std::string& path, LaunchRun* run) {
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("keys ", 0) == 0) {
            sscanf(line.c_str(), "keys %d %d", &run->keysOpened, &run->keysClosed);
        } else if (line.rfind("open ", 0) == 0) {
            run->openKeys.push_back(unescape(line.substr(5)));
        } else if (line.rfind("box ", 0) == 0) {
            fake::MessageBoxRecord box;
            size_t space = line.find(' ', 4);
            box.style = static_cast<unsigned>(atoi(line.substr(4, space - 4).c_str()));
            box.caption = unescape(line.substr(space + 1));
            std::getline(in, line);
            box.text = unescape(line);
            run->boxes.push_back(box);
        } else if (line.rfind("call ", 0) == 0) {
            size_t space = line.find(' ', 5);
            fake::CallRecord call;
            call.call = static_cast<fake::Call>(atoi(line.substr(5, space - 5).c_str()));
            call.detail = space == std::string::npos ? "" : unescape(line.substr(space + 1));
            run->calls.push_back(call);
        }
    }
}

struct LaunchArgs {
    std::vector<std::string> argv;
    int status;
};

void launchBody(void* context) {
    LaunchArgs* args = static_cast<LaunchArgs*>(context);
    std::vector<char*> argv;
    for (auto& a : args->argv) argv.push_back(strdup(a.c_str()));
    argv.push_back(nullptr);
    args->status = launch(static_cast<int>(args->argv.size()), argv.data());
}

std::string childRecords;

// The launcher leaves by exit() where it cannot go on (out of memory):
// keep its records, and leave before anything else runs at exit, so that
// what the process holds on purpose until its end is not called a leak.
void leaveChild(int status, void*) {
    fflush(stdout);
    fflush(stderr);
    saveRecords(childRecords);
    _exit(status);
}

LaunchRun runChild(const std::string& dir, void (*body)(void*), void* context, int* status) {
    TempDir capture;
    std::string outPath = capture.file("out"), errPath = capture.file("err"),
                recPath = capture.file("records");
    fflush(stdout);
    fflush(stderr);
    pid_t child = fork();
    if (child == 0) {
        if (chdir(dir.c_str()) != 0) _exit(120);
        if (!freopen(outPath.c_str(), "w", stdout) || !freopen(errPath.c_str(), "w", stderr))
            _exit(121);
        fake::clearCalls();
        childRecords = recPath;
        on_exit(leaveChild, nullptr);
        body(context);
        fflush(stdout);
        fflush(stderr);
        saveRecords(recPath);
        _exit(status ? *status : 0);
    }
    int wstatus = 0;
    waitpid(child, &wstatus, 0);
    LaunchRun run;
    run.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    run.out = readFile(outPath);
    run.err = readFile(errPath);
    loadRecords(recPath, &run);
    return run;
}

} // namespace

LaunchRun runLaunch(const std::string& dir, const std::vector<std::string>& argv) {
    LaunchArgs args{argv, -1};
    return runChild(dir, launchBody, &args, &args.status);
}

LaunchRun runInChild(const std::string& dir, void (*body)(void*), void* context) {
    return runChild(dir, body, context, nullptr);
}
