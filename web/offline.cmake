# Writes the site's service worker from its template: the list of every other file in the
# site, and the build's name, a hash of those files' names and contents and of the
# template, so that any change to any of them makes a new worker, which browsers fetch.
# cmake -DSITE=DIR -DTEMPLATE=FILE -P offline.cmake
set(worker service-worker.js)
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${SITE} ${SITE}/*)
list(REMOVE_ITEM files ${worker})
list(SORT files)
file(SHA256 ${TEMPLATE} contents)
set(quoted)
foreach(file IN LISTS files)
  file(SHA256 ${SITE}/${file} hash)
  string(APPEND contents " ${file} ${hash}")
  list(APPEND quoted "'${file}'")
endforeach()
string(SHA256 BUILD "${contents}")
string(SUBSTRING ${BUILD} 0 16 BUILD)
list(JOIN quoted ",\n  " FILES)
# Rewritten only when it changes, so that an unchanged build keeps its worker's file time.
configure_file(${TEMPLATE} ${SITE}/${worker} @ONLY)
list(LENGTH files count)
message(STATUS "${worker}: build ${BUILD}, ${count} files kept for use offline")
