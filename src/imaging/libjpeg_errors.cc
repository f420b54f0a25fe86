#include "imaging/libjpeg_errors.h"

#include <jerror.h>

namespace shifrodel {
namespace {

[[noreturn]] void ErrorExit(j_common_ptr info) {
  std::longjmp(reinterpret_cast<LibjpegErrors*>(info->err)->jump, 1);
}

// Warnings that say nothing about the image data: an unknown JFIF version,
// an odd Adobe transform code, a damaged ICC segment (the segments are
// copied as they stand, not read).
bool IsHarmless(int code) {
  return code == JWRN_JFIF_MAJOR || code == JWRN_ADOBE_XFORM || code == JWRN_BOGUS_ICC;
}

void EmitMessage(j_common_ptr info, int level) {
  auto* errors = reinterpret_cast<LibjpegErrors*>(info->err);
  if (level < 0 && errors->strict && !IsHarmless(errors->manager.msg_code)) {
    std::longjmp(errors->jump, 1);
  }
}

void OutputMessage(j_common_ptr) {}

}  // namespace

void InstallLibjpegErrors(jpeg_common_struct* info, LibjpegErrors* errors, bool strict) {
  info->err = jpeg_std_error(&errors->manager);
  errors->manager.error_exit = ErrorExit;
  errors->manager.emit_message = EmitMessage;
  errors->manager.output_message = OutputMessage;
  errors->strict = strict;
}

bool RunGuarded(LibjpegErrors& errors, const std::function<bool()>& work) {
  if (setjmp(errors.jump)) return false;
  return work();
}

}  // namespace shifrodel
