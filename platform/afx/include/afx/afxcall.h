// Calls from outside into the windows: a message sent to a window, an automation method invoked. Each
// outermost one gets a number of its own, so that what a call has already said (a refusal's reason) can be
// told apart from what the next call says.
#pragma once

// The number of the outermost call running; 0 when none runs (code that calls the objects directly).
unsigned long AfxOuterCallNumber();

// Marks a call for its length; the outermost one takes the next number.
class AfxCallScope {
public:
    AfxCallScope();
    ~AfxCallScope();
    AfxCallScope(const AfxCallScope&) = delete;
    AfxCallScope& operator=(const AfxCallScope&) = delete;
};
