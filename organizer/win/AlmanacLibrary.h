#pragma once
// The almanac library Almanac.dll, reached through its export AlmanacOutPut. It is loaded
// when it is first needed, not with the program, so a missing or broken library only
// leaves its message where the almanac would have been; a failed load is tried again on
// the next query.
#include <cstdint>
#include <string>

#include "framework/win/WinApi.h"

class TAlmanacLibrary {
public:
    explicit TAlmanacLibrary(std::string fileName) : FFileName(std::move(fileName)) {}
    ~TAlmanacLibrary();
    TAlmanacLibrary(const TAlmanacLibrary&) = delete;
    TAlmanacLibrary& operator=(const TAlmanacLibrary&) = delete;

    const std::string& FileName() const { return FFileName; }
    bool Loaded() const { return FOutPut != nullptr; }
    // True with the library's answer (UTF-8); false with the text that says why there is none.
    bool Query(int year, int month, int day, std::string& text);

private:
    using TAlmanacOutPut = const char*(__stdcall*)(const char*, int32_t, int32_t, int32_t);
    bool Load(std::string& message);

    std::string FFileName;
    HMODULE FModule = nullptr;
    TAlmanacOutPut FOutPut = nullptr;
};
