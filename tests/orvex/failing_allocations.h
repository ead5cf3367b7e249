// While one of these lives, every allocation through operator new in the process throws
// std::bad_alloc, as it would with memory exhausted.  Nothing that may allocate (a test
// assertion that fails, a driver that records calls) should run inside its scope.
#ifndef TESTS_ORVEX_FAILING_ALLOCATIONS_H
#define TESTS_ORVEX_FAILING_ALLOCATIONS_H

class FailingAllocations {
  public:
    FailingAllocations();
    ~FailingAllocations();
    FailingAllocations(const FailingAllocations &) = delete;
    FailingAllocations &operator=(const FailingAllocations &) = delete;
};

#endif
