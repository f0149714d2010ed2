#include "CommandLine.h"

bool OpensConfigurationAtStart(const char* commandLine)
{
    return commandLine != nullptr && commandLine[0] == '1';
}
