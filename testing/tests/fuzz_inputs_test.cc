// Every seed of the fuzz targets (the example returns, testing/fuzz/seeds)
// and every input the fuzzers found (testing/fuzz/found, one folder per
// reader) runs through its reader as in the fuzz targets, under the
// sanitizers of this build.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "testing/fuzz/fuzz_session.h"

TEST(FuzzInputsTest, SeedsAndFoundInputsRunThroughTheirReaders) {
  using PAFuzz::Reader;
  const std::string fuzz = PA_FUZZ_DIR "/";
  const std::pair<std::string, Reader> folders[] = {
      {fuzz + "../../examples", Reader::kTextLoader},   {fuzz + "found/text_loader", Reader::kTextLoader},
      {fuzz + "seeds/relations", Reader::kRelations},   {fuzz + "found/relations", Reader::kRelations},
      {fuzz + "seeds/field_groups", Reader::kFieldGroups}, {fuzz + "found/field_groups", Reader::kFieldGroups}};
  int inputs = 0;
  for (const auto& folder : folders) {
    if (!std::filesystem::is_directory(folder.first)) continue;
    for (const auto& entry : std::filesystem::directory_iterator(folder.first)) {
      std::ifstream in(entry.path(), std::ios::binary);
      const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      PAFuzz::runInput(folder.second, reinterpret_cast<const uint8_t*>(data.data()), data.size());
      ++inputs;
    }
  }
  EXPECT_GE(inputs, 13);
}
