#pragma once
// The simulator's command line.

#include <string>

#include "SimEngine.h"

// Parses argv into options. False with a message for bad input; *help is set
// when --help was asked for.
bool SimParseOptions(int argc, char** argv, SimOptions* options, bool* help, std::string* error);
const char* SimUsage();
