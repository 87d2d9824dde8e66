// A consumer of the installed library: one include, one target.
#include <varnek/varnek.h>

#include <cstdio>
#include <cstring>

int main() {
    using namespace Varnek;
    int failures = 0;
    if (DrawColorMode::toString(DrawColorMode::Skin) != "Skin") {
        std::puts("DrawColorMode::toString(Skin) is wrong");
        ++failures;
    }
    if (Vector<float, 3>::getZeroVector() != Vector<float, 3>(0.0f, 0.0f, 0.0f)) {
        std::puts("the zero vector is not zero");
        ++failures;
    }
    // The installed version header and the loaded library agree.
    if (std::strcmp(getLibraryVersion(), VARNEK_VERSION_STRING) != 0) {
        std::printf("loaded library %s, headers %s\n", getLibraryVersion(), VARNEK_VERSION_STRING);
        ++failures;
    }
    return failures == 0 ? 0 : 1;
}
