// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace nadrix
{
// The addresses the about and help buttons open.
namespace ProductLinks
{
    inline constexpr const char* productPage = "https://mirelock.com/nadrix";
    inline constexpr const char* manual = "https://mirelock.com/nadrix/Nadrix-Manual.pdf";
}
} // namespace nadrix
