// Almanac.dll: the one export AlmanacOutPut, answering the almanac of a date as
// "/"-separated lines in code page 936. The answer lives in a buffer of the library and
// stays valid until the next call.
#include <cstdint>
#include <string>

#include "almanac/core/Almanac.h"
#include "framework/rtl/Encoding.h"

extern "C" __declspec(dllexport) const char* __stdcall AlmanacOutPut(const char* authorisation, int32_t year,
                                                                    int32_t month, int32_t day);

// The authorisation text is not checked: every caller gets its answer.
extern "C" const char* __stdcall AlmanacOutPut(const char*, int32_t year, int32_t month, int32_t day) {
    static std::string answer;
    try {
        answer = Utf8ToGbk(AlmanacText(year, month, day));
    } catch (...) {
        answer = Utf8ToGbk("黄历计算出错");
    }
    return answer.c_str();
}
