#include <varnek/version.h>

#include <gtest/gtest.h>

#include <string>

namespace Varnek {
namespace {

// The loaded library, the headers and the project agree, and the string is
// the three parts joined.
TEST(VersionTest, LibraryHeadersAndProjectAgree) {
    EXPECT_STREQ(getLibraryVersion(), VARNEK_VERSION_STRING);
    EXPECT_STREQ(getLibraryVersion(), VARNEK_PROJECT_VERSION);
    EXPECT_EQ(getLibraryVersionMajor(), VARNEK_VERSION_MAJOR);
    EXPECT_EQ(getLibraryVersionMinor(), VARNEK_VERSION_MINOR);
    EXPECT_EQ(getLibraryVersionPatch(), VARNEK_VERSION_PATCH);
    EXPECT_EQ(std::to_string(getLibraryVersionMajor()) + "." +
                  std::to_string(getLibraryVersionMinor()) + "." +
                  std::to_string(getLibraryVersionPatch()),
              getLibraryVersion());
}

}  // namespace
}  // namespace Varnek
