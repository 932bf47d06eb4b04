// What each operating system supplies to platform_common.cpp.
#pragma once

#include "platform/platform.h"

void OsLocalNow(LocalTime* out);
void OsDefaultMessage(const char* utf8Text);
