// The filter driver the host uses: the keyboard simulator's pipe when the environment variable
// TOLK_DEVICE names a pipe ("\\.\pipe\..."), the real driver otherwise.
#pragma once

#include "Ports.h"

#include <memory>

constexpr const char kDeviceEnvironmentVariable[] = "TOLK_DEVICE";

std::unique_ptr<FilterDriver> CreateFilterDriver();
