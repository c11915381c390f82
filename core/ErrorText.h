#pragma once
// The common error box closes a message with "." when its last character sorts
// after "." in byte order: after a Japanese character or a digit, not after
// ")" or "." itself.

#include <string>
#include <string_view>

namespace tabulon {

// `message` is UTF-8; every byte of a non-ASCII character sorts after ".".
std::string ErrorBoxText(std::string_view message);

}  // namespace tabulon
