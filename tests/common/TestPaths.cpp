// Tells every test executable where the built programs and the sources are, unless the caller
// already did: VELDRAN_BIN_DIR and VELDRAN_SOURCE_DIR.
#include <cstdlib>

namespace {

const bool kPathsSet = [] {
    setenv("VELDRAN_BIN_DIR", VELDRAN_TEST_BIN_DIR, 0);
    setenv("VELDRAN_SOURCE_DIR", VELDRAN_TEST_SOURCE_DIR, 0);
    return true;
}();

} // namespace
