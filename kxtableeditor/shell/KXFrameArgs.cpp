#include "shell/KXFrameArgs.h"

#include "shell/KXShellUtil.h"

const CString* KXFirstValue(const KXArgValues& args, size_t i) {
    if (i >= args.size() || args[i].empty()) return nullptr;
    return &args[i][0];
}

int KXCloseOption(const CString& w) {
    if (w.CompareNoCase("-nosave") == 0 || w.Left(2) == "-n") return 0;
    if (w.CompareNoCase("-save") == 0 || w.Left(2) == "-s") return 1;
    return -2;
}

int KXViewOption(const CString& w) {
    if (w.CompareNoCase("-nosave") == 0 || w.Left(2) == "-n") return 0;
    if (w.CompareNoCase("-save") == 0 || w.Left(2) == "-s") return 1;
    if (w.CompareNoCase("-prompt") == 0) return -1;
    return -2;
}

int KXFilterOption(const CString& w) {
    if (w.CompareNoCase("-exclude") == 0 || w.CompareNoCase("-e") == 0) return 1;
    if (w.CompareNoCase("-include") == 0 || w.CompareNoCase("-i") == 0) return 0;
    return -1;
}

EKXCommentOp KXParseDesignComment(const KXArgValues& args, CString& text) {
    EKXCommentOp op = EKXCommentOp::None;
    text.Empty();
    for (const auto& arg : args) {
        for (const CString& v : arg) {
            if (KXIsHelpArg(v)) return EKXCommentOp::Help;
            if (v.CompareNoCase("add") == 0)
                op = EKXCommentOp::Add;
            else if (v.CompareNoCase("edit") == 0)
                op = EKXCommentOp::Edit;
            else if (v.CompareNoCase("delete") == 0)
                op = EKXCommentOp::Delete;
            else if (op == EKXCommentOp::Add || op == EKXCommentOp::Edit)
                text = v;
        }
    }
    return op;
}

namespace {
enum class Pending { None, Inst, File };

bool IsWholeOption(const CString& w, bool withLocal) {
    return w.CompareNoCase("-inst") == 0 || w.CompareNoCase("-file") == 0 || w.CompareNoCase("-help") == 0 ||
           (withLocal && w.CompareNoCase("-export_local_as_inout") == 0);
}

CString Parse(const KXArgValues& args, SKXInterfaceArgs& out, bool isExport) {
    const char* usage = isExport ? "KXPANE-229" : "KXPANE-230";
    out = SKXInterfaceArgs();
    Pending pending = Pending::None;
    bool awaiting = false; // the pending option has not received its value yet
    for (const auto& arg : args) {
        if (arg.empty()) continue;
        const CString& w = arg[0];
        if (awaiting && !IsWholeOption(w, isExport)) {
            (pending == Pending::Inst ? out.inst : out.file) = w;
            awaiting = false;
            continue;
        }
        bool isInst, isFile;
        if (isExport) {
            isInst = w.CompareNoCase("-inst") == 0 || w.Left(2) == "-i";
            isFile = w.CompareNoCase("-file") == 0 || w.Left(2) == "-f";
        } else {
            isInst = w.CompareNoCase("-inst") == 0 || w.Find("-i") >= 0;
            isFile = w.CompareNoCase("-file") == 0 || w.Find("-f") >= 0;
        }
        if (KXIsHelpArg(w)) return usage;
        if (isInst) {
            pending = Pending::Inst;
            out.instGiven = true;
            awaiting = true;
        } else if (isFile) {
            pending = Pending::File;
            out.fileGiven = true;
            awaiting = true;
        } else if (isExport && (w.CompareNoCase("-export_local_as_inout") == 0 || w.Left(2) == "-e")) {
            out.localAsInout = 1;
        } else if (pending == Pending::Inst) {
            out.inst = w;
        } else if (pending == Pending::File) {
            out.file = w;
        } else {
            return usage;
        }
    }
    if ((out.fileGiven && out.file.IsEmpty()) || (out.instGiven && out.inst.IsEmpty())) return "KXPANE-230";
    out.file.Replace('\\', '/');
    return CString();
}
} // namespace

CString KXParseExportArgs(const KXArgValues& args, SKXInterfaceArgs& out) {
    if (args.size() > 5) return "KXPANE-229";
    return Parse(args, out, true);
}

CString KXParseImportArgs(const KXArgValues& args, SKXInterfaceArgs& out) {
    if (args.size() > 4) return "KXPANE-230";
    return Parse(args, out, false);
}
