// The free-space guard: measures the free space of the disk that receives
// the output, caches the figure in the run state so the disk is not queried
// for every file, shows it in the window's label, and below 20 MB holds the
// job with a question until the user has freed space or chosen to stop.
#ifndef SHIFRODEL_RUN_FREE_SPACE_GUARD_H_
#define SHIFRODEL_RUN_FREE_SPACE_GUARD_H_

#include <cstdint>
#include <optional>
#include <string>

#include "run/job_context.h"

namespace shifrodel {

inline constexpr std::int32_t SpaceGuardMb = 20;    // below it the guard asks
inline constexpr std::int32_t SpaceRecheckMb = 50;  // below it every refresh measures
inline constexpr std::uint32_t SpaceRecheckMs = 5000;
inline constexpr std::uint32_t SpaceLabelMs = 500;

// The job that the low-space question speaks of.
enum class TGuardActivity { gaCopy, gaRepack };

// Free megabytes of the disk holding `path`, or nullopt when the system
// cannot measure it.
std::optional<std::int32_t> DiskFreeMb(FileSystem& fs, const std::string& path);

// The label's text for a figure ("Свободно более 2 Gb"), or for a disk
// that cannot be measured (nullopt).
std::string FreeSpaceLabelText(std::optional<std::int32_t> mb);

// At the start of every job: the next refresh measures.
void ResetFreeSpaceCache(JobContext& job);
// Shows the cached figure in the label, at most once per 500 ms.
void UpdateFreeSpaceLabel(JobContext& job);
// Measures again when the cached figure is low or old.
void RefreshFreeSpace(JobContext& job, const std::string& path);
// True to go on; false when the user chose to stop (StopRequested is set).
bool GuardFreeSpace(JobContext& job, const std::string& path, TGuardActivity activity);

}  // namespace shifrodel

#endif  // SHIFRODEL_RUN_FREE_SPACE_GUARD_H_
