// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Put at the top of the page's script. Chromium compiles every function of
// the script while it reads the file, away from the page's thread, instead
// of each one at its first call while the window is being built. Any other
// browser reads a comment.
//# allFunctionsCalledOnLoad
