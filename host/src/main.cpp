// kxhost: loads the table editor library and runs Tcl commands against it.
//
//   kxhost [--lib DESIGN_LIBRARY_DIR] [--project FILE] [--journal FILE.vbs] [--replay FILE.vbs] [--quiet]
//          [SCRIPT.tcl]
//
// Without a script file the commands are read from standard input.
#include "KXHostCore.h"
#ifdef KXHOST_FULL
#include "KXHostApp.h"
#endif

#include <cstring>
#include <iostream>
#include <string>

static int Usage() {
    std::cerr
        << "usage: kxhost [--lib DIR] [--project FILE] [--journal FILE.vbs] [--replay FILE.vbs] [--quiet] "
           "[SCRIPT]\n";
    return 2;
}

int main(int argc, char** argv) {
    std::string lib, project, journal, replay, script;
    bool quiet = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto next = [&](std::string& into) {
            if (i + 1 >= argc) return false;
            into = argv[++i];
            return true;
        };
        if (a == "--lib") {
            if (!next(lib)) return Usage();
        } else if (a == "--project") {
            if (!next(project)) return Usage();
        } else if (a == "--journal") {
            if (!next(journal)) return Usage();
        } else if (a == "--replay") {
            if (!next(replay)) return Usage();
        } else if (a == "--quiet") {
            quiet = true;
        } else if (a == "-h" || a == "--help") {
            return Usage(), 0;
        } else if (!a.empty() && a[0] == '-') {
            return Usage();
        } else if (script.empty()) {
            script = a;
        } else {
            return Usage();
        }
    }
    CKXHostCore core(std::cout);
    core.SetQuiet(quiet);
#ifdef KXHOST_FULL
    CKXHostApp app(core);
    std::string error;
    if (!project.empty() && !app.LoadProject(project, error)) {
        std::cerr << "kxhost: " << error << '\n';
        return 1;
    }
    if (!app.Start(lib, journal, error)) {
        std::cerr << "kxhost: " << error << '\n';
        return 1;
    }
    if (!replay.empty()) {
        if (!app.Replay(replay, error)) {
            std::cerr << "kxhost: " << error << '\n';
            return 1;
        }
    }
#else
    (void)lib;
    (void)project;
    (void)journal;
    if (!replay.empty()) {
        std::cerr << "kxhost: the system library is not built yet; nothing to replay\n";
        return 1;
    }
#endif
    int rc = 0;
    if (!script.empty()) {
        std::string result;
        if (!core.EvalFile(script, result)) {
            std::cerr << "kxhost: " << result << '\n';
            rc = 1;
        }
    } else if (replay.empty()) {
        core.Interactive(std::cin);
    }
#ifdef KXHOST_FULL
    app.Stop();
#endif
    return rc;
}
