// What the host takes from its command line (the text after the program's name).
#pragma once

// True when the configuration program is to be opened once the host has started: the installer and
// the configuration program start the host with "1". Only the first character counts, so "1xyz"
// asks for it too, and a null or empty command line does not.
bool OpensConfigurationAtStart(const char* commandLine);
