// The GUI layer is up before the first test of this binary.
#include "support/PlatformEnvironment.h"
