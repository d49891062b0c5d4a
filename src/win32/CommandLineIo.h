// The command line as the system gives it, and the channel for what Lumetta says back:
// Lumetta is a GUI program with no console of its own.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The arguments after the program's name, in UTF-8, whatever script they are in.
std::vector<std::string> ReadArguments();
// Standard output when it is a file or a pipe (UTF-8 bytes); else the console Lumetta was
// started from; else a message box.
void SayToUser(std::string_view utf8);
