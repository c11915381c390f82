#include "files/CsvFile.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "files/RecordBuffer.h"
#include "files/TextFile.h"
#include "files/WriteBehind.h"
#include "table/LargeBlocks.h"
#include "table/LoadBudget.h"
#include "text/InParallel.h"
#include "text/Messages.h"
#include "text/Transcoder.h"

namespace tabulon {

namespace {

// Of loading a text with quotes, the share of the pass that counts its records.
constexpr int kCountingShare = 50;

// The bytes that make a field quoted, looked for eight at a time.
class QuotedBytes {
  public:
    explicit QuotedBytes(char separator)
        : words_{Spread(separator), Spread('"'), Spread('\r'), Spread('\n')} {}

    // A field is looked over in words: its whole words, then the word that
    // ends it; a short one in two halves that may overlap, or three bytes.
    bool NeedsQuotes(std::string_view field) const {
        const char* p = field.data();
        const size_t size = field.size();
        if (size >= 8) {
            for (size_t at = 0; at + 8 < size; at += 8) {
                if (Holds(Load<uint64_t>(p + at))) return true;
            }
            return Holds(Load<uint64_t>(p + size - 8));
        }
        if (size >= 4) {
            return Holds(Load<uint32_t>(p) | uint64_t{Load<uint32_t>(p + size - 4)} << 32);
        }
        if (size == 0) return false;
        const auto byte = [](char c) { return uint64_t{static_cast<unsigned char>(c)}; };
        // Its first, middle and last byte; the word's other bytes, zero, are
        // none of the four.
        return Holds(byte(p[0]) | byte(p[size / 2]) << 8 | byte(p[size - 1]) << 16);
    }

  private:
    static constexpr uint64_t kOnes = 0x0101010101010101;
    static constexpr uint64_t Spread(char c) { return kOnes * static_cast<unsigned char>(c); }
    template <typename Word>
    static Word Load(const char* p) {
        Word word{};
        std::memcpy(&word, p, sizeof word);
        return word;
    }
    // Whether a byte of the word is one of the four: the classic test for a
    // zero byte, nonzero exactly when one is.
    bool Holds(uint64_t word) const {
        uint64_t found = 0;
        for (const uint64_t quoted : words_) {
            const uint64_t x = word ^ quoted;
            found |= (x - kOnes) & ~x & (kOnes << 7);
        }
        return found != 0;
    }

    std::array<uint64_t, 4> words_;
};

// Writes the field at `out`, quoted where it needs it: at most twice its
// bytes and two quotes. Returns where it ends.
char* WriteField(char* out, std::string_view field, const QuotedBytes& quoted) {
    if (!quoted.NeedsQuotes(field)) {
        if (!field.empty()) std::memcpy(out, field.data(), field.size());
        return out + field.size();
    }
    *out++ = '"';
    for (const char c : field) {
        *out++ = c;
        if (c == '"') *out++ = '"';
    }
    *out++ = '"';
    return out;
}

// Splits text into records and fields. With `Terminate` each field is made a
// NUL-terminated text in place (quoted fields unescaped, their line breaks
// removed); without it the buffer is only read, to count.
template <bool Terminate>
class CsvScanner {
  public:
    CsvScanner(char* begin, char* end, char separator)
        : p_(begin), end_(end), separator_(separator) {}

    bool AtEnd() const { return p_ >= end_; }
    const char* Position() const { return p_; }

    // Reads one field; `lastInRecord` tells whether a record ended after it.
    // With `Terminate`, its text; without, where it starts.
    std::string_view NextField(bool& lastInRecord) {
        char* start = p_;
        if (p_ < end_ && *p_ == '"') {
            if (char* close = FindClosingQuote(p_ + 1)) {
                const size_t length = Terminate ? Unescape(p_ + 1, close, start) : 0;
                p_ = close + 1;
                lastInRecord = EndField(nullptr);
                return {start, length};
            }
        }
        while (p_ < end_ && *p_ != separator_ && *p_ != '\r' && *p_ != '\n') {
            ++p_;
        }
        const auto length = static_cast<size_t>(p_ - start);
        lastInRecord = EndField(p_);
        return {start, length};
    }

  private:
    // The quote that closes a field opened just before `from`: one not doubled
    // and followed by a separator, a line end or the end. Null if there is none.
    char* FindClosingQuote(char* from) const {
        for (char* q = from; q < end_; ++q) {
            if (*q != '"') continue;
            if (q + 1 < end_ && q[1] == '"') {
                ++q;
                continue;
            }
            const bool ends = q + 1 == end_ || q[1] == separator_ || q[1] == '\r' || q[1] == '\n';
            return ends ? q : nullptr;
        }
        return nullptr;
    }

    // Returns the length of the text written at `out`.
    static size_t Unescape(char* from, char* close, char* out) {
        char* w = out;
        for (char* r = from; r < close; ++r) {
            if (*r == '"') {
                ++r;  // doubled quote: keep one
            } else if (*r == '\r' || *r == '\n') {
                continue;
            }
            *w++ = *r;
        }
        *w = '\0';
        return static_cast<size_t>(w - out);
    }

    // Consumes the separator at p_ (if any); `terminateAt` is where an unquoted
    // field's text ends.
    bool EndField(char* terminateAt) {
        size_t skip = 0;
        bool recordEnds = true;
        if (p_ < end_) {
            if (*p_ == separator_) {
                skip = 1;
                recordEnds = false;
            } else {
                skip = LineEndLength(p_, end_);
            }
        }
        if (Terminate && terminateAt) *terminateAt = '\0';
        p_ += skip;
        return recordEnds;
    }

    char* p_;
    char* end_;
    char separator_;
};

using LineReached = std::function<void(const char* lineStart)>;

// Reads the lines of a part of a text without quotes, each a record, into
// rows from `row` on; returns the most fields a line had. Lines end at CR,
// LF or CR LF, as LineReader splits them. A line too wide for the table's
// budget (`fits`) ends the reading as soon as it is, its width so far returned.
int64_t ReadPartLines(TextPart part, char separator, int row, TableModel::BulkLoad::Part& packer,
                      const std::function<bool(int64_t)>& fits, const LineReached& reached) {
    // A wide line is measured against the budget as its fields grow past
    // each power of two from this on, before they take much memory.
    constexpr size_t kManyFields = size_t{1} << 12;
    std::vector<std::string_view> record;
    int64_t widest = 0;
    const char* const end = part.end;
    const char* field = part.begin;
    // Ends a field at `at`: also the record, at a line end.
    const auto endField = [&](const char* at) {
        record.emplace_back(field, static_cast<size_t>(at - field));
        if (*at == separator) {
            field = at + 1;
            const size_t fields = record.size();
            return fields < kManyFields || (fields & (fields - 1)) != 0 ||
                   fits(static_cast<int64_t>(fields));
        }
        field = at + LineEndLength(at, end);
        widest = std::max(widest, std::ssize(record));
        // Only now and then: a report a record would cost more than the record.
        if (reached && row % 4096 == 0) reached(field);
        packer.SetRecord(row++, record, field);
        record.clear();
        return true;
    };
    if (VisitEnds(static_cast<const char*>(part.begin), end, separator, endField) != end) {
        return std::ssize(record);
    }
    // A last line without a line end.
    if (field < end || !record.empty()) {
        record.emplace_back(field, static_cast<size_t>(end - field));
        widest = std::max(widest, std::ssize(record));
        packer.SetRecord(row, record, end);
    }
    return widest;
}

// Reads the records of a text with quotes, where a record may span lines,
// into rows 1 to `lastRecord`; returns the most fields a record had. A record
// too wide for the table's budget (`fits`) ends the reading as soon as it is,
// its width so far returned.
int64_t ReadQuotedRecords(char* begin, char* end, char separator, int lastRecord,
                          TableModel::BulkLoad::Part& packer,
                          const std::function<bool(int64_t)>& fits, ProgressCounter& loaded) {
    CsvScanner<true> scan(begin, end, separator);
    std::vector<std::string_view> record;
    int64_t widest = 0;
    for (int r = 1; r <= lastRecord; ++r) {
        loaded.Reached(static_cast<uint64_t>(scan.Position() - begin));
        record.clear();
        for (bool last = false; !last;) {
            record.push_back(scan.NextField(last));
            if (std::ssize(record) > widest) {
                widest = std::ssize(record);
                if (!fits(widest)) return widest;
            }
        }
        packer.SetRecord(r, record, scan.Position());
    }
    return widest;
}

}  // namespace

void SaveDelimited(TableModel& model, const std::string& path, char separator,
                   const FileEncoding& encoding, const Progress& progress) {
    FileWriter file(path);
    const bool unicode = IsUnicode(encoding.encoding);
    if (unicode) file.Write(ByteOrderMark(encoding.encoding));
    const std::string_view lineEnd = unicode && encoding.lineEnd == LineEnd::Lf ? "\n" : "\r\n";
    const int cols = model.ColCount();
    const int records = std::max(model.RowCount() - 2, 0);
    ProgressCounter written(ProgressPart(progress, 0, kWritingShare),
                            static_cast<uint64_t>(records));
    const QuotedBytes quoted(separator);
    const std::optional<Transcoder> transcoder =
        unicode ? std::make_optional<Transcoder>() : std::nullopt;
    // Records are written a batch at a time, each batch cut into stretches
    // that are formatted (and encoded) on every core at once, then written
    // in order while the next batch is formatted. A batch is at most a
    // percent of the records, for the progress.
    constexpr int kRowsPerStretch = 16384;
    const size_t parts = PartsFor(static_cast<size_t>(records) * static_cast<size_t>(cols) * 8);
    const int batchRows = std::clamp(records / 100, 1, kRowsPerStretch * static_cast<int>(parts));
    // A cache line each: stretches formatted at once must not share one.
    struct alignas(64) Stretch {
        RecordBuffer text;
        std::string encoded;
        std::string_view Formatted(bool wasEncoded) const {
            return wasEncoded ? std::string_view(encoded) : text.View();
        }
    };
    // One batch is formatted while the one before is written.
    std::vector<Stretch> batches[2] = {std::vector<Stretch>(parts), std::vector<Stretch>(parts)};
    WriteBehind writer(file);
    for (int first = 1, batchIndex = 0; first <= records; batchIndex ^= 1) {
        const int batch = std::min(records + 1 - first, batchRows);
        std::vector<Stretch>& stretches = batches[batchIndex];
        RunParts(parts, [&](size_t i) {
            Stretch& stretch = stretches[i];
            stretch.text.Clear();
            const auto rowAt = [&](size_t k) {
                return first + static_cast<int>(PartBegin(static_cast<size_t>(batch), k, parts));
            };
            const int from = rowAt(i);
            const int to = rowAt(i + 1);
            for (int r = from; r < to; ++r) {
                // The row's texts quoted and doubled, its separators and line
                // end, and what a text's last chunk may write past it.
                const TableModel::RecordView record = model.Record(r);
                const size_t most = 2 * record.Texts().size() + 3 * static_cast<size_t>(cols) + 2 +
                                    PackedRecord::kChunk;
                char* out = stretch.text.Room(most);
                // Most records hold nothing to quote: they are looked over once.
                const bool plain = !quoted.NeedsQuotes(record.Texts());
                for (int c = 1; c < cols; ++c) {
                    if (c > 1) *out++ = separator;
                    out = plain ? record.Write(record.Cell(c), out)
                                : WriteField(out, record.Cell(c), quoted);
                }
                std::memcpy(out, lineEnd.data(), lineEnd.size());
                stretch.text.Wrote(out + lineEnd.size());
            }
            if (transcoder) {
                stretch.encoded.clear();
                transcoder->Encode(stretch.text.View(), encoding, stretch.encoded);
            }
        });
        writer.Hand([&stretches, encoded = transcoder.has_value()](FileWriter& out) {
            for (const Stretch& stretch : stretches)
                out.Write(stretch.Formatted(encoded));
        });
        first += batch;
        written.Reached(static_cast<uint64_t>(first - 1));
    }
    writer.Wait();
    file.Commit();
    if (progress) progress(100);
}

void SaveCsv(TableModel& model, const std::string& path, const Progress& progress) {
    SaveDelimited(model, path, kCsvSeparator, model.Encoding(), progress);
}

void LoadCsv(TableModel& model, const std::string& path) {
    LoadCsvBytes(model, ReadFileBytes(path), path);
}

void LoadCsvBytes(TableModel& model, FileBytes bytes, const std::string& path, char separator,
                  const Progress& progress) {
    DropNulBytes(bytes);
    char* begin = bytes.data();
    char* end = begin + bytes.size();
    const auto length = static_cast<uint64_t>(end - begin);
    const size_t size = bytes.size();

    // First pass: the number of records and the fields of the first one.
    // Without any quote a record is a line: then the text is cut at line ends
    // into parts, counted and later read at once. Counted wide: a file may
    // hold more records than a count of rows can.
    const std::vector<TextPart> parts = CutAtLineEnds(begin, end, PartsFor(size));
    std::vector<int64_t> partLines(parts.size());
    std::vector<char> partQuoted(parts.size());
    RunParts(parts.size(), [&](size_t i) {
        const TextPart part = parts[i];
        partQuoted[i] = std::memchr(part.begin, '"', part.Size()) != nullptr;
        if (!partQuoted[i]) {
            partLines[i] = static_cast<int64_t>(
                LineReader(part.begin, part.Size(), LineReader::Untouched{}).CountRemaining());
        }
    });
    const bool quoted = std::ranges::find(partQuoted, char{1}) != partQuoted.end();
    int64_t records = 0;
    int64_t firstFields = 0;
    if (!quoted) {
        for (const int64_t lines : partLines)
            records += lines;
        const char* firstEnd = begin;
        while (firstEnd < end && *firstEnd != '\r' && *firstEnd != '\n')
            ++firstEnd;
        firstFields = 1 + std::count(static_cast<const char*>(begin), firstEnd, separator);
    } else {
        ProgressCounter counted(ProgressPart(progress, 0, kCountingShare), length);
        for (CsvScanner<false> scan(begin, end, separator); !scan.AtEnd(); ++records) {
            counted.Reached(static_cast<uint64_t>(scan.Position() - begin));
            for (bool last = false; !last;) {
                scan.NextField(last);
                if (records == 0) ++firstFields;
            }
        }
    }
    // An empty file (or one holding only a byte-order mark) is the empty table.
    if (records == 0) firstFields = 1;

    RefuseOversizedTable(firstFields + 1, records + 2, size, path);
    const int fields = static_cast<int>(firstFields);
    const int lastRecord = static_cast<int>(records);

    TableModel::BulkLoad load(model);
    load.AdoptBuffer(bytes.release(), size);
    model.SetColCount(fields + 1);
    model.SetRowCount(lastRecord + 2);
    // Records longer than the first widen the table once all are read, the
    // shorter ones reading empty there; the new shape must fit the budget.
    const auto fits = [&](int64_t to) { return TableFitsBudget(to + 1, lastRecord + 2, size); };
    ProgressCounter loaded(ProgressPart(progress, quoted ? kCountingShare : 0, 100), length);
    int64_t widestRecord = fields;
    if (!quoted) {
        std::vector<int64_t> widest(parts.size());
        {
            std::deque<TableModel::BulkLoad::Part> packers;
            for (const TextPart& part : parts)
                packers.emplace_back(load, part.begin);
            // Only the calling thread reports, its part standing for all.
            const auto reached = [&](const char* at) {
                loaded.Reached(static_cast<uint64_t>(at - begin) * parts.size());
            };
            RunParts(parts.size(), [&](size_t i) {
                int row = 1;
                for (size_t before = 0; before < i; ++before)
                    row += static_cast<int>(partLines[before]);
                widest[i] = ReadPartLines(parts[i], separator, row, packers[i], fits,
                                          i == 0 ? LineReached(reached) : LineReached());
            });
        }
        widestRecord = std::max(widestRecord, *std::ranges::max_element(widest));
    } else {
        // A quoted field may span lines: the text is read on this thread.
        TableModel::BulkLoad::Part packer(load, begin);
        widestRecord = std::max(widestRecord, ReadQuotedRecords(begin, end, separator, lastRecord,
                                                                packer, fits, loaded));
    }
    if (widestRecord > fields) {
        if (!fits(widestRecord)) {
            model.ResetToEmpty();
            throw messages::TooLarge(path);
        }
        model.SetColCount(static_cast<int>(widestRecord) + 1);
    }
    loaded.Reached(length);
}

void ForEachField(char* begin, char* end, char separator, const FieldVisitor& visit) {
    CsvScanner<false> scan(begin, end, separator);
    for (int64_t record = 0; !scan.AtEnd(); ++record) {
        int64_t index = 0;
        for (bool last = false; !last; ++index) {
            const char* field = scan.NextField(last).data();
            visit(std::string_view(field, static_cast<size_t>(scan.Position() - field)), record,
                  index);
        }
    }
}

}  // namespace tabulon
