# SPDX-License-Identifier: MIT
# Joins the page's scripts into one, in the order given; each keeps its own scope (a function
# called at once), so joined they run as they would one by one.
# Usage: cmake "-DPARTS=a.js|b.js" -DOUT=page.js -P join-scripts.cmake
string(REPLACE "|" ";" parts "${PARTS}")
set(joined "// SPDX-License-Identifier: MIT\n// The page's scripts, joined when the site is built.\n")
foreach(part IN LISTS parts)
  file(READ "${part}" text)
  string(APPEND joined "${text}")
  if(NOT text MATCHES "\n$")
    string(APPEND joined "\n")
  endif()
endforeach()
file(WRITE "${OUT}.new" "${joined}")
file(RENAME "${OUT}.new" "${OUT}")
# Each part was once a file of its own in the site: gone, nothing can load a stale one.
get_filename_component(folder "${OUT}" DIRECTORY)
foreach(part IN LISTS parts)
  get_filename_component(name "${part}" NAME)
  file(REMOVE "${folder}/${name}")
endforeach()
