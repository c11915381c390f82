#pragma once
// Table text (cp932 bytes) as the windows show it, and the characters cp932
// cannot hold as the refusal notices name them.

#include <QString>
#include <string_view>
#include <vector>

QString FromCp932(std::string_view cp932);

// Each character once, in the order it first appears.
QString EachCharacterOnce(const std::vector<char32_t>& characters);
