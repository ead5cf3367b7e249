#include "task_registry.h"
#include "names/status_codes.h"

#include <cctype>
#include <string>

namespace simboard {
namespace {

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

} // namespace

bool TaskRegistry::nameInUse(std::string_view name) const {
    for (const auto &[id, task] : tasks_) {
        if (sameName(task->name, name)) {
            return true;
        }
    }
    return false;
}

Outcome TaskRegistry::create(std::string_view name, uint64_t &id) {
    std::string taskName(name);
    if (taskName.empty()) {
        taskName = "_unnamedTask<" + std::to_string(nextId_) + ">";
    }
    if (nameInUse(taskName)) {
        return refuse(status::duplicateTaskName, "Task name \"" + taskName + "\" is in use.");
    }
    id = nextId_++;
    auto task = std::make_unique<Task>();
    task->id = id;
    task->name = std::move(taskName);
    tasks_.emplace(id, std::move(task));
    return {};
}

Task *TaskRegistry::find(uint64_t id) {
    auto found = tasks_.find(id);
    return found == tasks_.end() ? nullptr : found->second.get();
}

} // namespace simboard
