# The face first, then what a lab program must not reach: the library's internals by
# every spelling that would find them in the source tree, and the layers under it.
set(tried_headers
    orvex.h
    task_cache.h core/task_cache.h src/core/task_cache.h orvex/src/core/task_cache.h
    operation_ending.h core/operation_ending.h
    daqmx/daqmx.h daqmx/driver_library.h host/host_text.h uiruntime/runtime_text.h
    uiruntime/diagnostics.h)
