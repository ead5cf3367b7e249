// A directory of the test's own under /tmp, removed with what it holds.  /tmp rather
// than TMPDIR: the read-only test hands it to another user, who must reach it.
#ifndef TESTS_RECORDING_TEMPORARY_DIRECTORY_H
#define TESTS_RECORDING_TEMPORARY_DIRECTORY_H

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

class TemporaryDirectory {
  public:
    TemporaryDirectory() {
        char name[] = "/tmp/orvex-recording.XXXXXX";
        path_ = mkdtemp(name);
    }
    TemporaryDirectory(const TemporaryDirectory &) = delete;
    TemporaryDirectory &operator=(const TemporaryDirectory &) = delete;
    ~TemporaryDirectory() {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }

    const std::string &path() const { return path_; }

    // The recording's files in name order, which is time order.
    std::vector<std::string> files() const {
        std::vector<std::string> found;
        for (const auto &entry : std::filesystem::directory_iterator(path_)) {
            if (entry.path().extension() == ".h5") {
                found.push_back(entry.path().string());
            }
        }
        std::sort(found.begin(), found.end());
        return found;
    }

  private:
    std::string path_;
};

#endif
