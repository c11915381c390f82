#pragma once
// A large UTF-8 file read and decoded in one pass: each core takes the next
// chunk, reads it into a small buffer, checks and decodes it while it is
// still in cache, and copies the cp932 right after the chunk before's in the
// one buffer the table keeps. Reading, checking and decoding as passes of
// their own read the bytes from memory three times and faulted in a buffer
// the UTF-8 text's size; decoding halves in place left a gap to close.

#include <optional>
#include <string>

#include "files/TextFile.h"
#include "text/Progress.h"
#include "text/TextEncoding.h"
#include "text/Transcoder.h"

namespace tabulon {

struct Utf8FileText {
    FileBytes text;         // cp932, NUL-free
    TextEncoding encoding;  // Utf8, Utf8Bom, or ShiftJis for ASCII that was not told UTF-8
    Transcoder::Decoded decoded;
    LineEnd lineEnd;  // the one the text uses most
};

// The text of the file at `path` as ReadFileBytes and the detection or (with
// `toldUtf8`) the telling would take and decode it, or nothing where this way
// does not serve: a file under a few megabytes, one with a UTF-16 mark, NUL
// bytes or bytes that are no UTF-8 (a cp932 file shows this in its first
// chunk), or one cut short meanwhile. The usual way reads those. Throws
// "ファイル %s は開けません" as ReadFileBytes does.
std::optional<Utf8FileText> ReadUtf8File(const std::string& path, bool toldUtf8,
                                         const Progress& progress = {});

}  // namespace tabulon
