// What a case of the editor's suites finds when it starts: the state a fresh process has, whatever the
// cases before it in the same process did. Every shared fixture calls it first.
#pragma once

// The library's class-wide state (as a new session has it), the column customisation held in memory,
// the simulated keys, pointer and capture, the clipboard, the queued answers and the transcript.
void KXStartFromAFreshState();
