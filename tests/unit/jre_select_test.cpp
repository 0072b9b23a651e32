// The choice of jvm.dll: the registry's library, then the five candidates
// below the runtime's home, one line each.
#include "harness.h"

#include "jre/jvmselect.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

namespace {

struct SelectContext {
    std::string home;
    std::string runtimeLib;
    std::string resultPath;
};

void selectBody(void* context) {
    const SelectContext* c = static_cast<const SelectContext*>(context);
    char jvmPath[jvmPathSize + 1];
    memset(jvmPath, 'X', sizeof jvmPath);
    bool found = selectJVMLibrary(c->home.c_str(), c->runtimeLib.c_str(), jvmPath);
    FILE* f = fopen(c->resultPath.c_str(), "wb");
    if (!f) return;
    fputc(found ? '1' : '0', f);
    fwrite(jvmPath, 1, sizeof jvmPath, f);
    fclose(f);
}

struct Selection {
    LaunchRun run;
    bool found = false;
    std::string jvmPath;
    std::vector<std::string> probed;
};

Selection select(const std::string& home, const std::string& runtimeLib) {
    TempDir dir;
    SelectContext context{home, runtimeLib, dir.file("result")};
    Selection s;
    s.run = runInChild(dir.path, selectBody, &context);
    std::string result = dir.read("result");
    EXPECT_EQ(result.size(), 2 + jvmPathSize) << "the child wrote no result";
    if (result.size() != 2 + jvmPathSize) return s;
    s.found = result[0] == '1';
    size_t n = strnlen(result.data() + 1, jvmPathSize);
    s.jvmPath = n == jvmPathSize ? "<unterminated>" : result.substr(1, n);
    EXPECT_EQ(result.back(), 'X') << "written past the 260-byte buffer";
    for (const auto& call : s.run.calls)
        if (call.call == fake::Call::pathExists) s.probed.push_back(call.detail);
    return s;
}

std::string linesFor(const std::vector<std::string>& missing, const std::string& found) {
    std::string lines;
    for (const auto& path : missing) lines += "no JVM found at " + path + "\n";
    if (!found.empty()) lines += "JVM found at " + found + "\n";
    return lines;
}

const std::string H = "C:\\Home";
const std::string hotspot = H + "\\bin\\hotspot\\jvm.dll";
const std::string classic = H + "\\bin\\classic\\jvm.dll";
const std::string client = H + "\\bin\\client\\jvm.dll";
const std::string plain = H + "\\bin\\jvm.dll";
const std::string server = H + "\\bin\\server\\jvm.dll";

struct SelectCase {
    const char* what;
    std::string home;
    std::string runtimeLib;
    std::vector<std::string> existing;
    std::vector<std::string> missing; // the candidates that are reported missing, in order
    std::string chosen;               // empty: none
    std::string err;
};

void runSelectCases(const std::vector<SelectCase>& cases) {
    for (const auto& c : cases) {
        fake::reset();
        fake::state.existingPaths = c.existing;
        Selection s = select(c.home, c.runtimeLib);
        EXPECT_EQ(s.found, !c.chosen.empty()) << c.what;
        if (!c.chosen.empty()) {
            EXPECT_EQ(s.jvmPath, c.chosen) << c.what;
        }
        EXPECT_EQ(s.run.out, linesFor(c.missing, c.chosen)) << c.what;
        EXPECT_EQ(s.run.err, c.err) << c.what;
        std::vector<std::string> probed = c.missing;
        if (!c.chosen.empty()) probed.push_back(c.chosen);
        EXPECT_EQ(s.probed, probed) << c.what;
    }
}

TEST(JreSelect, CandidatesAreTriedInTheirOrder) {
    runSelectCases({
        {"only client", H, "", {client, plain}, {hotspot, classic}, client, ""},
        {"hotspot over client", H, "", {client, hotspot}, {}, hotspot, ""},
        {"classic", H, "", {classic, plain}, {hotspot}, classic, ""},
        {"only plain", H, "", {plain}, {hotspot, classic, client}, plain, ""},
        {"only plain after a missing RuntimeLib", H, "C:\\Reg\\jvm.dll", {plain},
         {"C:\\Reg\\jvm.dll", hotspot, classic, client}, plain, ""},
        {"none", H, "", {H + "\\jvm.dll", H + "\\server\\jvm.dll", H + "\\bin\\server"},
         {hotspot, classic, client, plain, server}, "", ""},
        {"none with RuntimeLib", H, "C:\\Reg", {},
         {"C:\\Reg\\bin\\jvm.dll", hotspot, classic, client, plain, server}, "", ""},
    });
}

// bin\server comes after every older candidate, so that a runtime that has
// one of those keeps the library it had.
TEST(JreSelect, ServerCandidateComesLast) {
    runSelectCases({
        {"only server", H, "", {server}, {hotspot, classic, client, plain}, server, ""},
        {"only server after a missing RuntimeLib", H, "C:\\Reg\\jvm.dll", {server},
         {"C:\\Reg\\jvm.dll", hotspot, classic, client, plain}, server, ""},
        {"RuntimeLib over server", H, "C:\\Reg\\bin\\server\\jvm.dll",
         {"C:\\Reg\\bin\\server\\jvm.dll", server}, {}, "C:\\Reg\\bin\\server\\jvm.dll", ""},
        {"client over server", H, "", {client, server}, {hotspot, classic}, client, ""},
        {"plain over server", H, "", {plain, server}, {hotspot, classic, client}, plain, ""},
        {"hotspot over server", H, "", {hotspot, server}, {}, hotspot, ""},
    });
}

TEST(JreSelect, RuntimeLibIsTakenAsALibraryOnlyWhenItEndsInItsOnlyDotDll) {
    runSelectCases({
        {"library", H, "C:\\Java\\bin\\client\\jvm.dll", {"C:\\Java\\bin\\client\\jvm.dll", hotspot}, {},
         "C:\\Java\\bin\\client\\jvm.dll", ""},
        {"upper case", H, "C:\\Java\\bin\\client\\JVM.DLL", {"C:\\Java\\bin\\client\\JVM.DLL", client},
         {"C:\\Java\\bin\\client\\JVM.DLL\\bin\\jvm.dll", hotspot, classic}, client, ""},
        {"directory", H, "C:\\Java", {"C:\\Java\\bin\\jvm.dll", hotspot}, {}, "C:\\Java\\bin\\jvm.dll",
         ""},
        {"dll earlier on the way", H, "C:\\x.dll\\jvm.dll", {"C:\\x.dll\\jvm.dll", plain},
         {"C:\\x.dll\\jvm.dll\\bin\\jvm.dll", hotspot, classic, client}, plain, ""},
        {"just .dll", H, ".dll", {".dll", ".dll\\bin\\jvm.dll"}, {}, ".dll\\bin\\jvm.dll", ""},
        {"a home that names a library", "C:\\odd.dll", "", {},
         {"C:\\odd.dll", "C:\\odd.dll", "C:\\odd.dll", "C:\\odd.dll", "C:\\odd.dll"}, "", ""},
    });
}

// A candidate that would not fit the 260-byte buffer is never cut to a
// shorter path (which might exist): it is reported and skipped.
TEST(JreSelect, CandidatesThatDoNotFitAreSkipped) {
    const std::string home239 = "C:\\" + std::string(236, 'h');
    const std::string home240 = home239 + "h";
    const std::string home247 = "C:\\" + std::string(244, 'h');
    const std::string lib259 = "C:\\" + std::string(252, 'l') + ".dll";
    const std::string lib260 = "C:\\" + std::string(253, 'l') + ".dll";
    const std::string dir247 = "C:\\" + std::string(244, 'd');
    const std::string dir248 = dir247 + "d";
    runSelectCases({
        {"hotspot of 259 bytes", home239, "", {home239 + "\\bin\\hotspot\\jvm.dll"}, {},
         home239 + "\\bin\\hotspot\\jvm.dll", ""},
        {"hotspot and classic of 260 bytes, client fits", home240, "",
         {home240 + "\\bin\\hotspot\\jvm.dl", home240 + "\\bin\\classic\\jvm.dl",
          home240 + "\\bin\\client\\jvm.dll"},
         {}, home240 + "\\bin\\client\\jvm.dll",
         "Path too long: " + home240 + "\\bin\\hotspot\\jvm.dll\n"
         "Path too long: " + home240 + "\\bin\\classic\\jvm.dll\n"},
        {"only the plain candidate fits", home247, "", {}, {home247 + "\\bin\\jvm.dll"}, "",
         "Path too long: " + home247 + "\\bin\\hotspot\\jvm.dll\n"
         "Path too long: " + home247 + "\\bin\\classic\\jvm.dll\n"
         "Path too long: " + home247 + "\\bin\\client\\jvm.dll\n"
         "Path too long: " + home247 + "\\bin\\server\\jvm.dll\n"},
        {"server of 259 bytes", home240, "", {home240 + "\\bin\\server\\jvm.dll"},
         {home240 + "\\bin\\client\\jvm.dll", home240 + "\\bin\\jvm.dll"},
         home240 + "\\bin\\server\\jvm.dll",
         "Path too long: " + home240 + "\\bin\\hotspot\\jvm.dll\n"
         "Path too long: " + home240 + "\\bin\\classic\\jvm.dll\n"},
        {"server of 260 bytes", home240 + "h", "", {home240 + "h\\bin\\server\\jvm.dl"},
         {home240 + "h\\bin\\jvm.dll"}, "",
         "Path too long: " + home240 + "h\\bin\\hotspot\\jvm.dll\n"
         "Path too long: " + home240 + "h\\bin\\classic\\jvm.dll\n"
         "Path too long: " + home240 + "h\\bin\\client\\jvm.dll\n"
         "Path too long: " + home240 + "h\\bin\\server\\jvm.dll\n"},
        {"library of 259 bytes", H, lib259, {lib259}, {}, lib259, ""},
        {"library of 260 bytes", H, lib260, {lib260.substr(0, 259), hotspot}, {}, hotspot,
         "Path too long: " + lib260 + "\n"},
        {"directory of 247 bytes", H, dir247, {dir247 + "\\bin\\jvm.dll"}, {}, dir247 + "\\bin\\jvm.dll",
         ""},
        {"directory of 248 bytes", H, dir248, {dir248 + "\\bin\\jvm.dl", classic}, {hotspot}, classic,
         "Path too long: " + dir248 + "\\bin\\jvm.dll\n"},
    });
}

} // namespace
