# SPDX-License-Identifier: MIT
# Writes the site's offline worker (OUT) from its source (IN), with the mark of the version of the
# site's files in it: a hash of every other file in the site's folder. A site whose files changed
# gets a worker of its own, which keeps the new files.
# Usage: cmake -DIN=web/offline.js -DOUT=build/web/offline.js -P stamp-offline.cmake
get_filename_component(folder "${OUT}" DIRECTORY)
get_filename_component(own "${OUT}" NAME)
file(GLOB files RELATIVE "${folder}" "${folder}/*")
list(SORT files)
set(marks "")
foreach(name IN LISTS files)
  if(NOT name STREQUAL own AND NOT IS_DIRECTORY "${folder}/${name}")
    file(SHA256 "${folder}/${name}" mark)
    string(APPEND marks "${name} ${mark}\n")
  endif()
endforeach()
string(SHA256 version "${marks}")
string(SUBSTRING "${version}" 0 16 version)
file(READ "${IN}" text)
string(REPLACE "@SITE_VERSION@" "${version}" text "${text}")
set(written "")
if(EXISTS "${OUT}")
  file(READ "${OUT}" written)
endif()
if(NOT written STREQUAL text)
  file(WRITE "${OUT}" "${text}")
endif()
