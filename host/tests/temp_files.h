// A scratch directory for tests that read and write files: created empty
// for each test under GoogleTest's temporary directory and removed with
// everything in it afterwards.
#ifndef HOST_TESTS_TEMP_FILES_H_
#define HOST_TESTS_TEMP_FILES_H_

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

class TempFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::path(::testing::TempDir()) /
           (std::string(info->test_suite_name()) + "." + info->name() + "." +
            std::to_string(::getpid()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  // The path of `name` in the scratch directory.
  std::string path(const std::string& name) const { return (dir_ / name).string(); }

  // Writes `bytes` exactly (no line-end conversion) and returns the path.
  std::string write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(path(name), std::ios::binary);
    out << bytes;
    return path(name);
  }

  std::string read(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  std::filesystem::path dir_;
};

#endif  // HOST_TESTS_TEMP_FILES_H_
