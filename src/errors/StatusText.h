#pragma once
#include "platform/Status.h"

// The symbolic name and the one-line explanation of a platform status, as
// the messages and the log print them. Codes nobody knows give "Unknown"
// and "n/a".
const char* statusName(platform::Status status);
const char* statusDescription(platform::Status status);
