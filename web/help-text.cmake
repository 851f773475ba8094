# SPDX-License-Identifier: MIT
# Writes the page's help-text.js from the desktop's help file: its parts that hold for the page too
# (the pages and how to read the code), up to where the desktop's own buttons and files begin.
# Usage: cmake -DHELP=res/glomiecode.txt -DOUT=help-text.js -P help-text.cmake
file(READ ${HELP} text)
string(FIND "${text}" "COPY AND DECODE" desktopOnly)
if(desktopOnly GREATER 0)
  string(SUBSTRING "${text}" 0 ${desktopOnly} text)
endif()
string(STRIP "${text}" text)
string(REPLACE "\\" "\\\\" text "${text}")
string(REPLACE "\"" "\\\"" text "${text}")
string(REPLACE "\n" "\\n" text "${text}")
file(WRITE ${OUT} "// SPDX-License-Identifier: MIT\n// Made from the desktop's help file when the site is built.\n"
  "(window.GlomieEncoder = window.GlomieEncoder || {}).helpText = \"${text}\";\n")
