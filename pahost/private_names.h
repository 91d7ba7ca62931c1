// The names of pahost's private folders beside a data file (data_file.h):
// a head and six letters picked at random, so that the records of the
// folder's turn (folder_turn.h) and the removal of what killed runs left
// (private_folders.h) know them by their shape.
#ifndef PAHOST_PRIVATE_NAMES_H_
#define PAHOST_PRIVATE_NAMES_H_

#include <random>
#include <string>

// A new name for a private folder, picked with `random`.
std::string newPrivateName(std::random_device& random);

// Whether `name` has the shape of a private folder's name.
bool isPrivateName(const std::string& name);

#endif  // PAHOST_PRIVATE_NAMES_H_
