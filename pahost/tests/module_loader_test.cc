// Where pahost looks for the module when it is not told.
#include "pahost/module_loader.h"

#include <gtest/gtest.h>

namespace {

// Beside the running program; nowhere when the link to the program cannot
// be read: a bare name would be searched for along the loader's path.
TEST(DefaultModulePathTest, BesideTheProgramOrNowhere) {
  const std::string path = defaultModulePath();
  EXPECT_EQ(path.substr(path.rfind('/') + 1), "libpa2018.so");
  EXPECT_EQ(path.front(), '/');
  EXPECT_EQ(defaultModulePath("/no/such/link"), "");
}

}  // namespace
