// SPDX-License-Identifier: GPL-3.0-or-later
#include "start_up.h"

#include <fontconfig/fontconfig.h>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace tavlo::ui {

std::jthread startBeforeToolkit() {
#ifdef __GLIBC__
    // The pictures are decoded, and the board painted, in buffers of up to a few megabytes that
    // are needed once. glibc raises its threshold for mapping memory past the largest block
    // freed so far and keeps smaller ones in its heaps, a thread's heap for good: a fixed
    // threshold maps each and gives it back as soon as it is freed.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    // The threads that decode and paint while the window is built allocate little beyond those
    // buffers: a heap of their own each would outlast them, and the one heap serves them well.
    mallopt(M_ARENA_MAX, 1);
#endif
    return std::jthread([] { FcInit(); });
}

} // namespace tavlo::ui
