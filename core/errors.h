// The two kinds of failure the engine reports. Front ends catch them and show
// what() to the user; neither leaves stored data half-changed.
#ifndef ZEPHYRSTAT_CORE_ERRORS_H_
#define ZEPHYRSTAT_CORE_ERRORS_H_

#include <stdexcept>

namespace zs {

// The database or a file could not be read or written.
class StoreError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A value given by the user is not acceptable; nothing was changed.
class InputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace zs

#endif  // ZEPHYRSTAT_CORE_ERRORS_H_
