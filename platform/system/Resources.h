#pragma once
// Resources of the program's modules. There is no resource section here: the program
// registers its raw data at start-up, and files compiled into the host's resource
// system (":/name") are found as well.
#include <cstdint>
#include <string>

#include "base/Exception.h"

namespace platform {

using HINSTANCE = std::uintptr_t;
using HMODULE = HINSTANCE;

// The program's own module.
HINSTANCE HInstance();

enum : int { RT_CURSOR = 1, RT_BITMAP = 2, RT_ICON = 3, RT_STRING = 6, RT_RCDATA = 10, RT_GROUP_ICON = 14 };

// Names compare without regard to case, as resource names do.
void RegisterResource(HINSTANCE instance, int type, const std::string& name, std::string data);
void RegisterResource(HINSTANCE instance, int type, int id, std::string data);
void UnregisterResource(HINSTANCE instance, int type, const std::string& name);
void UnregisterResource(HINSTANCE instance, int type, int id);

// False when there is no such resource.
bool FindResourceData(HINSTANCE instance, int type, const std::string& name, std::string& data);
bool FindResourceData(HINSTANCE instance, int type, int id, std::string& data);

class EResNotFound : public base::Exception {
public:
    using base::Exception::Exception;
};

// The data of a resource; EResNotFound ("Resource <name> not found") when it is missing.
std::string LoadResourceData(HINSTANCE instance, int type, const std::string& name);
std::string LoadResourceData(HINSTANCE instance, int type, int id);

}  // namespace platform
