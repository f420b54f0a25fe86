// The file step: everything a copy run does with one file the walk found —
// where it belongs, whether it is an image, the existing-file policy, the
// free-space guard, the conversion or copy, and the record in the folder's
// descript.ion or in fp.log.
#ifndef SHIFRODEL_RUN_FILE_STEP_H_
#define SHIFRODEL_RUN_FILE_STEP_H_

#include <string>
#include <string_view>

#include "imaging/image_layer.h"
#include "run/job_context.h"
#include "run/run_options.h"

namespace shifrodel {

// True for the source types a copy run takes: jpg, jpeg, tif, tiff, bmp, psd,
// in any case.
bool IsAcceptedSource(std::string_view source_path);

// True for JPEG sources (jpg, jpeg), the only ones "copy as is" copies.
bool IsJpegSource(std::string_view source_path);

void ProcessFile(JobContext& job, ImageLayer& image, const TRunOptions& options,
                 const std::string& source_path);

}  // namespace shifrodel

#endif  // SHIFRODEL_RUN_FILE_STEP_H_
