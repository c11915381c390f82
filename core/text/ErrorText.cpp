#include "text/ErrorText.h"

#include <new>

#include "text/Messages.h"

namespace tabulon {

std::string FailureMessage(const std::exception& failure) {
    // The library's own text ("std::bad_alloc") is English and says nothing
    // to the user.
    if (dynamic_cast<const std::bad_alloc*>(&failure) != nullptr) {
        return std::string(messages::kOutOfMemory);
    }
    if (dynamic_cast<const Error*>(&failure) != nullptr) {
        return failure.what();
    }
    // A library's failure: its words are English, so they only follow ours.
    return messages::Unexpected(failure.what());
}

std::string ErrorBoxText(std::string_view message) {
    std::string text(message);
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') {
        text += '.';
    }
    return text;
}

}  // namespace tabulon
