// What WinMain is given of the command line: the arguments after the program.
#pragma once

const char* CommandLineArguments(const char* commandLine);
