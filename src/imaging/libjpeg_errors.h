// The error manager that the JPEG decoder and encoder give libjpeg: nothing
// is printed and nothing aborts; an error (and, when the decoder asks for
// it, a warning about damaged data) jumps back to the caller's setjmp point.
#ifndef SHIFRODEL_IMAGING_LIBJPEG_ERRORS_H_
#define SHIFRODEL_IMAGING_LIBJPEG_ERRORS_H_

#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <functional>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

namespace shifrodel {

struct LibjpegErrors {
  jpeg_error_mgr manager;  // first, so that libjpeg's pointer is also ours
  std::jmp_buf jump;
  // When set, a warning that the data are corrupt or cut short counts as
  // an error: such a file must fail rather than yield a damaged picture.
  bool strict = false;
};

// Installs `errors` as the error manager of `info` (before jpeg_create_*).
void InstallLibjpegErrors(jpeg_common_struct* info, LibjpegErrors* errors, bool strict);

// Runs `work`, which calls libjpeg, and returns its result, or false when
// libjpeg jumps out of it. The setjmp point lives in this one small function
// so that no caller's locals or temporaries (a return value an optimiser
// stored early) are changed between it and a jump; `work` must hold nothing
// that needs destroying while libjpeg runs.
bool RunGuarded(LibjpegErrors& errors, const std::function<bool()>& work);

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_LIBJPEG_ERRORS_H_
