// Project files, and the environment references of their values.
#include "FuzzSupport.h"

#include "grid/KXProjectReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text = kxfuzz::Text(data, size);
    CKXVpxProject project;
    CString error;
    if (CKXProjectReader::LoadText(text.c_str(), project, error)) {
        CKXProjectReader reader(&project);
        for (const SKXProjectSection& section : project.m_sections) {
            if (reader.ProjectFindProgram(section.name.GetString()) != KXPROJ_OK) continue;
            for (const SKXProjectDirective& d : section.directives) {
                if (reader.ProjectFindDirective(d.name.GetString()) != KXPROJ_OK) continue;
                CString value;
                int number = 0;
                BOOL flag = FALSE;
                reader.ProjectGetDirectiveString(value);
                reader.ProjectGetDirectiveInt(number);
                reader.ProjectGetDirectiveBool(flag, 0);
            }
        }
    }
    CString expanded;
    ExpandEnvironmentReferences(text.c_str(), expanded, error);
    return 0;
}
