#include "table/PackedRecord.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace tabulon {
namespace {

// Records of every end width (texts up to 255 bytes, 65,535, more) and more
// texts than the handle counts read back what was packed, trailing empty
// texts dropped, also when packed over their own texts.
TEST(PackedRecord, ReadsBackEveryTextAtEveryWidth) {
    std::mt19937 random(5);
    const size_t lengths[] = {0, 1, 7, 200, 300, 70'000};
    for (const size_t count : {size_t{1}, size_t{3}, size_t{40}, size_t{20'000}}) {
        for (int round = 0; round < 6; ++round) {
            std::vector<std::string> texts(count);
            for (std::string& text : texts) {
                const size_t longest = count > 40 ? 2 : 6;
                text.assign(lengths[random() % longest], static_cast<char>('a' + random() % 26));
            }
            if (count < 40) texts.front().assign(lengths[static_cast<size_t>(round)], 'x');
            std::string source;
            for (const std::string& text : texts) {
                source += text + ',';
            }
            std::vector<std::string_view> cells;
            for (size_t at = 0; const std::string& text : texts) {
                cells.emplace_back(source.data() + at, text.size());
                at += text.size() + 1;
            }
            const PackedRecord::Layout layout = PackedRecord::Plan(cells);
            const auto kept = layout.kept;
            const size_t size = layout.size;
            // In place over the texts when they leave room, else in a room of its own.
            std::string room(size > source.size() ? size : 0, '\0');
            char* at = room.empty() ? source.data() : room.data();
            const PackedRecord record = PackedRecord::Pack(at, layout);
            ASSERT_EQ(record.Size(), size);
            ASSERT_EQ(record.Count(), kept.size());
            ASSERT_EQ(record.Begin(), kept.empty() ? nullptr : at);
            for (size_t i = 0; i < count + 1; ++i) {
                ASSERT_EQ(record.Cell(i), i < count ? texts[i] : "") << count << " texts, " << i;
            }
        }
    }
}

}  // namespace
}  // namespace tabulon
