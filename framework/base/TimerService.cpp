#include "framework/base/TimerService.h"

#include "framework/rtl/SysUtils.h"

namespace {
TimerService* gService = nullptr;
}

TimerService& CurrentTimerService() {
    if (!gService) throw Exception("No timer service is installed");
    return *gService;
}

void SetTimerService(TimerService* service) { gService = service; }
