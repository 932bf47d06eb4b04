// The command line as UTF-8. Windows hands main() its arguments in the ANSI
// code page, which has no Japanese on most systems (a region name arrives as
// question marks); the wide command line holds them whole.
#pragma once

#include <string>
#include <vector>

std::vector<std::string> Utf8Arguments(int argc, char** argv);
