// Qt's global thread pool ends its threads when the application object goes or the pool
// itself does at exit, but each thread frees Qt's record of itself only as it ends, and
// Qt stops freeing those records once its own clean-up at exit has run.  A pooled thread
// that ends after that, as on a busy machine, leaves its record behind: harmless to the
// user, but a leak to a leak checker, and our programs are checked for leaks.
#ifndef PLATFORM_HOST_INCLUDE_HOST_POOLED_THREADS_H
#define PLATFORM_HOST_INCLUDE_HOST_POOLED_THREADS_H

namespace host {

// At exit, after the pool has let its threads go and before Qt's own clean-up, waits until they
// have ended (one second at most).  Call it once, before anything draws: exit handlers run in the
// reverse order of their registration, and the pool registers its own at its first use.
void awaitPooledThreadsAtExit();

} // namespace host

#endif
