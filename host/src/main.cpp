// kxhost: loads the table editor library and runs Tcl commands against it.
//
//   kxhost [--lib DESIGN_LIBRARY_DIR] [--project FILE] [--journal FILE.vbs] [--replay FILE.vbs] [--quiet]
//          [SCRIPT.tcl]
//
// Without a script file the commands are read from standard input.
#include "KXHostCore.h"
#include "KXHostHeap.h"
#ifdef KXHOST_FULL
#include "KXHostApp.h"
#endif

#include <cstring>
#include <iostream>
#include <string>

namespace {

constexpr const char* kUsage =
    "usage: kxhost [--lib DIR] [--project FILE] [--journal FILE.vbs] [--replay FILE.vbs] [--quiet] [SCRIPT]\n";

// What --help prints: the options, the open modes a design window takes, and where the commands are.
constexpr const char* kHelp =
    "\n"
    "Runs Tcl commands (from SCRIPT, else from standard input) against the table editor.\n"
    "\n"
    "Options:\n"
    "  --lib DIR            the design library folder to load (for instance examples/designs)\n"
    "  --project FILE       the project file whose settings the editor reads\n"
    "  --journal FILE.vbs   journal every action of the editor to the file\n"
    "  --replay FILE.vbs    replay a journal before the script (or standard input) runs\n"
    "  --quiet              print no transcript\n"
    "  -h, --help           print this help\n"
    "\n"
    "Open modes (kx::open LIB.CELL:VIEW ?MODE?, default 1):\n"
    "  0  the logical view, view switching off: typed and pasted connections (not the addConnection\n"
    "     word); saves in place\n"
    "  1  the editable block: edits; a plain save is a Save As (dialog CKXCreateBlockDlg)\n"
    "  2  a block in the context of its parent: read-only; ascend goes up\n"
    "  3  a block within its parent: edits and saves in place; ascend goes up\n"
    "  4  the physical view: physical parts and nets, block filter\n"
    "  6  a block within its parent, as 3\n"
    "  To edit a design and save it in place, open it in mode 3.\n"
    "\n"
    "Commands: every word of the editor is a Tcl command (saveDesign, undo, addConnection pin ...; each\n"
    "answers WORD -help with its usage); the host's own commands are kx::open, kx::show, kx::edit, kx::menu,\n"
    "kx::answer, ... See host/README.md for all of them, their results and the transcript.\n";

int Usage() {
    std::cerr << kUsage;
    return 2;
}

int Help() {
    std::cout << kUsage << kHelp;
    return 0;
}

// The command line; -1 when the run goes on, else the exit status of the usage or help printed.
struct HostOptions {
    std::string lib, project, journal, replay, script;
    bool quiet = false;
};

int ReadOptions(int argc, char** argv, HostOptions& o) {
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto next = [&](std::string& into) {
            if (i + 1 >= argc) return false;
            into = argv[++i];
            return true;
        };
        if (a == "--lib") {
            if (!next(o.lib)) return Usage();
        } else if (a == "--project") {
            if (!next(o.project)) return Usage();
        } else if (a == "--journal") {
            if (!next(o.journal)) return Usage();
        } else if (a == "--replay") {
            if (!next(o.replay)) return Usage();
        } else if (a == "--quiet") {
            o.quiet = true;
        } else if (a == "-h" || a == "--help") {
            return Help();
        } else if ((!a.empty() && a[0] == '-') || !o.script.empty()) {
            return Usage();
        } else {
            o.script = a;
        }
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    KXPrepareHostHeap();
    HostOptions options;
    if (const int status = ReadOptions(argc, argv, options); status >= 0) return status;
    const std::string &lib = options.lib, &project = options.project, &journal = options.journal;
    const std::string &replay = options.replay, &script = options.script;
    const bool quiet = options.quiet;
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
    } else {
        // Without a script the commands come from standard input, after a replay too.
        core.Interactive(std::cin);
    }
#ifdef KXHOST_FULL
    app.Stop();
    // A batch run learns from the status that edits it asked to save were not saved.
    constexpr int kExitUnsaved = 3;
    for (const auto& [design, why] : app.UnsavedDesigns())
        std::cerr << "kxhost: exits with the edits of " << design << " unsaved: " << why << '\n';
    if (rc == 0 && !app.UnsavedDesigns().empty()) rc = kExitUnsaved;
    // ... and that designs it asked to open did not open (each said on standard error as it failed).
    constexpr int kExitUnopened = 4;
    if (rc == 0 && !app.UnopenedDesigns().empty()) rc = kExitUnopened;
#endif
    return rc;
}
