#include "platform/Placeholder.h"

int main(int argc, char** argv)
{
    return platform::RunPlaceholderWindow(argc, argv, "Korvelo", "Korvelo is under construction.");
}
