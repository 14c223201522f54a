// List expressions of dropped part descriptions.
#include "FuzzSupport.h"

#include "grid/KXListExpr.h"

namespace {

// Walks every node as the drop payload reader does.
size_t Walk(const SKXListNode* node, int depth) {
    size_t n = 0;
    for (; node; node = ListNodeGetRest(node)) {
        ++n;
        ListNodeGetText(node);
        if (node->kind == 'L' && depth < 1000) n += Walk(ListNodeGetItems(node), depth + 1);
    }
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text = kxfuzz::Text(data, size);
    CKXListExpr expr;
    CString error;
    SKXListNode* root = expr.Parse(text.c_str(), error);
    Walk(root, 0);
    return 0;
}
