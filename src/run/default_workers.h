// How many threads a copy run converts on unless told otherwise: the
// machine's hardware threads.
#ifndef SHIFRODEL_RUN_DEFAULT_WORKERS_H_
#define SHIFRODEL_RUN_DEFAULT_WORKERS_H_

#include <algorithm>
#include <thread>

namespace shifrodel {

inline int DefaultWorkers() {
  return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

}  // namespace shifrodel

#endif  // SHIFRODEL_RUN_DEFAULT_WORKERS_H_
