#pragma once
// Whole-file reading, the one line splitter every reader uses, and the writer
// that replaces a file only once the new content is completely on disk.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "LargeBlocks.h"

namespace tabulon {

// A file's bytes with one writable NUL byte after them, so that line and field
// splitters can terminate texts in place.
class FileBytes {
  public:
    FileBytes() = default;
    FileBytes(ByteBuffer data, size_t size) : data_(std::move(data)), size_(size) {}
    char* data() { return data_.get(); }
    const char* data() const { return data_.get(); }
    size_t size() const { return size_; }
    ByteBuffer release() { return std::move(data_); }

  private:
    ByteBuffer data_;
    size_t size_ = 0;
};

// Reads the whole file, or throws "ファイル %s は開けません".
FileBytes ReadFileBytes(const std::string& path);

// 0 if `p` is no line end, else the length of the line end that starts at `p`:
// 2 for CR LF, 1 for a lone CR or LF (LF CR is two line ends).
inline size_t LineEndLength(const char* p, const char* end) {
    if (*p == '\n') return 1;
    if (*p == '\r') return (p + 1 < end && p[1] == '\n') ? 2 : 1;
    return 0;
}

// Splits text into lines at CR, LF or CR LF; a NUL byte ends the text. A last
// line without line end is a line; a line end at the very end adds none. Each
// line is NUL-terminated in place (the byte after `size` must be writable).
class LineReader {
  public:
    LineReader(char* data, size_t size);
    explicit LineReader(FileBytes& bytes) : LineReader(bytes.data(), bytes.size()) {}

    bool Next(std::string_view& line);
    // Lines not yet read, counted without changing anything.
    size_t CountRemaining() const;

  private:
    char* pos_;
    char* end_;
};

// Writes a file through a temporary file in the same folder, renamed over the
// target after a complete, flushed write. Until Commit() succeeds the old file
// stays as it was; a writer destroyed without Commit() removes its temporary.
// A target that is a device or pipe, which cannot be replaced, is written in
// place. Failures throw "ファイル %s を作成できません" or "ストリームへの書き込みエラー".
class FileWriter {
  public:
    explicit FileWriter(const std::string& path);
    ~FileWriter();
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    void Write(std::string_view bytes);
    void WriteLine(std::string_view line) {
        Write(line);
        Write("\r\n");
    }
    void Commit();

  private:
    void Flush();
    void Discard() noexcept;

    std::string path_;    // as the caller named it, for messages
    std::string target_;  // the file that is replaced (symbolic links followed)
    std::string temp_;    // empty when writing in place
    int fd_ = -1;
    std::string buffer_;
};

}  // namespace tabulon
