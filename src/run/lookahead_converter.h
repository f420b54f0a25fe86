// Conversion ahead of the file step: while the file step works on one file
// on the main thread, worker threads decode and encode the next files the
// walk will hand it. The file step then takes a file's bytes (waiting for
// them if need be) instead of converting it itself. Workers only read
// sources and fill memory; every write, question and record stays with the
// main thread, in the walk's order, and the bytes are the same as those of
// a conversion on the main thread, since they depend only on the file and
// the run's fixed quality. A conversion that failed ahead is tried again on
// the main thread when its file's turn comes: a file that could not be
// opened then, or that did not fit in memory beside the others, may pass.
#ifndef SHIFRODEL_RUN_LOOKAHEAD_CONVERTER_H_
#define SHIFRODEL_RUN_LOOKAHEAD_CONVERTER_H_

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "imaging/jpeg_converter.h"

namespace shifrodel {

class LookaheadConverter final : public JpegConverter {
 public:
  // Work held at once, encoded bytes and decoder state together.
  static constexpr std::size_t kMemoryBudget = std::size_t{256} << 20;
  // What one conversion under way is allowed for: decoder state and the
  // encoded bytes it builds.
  static constexpr std::size_t kPerConversion = std::size_t{24} << 20;

  // `workers` threads (at least 1) convert through `base`, which must allow
  // calls on several threads at once.
  LookaheadConverter(JpegConverter& base, int workers);
  // Drops all work; waits for the conversions under way to end.
  ~LookaheadConverter() override;
  LookaheadConverter(const LookaheadConverter&) = delete;
  LookaheadConverter& operator=(const LookaheadConverter&) = delete;

  // Whether another file may be taken: at most workers + 1 files in flight
  // (queued, converting or converted and not yet taken), within the budget.
  bool CanTakeMore() const;
  // Whether `path` is already in flight.
  bool Holds(const std::string& path) const;
  // Queues `path` for conversion at `quality`.
  void Prefetch(const std::string& path, int quality);
  // Drops the work for `path`, if any.
  void Discard(const std::string& path);

  // The bytes of a prefetched file, waiting for a worker to finish it (and
  // calling `progress` at least every 50 ms meanwhile), or a conversion on
  // this thread when the file is not in flight, not yet started, or failed.
  Conversion Convert(const std::string& path, int quality, const ProgressFn& progress) override;

 private:
  struct Job {
    std::string path;
    int quality = 0;
    bool started = false;
    bool done = false;
    Conversion result;
  };

  void Work();
  // With mutex_ held: forgets a job, keeping the counts right.
  void Drop(std::deque<std::shared_ptr<Job>>::const_iterator it);
  // The job for `path`, or jobs_.end(). Called with mutex_ held.
  std::deque<std::shared_ptr<Job>>::const_iterator Find(const std::string& path) const;

  JpegConverter& base_;
  const std::size_t max_in_flight_;
  mutable std::mutex mutex_;
  std::condition_variable work_ready_;
  std::condition_variable job_done_;
  std::deque<std::shared_ptr<Job>> jobs_;  // in the walk's order
  std::size_t ready_bytes_ = 0;
  std::size_t running_ = 0;    // conversions under way, dropped ones included
  std::size_t abandoned_ = 0;  // dropped while under way, still running
  bool stopping_ = false;
  std::vector<std::thread> workers_;
};

}  // namespace shifrodel

#endif  // SHIFRODEL_RUN_LOOKAHEAD_CONVERTER_H_
