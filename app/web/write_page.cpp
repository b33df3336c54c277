// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Writes the site's page and manifest as the site is built, under Node on
// jsdom's document (write_page.js): the program starts in the page as in a
// browser, so that the page's HTML holds the window as the program builds
// it, and the texts that name the program come from its description.

#include "runtime/application.h"
#include "ui/form1.h"

#include <emscripten/em_js.h>
#include <emscripten/emscripten.h>

#include <string>

EM_JS(void, passo_write_site, (const char *name, const char *description),
      { Module.writeSite(UTF8ToString(name), UTF8ToString(description)); });

int main(int argc, char **argv) {
    const int status = runtime::run(argc, argv, ui::application);
    if (status == 0)
        passo_write_site(std::string(ui::application.title).c_str(),
                         std::string(ui::application.summary).c_str());
    return status;
}
