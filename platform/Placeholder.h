#pragma once
#include <string>

namespace platform {

// Shows one window with a line of text until it is closed; returns the exit code.
int RunPlaceholderWindow(int argc, char** argv, const std::string& title, const std::string& text);

}  // namespace platform
