# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later

# Writes the service worker into the finished site:
#   cmake -DSITE=folder -DTEMPLATE=service-worker.js.in -DPREFIX=name -P write_service_worker.cmake
# It precaches every file of the site and the site's address itself, in a
# cache named after the files' content, so that any change to any file makes
# a new cache.
file(GLOB_RECURSE files RELATIVE ${SITE} ${SITE}/*)
list(REMOVE_ITEM files service-worker.js)
list(SORT files)
set(hashes "")
set(quoted "\"./\"")
foreach(file IN LISTS files)
    file(SHA256 ${SITE}/${file} hash)
    string(APPEND hashes "${hash} ${file}\n")
    string(APPEND quoted ", \"${file}\"")
endforeach()
string(SHA256 content "${hashes}")
string(SUBSTRING ${content} 0 16 content)
set(PASSO_CACHE_NAME ${PREFIX}-${content})
set(PASSO_SITE_FILES ${quoted})
configure_file(${TEMPLATE} ${SITE}/service-worker.js @ONLY)
