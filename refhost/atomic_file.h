// atomic_file.h: replacing a file so that a crash at any point leaves either
// the old or the new bytes under its name, never a mix.
#pragma once
#include <string>

#include "refhost/korvohost.h"

namespace korvohost {

// Writes bytes to DIR/NAME: a temporary file in DIR is written, flushed and
// fsync'd, renamed over NAME, then DIR itself is fsync'd so the rename lasts.
// The temporary file is created anew (never through a link, never an existing
// file's contents).
// False with a reason naming the file in *error.
KORVOHOST_API bool WriteFileAtomically(const std::string& dir, const std::string& name,
                                       const std::string& bytes, std::string* error);

// True for the temporary files WriteFileAtomically makes ("." NAME ".tmp." PID,
// the PID in decimal digits); a write that was killed leaves one behind.
KORVOHOST_API bool IsAtomicTempName(const std::string& name);

}  // namespace korvohost
