// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/ParameterLayout.h"

#include <cstdint>

namespace nadrix
{
// The LV2 plug-in's ports, in the order 0.3.0 published them: hosts keep
// automation by port index, so the order never changes. The two atom ports
// carry nothing now but keep their places.
namespace Lv2Ports
{
    constexpr uint32_t audioInLeft = 0, audioInRight = 1, audioOutLeft = 2, audioOutRight = 3;
    constexpr uint32_t atomIn = 4, atomOut = 5;
    constexpr uint32_t latency = 6, freeWheeling = 7, enabled = 8;
    // Then one control input port per parameter, in parameter order.
    constexpr uint32_t firstParameter = 9;
    constexpr uint32_t count = firstParameter + (uint32_t) ParameterLayout::numParameters;

    constexpr uint32_t ofParameter (int index) { return firstParameter + (uint32_t) index; }
    constexpr int parameterOf (uint32_t port) { return port >= firstParameter && port < count ? (int) (port - firstParameter) : -1; }
}
} // namespace nadrix
