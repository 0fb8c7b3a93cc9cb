#include "platform/system/OsVersion.h"

namespace platform {

namespace {

OsVersionInfo& Current()
{
    static OsVersionInfo v{6, 1, 7601};
    return v;
}

}  // namespace

OsVersionInfo GetOsVersion()
{
    return Current();
}

void SetOsVersionForTesting(const OsVersionInfo& version)
{
    Current() = version;
}

void ResetOsVersionForTesting()
{
    Current() = OsVersionInfo{6, 1, 7601};
}

}  // namespace platform
