// A directory of its own for one test, removed with what is in it.
#ifndef TESTS_SIMBOARD_SHARED_TEST_DIRECTORY_H
#define TESTS_SIMBOARD_SHARED_TEST_DIRECTORY_H

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

class TestDirectory {
  public:
    TestDirectory() {
        std::string pattern = std::string(P_tmpdir) + "/orvex-simboard-test-XXXXXX";
        if (mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    TestDirectory(const TestDirectory &) = delete;
    TestDirectory &operator=(const TestDirectory &) = delete;
    ~TestDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    bool made() const { return !path_.empty(); }
    const std::string &path() const { return path_; }
    std::string file(const std::string &name) const { return path_ + "/" + name; }
    std::string fileWith(const std::string &name, const std::string &text) const {
        std::ofstream(file(name)) << text;
        return file(name);
    }

  private:
    std::string path_;
};

#endif
