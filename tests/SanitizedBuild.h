// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// NADRIX_SANITIZED is 1 in a build with AddressSanitizer or ThreadSanitizer,
// as GCC and clang each tell it.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
 #define NADRIX_SANITIZED 1
#elif defined(__has_feature)
 #if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
  #define NADRIX_SANITIZED 1
 #endif
#endif
#ifndef NADRIX_SANITIZED
 #define NADRIX_SANITIZED 0
#endif
