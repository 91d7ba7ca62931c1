#include "pahost/private_names.h"

namespace {

// A private folder's name: this head and six of these letters, picked at
// random.
const char kHead[] = ".pahost-";
const std::size_t kLetters = 6;
const char kNameLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

}  // namespace

std::string newPrivateName(std::random_device& random) {
  std::string name = kHead;
  for (std::size_t i = 0; i < kLetters; ++i) name += kNameLetters[random() % (sizeof kNameLetters - 1)];
  return name;
}

bool isPrivateName(const std::string& name) {
  const std::size_t head = sizeof kHead - 1;
  return name.size() == head + kLetters && name.compare(0, head, kHead) == 0 &&
         name.find_first_not_of(kNameLetters, head) == std::string::npos;
}
