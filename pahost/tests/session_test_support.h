// What the tests of whole sessions share: every return the project holds,
// for tests that run each one, and a session's returns as a dump.
#ifndef PAHOST_TESTS_SESSION_TEST_SUPPORT_H_
#define PAHOST_TESTS_SESSION_TEST_SUPPORT_H_

#include <gtest/gtest.h>

#include <stdio.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "pahost/session.h"

// The returns by their paths in the checkout, sorted: the examples, the
// golden and audit returns and pahost's test returns.
inline std::vector<std::string> projectReturns() {
  std::vector<std::string> paths;
  for (const char* folder : {"examples", "calc/pa/tests/golden", "audit/tests/returns", "pahost/tests"}) {
    for (const auto& entry : std::filesystem::directory_iterator(std::string(PA_SOURCE_DIR) + "/" + folder)) {
      const std::filesystem::path& path = entry.path();
      if (path.extension() == ".txt" && path.filename() != "CMakeLists.txt") {
        paths.push_back(std::string(folder) + "/" + path.filename().string());
      }
    }
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

// A test's name from a return's path without its extension: letters,
// digits and underscores.
inline std::string projectReturnTestName(const ::testing::TestParamInfo<std::string>& info) {
  std::filesystem::path path(info.param);
  std::string name = (path.parent_path() / path.stem()).string();
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

// Both returns of `session` in the test-data format (HostSession::dump).
inline std::string dumpOf(const HostSession& session) {
  char* text = nullptr;
  size_t size = 0;
  std::FILE* out = open_memstream(&text, &size);
  session.dump(out);
  std::fclose(out);
  std::string dump(text, size);
  std::free(text);
  return dump;
}

#endif  // PAHOST_TESTS_SESSION_TEST_SUPPORT_H_
