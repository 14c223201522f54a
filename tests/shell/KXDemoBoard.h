// The example board, copied into the test's folder and loaded: the design a new user meets first.
#pragma once

#include "KXShellFixture.h"

#include "rmx/server.h"

#include <cstdlib>
#include <filesystem>

class DemoBoard : public KXShellFixture {
protected:
    void SetUp() override {
        KXShellFixture::SetUp();
        if (HasFatalFailure()) return;
        const char* src = std::getenv("KX_TEST_SOURCE_DIR");
        const std::filesystem::path demo = m_dir / "demo";
        std::filesystem::copy(std::filesystem::path(src ? src : ".") / "examples" / "designs", demo,
                              std::filesystem::copy_options::recursive);
        CString error;
        ASSERT_TRUE(m_app->Server()->loadLibrary(demo.c_str(), error)) << error.GetString();
    }
};
