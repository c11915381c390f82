#pragma once
// The one exception type of the core: its message is the program's own text,
// placeholders filled in, UTF-8, exactly as the user is to see it.

#include <stdexcept>
#include <string>

namespace tabulon {

class Error : public std::runtime_error {
  public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace tabulon
