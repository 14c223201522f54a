#include "afx/afxcall.h"

namespace {

struct CallState {
    unsigned long depth = 0;
    unsigned long last = 0;    // the number the latest outermost call took
    unsigned long current = 0; // the running outermost call's number, 0 between calls
};

CallState& State() {
    static CallState state;
    return state;
}

} // namespace

unsigned long AfxOuterCallNumber() {
    return State().current;
}

AfxCallScope::AfxCallScope() {
    CallState& s = State();
    if (s.depth++ == 0) s.current = ++s.last;
}

AfxCallScope::~AfxCallScope() {
    CallState& s = State();
    if (--s.depth == 0) s.current = 0;
}
