#include "framework/rtl/FileUtils.h"

#include "framework/rtl/Encoding.h"
#include "framework/rtl/SysUtils.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#endif

#include <algorithm>
#include <atomic>
#include <mutex>

namespace {

std::mutex exeFolderMutex;
std::string exeFolderOverride;
std::atomic<unsigned> tempCounter{0};

bool IsDelimiter(char c)
{
    return c == '\\' || c == '/';
}

#ifdef _WIN32

std::wstring Wide(std::string_view utf8)
{
    const std::u16string s = Utf8ToUtf16(utf8);
    return std::wstring(s.begin(), s.end());
}

std::string Narrow(const wchar_t* s, size_t len)
{
    return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(s), len));
}

// The system's text for an error code, without the trailing line break.
std::string ErrorText(DWORD code)
{
    wchar_t* buf = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<wchar_t*>(&buf), 0, nullptr);
    std::string text = n ? Trim(Narrow(buf, n)) : "";
    if (buf)
        LocalFree(buf);
    return text.empty() ? "error " + std::to_string(code) : text;
}

std::string LastErrorText() { return ErrorText(GetLastError()); }

DWORD Attributes(std::string_view name)
{
    return GetFileAttributesW(Wide(name).c_str());
}

class FileHandle {
public:
    explicit FileHandle(HANDLE h) : FHandle(h) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool Valid() const { return FHandle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return FHandle; }
    void Reset(HANDLE h)
    {
        Close();
        FHandle = h;
    }
    bool Close()
    {
        const bool ok = !Valid() || CloseHandle(FHandle);
        FHandle = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE FHandle;
};

#else

std::string LastErrorText() { return std::system_category().message(errno); }

class FileHandle {
public:
    explicit FileHandle(int fd) : FFd(fd) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool Valid() const { return FFd >= 0; }
    int Get() const { return FFd; }
    void Reset(int fd)
    {
        Close();
        FFd = fd;
    }
    bool Close()
    {
        const bool ok = !Valid() || close(FFd) == 0;
        FFd = -1;
        return ok;
    }

private:
    int FFd;
};

#endif

std::string TempName(const std::string& target, unsigned long processId)
{
    return target + "." + std::to_string(processId) + "-" + std::to_string(tempCounter++) + ".tmp";
}

[[noreturn]] void RaiseIo(const char* action, std::string_view fileName)
{
    throw EInOutError(std::string(action) + " \"" + std::string(fileName) + "\": " + LastErrorText());
}

std::string RealExeFolder()
{
#ifdef _WIN32
    std::wstring buf(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0)
            return "";
        if (n < buf.size())
            return ExtractFilePath(Narrow(buf.data(), n));
        buf.resize(buf.size() * 2);
    }
#else
    std::string buf(256, '\0');
    for (;;) {
        const ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size());
        if (n < 0)
            return "";
        if (static_cast<size_t>(n) < buf.size())
            return ExtractFilePath(buf.substr(0, n));
        buf.resize(buf.size() * 2);
    }
#endif
}

} // namespace

std::string SysErrorMessage(int errorCode)
{
#ifdef _WIN32
    return ErrorText(static_cast<DWORD>(errorCode));
#else
    return std::system_category().message(errorCode);
#endif
}

std::string ExeFolder()
{
    {
        std::lock_guard<std::mutex> lock(exeFolderMutex);
        if (!exeFolderOverride.empty())
            return exeFolderOverride;
    }
    static const std::string folder = RealExeFolder();
    return folder;
}

void SetExeFolder(std::string folder)
{
    std::lock_guard<std::mutex> lock(exeFolderMutex);
    exeFolderOverride = folder.empty() ? folder : IncludeTrailingPathDelimiter(folder);
}

std::string ExtractFilePath(std::string_view fileName)
{
    const size_t pos = fileName.find_last_of("\\/:");
    return pos == std::string_view::npos ? std::string() : std::string(fileName.substr(0, pos + 1));
}

std::string ExtractFileName(std::string_view fileName)
{
    const size_t pos = fileName.find_last_of("\\/:");
    return std::string(pos == std::string_view::npos ? fileName : fileName.substr(pos + 1));
}

std::string IncludeTrailingPathDelimiter(std::string_view path)
{
    std::string r(path);
    if (r.empty() || !IsDelimiter(r.back()))
        r += PathDelim;
    return r;
}

bool FileExists(std::string_view fileName)
{
#ifdef _WIN32
    const DWORD a = Attributes(fileName);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
#else
    struct stat st;
    return stat(std::string(fileName).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
#endif
}

bool DirectoryExists(std::string_view dir)
{
#ifdef _WIN32
    const DWORD a = Attributes(dir);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
#else
    struct stat st;
    return stat(std::string(dir).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
#endif
}

bool CreateDir(std::string_view dir)
{
#ifdef _WIN32
    return CreateDirectoryW(Wide(dir).c_str(), nullptr) != 0;
#else
    return mkdir(std::string(dir).c_str(), 0777) == 0;
#endif
}

bool RemoveFile(std::string_view fileName)
{
#ifdef _WIN32
    return DeleteFileW(Wide(fileName).c_str()) != 0;
#else
    return unlink(std::string(fileName).c_str()) == 0;
#endif
}

bool RenameFile(std::string_view oldName, std::string_view newName)
{
#ifdef _WIN32
    return MoveFileExW(Wide(oldName).c_str(), Wide(newName).c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
#else
    return rename(std::string(oldName).c_str(), std::string(newName).c_str()) == 0;
#endif
}

std::string ReadFileBytes(std::string_view fileName)
{
    std::string data;
#ifdef _WIN32
    FileHandle f(CreateFileW(Wide(fileName).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f.Valid())
        RaiseIo("Cannot open", fileName);
    char buf[65536];
    for (;;) {
        DWORD n = 0;
        if (!ReadFile(f.Get(), buf, sizeof buf, &n, nullptr))
            RaiseIo("Cannot read", fileName);
        if (n == 0)
            break;
        data.append(buf, n);
    }
#else
    FileHandle f(open(std::string(fileName).c_str(), O_RDONLY | O_CLOEXEC));
    if (!f.Valid())
        RaiseIo("Cannot open", fileName);
    struct stat st;
    if (fstat(f.Get(), &st) == 0 && S_ISDIR(st.st_mode)) {
        errno = EISDIR;
        RaiseIo("Cannot open", fileName);
    }
    char buf[65536];
    for (;;) {
        const ssize_t n = read(f.Get(), buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            RaiseIo("Cannot read", fileName);
        if (n == 0)
            break;
        data.append(buf, n);
    }
#endif
    return data;
}

// Writes a temporary file beside the target, flushes it to disk and renames it over the
// target, so a reader or a crash sees either the old or the new contents, never a mix.
// On failure the temporary file is removed and the old file stays as it was.
void WriteFileBytes(std::string_view fileName, std::string_view bytes)
{
    const std::string target(fileName);
#ifdef _WIN32
    const std::wstring wTarget = Wide(target);
    std::wstring wTemp;
    FileHandle f(INVALID_HANDLE_VALUE);
    for (int attempt = 0; !f.Valid(); ++attempt) {   // a crashed run may have left a name taken
        wTemp = Wide(TempName(target, GetCurrentProcessId()));
        f.Reset(CreateFileW(wTemp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!f.Valid() && (GetLastError() != ERROR_FILE_EXISTS || attempt == 100))
            RaiseIo("Cannot write", fileName);
    }
    size_t done = 0;
    bool ok = true;
    while (ok && done < bytes.size()) {
        DWORD n = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
        ok = WriteFile(f.Get(), bytes.data() + done, chunk, &n, nullptr) != 0;
        done += n;
    }
    ok = ok && FlushFileBuffers(f.Get());
    ok = f.Close() && ok;
    ok = ok && MoveFileExW(wTemp.c_str(), wTarget.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) {
        const DWORD error = GetLastError();
        DeleteFileW(wTemp.c_str());
        SetLastError(error);
        RaiseIo("Cannot write", fileName);
    }
#else
    std::string temp;
    FileHandle f(-1);
    for (int attempt = 0; !f.Valid(); ++attempt) {   // a crashed run may have left a name taken
        temp = TempName(target, getpid());
        f.Reset(open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (!f.Valid() && (errno != EEXIST || attempt == 100))
            RaiseIo("Cannot write", fileName);
    }
    struct stat st;
    if (stat(target.c_str(), &st) == 0)
        fchmod(f.Get(), st.st_mode & 07777);   // the replacement keeps the old file's permissions
    size_t done = 0;
    bool ok = true;
    while (ok && done < bytes.size()) {
        const ssize_t n = write(f.Get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        if (ok)
            done += n;
    }
    ok = ok && fsync(f.Get()) == 0;
    ok = f.Close() && ok;
    ok = ok && rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        const int error = errno;
        unlink(temp.c_str());
        errno = error;
        RaiseIo("Cannot write", fileName);
    }
    // Make the rename itself durable.
    const std::string dir = ExtractFilePath(target);
    FileHandle d(open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (d.Valid())
        fsync(d.Get());
#endif
}
