#include "replay/BuildStamp.h"

#ifndef QUADRILL_VERSION
#define QUADRILL_VERSION "0"
#endif
#ifndef QUADRILL_BUILD_ID
#define QUADRILL_BUILD_ID "unknown"
#endif

namespace replay {

const char* gameVersion() { return QUADRILL_VERSION; }
const char* buildId() { return QUADRILL_BUILD_ID; }

}  // namespace replay
