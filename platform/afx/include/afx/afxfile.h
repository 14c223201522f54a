// Writing a file so that a crash or a full disk leaves either the old or the new file, never half
// of one: the text goes to "<file>.tmp<pid>" in the same folder, is flushed to disk, and the
// temporary is renamed over the file.
#pragma once

#include <string>

// Writes text to path as above. False with the reason in error; the old file is then untouched
// and the temporary removed. Temporaries of the same file left by processes that no longer run
// (a killed save) are removed first.
bool AfxWriteFileSafely(const std::string& path, const std::string& text, std::string& error);

// Removes "<path>.tmp<pid>" (and "<path>.tmp.<pid>") files whose process no longer runs.
void AfxRemoveStaleTemporaries(const std::string& path);
