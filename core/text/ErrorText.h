#pragma once
// What the common error box shows for a failure. A failure's message is the
// program's own text; the box closes it with "." when its last character
// sorts after "." in byte order: after a Japanese character or a digit, not
// after ")" or "." itself.

#include <exception>
#include <string>
#include <string_view>

namespace tabulon {

// The message of any failure that reaches a command boundary, UTF-8: running
// out of memory (std::bad_alloc) reads kOutOfMemory, tabulon::Error its own
// what(), any other failure Unexpected with its what().
std::string FailureMessage(const std::exception& failure);

// `message` is UTF-8; every byte of a non-ASCII character sorts after ".".
std::string ErrorBoxText(std::string_view message);

}  // namespace tabulon
