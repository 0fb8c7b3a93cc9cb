#pragma once
// The system version the components test before they ask for visual styles.

namespace platform {

struct OsVersionInfo {
    unsigned major = 0;
    unsigned minor = 0;
    unsigned build = 0;
};

// The stand-in reports a system with visual styles (XP or later) unless a test set
// another version.
OsVersionInfo GetOsVersion();
void SetOsVersionForTesting(const OsVersionInfo& version);
void ResetOsVersionForTesting();

}  // namespace platform
