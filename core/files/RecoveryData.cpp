#include "files/RecoveryData.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <filesystem>
#include <functional>
#include <map>
#include <sstream>
#include <thread>

#include "files/FileWriter.h"
#include "files/NativeFile.h"
#include "files/TextFile.h"
#include "text/Messages.h"

namespace tabulon {

namespace {

constexpr std::string_view kRecordHeading = "tabulon-recovery 1";
constexpr std::string_view kLockSuffix = ".lock";
constexpr std::string_view kRecordSuffix = ".record";
// A record is a few numbers and a path.
constexpr size_t kLargestRecord = size_t{16} << 10;

// The process and random bits: unique among the copies sharing the folder.
std::string NewId() {
    unsigned char random[8] = {};
    if (::getrandom(random, sizeof random, GRND_NONBLOCK) != sizeof random) {
        const uint64_t mix =
            static_cast<uint64_t>(::time(nullptr)) ^ reinterpret_cast<uintptr_t>(&random);
        for (size_t i = 0; i < sizeof random; ++i)
            random[i] = static_cast<unsigned char>(mix >> (i * 8));
    }
    std::string id = std::to_string(::getpid()) + '-';
    for (unsigned char byte : random) {
        constexpr char kDigits[] = "0123456789abcdef";
        id += kDigits[byte >> 4];
        id += kDigits[byte & 15];
    }
    return id;
}

// The lock of `path` held, or none when another process holds it.
FileDescriptor TryLock(const std::string& path, int flags) {
    FileDescriptor fd(::open(path.c_str(), flags | O_RDWR | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (fd && ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) fd.Reset();
    return fd;
}

std::string RecordText(const RecoveryRecord& r, unsigned serial) {
    std::ostringstream out;
    out << kRecordHeading << '\n'
        << serial << '\n'
        << static_cast<long long>(r.lastChange) << '\n'
        << static_cast<int>(r.encoding.encoding) << ' ' << int{r.encoding.microsoftForms} << ' '
        << static_cast<int>(r.encoding.lineEnd) << '\n'
        << r.rows << ' ' << r.currentCol << ' ' << r.currentRow << ' ' << r.markerRow << '\n';
    if (r.stamp) {
        out << r.stamp->device << ' ' << r.stamp->inode << ' ' << r.stamp->size << ' '
            << r.stamp->modified.count() << ' ' << r.stamp->changed.count() << '\n';
    } else {
        out << "-\n";
    }
    // Last, and to the end: a path may hold any byte but NUL.
    out << r.path;
    return out.str();
}

// The record and its snapshot's serial, or nothing for a damaged record.
std::optional<std::pair<RecoveryRecord, unsigned>> ParseRecord(std::string_view text) {
    std::vector<std::string_view> lines;
    for (int i = 0; i < 6; ++i) {
        const size_t end = text.find('\n');
        if (end == std::string_view::npos) return std::nullopt;
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end + 1);
    }
    if (lines[0] != kRecordHeading) return std::nullopt;
    bool valid = true;
    const auto numbers = [&valid](std::string_view line, auto&... values) {
        const char* p = line.data();
        const char* end = line.data() + line.size();
        const auto next = [&](auto& value) {
            while (p < end && *p == ' ')
                ++p;
            const auto [stop, error] = std::from_chars(p, end, value);
            valid = valid && error == std::errc();
            p = stop;
        };
        (next(values), ...);
        valid = valid && p == end;
    };
    RecoveryRecord r;
    unsigned serial = 0;
    long long lastChange = 0;
    int encoding = 0, forms = 0, lineEnd = 0;
    numbers(lines[1], serial);
    numbers(lines[2], lastChange);
    numbers(lines[3], encoding, forms, lineEnd);
    numbers(lines[4], r.rows, r.currentCol, r.currentRow, r.markerRow);
    if (lines[5] != "-") {
        FileStamp stamp;
        long long modified = 0, changed = 0;
        numbers(lines[5], stamp.device, stamp.inode, stamp.size, modified, changed);
        stamp.modified = std::chrono::nanoseconds(modified);
        stamp.changed = std::chrono::nanoseconds(changed);
        r.stamp = stamp;
    }
    if (!valid || encoding < 0 || encoding > static_cast<int>(TextEncoding::Utf16Be) || forms < 0 ||
        forms > 0xFF || lineEnd < 0 || lineEnd > static_cast<int>(LineEnd::Lf)) {
        return std::nullopt;
    }
    r.lastChange = static_cast<std::time_t>(lastChange);
    r.encoding = {static_cast<TextEncoding>(encoding), static_cast<uint8_t>(forms),
                  static_cast<LineEnd>(lineEnd)};
    r.path = std::string(text);
    return std::pair(std::move(r), serial);
}

// Each id in `folder` with the names of its files.
std::map<std::string, std::vector<std::string>> FilesById(const std::string& folder) {
    std::map<std::string, std::vector<std::string>> ids;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        const size_t dot = name.find('.');
        // Names starting with a dot are a writer's temporaries.
        if (dot == 0 || dot == std::string::npos) continue;
        ids[name.substr(0, dot)].push_back(name);
    }
    return ids;
}

}  // namespace

RecoveryRecord RecordOf(const TableModel& model, std::optional<FileStamp> stamp,
                        std::time_t lastChange) {
    return {model.CurrentFileName(),
            stamp,
            lastChange,
            model.Encoding(),
            model.RowCount(),
            model.CurrentCol(),
            model.CurrentRow(),
            model.MarkerRow()};
}

RecoveryData::RecoveryData(std::string folder, std::string id, FileDescriptor lock)
    : folder_(std::move(folder)), id_(std::move(id)), lock_(std::move(lock)) {}

RecoveryData RecoveryData::Create(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    // Unsaved edits are the user's alone.
    ::chmod(folder.c_str(), 0700);
    for (int attempt = 0; attempt < 100; ++attempt) {
        // Locked before it has its name, so that no other copy ever finds it unlocked.
        const std::string id = NewId();
        const std::string staging = folder + "/." + id;
        FileDescriptor lock = TryLock(staging, O_CREAT | O_EXCL);
        if (!lock && errno == EEXIST) continue;
        const std::string path = folder + '/' + id + std::string(kLockSuffix);
        if (!lock || ::rename(staging.c_str(), path.c_str()) != 0) {
            ::unlink(staging.c_str());
            break;
        }
        return RecoveryData(folder, id, std::move(lock));
    }
    throw messages::CannotCreate(folder + "/.lock");
}

std::vector<RecoveryData> RecoveryData::ClaimLeftOver(const std::string& folder, std::time_t now) {
    std::vector<RecoveryData> left;
    for (const auto& [id, names] : FilesById(folder)) {
        FileDescriptor lock = TryLock(folder + '/' + id + std::string(kLockSuffix), O_CREAT);
        if (!lock) continue;  // its copy is running
        RecoveryData data(folder, id, std::move(lock));
        std::optional<std::pair<RecoveryRecord, unsigned>> parsed;
        try {
            FileBytes bytes =
                ReadFileBytes(data.FileOf(id + std::string(kRecordSuffix)), kLargestRecord);
            parsed = ParseRecord(std::string_view(bytes.data(), bytes.size()));
        } catch (const Error&) {
        }
        if (!parsed || now - parsed->first.lastChange > kRecoveryKeptSeconds) {
            for (const std::string& name : names)
                ::unlink(data.FileOf(name).c_str());
            data.Finish();
            continue;
        }
        data.record_ = std::move(parsed->first);
        data.serial_ = parsed->second;
        left.push_back(std::move(data));
    }
    std::ranges::sort(left, std::greater(), [](const RecoveryData& data) {
        return data.record_ ? data.record_->lastChange : 0;
    });
    return left;
}

std::string RecoveryData::FileOf(const std::string& name) const {
    return folder_ + '/' + name;
}

std::string RecoveryData::SnapshotName(unsigned serial) const {
    return id_ + '.' + std::to_string(serial) + ".tbn";
}

std::string RecoveryData::NextSnapshotPath() const {
    return FileOf(SnapshotName(serial_ + 1));
}

void RecoveryData::Keep(const RecoveryRecord& record) {
    FileWriter file(FileOf(id_ + std::string(kRecordSuffix)), FileWriter::Staging::Unnamed, 0600);
    file.Write(RecordText(record, serial_ + 1));
    file.Commit();
    // Freeing a large file's blocks takes a while: not on the caller's thread.
    // Should the process end first, Remove finds the file.
    std::thread([old = FileOf(SnapshotName(serial_))] { ::unlink(old.c_str()); }).detach();
    ++serial_;
    record_ = record;
}

void RecoveryData::Restore(TableModel& model) const {
    LoadNative(model, FileOf(SnapshotName(serial_)));
    const RecoveryRecord& r = *record_;
    // The native file adds an empty record after a last one holding text.
    if (r.rows == model.RowCount() - 1) model.SetRowCount(r.rows);
    model.SetCurrentCell(std::clamp(r.currentCol, 1, model.ColCount() - 1),
                         std::clamp(r.currentRow, 1, model.RowCount() - 1));
    model.MoveMarker(r.markerRow);
    model.SetEncoding(r.encoding);
    const bool unchanged = !r.path.empty() && r.stamp && StampOf(r.path) == r.stamp;
    model.SetCurrentFileName(unchanged ? r.path : std::string());
}

void RecoveryData::Remove() {
    record_.reset();
    const std::string lock = id_ + std::string(kLockSuffix);
    const auto files = FilesById(folder_);
    const auto own = files.find(id_);
    if (own == files.end()) return;
    for (const std::string& name : own->second) {
        if (name != lock) ::unlink(FileOf(name).c_str());
    }
}

void RecoveryData::Finish() {
    Remove();
    ::unlink(FileOf(id_ + std::string(kLockSuffix)).c_str());
    lock_.Reset();
}

}  // namespace tabulon
