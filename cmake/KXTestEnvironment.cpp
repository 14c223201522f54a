// Linked into every test executable: a test binary run by hand, from any folder, finds the source tree's data
// and keeps its registry inside the build tree, as it does under CTest. A variable already set wins.
#include <cstdlib>

namespace {

struct KXTestEnvironment {
    KXTestEnvironment() {
        setenv("KX_TEST_SOURCE_DIR", KX_TEST_SOURCE_DIR_DEFAULT, 0);
        setenv("KX_REGISTRY_DIR", KX_TEST_REGISTRY_DIR_DEFAULT, 0);
    }
};

const KXTestEnvironment kEnvironment;

}  // namespace
