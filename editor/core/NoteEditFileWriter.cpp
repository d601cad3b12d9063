#include "editor/core/NoteEditFileWriter.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <set>
#include <system_error>
#include <thread>

#include "framework/rtl/FileUtils.h"

#ifdef _WIN32
#include <io.h>
#include <share.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {
// The waits before each retry of a refused replace, in milliseconds: short at first, since
// most holders let go within tens of milliseconds.
constexpr int RetryDelays[NoteReplaceRetries] = {10, 20, 40, 80, 150, 300, 400};

std::function<void(int)> retryHook;

// Targets whose last replace was refused through every retry: the next replace of one of
// them tries once, so a save on every keystroke does not wait a second each time.
std::mutex givenUpLock;
std::set<std::filesystem::path> givenUp;

std::filesystem::path NotePath(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::FILE* OpenFile(const std::string& fileName, bool forWriting) {
    const std::filesystem::path path = NotePath(fileName);
#ifdef _WIN32
    // Writing: exclusive; reading: others may read and write.
    return forWriting ? _wfsopen(path.c_str(), L"wb", _SH_DENYRW) : _wfsopen(path.c_str(), L"rb", _SH_DENYNO);
#else
    return std::fopen(path.c_str(), forWriting ? "wb" : "rb");
#endif
}

// Renames `from` over `to` once; false with the system's reason when it cannot. `busy` tells
// whether another program's open handle refused it, which may pass.
bool ReplaceOnce(const std::filesystem::path& from, const std::filesystem::path& to, std::string& reason, bool& busy) {
#ifdef _WIN32
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    const DWORD error = GetLastError();
    busy = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
    if (error == ERROR_ACCESS_DENIED) {
        // A read-only file or a folder refuses it for good; an open handle only for a while.
        const DWORD attributes = GetFileAttributesW(to.c_str());
        busy = attributes != INVALID_FILE_ATTRIBUTES &&
               !(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));
    }
    reason = SysErrorMessage(static_cast<int>(error));
#else
    std::error_code ec;
    std::filesystem::rename(from, to, ec);
    if (!ec) return true;
    busy = ec == std::errc::device_or_resource_busy;
    reason = ec.message();
#endif
    return false;
}

// Tries a refused replace again for a while, unless the last replace of `to` gave up; false
// with the last reason.
bool Replace(const std::filesystem::path& from, const std::filesystem::path& to, std::string& reason) {
    std::unique_lock lock(givenUpLock);
    const int retries = givenUp.contains(to) ? 0 : NoteReplaceRetries;
    lock.unlock();
    for (int retry = 1;; ++retry) {
        bool busy = false;
        const bool replaced = ReplaceOnce(from, to, reason, busy);
        if (replaced || !busy || retry > retries) {
            lock.lock();
            if (replaced)
                givenUp.erase(to);
            else if (busy)
                givenUp.insert(to);
            return replaced;
        }
        if (retryHook) retryHook(retry);
        std::this_thread::sleep_for(std::chrono::milliseconds(RetryDelays[retry - 1]));
    }
}

bool SyncFile(std::FILE* file) {
    if (std::fflush(file) != 0) return false;
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}
}  // namespace

TNoteEditFileWriter::TNoteEditFileWriter(const std::string& fileName)
    : FFileName(fileName), FTempName(fileName + ".tmp") {
    FFile = OpenFile(FTempName, true);
    if (!FFile) throw EInOutError("Cannot create file \"" + FTempName + "\"");
}

TNoteEditFileWriter::~TNoteEditFileWriter() { Discard(); }

void TNoteEditFileWriter::Discard() noexcept {
    if (!FFile) return;
    std::fclose(FFile);
    FFile = nullptr;
    std::error_code ignored;
    std::filesystem::remove(NotePath(FTempName), ignored);
}

void TNoteEditFileWriter::WriteLine(std::string_view text, bool withBreak) {
    const std::string_view lineBreak = withBreak ? NoteLineBreakBytes(FLineBreakFormat) : std::string_view();
    const size_t piece = text.size() + lineBreak.size();
    if (FFillPos + piece > FBuffer.size()) {
        FlushBuffer();
        if (piece > FBuffer.size()) FBuffer.resize(piece);
    }
    std::copy(text.begin(), text.end(), FBuffer.begin() + FFillPos);
    std::copy(lineBreak.begin(), lineBreak.end(), FBuffer.begin() + FFillPos + text.size());
    FFillPos += static_cast<int>(piece);
}

void TNoteEditFileWriter::FlushBuffer() {
    if (FFillPos <= 0) return;
    if (std::fwrite(FBuffer.data(), 1, FFillPos, FFile) != static_cast<size_t>(FFillPos))
        throw EInOutError("Cannot write file \"" + FTempName + "\"");
    FFillPos = 0;
}

void TNoteEditFileWriter::Commit() {
    FlushBuffer();
    const bool synced = SyncFile(FFile);
    const bool closed = std::fclose(FFile) == 0;
    FFile = nullptr;
    std::error_code ec;
    if (!synced || !closed) {
        std::filesystem::remove(NotePath(FTempName), ec);
        throw EInOutError("Cannot write file \"" + FTempName + "\"");
    }
    std::string reason;
    if (!Replace(NotePath(FTempName), NotePath(FFileName), reason)) {
        std::filesystem::remove(NotePath(FTempName), ec);
        throw EInOutError("Cannot replace file \"" + FFileName + "\": " + reason);
    }
}

void SetNoteReplaceRetryHook(std::function<void(int retry)> hook) { retryHook = std::move(hook); }

std::string NoteReadFileBytes(const std::string& fileName) {
    std::FILE* file = OpenFile(fileName, false);
    if (!file) throw EInOutError("Cannot open file \"" + fileName + "\"");
    std::string data;
    char chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) data.append(chunk, n);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) throw EInOutError("Cannot read file \"" + fileName + "\"");
    return data;
}
