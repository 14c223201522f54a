#include "grid/KXClipboardText.h"

#include "grid/gxall.h"
#include "kxclipboard/CKXImpClipBoard.h"
#include "kxerrorhandler/KXErrorHandler.h"

namespace {

std::vector<CString> Split(const CString& text, char separator, bool dropReturn, bool keepEmptyLast) {
    std::vector<CString> parts;
    int start = 0;
    for (int at = text.Find(separator); at >= 0; at = text.Find(separator, start)) {
        CString part = text.Mid(start, at - start);
        if (dropReturn && part.Right(1) == "\r") part = part.Left(part.GetLength() - 1);
        parts.push_back(part);
        start = at + 1;
    }
    if (keepEmptyLast || start < text.GetLength()) parts.push_back(text.Mid(start));
    return parts;
}

} // namespace

std::vector<CString> KXSplitClipboardLines(const CString& text) {
    return Split(text, '\n', true, false);
}

std::vector<CString> KXSplitClipboardFields(const CString& line) {
    return Split(line, '\t', false, true);
}

bool KXPasteIntoActiveEditor(CGXGridCore& grid, const CString& text) {
    CGXControl* control = grid.GetCurrentCellControl();
    if (!control || !control->IsActive()) return false;
    const int end = text.FindOneOf("\r\n");
    control->ReplaceSel(end < 0 ? text : text.Left(end));
    return true;
}

bool KXCopyActiveEditorSelection(CGXGridCore& grid) {
    CGXControl* control = grid.GetCurrentCellControl();
    if (!control || !control->IsActive()) return false;
    CString selected;
    if (!control->GetSelectedText(selected) || selected.IsEmpty()) return false;
    CKXImpClipBoard::StartCopying();
    CKXImpClipBoard::CopyCFText(selected);
    CKXImpClipBoard::EndCopying();
    CKXImpClipBoard::PutTextOnClipBoard(0, 1);
    return true;
}

bool KXIsOneLine(const CString& text) {
    if (text.FindOneOf("\r\n\t") < 0) return true;
    CKXErrorHandler::MessageBoxOk("KXTABLE-331");
    return false;
}

bool KXTakeAssocClipEntry(CString& buffer, KXAssocClipEntry& entry) {
    int number = 0;
    const int length =
        CKXImpClipBoard::GetAssocCompInfo(buffer, entry.kind, number, entry.type, entry.name, entry.data);
    if (length <= 0) return false;
    buffer.Delete(0, length);
    buffer.TrimLeft("\r\n");
    return true;
}

bool KXCopiedAssocOfKind(CString buffer, int kind) {
    for (KXAssocClipEntry entry; KXTakeAssocClipEntry(buffer, entry);)
        if (entry.kind == kind && !entry.type.IsEmpty()) return true;
    return false;
}
