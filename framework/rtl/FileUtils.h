#pragma once
// Paths and files. Paths are UTF-8; on Windows the delimiter is '\' and the executable
// folder ends with one. The executable folder goes through a seam so tests can point
// the program at a prepared folder.

#include <string>
#include <string_view>

#ifdef _WIN32
constexpr char PathDelim = '\\';
#else
constexpr char PathDelim = '/';
#endif

std::string ExeFolder();                     // folder of the running executable, with trailing delimiter
void SetExeFolder(std::string folder);       // seam: empty = back to the real folder
std::string ExtractFilePath(std::string_view fileName);   // up to and including the last '\' '/' or ':'
std::string ExtractFileName(std::string_view fileName);
std::string IncludeTrailingPathDelimiter(std::string_view path);
bool FileExists(std::string_view fileName);
bool DirectoryExists(std::string_view dir);
bool CreateDir(std::string_view dir);
bool RemoveFile(std::string_view fileName);
bool RenameFile(std::string_view oldName, std::string_view newName);  // replaces an existing target
std::string ReadFileBytes(std::string_view fileName);                    // raises EInOutError
void WriteFileBytes(std::string_view fileName, std::string_view bytes);  // atomic replace; raises EInOutError
std::string SysErrorMessage(int errorCode);  // the system's text (UTF-8) for GetLastError or errno
