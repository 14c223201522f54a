// What the writing and the reading of library files share: paths, the lines of a file, numbers, and
// the words of pin types and directions.
#pragma once

#include <string>
#include <vector>

#include "afx/afxfile.h"

namespace rmx::libfile {

std::string joinPath(const std::string& dir, const std::string& file);
// The lines of a file; the stamp (when given) takes what the file held.
bool readLines(const std::string& path, std::vector<std::string>& lines, std::string& why,
               AfxFileStamp* stamp = nullptr);
bool toInt(const std::string& s, int& v, int lo, int hi);
const char* typeWord(int t);
bool typeFromWord(const std::string& w, int& t);
const char* dirWord(int d);
bool dirFromWord(const std::string& w, int& d);

}  // namespace rmx::libfile

class IDesign;
namespace rmx {
class Db;
// The design's file was read just now: its stamp learns the text this server writes for what it read, so
// that a file in another hand's form (other line ends, a blank line, another order) counts as unchanged.
void noteReadForm(Db* db, IDesign* d);
}  // namespace rmx

namespace rmx::libfile {

}  // namespace rmx::libfile
