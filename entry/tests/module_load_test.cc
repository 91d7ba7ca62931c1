// Loads the module with dlopen as the host does, reads its compatibility
// number and unloads it; the sanitizers check that load-time constants are
// built and torn down cleanly.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(ModuleLoad, LoadsReportsAndUnloads) {
  for (int round = 0; round < 2; ++round) {  // a second load rebuilds every constant
    void* module = dlopen(PA_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
    using CompatFn = uint16_t (*)();
    auto compat = reinterpret_cast<CompatFn>(dlsym(module, "compatVersion"));
    ASSERT_NE(compat, nullptr);
    EXPECT_EQ(compat(), 6101);
    EXPECT_EQ(dlsym(module, "kPA40FieldIds"), nullptr);  // internals stay hidden
    EXPECT_EQ(dlclose(module), 0);
    // Really unloaded: nothing pins the library in memory.
    EXPECT_EQ(dlopen(PA_MODULE_PATH, RTLD_NOW | RTLD_NOLOAD), nullptr);
  }
}

}  // namespace
