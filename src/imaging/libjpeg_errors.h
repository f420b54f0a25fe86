// The error manager that the JPEG decoder and encoder give libjpeg: nothing
// is printed and nothing aborts; an error (and, when the decoder asks for
// it, a warning about damaged data) jumps back to the caller's setjmp point.
#ifndef SHIFRODEL_IMAGING_LIBJPEG_ERRORS_H_
#define SHIFRODEL_IMAGING_LIBJPEG_ERRORS_H_

#include <csetjmp>
#include <cstddef>
#include <cstdio>
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

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_LIBJPEG_ERRORS_H_
