// The board's live tasks.  A handle is a task number, not a pointer, so a stale or made-up
// handle is refused instead of being dereferenced.
#ifndef PLATFORM_SIMBOARD_BOARD_TASK_REGISTRY_H
#define PLATFORM_SIMBOARD_BOARD_TASK_REGISTRY_H

#include "names/outcome.h"
#include "task.h"

#include <map>
#include <memory>
#include <string_view>

namespace simboard {

class TaskRegistry {
  public:
    // An empty name gets a generated one.
    Outcome create(std::string_view name, uint64_t &id);
    Task *find(uint64_t id);
    void remove(uint64_t id) { tasks_.erase(id); }

    template <class Visit> void forEach(Visit &&visit) {
        for (auto &[id, task] : tasks_) {
            visit(*task);
        }
    }

  private:
    bool nameInUse(std::string_view name) const;

    std::map<uint64_t, std::unique_ptr<Task>> tasks_;
    uint64_t nextId_ = 1;
};

} // namespace simboard

#endif
