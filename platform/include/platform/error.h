// The one exception type for numbered errors (a number, where it came from,
// and what went wrong). Platform calls never throw it across the seam; logic
// raises it where a failure must reach an enclosing handler.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace orv {

class Error : public std::runtime_error {
  public:
    Error(std::int32_t number, std::string source, const std::string& description)
        : std::runtime_error(description), number_(number), source_(std::move(source)) {}
    std::int32_t Number() const { return number_; }
    const std::string& Source() const { return source_; }

  private:
    std::int32_t number_;
    std::string source_;
};

}  // namespace orv
