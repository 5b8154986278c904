// The program's version, in one place: the title bar, the About box and the names of the
// release files (cmake/version.cmake reads it) all show it. "major.minor", the minor in
// two digits.
#pragma once

#define VIVIVUZ_VERSION "1.03"
